#include "jobs/conversion_job.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"
#include "convert/csv_writer.h"
#include "jobs/app_log.h"
#include "jobs/output_paths.h"
#include "platform/fs.h"

JobTally jobTally;

// Composed user texts: 1024 bytes.
enum { kTextSize = 1024 };

// Composes format with name into text and appends it; a name too long for
// the buffer (never a path we keep) is refused rather than cut.
static void appendWithName(const char* format, const char* name) {
    char text[kTextSize];
    memset(text, 0, sizeof text);
    int n = snprintf(text, sizeof text, format, name);
    if (n < 0 || (size_t)n >= sizeof text)
        n = snprintf(text, sizeof text, format, "...");
    if (n >= 0)
        appendToLog(text);
}

void refuseFile(const char* name, RefusalReason reason) {
    const char* format = reason == RefusedNoFreeName ? " %s 変換不可(追い番最大)\r\n"
                         : reason == RefusedPathTooLong ? " %s 変換不可(パス長超過)\r\n"
                                                        : " %s 変換不可(変換先不明)\r\n";
    appendWithName(format, name);
    jobTally.failed++;
}

// Cuts the extension of the last path component only; a '.' in a folder
// name before it is left alone.
static void cutExtension(char* path) {
    const char* separator = platLastSeparator(path);
    char* dot = nullptr;
    for (char* p = separator ? (char*)separator + 1 : path; *p; p = (char*)platNextChar(p)) {
        if (*p == '.')
            dot = p;
    }
    if (dot)
        *dot = '\0';
}

void runConversionJob(const char* sourcePath, char* outputBase, const char* displayName) {
    char csvPath[kPathSize];
    memset(csvPath, 0, sizeof csvPath);

    cutExtension(outputBase);
    int chosen = chooseOutputName(outputBase, csvPath, sizeof csvPath);
    if (chosen != NameChosen) {
        refuseFile(displayName, chosen == NameAllTaken ? RefusedNoFreeName : RefusedPathTooLong);
        return;
    }
    appendWithName(" %s 変換開始⇒", displayName);

    // What is left before the last separator is the CSV file's folder.
    char* separator = (char*)platLastSeparator(outputBase);
    if (separator)
        *separator = '\0';
    else
        outputBase[0] = '\0';
    createDirectoryChain(outputBase);  // a failure shows as the converter's

    int portCount = strstr(displayName, "1p_") ? 1 : 4;
    ConvertResult result = convertLogToCsv(sourcePath, csvPath, portCount);
    const char* text;
    switch (result) {
    case ConvertResult::Ok:
        text = "完了\r\n";
        break;
    case ConvertResult::CannotReadInput:
        text = "失敗(読取不可)\r\n";
        break;
    case ConvertResult::CannotWriteOutput:
        text = "失敗(書込不可)\r\n";
        break;
    case ConvertResult::CannotCreateOutput:
    default:
        text = "失敗(作成不可)\r\n";
        break;
    }
    appendToLog(text);
    if (result == ConvertResult::Ok)
        jobTally.converted++;
    else
        jobTally.failed++;
}
