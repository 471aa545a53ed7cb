// The user's destination and overwrite choices, and their store in "settings.ini".
#pragma once
#include <stdint.h>

// Paths and folder texts: 259 bytes and the NUL.
enum { kPathSize = 260 };

enum DestinationMode : int32_t {
    SourceFolder = 0,  // beside the log file
    Desktop = 1,       // the user's desktop folder
    ChosenFolder = 2,  // the folder in chosenFolder
};

struct Settings {
    int32_t destinationMode;       // a DestinationMode; other values are reset to 0 where read
    char chosenFolder[kPathSize];  // folder for ChosenFolder, may be empty or end with a separator
    int32_t overwriteExisting;     // non-zero: replace a CSV file of the same name
    char settingsPath[kPathSize];  // full path of settings.ini, fixed by loadSettings
};

// The process-wide settings.
extern Settings AppSettings;

// Reads settings.ini from the current directory into AppSettings (defaults for
// what is missing). Returns 0.
int loadSettings();

// Writes AppSettings to the "setting" section of settingsPath. Returns 0.
int saveSettings();
