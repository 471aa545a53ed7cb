// Output path preparation: the CSV file's name, and the folders it needs.
#pragma once
#include <stddef.h>

enum OutputNameResult {
    NameChosen = 0,    // outPath holds the CSV path
    NameAllTaken = 1,  // every name from the plain one to _1000 exists
    NameTooLong = 2,   // the name that would be taken does not fit outPath
};

// Chooses the CSV path for basePath (the output path without extension): with
// AppSettings.overwriteExisting set basePath + ".csv", otherwise the first of
// basePath + ".csv", basePath + "_1.csv" ... basePath + "_1000.csv" that cannot
// be opened for reading. outPath receives the path; basePath itself when every
// name is taken; nothing when it does not fit.
int chooseOutputName(const char* basePath, char* outPath, size_t outSize);

// Makes every folder along directoryPath exist, creating the missing ones from
// the top down. 1 when all exist (also for an empty path), 0 when a part is a
// file or cannot be created; folders created before that stay.
int createDirectoryChain(const char* directoryPath);
