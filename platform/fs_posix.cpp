// Paths, folders and listings, POSIX side: '/' separates, UTF-8 paths are
// stepped byte by byte (no UTF-8 byte after the first one equals '/').
#include "platform/fs.h"
#include "platform/text_fit.h"

#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

const char* platNextChar(const char* p) {
    return *p ? p + 1 : p;
}

const char* platLastSeparator(const char* path) {
    return strrchr(path, '/');
}

bool platEndsWithSeparator(const char* path) {
    size_t n = strlen(path);
    return n > 0 && path[n - 1] == '/';
}

PathKind platPathKind(const char* path) {
    struct stat st;
    if (!path || stat(path, &st) != 0)
        return PathMissing;
    return S_ISDIR(st.st_mode) ? PathIsFolder : PathIsFile;
}

bool platCreateFolder(const char* path) {
    return mkdir(path, 0777) == 0;
}

bool platIsFolder(const char* path) {
    return platPathKind(path) == PathIsFolder;
}

bool platFileTitle(const char* path, char* out, size_t size) {
    const char* slash = strrchr(path, '/');
    return copyFitting(slash ? slash + 1 : path, out, size);
}

// XDG_DESKTOP_DIR from user-dirs.dirs: a line XDG_DESKTOP_DIR="$HOME/..." or
// XDG_DESKTOP_DIR="/absolute", backslash escaping the next character.
static bool desktopFromUserDirs(const char* home, char* out, size_t size) {
    char file[4096];
    const char* config = getenv("XDG_CONFIG_HOME");
    bool built = (config && config[0] == '/')
                     ? joinFitting(config, "/user-dirs.dirs", file, sizeof file)
                     : joinFitting(home, "/.config/user-dirs.dirs", file, sizeof file);
    if (!built)
        return false;
    FILE* f = fopen(file, "r");
    if (!f)
        return false;
    char line[4096];
    bool found = false;
    while (!found && fgets(line, sizeof line, f)) {
        const char* p = line;
        while (*p == ' ' || *p == '\t')
            p++;
        static const char kKey[] = "XDG_DESKTOP_DIR";
        if (strncmp(p, kKey, sizeof kKey - 1) != 0)
            continue;
        p += sizeof kKey - 1;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p++ != '=')
            continue;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p++ != '"')
            continue;
        char value[4096];
        size_t n = 0;
        bool closed = false;
        if (strncmp(p, "$HOME", 5) == 0 && (p[5] == '/' || p[5] == '"')) {
            n = strlen(home);
            if (n >= sizeof value)
                continue;
            memcpy(value, home, n);
            p += 5;
        } else if (*p != '/') {
            continue;  // only "$HOME/..." and absolute paths are valid values
        }
        for (; *p && n + 1 < sizeof value; p++) {
            if (*p == '"') {
                closed = true;
                break;
            }
            if (*p == '\\' && p[1])
                p++;
            value[n++] = *p;
        }
        if (!closed)
            continue;
        while (n > 1 && value[n - 1] == '/')
            n--;
        value[n] = '\0';
        found = copyFitting(value, out, size);
    }
    fclose(f);
    return found;
}

bool platDesktopFolder(char* out, size_t size) {
    if (size)
        out[0] = '\0';
    const char* home = getenv("HOME");
    if (!home || home[0] != '/')
        return false;
    if (desktopFromUserDirs(home, out, size))
        return true;
    size_t n = strlen(home);
    while (n > 1 && home[n - 1] == '/')
        n--;
    int written = snprintf(out, size, "%.*s/Desktop", (int)n, home);
    if (written < 0 || (size_t)written >= size) {
        if (size)
            out[0] = '\0';
        return false;
    }
    return true;
}

bool platCurrentFolder(char* out, size_t size) {
    if (size == 0)
        return false;
    if (!getcwd(out, size)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool platFullPath(const char* path, char* out, size_t size) {
    if (size == 0)
        return false;
    out[0] = '\0';
    char joined[8192];
    if (path[0] == '/') {
        if (!copyFitting(path, joined, sizeof joined))
            return false;
    } else {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd))
            return false;
        int n = snprintf(joined, sizeof joined, "%s/%s", cwd, path);
        if (n < 0 || (size_t)n >= sizeof joined)
            return false;
    }
    // Rebuild component by component: "." and empty names go, ".." takes one back.
    char result[8192];
    size_t len = 0;
    const char* p = joined;
    while (*p) {
        while (*p == '/')
            p++;
        const char* end = p;
        while (*end && *end != '/')
            end++;
        size_t n = (size_t)(end - p);
        if (n == 0 || (n == 1 && p[0] == '.')) {
        } else if (n == 2 && p[0] == '.' && p[1] == '.') {
            while (len > 0 && result[len - 1] != '/')
                len--;
            if (len > 0)
                len--;
        } else {
            if (len + 1 + n >= sizeof result)
                return false;
            result[len++] = '/';
            memcpy(result + len, p, n);
            len += n;
        }
        p = end;
    }
    if (len == 0)
        result[len++] = '/';
    result[len] = '\0';
    return copyFitting(result, out, size);
}

bool platOpenListing(const char* folder, PlatListing* listing) {
    listing->handle = 0;
    listing->havePending = false;
    if (!copyFitting(folder, listing->folder, sizeof listing->folder))
        return false;
    DIR* dir = opendir(folder);
    if (!dir)
        return false;
    listing->handle = (intptr_t)dir;
    return true;
}

bool platNextEntry(PlatListing* listing, PlatEntry* entry) {
    DIR* dir = (DIR*)listing->handle;
    if (!dir)
        return false;
    struct dirent* d;
    do {
        errno = 0;
        d = readdir(dir);
        if (!d)
            return false;
    } while (!copyFitting(d->d_name, entry->name, sizeof entry->name));  // longer than any path we keep
    if (d->d_type == DT_DIR) {
        entry->isFolder = true;
    } else if (d->d_type == DT_REG) {
        entry->isFolder = false;
    } else {
        // Links and file systems without types: ask for the thing itself, as a
        // Windows listing reports a junction's target as a folder.
        char full[520];
        entry->isFolder = joinFitting(listing->folder, d->d_name, full, sizeof full) &&
                          platPathKind(full) == PathIsFolder;
    }
    return true;
}

void platCloseListing(PlatListing* listing) {
    if (listing->handle)
        closedir((DIR*)listing->handle);
    listing->handle = 0;
}

bool platFolderIdentity(const char* path, PlatFolderId* id) {
    struct stat st;
    if (stat(path, &st) != 0)
        return false;
    id->device = (uint64_t)st.st_dev;
    id->node = (uint64_t)st.st_ino;
    return true;
}
