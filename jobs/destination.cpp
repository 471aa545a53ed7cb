#include "jobs/destination.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"
#include "jobs/conversion_job.h"
#include "jobs/drop_dispatch.h"
#include "platform/fs.h"

bool hasLogMarker(const char* text) {
    return strstr(text, "_w.bin") != nullptr || strstr(text, "_wh.bin") != nullptr;
}

// The destination mode, with a value out of range reset to SourceFolder for good.
static int currentMode() {
    int mode = AppSettings.destinationMode;
    if (mode < SourceFolder || mode > ChosenFolder) {
        AppSettings.destinationMode = SourceFolder;
        mode = SourceFolder;
    }
    return mode;
}

// Joins folder, an optional separator and rest into outputBase; false when
// the result would not fit.
static bool composeBase(char* outputBase, const char* folder, bool separator, const char* rest) {
    char sep[2] = {separator ? kPathSeparator : '\0', '\0'};
    int n = snprintf(outputBase, kPathSize, "%s%s%s", folder, sep, rest);
    if (n < 0 || n >= kPathSize) {
        memset(outputBase, 0, kPathSize);
        return false;
    }
    return true;
}

// Builds the output base of one file: the path itself beside its source, or
// folder + (separator) + rest under the desktop or the chosen folder. False
// after the file has been refused with its line.
static bool buildBase(char* outputBase, const char* path, const char* displayName, bool separator,
                      const char* rest, bool trimChosen) {
    int mode = currentMode();
    if (mode == SourceFolder) {
        if (composeBase(outputBase, path, false, ""))
            return true;
        refuseFile(displayName, RefusedPathTooLong);
        return false;
    }
    char folder[1024];
    memset(folder, 0, sizeof folder);
    if (mode == Desktop) {
        if (!platDesktopFolder(folder, sizeof folder)) {
            refuseFile(displayName, RefusedNoDestination);
            return false;
        }
    } else {
        memcpy(folder, AppSettings.chosenFolder, sizeof AppSettings.chosenFolder);
        folder[kPathSize - 1] = '\0';
        // One trailing separator goes, found by characters (a trail byte may be 0x5C).
        if (trimChosen && platEndsWithSeparator(folder))
            folder[strlen(folder) - 1] = '\0';
    }
    if (composeBase(outputBase, folder, separator, rest))
        return true;
    refuseFile(displayName, RefusedPathTooLong);
    return false;
}

int handleDroppedFile(const char* path) {
    if (!hasLogMarker(path))
        return 0;
    char outputBase[kPathSize];
    char displayName[kPathSize];
    memset(outputBase, 0, sizeof outputBase);
    memset(displayName, 0, sizeof displayName);
    platFileTitle(path, displayName, sizeof displayName);
    // Placed elsewhere, the CSV file is named after the file's own last
    // component, extension included, whatever the title shows.
    const char* last = platLastSeparator(path);
    const char* name = last ? last + 1 : path;
    if (buildBase(outputBase, path, displayName, true, name, false))
        runConversionJob(path, outputBase, displayName);
    return 0;
}

int handleTreeFile(const char* path) {
    char outputBase[kPathSize];
    char displayName[kPathSize];
    memset(outputBase, 0, sizeof outputBase);
    memset(displayName, 0, sizeof displayName);
    platFileTitle(path, displayName, sizeof displayName);
    // The tail starts with the separator in front of the dropped folder's name.
    size_t parentLength = strlen(dropParent);
    const char* tail = strncmp(path, dropParent, parentLength) == 0 ? path + parentLength : path;
    if (buildBase(outputBase, path, displayName, false, tail, true))
        runConversionJob(path, outputBase, displayName);
    return 0;
}
