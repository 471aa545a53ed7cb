// The INI settings file. Win32 side: the private profile functions; POSIX side:
// a small reader and writer of our own that keeps their rules: section and key
// names match without regard to case, values are trimmed and lose one pair of
// surrounding quotes, a section is replaced as a whole (created at the end of
// the file when missing) and every other byte of the file is kept.
#pragma once
#include <stddef.h>

// The key's value as a decimal integer, or defaultValue when the key, its
// section or the file is missing or the value is empty.
int platProfileInt(const char* section, const char* key, int defaultValue, const char* path);

// Copies the key's value into out (size bytes, cut to size - 1), or
// defaultValue when the key, its section or the file is missing.
void platProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                       size_t size, const char* path);

// Replaces the whole content of section by pairs: "key=value" lines, each
// ended by CR LF. False when the file could not be written.
bool platWriteProfileSection(const char* section, const char* pairs, const char* path);
