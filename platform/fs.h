// Paths, folders and listings for the conversion jobs. Win32 side: the ANSI
// functions, stepping through paths by characters of the system code page;
// POSIX side: '/' as the separator and UTF-8 paths, stepped byte by byte.
#pragma once
#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
const char kPathSeparator = '\\';
#else
const char kPathSeparator = '/';
#endif

// The character after the one at p (CharNextA on Windows); p itself at the NUL.
const char* platNextChar(const char* p);

// The last separator of path, found by characters, or nullptr when it has none.
const char* platLastSeparator(const char* path);

// True when the last character of path is a separator (a trail byte equal to
// 0x5C is not one).
bool platEndsWithSeparator(const char* path);

enum PathKind { PathMissing = 0, PathIsFile = 1, PathIsFolder = 2 };

// What the name refers to, by the platform's search for that one name
// (FindFirstFileA on Windows, stat on POSIX).
PathKind platPathKind(const char* path);

// Creates one folder with default security. False when it could not be created.
bool platCreateFolder(const char* path);

// True when path names a folder (PathIsDirectoryA on Windows; links followed).
bool platIsFolder(const char* path);

// The name of the file as the system shows it (GetFileTitleA on Windows, the
// last path component on POSIX). False, with out empty, when it does not fit.
bool platFileTitle(const char* path, char* out, size_t size);

// The current user's desktop folder without a trailing separator. False, with
// out empty, when it is unknown or does not fit.
bool platDesktopFolder(char* out, size_t size);

// The process's current folder. False, with out empty, when it does not fit.
bool platCurrentFolder(char* out, size_t size);

// path made absolute against the current folder, as the platform resolves it
// (GetFullPathNameA on Windows; "." and ".." resolved by name on POSIX). False
// when the result does not fit.
bool platFullPath(const char* path, char* out, size_t size);

// One entry of a listing. name is the long name; isFolder follows links.
struct PlatEntry {
    char name[260];
    bool isFolder;
};

// One open folder listing; each level of a walk holds its own.
struct PlatListing {
    intptr_t handle;
    bool havePending;  // Windows: the entry FindFirstFileA returned, not handed out yet
    PlatEntry pending;
    char folder[260];  // the folder with its separator, to look at entries of unknown type
};

// Opens the listing of folder, which ends with a separator. False when the
// folder cannot be listed (or the search pattern would not fit).
bool platOpenListing(const char* folder, PlatListing* listing);

// The next entry ("." and ".." included, as the platform gives them). False at
// the end of the listing or when it fails.
bool platNextEntry(PlatListing* listing, PlatEntry* entry);

void platCloseListing(PlatListing* listing);

// Identity of a folder, to notice a link back to a folder already being
// walked. False when the platform gives none (Windows: the path limit ends
// such a walk instead).
struct PlatFolderId {
    uint64_t device;
    uint64_t node;
};
bool platFolderIdentity(const char* path, PlatFolderId* id);
