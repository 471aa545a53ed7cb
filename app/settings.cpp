#include "app/settings.h"

#include <stdio.h>
#include <string.h>

#include "platform/fs.h"
#include "platform/profile.h"

Settings AppSettings;

static const char kSection[] = "setting";

int loadSettings() {
    memset(AppSettings.settingsPath, 0, sizeof AppSettings.settingsPath);
    memset(AppSettings.chosenFolder, 0, sizeof AppSettings.chosenFolder);
    AppSettings.overwriteExisting = 1;
    AppSettings.destinationMode = SourceFolder;

    char current[kPathSize];
    if (!platCurrentFolder(current, sizeof current))
        return 0;
    // A current folder too long for the file's path leaves the path empty: the
    // defaults hold, and nothing is ever saved to a cut path.
    char path[kPathSize];
    int n = snprintf(path, sizeof path, "%s%c%s", current, kPathSeparator, "settings.ini");
    if (n < 0 || n >= (int)sizeof path)
        return 0;
    memcpy(AppSettings.settingsPath, path, sizeof path);

    AppSettings.overwriteExisting = platProfileInt(kSection, "overwr", 1, path);
    AppSettings.destinationMode = platProfileInt(kSection, "type", 0, path);
    platProfileString(kSection, "dir", "", AppSettings.chosenFolder, sizeof AppSettings.chosenFolder, path);
    return 0;
}

int saveSettings() {
    if (AppSettings.settingsPath[0] == '\0')
        return 0;
    char text[1024];
    memset(text, 0, sizeof text);
    char folder[kPathSize];
    memcpy(folder, AppSettings.chosenFolder, sizeof folder);
    folder[sizeof folder - 1] = '\0';
    int n = snprintf(text, sizeof text, "type=%d\r\ndir=%s\r\noverwr=%d\r\n", (int)AppSettings.destinationMode,
                     folder, (int)AppSettings.overwriteExisting);
    if (n < 0 || n >= (int)sizeof text)
        return 0;
    platWriteProfileSection(kSection, text, AppSettings.settingsPath);
    return 0;
}
