#include "convert_fixture.h"

#include <stdio.h>

std::string sampleHeader() {
    std::string h = zeroHeader();
    putBytes(&h, 0, "GW-TOP");
    h[32] = 0x1A;  // hostVersion
    h[33] = 0x25;  // hostLevel
    putBytes(&h, 34, std::string("\x00\x1a\x2b\x3c\x4d\x5e", 6));
    putBytes(&h, 40, std::string("\xc0\xa8\x00\x0a", 4));
    h[44] = 1;     // unitFlag: power
    h[45] = 2;     // portNumber
    putBytes(&h, 46, "\x1a\x2b\x3c");
    putBytes(&h, 49, "Lab");
    h[109] = 0x23;  // deviceVersion
    h[110] = 0x0A;  // deviceLevel
    putBytes(&h, 111, "A");
    putBytes(&h, 141, "B");
    putBytes(&h, 171, "C");
    putBytes(&h, 201, "D");
    h[231] = (char)0xEE;  // never read
    return h;
}

std::string recordBytes(int32_t timestamp, uint16_t ch1, uint16_t ch2, uint16_t ch3, uint16_t ch4,
                        uint16_t frequency, uint16_t temperature, uint8_t stateByte, uint8_t voltage) {
    std::string r;
    uint32_t t = (uint32_t)timestamp;
    r += (char)(t >> 24);
    r += (char)(t >> 16);
    r += (char)(t >> 8);
    r += (char)t;
    for (uint16_t v : {ch1, ch2, ch3, ch4, frequency, temperature}) {
        r += (char)(v >> 8);
        r += (char)v;
    }
    r += (char)stateByte;
    r += (char)voltage;
    r += "\xA5\x5A";  // never read
    return r;
}

static std::vector<int> referenceDays;  // (year << 9) | (month << 5) | day, from 1901-01-01
static const int64_t kReferenceFirstDay = -25202;  // 1901-01-01

bool referenceDate(int64_t days, int* year, int* month, int* day) {
    if (referenceDays.empty()) {
        static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int y = 1901; y <= 2038; y++) {
            bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
            for (int m = 1; m <= 12; m++) {
                int n = lengths[m - 1] + (m == 2 && leap ? 1 : 0);
                for (int d = 1; d <= n; d++)
                    referenceDays.push_back((y << 9) | (m << 5) | d);
            }
        }
    }
    int64_t index = days - kReferenceFirstDay;
    if (index < 0 || index >= (int64_t)referenceDays.size())
        return false;
    int packed = referenceDays[(size_t)index];
    *year = packed >> 9;
    *month = (packed >> 5) & 15;
    *day = packed & 31;
    return true;
}

std::string referenceRow(int32_t timestamp, uint16_t ch1, uint16_t ch2, uint16_t ch3, uint16_t ch4,
                         uint16_t frequency, uint16_t temperature, uint8_t stateByte, uint8_t voltage) {
    int64_t t = timestamp;
    int64_t days = t / 86400;
    if (t % 86400 < 0)
        days--;
    int64_t sod = t - days * 86400;
    int y = 0, m = 0, d = 0;
    referenceDate(days, &y, &m, &d);
    char line[128];
    snprintf(line, sizeof line,
             "%04d/%02d/%02d,%02d:%02d:%02d,%s,%04d,%04d,%04d,%04d,%03d,%05.2f,%05.2f,\r\n", y, m, d,
             (int)(sod / 3600), (int)(sod / 60 % 60), (int)(sod % 60), (stateByte & 0x80) ? " on" : "off",
             ch1, ch2, ch3, ch4, voltage, frequency / 100.0, temperature / 100.0);
    return line;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

void ScratchTest::SetUp() {
    dir = makeScratchFolder("conv");
    ASSERT_FALSE(dir.empty()) << "no scratch folder";
}

void ScratchTest::TearDown() {
    if (!dir.empty())
        removeTree(dir);
}
