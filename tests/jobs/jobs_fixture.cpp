#include "tests/jobs/jobs_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "convert/csv_writer.h"
#include "jobs/app_log.h"
#include "jobs/conversion_job.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::string capturedLog;

static void captureSink(const char* text) { capturedLog += text; }

std::string join(const std::string& folder, const std::string& name) {
    return folder + kSep + name;
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
    char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        bytes->append(block, n);
    fclose(f);
    return true;
}

#ifdef _WIN32
bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool isFolder(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
bool makeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), NULL) != 0; }
std::vector<std::string> listNames(const std::string& folder) {
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
    std::sort(names.begin(), names.end());
    return names;
}
void removeTree(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return;
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(a & FILE_ATTRIBUTE_REPARSE_POINT))
            for (const std::string& name : listNames(path))
                removeTree(path + "\\" + name);
        RemoveDirectoryA(path.c_str());
    } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}
std::string currentFolder() {
    char buffer[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}
bool changeFolder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != 0; }
#else
bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}
bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
bool makeFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }
std::vector<std::string> listNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return names;
    while (struct dirent* e = readdir(d))
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}
void removeTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        chmod(path.c_str(), 0700);
        for (const std::string& name : listNames(path))
            removeTree(path + "/" + name);
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}
std::string currentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}
bool changeFolder(const std::string& path) { return chdir(path.c_str()) == 0; }
#endif

void makeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == kSep) {
            std::string prefix = path.substr(0, i);
            if (!isFolder(prefix))
                makeFolder(prefix);
        }
    }
}

std::string sampleLog(int seed) {
    std::string bytes(232, '\0');
    memcpy(&bytes[0], "GW-TEST", 7);
    bytes[33] = (char)seed;
    for (int r = 0; r < 2; r++) {
        unsigned char record[20] = {0};
        unsigned t = 1367366400u + 60u * (unsigned)r + (unsigned)seed;
        record[0] = (unsigned char)(t >> 24);
        record[1] = (unsigned char)(t >> 16);
        record[2] = (unsigned char)(t >> 8);
        record[3] = (unsigned char)t;
        record[5] = (unsigned char)(10 + r + seed);
        record[13] = 100;
        record[17] = 100;
        bytes.append((const char*)record, sizeof record);
    }
    return bytes;
}

static unsigned pathCount(void* context) { return (unsigned)static_cast<PathDrop*>(context)->paths.size(); }

static unsigned pathAt(void* context, unsigned index, char* out, unsigned size) {
    const std::string& p = static_cast<PathDrop*>(context)->paths[index];
    if (p.size() < size)
        memcpy(out, p.c_str(), p.size() + 1);
    return (unsigned)p.size();
}

DropList PathDrop::list() { return DropList{this, pathCount, pathAt}; }

void setDestination(int mode, const std::string& chosenFolder, int overwrite) {
    memset(&AppSettings, 0, sizeof AppSettings);
    AppSettings.destinationMode = mode;
    ASSERT_LT(chosenFolder.size(), sizeof AppSettings.chosenFolder);
    memcpy(AppSettings.chosenFolder, chosenFolder.c_str(), chosenFolder.size() + 1);
    AppSettings.overwriteExisting = overwrite;
}

void JobsTest::SetUp() {
    capturedLog.clear();
    setLogSink(captureSink);
    jobTally.converted = jobTally.failed = 0;
    setDestination(SourceFolder, "", 1);
    savedFolder = currentFolder();
#ifdef _WIN32
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    ASSERT_TRUE(n > 0 && n < sizeof temp);
    for (unsigned i = 0; i < 1000 && dir.empty(); i++) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%stbxjobs%lu_%u", temp, (unsigned long)GetCurrentProcessId(), i);
        if (CreateDirectoryA(name, NULL))
            dir = name;
    }
    ASSERT_FALSE(dir.empty());
#else
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tbxjobs.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    ASSERT_NE(nullptr, mkdtemp(name.data()));
    dir = name.data();
#endif
}

void JobsTest::TearDown() {
    setLogSink(nullptr);
    if (!savedFolder.empty())
        changeFolder(savedFolder);
    if (!dir.empty())
        removeTree(dir);
}

std::string JobsTest::referenceCsv(const std::string& source, int portCount) {
    std::string out = path("reference.csv");
    EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(source.c_str(), out.c_str(), portCount));
    std::string bytes;
    readFile(out, &bytes);
    removeTree(out);
    return bytes;
}
