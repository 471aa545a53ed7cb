#include "tests/common/test_files.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::string join(const std::string& folder, const std::string& name) { return folder + kSep + name; }

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

void makeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == kSep) {
            std::string prefix = path.substr(0, i);
            if (!isFolder(prefix))
                makeFolder(prefix);
        }
    }
}

#ifdef _WIN32

bool pathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
        // A junction is removed itself; what it points at is left alone.
        if (!(a & FILE_ATTRIBUTE_REPARSE_POINT))
            for (const std::string& name : listNames(path))
                removeTree(join(path, name));
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

std::string makeScratchFolder(const char* tag) {
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp)
        return std::string();
    for (unsigned i = 0; i < 1000; i++) {
        char name[MAX_PATH];
        int length = snprintf(name, sizeof name, "%stbx%s%lu_%u", temp, tag, (unsigned long)GetCurrentProcessId(), i);
        if (length < 0 || (size_t)length >= sizeof name)
            return std::string();
        if (CreateDirectoryA(name, NULL))
            return name;
    }
    return std::string();
}

#else

bool pathExists(const std::string& path) {
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
        chmod(path.c_str(), 0700);  // a test may have taken the rights away
        for (const std::string& name : listNames(path))
            removeTree(join(path, name));
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

std::string makeScratchFolder(const char* tag) {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tbx" + tag + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

#endif
