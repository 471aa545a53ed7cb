// The conversion job: one log file into one CSV file, one line of text.
#pragma once

// Counts of the files reported since the front end last cleared them: each
// file takes exactly one line, ending in "完了" (converted) or anything else (failed).
struct JobTally {
    unsigned converted;
    unsigned failed;
};
extern JobTally jobTally;

// Why a file is not converted at all.
enum RefusalReason {
    RefusedNoFreeName,     // every numbered CSV name is taken
    RefusedPathTooLong,    // a path it needs does not fit 259 bytes
    RefusedNoDestination,  // the desktop folder is unknown
};

// Converts sourcePath into the CSV file at outputBase (a kPathSize buffer, edited
// in place) less its last component's extension, reporting to the log with
// displayName. Returns nothing; the text is the only report.
void runConversionJob(const char* sourcePath, char* outputBase, const char* displayName);

// Reports the file (or folder) name as not converted, with the reason's line.
void refuseFile(const char* name, RefusalReason reason);
