#include "convert_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

std::string joinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

bool writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool readFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes->append(buffer, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
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

#ifdef _WIN32

bool pathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool makeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), NULL) != 0; }

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

static void removeTree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::string& name : listFolder(path))
            removeTree(joinPath(path, name));
        RemoveDirectoryA(path.c_str());
    } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

void ScratchTest::SetUp() {
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    ASSERT_TRUE(n > 0 && n < sizeof temp);
    for (unsigned i = 0; i < 1000; i++) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%stbxconv%lu_%u", temp, (unsigned long)GetCurrentProcessId(), i);
        if (CreateDirectoryA(name, NULL)) {
            dir = name;
            return;
        }
    }
    FAIL() << "no scratch folder under " << temp;
}

#else

bool pathExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool makeFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return names;
    while (struct dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    }
    closedir(d);
    return names;
}

static void removeTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        for (const std::string& name : listFolder(path))
            removeTree(joinPath(path, name));
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

void ScratchTest::SetUp() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tbxconv.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    ASSERT_NE(nullptr, mkdtemp(name.data()));
    dir = name.data();
}

#endif

void ScratchTest::TearDown() {
    if (!dir.empty())
        removeTree(dir);
}
