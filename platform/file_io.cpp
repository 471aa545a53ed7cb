// The parts of file access that are the same on every platform.
#include "platform/file_io.h"

bool platCanOpenForReading(const char* path) {
    PlatFile file;
    if (!platOpenForReading(path, &file))
        return false;
    platCloseFile(&file);
    return true;
}
