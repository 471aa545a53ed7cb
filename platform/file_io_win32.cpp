// File access for the converter, Win32 side: CreateFileA with the sharing the
// converter relies on, and MoveFileExA to put a finished file in place.
#include "platform/file_io.h"
#include "platform/text_fit.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

// Counts the temporary names this process has tried, so that each is new.
static unsigned tempNameCounter;

static HANDLE asHandle(PlatFile file) { return (HANDLE)file.handle; }

bool platOpenForReading(const char* path, PlatFile* file) {
    file->handle = -1;
    if (!path)
        return false;
    // Others may read the log but not write it while it is read; the open
    // fails while another holds it for writing. A folder does not open here.
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    file->handle = (intptr_t)h;
    return true;
}

// Length of the folder part of path, with its last separator. The walk goes
// by characters, since a code page 932 trail byte may equal '\\'.
static size_t folderPartLength(const char* path) {
    size_t length = 0;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            length = (size_t)(p - path) + 1;
    }
    return length;
}

bool platCreateTempBeside(const char* targetPath, PlatFile* file, char* tempPath, size_t tempPathSize) {
    file->handle = -1;
    if (!targetPath || !tempPath || tempPathSize == 0)
        return false;
    tempPath[0] = '\0';
    size_t folderLength = folderPartLength(targetPath);
    size_t limit = tempPathSize < MAX_PATH ? tempPathSize : MAX_PATH;
    for (int attempt = 0; attempt < 100; attempt++) {
        // Near the path limit the name shrinks to five bytes, so any CSV path that fits can be written.
        unsigned long pid = (unsigned long)GetCurrentProcessId();
        if (!composeTempPath(targetPath, folderLength, "~tbx", pid, tempNameCounter++, tempPath, limit))
            return false;
        // Nobody else may open the file while it is written.
        HANDLE h = CreateFileA(tempPath, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (h != INVALID_HANDLE_VALUE) {
            file->handle = (intptr_t)h;
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    tempPath[0] = '\0';
    return false;
}

long platReadSome(PlatFile file, void* buffer, size_t size) {
    if (file.handle == -1)
        return -1;
    DWORD want = size > (1u << 30) ? (DWORD)(1u << 30) : (DWORD)size;
    DWORD got = 0;
    if (!ReadFile(asHandle(file), buffer, want, &got, NULL))
        return -1;
    return (long)got;
}

bool platWriteAll(PlatFile file, const void* data, size_t size) {
    if (file.handle == -1)
        return false;
    const char* p = (const char*)data;
    while (size > 0) {
        DWORD chunk = size > (1u << 30) ? (DWORD)(1u << 30) : (DWORD)size;
        DWORD written = 0;
        if (!WriteFile(asHandle(file), p, chunk, &written, NULL) || written == 0)
            return false;
        p += written;
        size -= written;
    }
    return true;
}

bool platCloseFile(PlatFile* file) {
    if (file->handle == -1)
        return true;
    HANDLE h = asHandle(*file);
    file->handle = -1;
    return CloseHandle(h) != 0;
}

bool platReplaceFile(const char* tempPath, const char* targetPath) {
    if (!tempPath || !targetPath)
        return false;
    // Refused for a folder, a read-only file and a file another program holds open.
    DWORD attributes = GetFileAttributesA(targetPath);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    return MoveFileExA(tempPath, targetPath, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool platRemoveFile(const char* path) {
    return path && DeleteFileA(path) != 0;
}
