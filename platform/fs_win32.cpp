// Paths, folders and listings, Win32 side. Paths are code page 932 (or
// whatever the system code page is): a trail byte may equal '\\', so every
// separator test steps by characters with CharNextA.
#include "platform/fs.h"
#include "platform/text_fit.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <stdio.h>
#include <string.h>

const char* platNextChar(const char* p) {
    return *p ? CharNextA(p) : p;
}

const char* platLastSeparator(const char* path) {
    const char* last = nullptr;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            last = p;
    }
    return last;
}

bool platEndsWithSeparator(const char* path) {
    const char* last = nullptr;
    for (const char* p = path; *p; p = CharNextA(p))
        last = p;
    return last && *last == '\\';
}

PathKind platPathKind(const char* path) {
    // A pattern character would make the search match other names.
    if (!path || strpbrk(path, "*?"))
        return PathMissing;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(path, &found);
    if (h == INVALID_HANDLE_VALUE)
        return PathMissing;
    FindClose(h);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathIsFolder : PathIsFile;
}

bool platCreateFolder(const char* path) {
    SECURITY_ATTRIBUTES security;
    security.nLength = 12;  // as the program has always passed it; default security, nothing inherited
    security.lpSecurityDescriptor = NULL;
    security.bInheritHandle = FALSE;
    return CreateDirectoryA(path, &security) != 0;
}

bool platIsFolder(const char* path) {
    return PathIsDirectoryA(path) != FALSE;
}

bool platFileTitle(const char* path, char* out, size_t size) {
    if (size == 0)
        return false;
    out[0] = '\0';
    WORD room = size > 0xFFFF ? (WORD)0xFFFF : (WORD)size;
    if (GetFileTitleA(path, out, room) == 0 && out[0])
        return true;
    // Names the title function refuses still get their last component.
    const char* last = platLastSeparator(path);
    const char* name = last ? last + 1 : path;
    const char* colon = nullptr;
    for (const char* p = name; *p; p = CharNextA(p)) {
        if (*p == '/' || *p == ':')
            colon = p;
    }
    return copyFitting(colon ? colon + 1 : name, out, size);
}

bool platDesktopFolder(char* out, size_t size) {
    if (size == 0)
        return false;
    out[0] = '\0';
    char desktop[MAX_PATH + 1];
    memset(desktop, 0, sizeof desktop);
    if (!SHGetSpecialFolderPathA(NULL, desktop, CSIDL_DESKTOP, FALSE) || desktop[0] == '\0')
        return false;
    return copyFitting(desktop, out, size);
}

bool platCurrentFolder(char* out, size_t size) {
    if (size == 0)
        return false;
    out[0] = '\0';
    DWORD room = size > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)size;
    DWORD n = GetCurrentDirectoryA(room, out);
    if (n == 0 || n >= room) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool platFullPath(const char* path, char* out, size_t size) {
    if (size == 0)
        return false;
    out[0] = '\0';
    DWORD room = size > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)size;
    DWORD n = GetFullPathNameA(path, room, out, NULL);
    if (n == 0 || n >= room) {
        out[0] = '\0';
        return false;
    }
    return true;
}

// Fills entry from a search record.
static bool takeFound(const WIN32_FIND_DATAA& found, PlatEntry* entry) {
    entry->isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return copyFitting(found.cFileName, entry->name, sizeof entry->name);
}

bool platOpenListing(const char* folder, PlatListing* listing) {
    listing->handle = (intptr_t)INVALID_HANDLE_VALUE;
    listing->havePending = false;
    if (!copyFitting(folder, listing->folder, sizeof listing->folder))
        return false;
    char pattern[MAX_PATH];
    int n = snprintf(pattern, sizeof pattern, "%s*.*", folder);
    if (n < 0 || (size_t)n >= sizeof pattern)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern, &found);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    listing->handle = (intptr_t)h;
    listing->havePending = takeFound(found, &listing->pending);
    return true;
}

bool platNextEntry(PlatListing* listing, PlatEntry* entry) {
    HANDLE h = (HANDLE)listing->handle;
    if (h == INVALID_HANDLE_VALUE)
        return false;
    if (listing->havePending) {
        listing->havePending = false;
        *entry = listing->pending;
        return true;
    }
    WIN32_FIND_DATAA found;
    while (FindNextFileA(h, &found)) {
        if (takeFound(found, entry))
            return true;
    }
    return false;
}

void platCloseListing(PlatListing* listing) {
    HANDLE h = (HANDLE)listing->handle;
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    listing->handle = (intptr_t)INVALID_HANDLE_VALUE;
}

bool platFolderIdentity(const char*, PlatFolderId*) {
    return false;
}
