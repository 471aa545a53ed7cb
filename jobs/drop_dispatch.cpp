#include "jobs/drop_dispatch.h"

#include <stdio.h>
#include <string.h>

#include "jobs/conversion_job.h"
#include "jobs/destination.h"
#include "platform/fs.h"

char dropParent[kPathSize];

// The folders open above the one being walked, to refuse a link back up the tree.
struct WalkLevel {
    PlatFolderId id;
    bool known;
    const WalkLevel* up;
};

static bool isDotEntry(const char* name) {
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// Refuses a path composed of two parts that together do not fit kPathSize.
static void refuseJoined(const char* folder, const char* name) {
    char joined[2 * kPathSize + 1];
    snprintf(joined, sizeof joined, "%s%s", folder, name);
    refuseFile(joined, RefusedPathTooLong);
}

// Walks the folder in the kPathSize text folder depth first, handing every file
// whose name holds a log marker to handleTreeFile. Appends a separator to folder.
static void walkFolder(char* folder, const WalkLevel* up) {
    size_t length = strlen(folder);
    if (!platEndsWithSeparator(folder)) {
        // The separator and the listing's "*.*" must both fit.
        if (length + 1 + 3 >= kPathSize) {
            refuseFile(folder, RefusedPathTooLong);
            return;
        }
        folder[length++] = kPathSeparator;
        folder[length] = '\0';
    } else if (length + 3 >= kPathSize) {
        refuseFile(folder, RefusedPathTooLong);
        return;
    }

    WalkLevel level;
    level.known = platFolderIdentity(folder, &level.id);
    level.up = up;
    for (const WalkLevel* l = up; level.known && l; l = l->up) {
        if (l->known && l->id.device == level.id.device && l->id.node == level.id.node)
            return;  // a link back to a folder being walked: its files are already on the way
    }

    PlatListing listing;
    if (!platOpenListing(folder, &listing))
        return;
    PlatEntry entry;
    char subPath[kPathSize];
    char filePath[kPathSize];
    while (platNextEntry(&listing, &entry)) {
        if (entry.isFolder) {
            if (isDotEntry(entry.name))
                continue;
            int n = snprintf(subPath, sizeof subPath, "%s%s", folder, entry.name);
            if (n < 0 || n >= (int)sizeof subPath) {
                refuseJoined(folder, entry.name);
                continue;
            }
            walkFolder(subPath, &level);
        } else if (hasLogMarker(entry.name)) {
            int n = snprintf(filePath, sizeof filePath, "%s%s", folder, entry.name);
            if (n < 0 || n >= (int)sizeof filePath) {
                refuseFile(entry.name, RefusedPathTooLong);
                continue;
            }
            handleTreeFile(filePath);
        }
    }
    platCloseListing(&listing);
}

// Cuts one trailing separator of a dropped folder ("D:\logs\" is D:\logs), but
// not the one of a drive root ("D:\") nor the POSIX root "/".
static void cutTrailingSeparator(char* path) {
    if (!platEndsWithSeparator(path))
        return;
    size_t n = strlen(path);
    if (n == 1)
        return;
#ifdef _WIN32
    if (path[n - 2] == ':')
        return;
#endif
    path[n - 1] = '\0';
}

void dispatchDroppedPaths(const DropList* drop) {
    if (!drop || !drop->count || !drop->pathAt)
        return;
    unsigned count = drop->count(drop->context);
    char path[kPathSize];
    for (unsigned i = 0; i < count; i++) {
        memset(path, 0, sizeof path);
        unsigned length = drop->pathAt(drop->context, i, path, sizeof path);
        if (length >= sizeof path) {
            // Shown in full when it fits the text, never cut into another path.
            char longPath[1000];
            memset(longPath, 0, sizeof longPath);
            if (drop->pathAt(drop->context, i, longPath, sizeof longPath) >= sizeof longPath)
                longPath[0] = '\0';
            refuseFile(longPath, RefusedPathTooLong);
            continue;
        }
        path[sizeof path - 1] = '\0';
        if (platIsFolder(path)) {
            cutTrailingSeparator(path);
            memcpy(dropParent, path, sizeof dropParent);
            char* last = (char*)platLastSeparator(dropParent);
            if (last)
                *last = '\0';
            else
                dropParent[0] = '\0';
            walkFolder(path, nullptr);
        } else {
            handleDroppedFile(path);
        }
    }
}
