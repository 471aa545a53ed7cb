// The INI settings file, Win32 side: the private profile functions.
#include "platform/profile.h"

#include <windows.h>

#include <string.h>

int platProfileInt(const char* section, const char* key, int defaultValue, const char* path) {
    return (int)GetPrivateProfileIntA(section, key, defaultValue, path);
}

void platProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                       size_t size, const char* path) {
    if (size == 0)
        return;
    DWORD room = size > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)size;
    GetPrivateProfileStringA(section, key, defaultValue, out, room, path);
}

bool platWriteProfileSection(const char* section, const char* pairs, const char* path) {
    // The function takes the pairs as NUL-ended strings with one more NUL after
    // the last; lines ended by CR LF are turned into that form.
    char list[2048];
    size_t n = 0;
    for (const char* p = pairs; *p; p++) {
        if (n + 2 >= sizeof list)
            return false;
        if (*p == '\r' && p[1] == '\n') {
            list[n++] = '\0';
            p++;
        } else {
            list[n++] = *p;
        }
    }
    if (n == 0 || list[n - 1] != '\0')
        list[n++] = '\0';
    list[n] = '\0';
    return WritePrivateProfileSectionA(section, list, path) != 0;
}
