#include "platform/text_fit.h"

#include <stdio.h>
#include <string.h>

bool copyFitting(const char* text, char* out, size_t size) {
    if (size == 0)
        return false;
    size_t n = strlen(text);
    if (n >= size) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, text, n + 1);
    return true;
}

bool joinFitting(const char* a, const char* b, char* out, size_t size) {
    int n = snprintf(out, size, "%s%s", a, b);
    if (n < 0 || (size_t)n >= size) {
        if (size)
            out[0] = '\0';
        return false;
    }
    return true;
}

bool composeTempPath(const char* targetPath, size_t folderLength, const char* prefix, unsigned long pid,
                     unsigned counter, char* tempPath, size_t limit) {
    char name[40];
    int n = snprintf(name, sizeof name, "%s%lx_%x.tmp", prefix, pid, counter);
    if (n > 0 && folderLength + (size_t)n + 1 > limit)
        n = snprintf(name, sizeof name, "~%04lx", (pid * 7919u + counter) & 0xFFFFu);
    if (n < 0 || (size_t)n >= sizeof name || folderLength + (size_t)n + 1 > limit)
        return false;
    memcpy(tempPath, targetPath, folderLength);
    memcpy(tempPath + folderLength, name, (size_t)n + 1);
    return true;
}
