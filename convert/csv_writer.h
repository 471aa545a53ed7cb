// Turns one device log file into one CSV file.
#pragma once

enum class ConvertResult : int {
    Ok = 0,                  // the CSV file is complete and in place
    CannotCreateOutput = 1,  // the CSV file could not be created or put in place
    CannotReadInput = 2,     // the log file could not be opened for reading
    CannotWriteOutput = 3,   // writing or closing the CSV file failed
};

// Converts the log at sourcePath into a CSV file at csvPath. portCount 1 selects
// the one-outlet model line, anything else the four-outlet one. The CSV file is
// written beside csvPath under a temporary name and only replaces csvPath once it
// is complete; on any failure csvPath is left exactly as it was.
ConvertResult convertLogToCsv(const char* sourcePath, const char* csvPath, int portCount);
