// Helpers of the job tests: a scratch folder per test, the log captured as one
// text, the settings set field by field, and a drop backed by a list of paths.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "jobs/drop_dispatch.h"
#include "tests/common/test_files.h"

// A small valid power log: the header and two records.
std::string sampleLog(int seed = 0);

// Everything appended to the log since the test began.
extern std::string capturedLog;

// The drop given to dispatchDroppedPaths: the paths in order.
struct PathDrop {
    std::vector<std::string> paths;
    DropList list();
};

void setDestination(int mode, const std::string& chosenFolder, int overwrite);

// A fresh scratch folder for each test (removed afterwards), the log captured,
// the tally cleared and the current folder restored.
class JobsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string path(const std::string& name) const { return join(dir, name); }
    // Converts the log at source into a CSV text with the given outlet count.
    std::string referenceCsv(const std::string& source, int portCount);
    std::string dir;
    std::string savedFolder;
};
