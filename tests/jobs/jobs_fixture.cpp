#include "tests/jobs/jobs_fixture.h"

#include <string.h>

#include "convert/csv_writer.h"
#include "jobs/app_log.h"
#include "jobs/conversion_job.h"

std::string capturedLog;

static void captureSink(const char* text) { capturedLog += text; }

std::string sampleLog(int seed) {
    std::string bytes(232, '\0');
    memcpy(&bytes[0], "GW-TEST", 7);
    bytes[33] = (char)seed;
    for (int r = 0; r < 2; r++) {
        unsigned char record[20] = {0};
        unsigned t = 1367366400u + 60u * (unsigned)r + (unsigned)seed;
        record[0] = (unsigned char)(t >> 24);
        record[1] = (unsigned char)(t >> 16);
        record[2] = (unsigned char)(t >> 8);
        record[3] = (unsigned char)t;
        record[5] = (unsigned char)(10 + r + seed);
        record[13] = 100;
        record[17] = 100;
        bytes.append((const char*)record, sizeof record);
    }
    return bytes;
}

static unsigned pathCount(void* context) { return (unsigned)static_cast<PathDrop*>(context)->paths.size(); }

static unsigned pathAt(void* context, unsigned index, char* out, unsigned size) {
    const std::string& p = static_cast<PathDrop*>(context)->paths[index];
    if (p.size() < size)
        memcpy(out, p.c_str(), p.size() + 1);
    return (unsigned)p.size();
}

DropList PathDrop::list() { return DropList{this, pathCount, pathAt}; }

void setDestination(int mode, const std::string& chosenFolder, int overwrite) {
    memset(&AppSettings, 0, sizeof AppSettings);
    AppSettings.destinationMode = mode;
    ASSERT_LT(chosenFolder.size(), sizeof AppSettings.chosenFolder);
    memcpy(AppSettings.chosenFolder, chosenFolder.c_str(), chosenFolder.size() + 1);
    AppSettings.overwriteExisting = overwrite;
}

void JobsTest::SetUp() {
    capturedLog.clear();
    setLogSink(captureSink);
    jobTally.converted = jobTally.failed = 0;
    setDestination(SourceFolder, "", 1);
    savedFolder = currentFolder();
    dir = makeScratchFolder("jobs");
    ASSERT_FALSE(dir.empty());
}

void JobsTest::TearDown() {
    setLogSink(nullptr);
    if (!savedFolder.empty())
        changeFolder(savedFolder);
    if (!dir.empty())
        removeTree(dir);
}

std::string JobsTest::referenceCsv(const std::string& source, int portCount) {
    std::string out = path("reference.csv");
    EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(source.c_str(), out.c_str(), portCount));
    std::string bytes;
    readFile(out, &bytes);
    removeTree(out);
    return bytes;
}
