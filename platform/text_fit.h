// Bounded text helpers of the platform layer: a text that does not fit its
// buffer is refused (the buffer left empty), never cut.
#pragma once
#include <stddef.h>

// Copies text into out (size bytes); false, out empty, when it does not fit.
bool copyFitting(const char* text, char* out, size_t size);

// Joins a and b into out; false, out empty, when the join does not fit.
bool joinFitting(const char* a, const char* b, char* out, size_t size);

// Composes the path of temporary file number `counter` of process `pid` in the
// folder that is the first folderLength bytes of targetPath: a descriptive name
// (prefix, pid and counter, ".tmp"), or near the limit a five-byte one, never
// longer than a CSV file's own name. False when neither fits limit bytes.
bool composeTempPath(const char* targetPath, size_t folderLength, const char* prefix, unsigned long pid,
                     unsigned counter, char* tempPath, size_t limit);
