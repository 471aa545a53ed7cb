// One drop of files and folders, turned into conversion jobs in the drop's order.
#pragma once
#include "app/settings.h"

// A drop as the front end delivers it: the number of paths and each path by index.
// The Windows program backs it with its HDROP, the command line with its arguments.
struct DropList {
    void* context;
    // Number of paths in the drop.
    unsigned (*count)(void* context);
    // Copies path `index` into out (size bytes, NUL-terminated) and returns the
    // path's full length in bytes. A result >= size means the path did not fit:
    // out then holds nothing usable and the path must be refused, not cut.
    unsigned (*pathAt)(void* context, unsigned index, char* out, unsigned size);
};

// The folder being walked, without its last component (C:\data for C:\data\logs).
extern char dropParent[kPathSize];

// Converts every path of the drop, in order: files through handleDroppedFile,
// folders walked depth first through handleTreeFile.
void dispatchDroppedPaths(const DropList* drop);
