#include "jobs/output_paths.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"
#include "platform/file_io.h"
#include "platform/fs.h"

// The highest sequence number of a CSV name.
static const int kLastSequence = 1000;

int chooseOutputName(const char* basePath, char* outPath, size_t outSize) {
    if (outSize == 0)
        return NameTooLong;
    memset(outPath, 0, outSize);
    char candidate[kPathSize];
    size_t limit = outSize < sizeof candidate ? outSize : sizeof candidate;
    for (int n = 0; n <= kLastSequence; n++) {
        memset(candidate, 0, sizeof candidate);
        int length = n == 0 ? snprintf(candidate, limit, "%s.csv", basePath)
                            : snprintf(candidate, limit, "%s_%d.csv", basePath, n);
        if (length < 0 || (size_t)length >= limit) {
            memset(outPath, 0, outSize);
            return NameTooLong;
        }
        // A name that cannot be opened is free, whatever the reason (missing
        // file, missing folder, a folder of that name).
        if (AppSettings.overwriteExisting != 0 || !platCanOpenForReading(candidate)) {
            memcpy(outPath, candidate, (size_t)length + 1);
            return NameChosen;
        }
    }
    int n = snprintf(outPath, outSize, "%s", basePath);
    if (n < 0 || (size_t)n >= outSize)
        memset(outPath, 0, outSize);
    return NameAllTaken;
}

// True when the separator at p ends a prefix of the chain. On Windows the
// separator after a colon belongs to the drive ("C:\"); on POSIX the leading
// one is the root, which exists.
static bool splitsChain(const char* path, const char* p) {
#ifdef _WIN32
    return !(p > path && p[-1] == ':');
#else
    return p != path;
#endif
}

int createDirectoryChain(const char* directoryPath) {
    size_t length = strlen(directoryPath);
    if (length == 0)
        return 1;
    if (length >= kPathSize)
        return 0;
    char prefix[kPathSize];
    const char* p = directoryPath;
    for (;;) {
        while (*p && !(*p == kPathSeparator && splitsChain(directoryPath, p)))
            p = platNextChar(p);
        size_t n = (size_t)(p - directoryPath);
        memcpy(prefix, directoryPath, n);
        prefix[n] = '\0';
        PathKind kind = platPathKind(prefix);
        if (kind == PathIsFile)
            return 0;
        if (kind == PathMissing && !platCreateFolder(prefix))
            return 0;
        if (*p == '\0')
            return 1;
        p++;  // past the separator
        if (*p == '\0')
            return 1;
    }
}
