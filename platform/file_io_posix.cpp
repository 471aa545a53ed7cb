// File access for the converter, POSIX side. It mirrors what the Win32 side
// refuses: folders as input, and replacing a target that is not a regular,
// writable file.
#include "platform/file_io.h"
#include "platform/text_fit.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

// Counts the temporary names this process has tried, so that each is new.
static unsigned tempNameCounter;

bool platOpenForReading(const char* path, PlatFile* file) {
    file->handle = -1;
    if (!path)
        return false;
    // Non-blocking, so that a FIFO cannot hang the open; cleared once it is known to be a file.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return false;
    }
    file->handle = fd;
    return true;
}

bool platCreateTempBeside(const char* targetPath, PlatFile* file, char* tempPath, size_t tempPathSize) {
    file->handle = -1;
    if (!targetPath || !tempPath || tempPathSize == 0)
        return false;
    tempPath[0] = '\0';
    const char* slash = strrchr(targetPath, '/');
    size_t folderLength = slash ? (size_t)(slash - targetPath) + 1 : 0;
    size_t limit = tempPathSize < 260 ? tempPathSize : 260;
    for (int attempt = 0; attempt < 100; attempt++) {
        // Near the path limit the name shrinks to five bytes, so any CSV path that fits can be written.
        unsigned long pid = (unsigned long)getpid();
        if (!composeTempPath(targetPath, folderLength, ".~tbx", pid, tempNameCounter++, tempPath, limit))
            return false;
        int fd = open(tempPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file->handle = fd;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    tempPath[0] = '\0';
    return false;
}

long platReadSome(PlatFile file, void* buffer, size_t size) {
    if (file.handle < 0)
        return -1;
    if (size > (1u << 30))
        size = 1u << 30;
    for (;;) {
        ssize_t n = read((int)file.handle, buffer, size);
        if (n >= 0)
            return (long)n;
        if (errno != EINTR)
            return -1;
    }
}

bool platWriteAll(PlatFile file, const void* data, size_t size) {
    if (file.handle < 0)
        return false;
    const char* p = (const char*)data;
    while (size > 0) {
        ssize_t n = write((int)file.handle, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        p += n;
        size -= (size_t)n;
    }
    return true;
}

bool platCloseFile(PlatFile* file) {
    if (file->handle < 0)
        return true;
    int fd = (int)file->handle;
    file->handle = -1;
    // After close() fails the descriptor is gone either way; it is not closed again.
    return close(fd) == 0;
}

bool platReplaceFile(const char* tempPath, const char* targetPath) {
    if (!tempPath || !targetPath)
        return false;
    struct stat st;
    if (lstat(targetPath, &st) == 0) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0)
            return false;
    } else if (errno != ENOENT) {
        return false;
    }
    return rename(tempPath, targetPath) == 0;
}

bool platRemoveFile(const char* path) {
    return path && unlink(path) == 0;
}
