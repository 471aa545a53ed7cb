// Feeds arbitrary bytes as a device log through the whole converter and checks
// the CSV against one built independently with snprintf and the C library's
// UTC calendar.
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "convert/csv_writer.h"
#include "tests/common/test_files.h"

namespace {

char logPath[4096];
char csvPath[4096];

std::string field(const uint8_t* h, size_t offset, size_t width) {
    std::string text((const char*)h + offset, width);
    size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

unsigned be16(const uint8_t* p) { return (unsigned)(p[0] << 8 | p[1]); }

void add(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void add(std::string* out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0 || (size_t)n >= sizeof line)
        abort();
    out->append(line, (size_t)n);
}

std::string expectedCsv(const uint8_t* data, size_t size, int portCount) {
    uint8_t h[232] = {0};
    memcpy(h, data, size < sizeof h ? size : sizeof h);
    std::string out;
    std::string host = field(h, 0, 32), port = field(h, 49, 60);
    if (h[33] & 0x0F)
        add(&out, "hostname,%s,V%xL%03x,\r\n", host.c_str(), h[32], h[33]);
    else
        add(&out, "hostname,%s,V%xL%02x,\r\n", host.c_str(), h[32], h[33] / 16);
    add(&out, "MAC Address,%02x:%02x:%02x:%02x:%02x:%02x,\r\n", h[34], h[35], h[36], h[37], h[38], h[39]);
    add(&out, "IP address,%d.%d.%d.%d,\r\n", h[40], h[41], h[42], h[43]);
    add(&out, h[44] ? "unit,[W],Port%d,%s,\r\n" : "unit,[Wh],Port%d,%s,\r\n", h[45], port.c_str());
    add(&out,
        portCount == 1 ? "RK-3871MP/150,%01X%02X%02X,V%x.0L%02x,%s,%s,%s,%s,\r\n"
                       : "RK-3874MQ,%01X%02X%02X,V%x.0L%02x,%s,%s,%s,%s,\r\n",
        h[46], h[47], h[48], h[109] / 16, h[110], field(h, 111, 30).c_str(), field(h, 141, 30).c_str(),
        field(h, 171, 30).c_str(), field(h, 201, 30).c_str());
    out += "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n";
    for (size_t pos = 232; size >= 20 && pos <= size - 20; pos += 20) {
        const uint8_t* r = data + pos;
        int32_t t = (int32_t)((uint32_t)r[0] << 24 | (uint32_t)r[1] << 16 | (uint32_t)r[2] << 8 | r[3]);
        if (t == 0)
            continue;
        time_t seconds = (time_t)t;
        struct tm tm;
        if (!gmtime_r(&seconds, &tm))
            abort();
        add(&out, "%04d/%02d/%02d,%02d:%02d:%02d,%s,%04d,%04d,%04d,%04d,%03d,%05.2f,%05.2f,\r\n",
            tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
            (r[16] & 0x80) ? " on" : "off", be16(r + 4), be16(r + 6), be16(r + 8), be16(r + 10), r[17],
            be16(r + 12) / 100.0, be16(r + 14) / 100.0);
    }
    return out;
}


}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* base = getenv("TMPDIR");
    char folder[4096];
    snprintf(folder, sizeof folder, "%s/tabrix-fuzz.XXXXXX", base && *base ? base : "/tmp");
    if (!mkdtemp(folder))
        abort();
    snprintf(logPath, sizeof logPath, "%s/in_w.bin", folder);
    snprintf(csvPath, sizeof csvPath, "%s/in_w.csv", folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fopen(logPath, "wb");
    if (!f || fwrite(data, 1, size, f) != size || fclose(f) != 0)
        abort();
    int portCount = (size & 1) ? 1 : 4;
    if (convertLogToCsv(logPath, csvPath, portCount) != ConvertResult::Ok) {
        fprintf(stderr, "conversion of %zu bytes failed\n", size);
        abort();
    }
    std::string csv;
    if (!readFile(csvPath, &csv))
        abort();
    std::string expected = expectedCsv(data, size, portCount);
    if (csv != expected) {
        size_t at = 0;
        while (at < csv.size() && at < expected.size() && csv[at] == expected[at])
            at++;
        fprintf(stderr, "CSV differs at byte %zu of %zu (expected %zu bytes)\n", at, csv.size(), expected.size());
        abort();
    }
    unlink(csvPath);
    return 0;
}
