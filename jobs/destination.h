// Destination resolution: where the CSV file of one log file goes.
#pragma once

// A dropped file: ignored unless its path holds "_w.bin" or "_wh.bin";
// otherwise converted into the destination folder. Returns 0.
int handleDroppedFile(const char* path);

// A log file found below a dropped folder (its path begins with dropParent):
// converted to the same place below the destination that it has below
// dropParent. Returns 0.
int handleTreeFile(const char* path);

// True when text holds one of the log file markers (case-sensitive).
bool hasLogMarker(const char* text);
