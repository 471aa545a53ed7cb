// File access for the converter: the one place that opens, reads, writes,
// renames and removes files. Win32 side: CreateFileA with explicit sharing;
// POSIX side: open/read/write/rename.
#pragma once
#include <stddef.h>
#include <stdint.h>

// An open file. handle is -1 when nothing is open.
struct PlatFile {
    intptr_t handle;
};

// Opens an existing file for reading. Others may go on reading it but not
// write it while it is open; the open fails while someone holds it for
// writing, and for anything that is not a regular file (a folder).
bool platOpenForReading(const char* path, PlatFile* file);

// True when path opens for reading right now (the file is closed again at once).
bool platCanOpenForReading(const char* path);

// Creates a new, empty, exclusively opened temporary file in the folder of
// targetPath and writes its path (NUL-terminated) to tempPath. Fails when the
// folder is missing or not writable, or when the name does not fit tempPathSize.
bool platCreateTempBeside(const char* targetPath, PlatFile* file, char* tempPath, size_t tempPathSize);

// Reads up to size bytes. Returns the count read, 0 at the end, -1 on error.
long platReadSome(PlatFile file, void* buffer, size_t size);

// Writes all of data. False on any failure (disk full, device error).
bool platWriteAll(PlatFile file, const void* data, size_t size);

// Closes the file; handle becomes -1. False when closing reported an error.
bool platCloseFile(PlatFile* file);

// Moves tempPath onto targetPath, replacing a file of that name. Fails, and
// leaves targetPath as it was, when targetPath is a folder, a read-only file
// or a file held open by another program.
bool platReplaceFile(const char* tempPath, const char* targetPath);

// Removes a file. False when it could not be removed.
bool platRemoveFile(const char* path);
