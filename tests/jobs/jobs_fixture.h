// Helpers of the job tests: a scratch folder per test, files written and read
// whole, the log captured as one text, the settings set field by field, and a
// drop backed by a list of paths.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "jobs/drop_dispatch.h"

#ifdef _WIN32
const char kSep = '\\';
#else
const char kSep = '/';
#endif

// folder + separator + name.
std::string join(const std::string& folder, const std::string& name);
bool writeFile(const std::string& path, const std::string& bytes);
bool readFile(const std::string& path, std::string* bytes);
bool exists(const std::string& path);
bool isFolder(const std::string& path);
bool makeFolder(const std::string& path);
// Makes every folder of path (which need not exist).
void makeFolders(const std::string& path);
void removeTree(const std::string& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> listNames(const std::string& folder);
std::string currentFolder();
bool changeFolder(const std::string& path);

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
