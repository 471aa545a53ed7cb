#include <string.h>

#include "jobs/conversion_job.h"

#ifndef _WIN32
#include <sys/mount.h>
#endif
#include "tests/jobs/jobs_fixture.h"

// Runs one job with the base as given (copied into a kPathSize buffer).
static void runJob(const std::string& source, const std::string& base, const std::string& displayName) {
    char outputBase[kPathSize];
    memset(outputBase, 0, sizeof outputBase);
    ASSERT_LT(base.size(), sizeof outputBase);
    memcpy(outputBase, base.c_str(), base.size());
    runConversionJob(source.c_str(), outputBase, displayName.c_str());
}

TEST_F(JobsTest, ConvertedFileTakesOneLineAndItsCsvName) {
    std::string source = path("a_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    runJob(source, join(join(path("out"), "2013"), "a_w.bin"), "a_w.bin");
    EXPECT_EQ(" a_w.bin 変換開始⇒完了\r\n", capturedLog);
    std::string csv;
    ASSERT_TRUE(readFile(join(join(path("out"), "2013"), "a_w.csv"), &csv));
    EXPECT_EQ(referenceCsv(source, 4), csv);
    EXPECT_EQ(1u, jobTally.converted);
    EXPECT_EQ(0u, jobTally.failed);
}

TEST_F(JobsTest, OneOutletOnlyWhenTheDisplayNameSaysSo) {
    std::string folder = path("dev1p_");
    ASSERT_TRUE(makeFolder(folder));
    struct Case {
        const char* name;
        int ports;
    } cases[] = {{"x1p_w.bin", 1}, {"1p_a_w.bin", 1}, {"x1P_w.bin", 4}, {"plain_w.bin", 4}};
    for (const Case& c : cases) {
        std::string source = join(folder, c.name);  // "1p_" in the folder plays no part
        ASSERT_TRUE(writeFile(source, sampleLog(3)));
        runJob(source, source, c.name);
        std::string csv, base = source.substr(0, source.size() - 4);
        ASSERT_TRUE(readFile(base + ".csv", &csv)) << c.name;
        EXPECT_EQ(referenceCsv(source, c.ports), csv) << c.name;
        EXPECT_NE(referenceCsv(source, 5 - c.ports), csv) << c.name;
    }
}

TEST_F(JobsTest, FailuresAreWordedByTheirCause) {
    // Unreadable log: no CSV file is left, so the next job takes the plain name again.
    AppSettings.overwriteExisting = 0;
    std::string missing = path("gone_w.bin");
    runJob(missing, missing, "gone_w.bin");
    EXPECT_EQ(" gone_w.bin 変換開始⇒失敗(読取不可)\r\n", capturedLog);
    EXPECT_FALSE(pathExists(path("gone_w.csv")));
    ASSERT_TRUE(writeFile(missing, sampleLog()));
    runJob(missing, missing, "gone_w.bin");
    EXPECT_TRUE(pathExists(path("gone_w.csv")));
    EXPECT_FALSE(pathExists(path("gone_w_1.csv")));

    // The destination folder cannot be made: a file stands where it must go.
    capturedLog.clear();
    ASSERT_TRUE(writeFile(path("blocker"), "x"));
    runJob(missing, join(join(path("blocker"), "sub"), "gone_w.bin"), "gone_w.bin");
    EXPECT_EQ(" gone_w.bin 変換開始⇒失敗(作成不可)\r\n", capturedLog);
    EXPECT_EQ(2u, jobTally.failed);
    EXPECT_EQ(1u, jobTally.converted);
}

TEST_F(JobsTest, NoFreeNameGivesOnlyTheRefusal) {
    AppSettings.overwriteExisting = 0;
    std::string source = path("B_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    std::string out = path("out");
    ASSERT_TRUE(makeFolder(out));
    ASSERT_TRUE(writeFile(join(out, "B_w.csv"), ""));
    for (int n = 1; n <= 1000; n++)
        ASSERT_TRUE(writeFile(join(out, "B_w_" + std::to_string(n) + ".csv"), ""));
    runJob(source, join(out, "B_w.bin"), "B_w.bin");
    EXPECT_EQ(" B_w.bin 変換不可(追い番最大)\r\n", capturedLog);
    EXPECT_EQ(1001u, listNames(out).size());
    EXPECT_EQ(1u, jobTally.failed);
}

TEST_F(JobsTest, OnlyTheLastComponentLosesItsExtension) {
    std::string source = path("a_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    struct Case {
        std::string base, csv;
    } cases[] = {
        {join(path("v1.2"), "name"), join(path("v1.2"), "name.csv")},
        {join(path("v1.2"), "a_w.bin.old"), join(path("v1.2"), "a_w.bin.csv")},
        {join(path("v1.2"), "a_w.bin"), join(path("v1.2"), "a_w.csv")},
    };
    for (const Case& c : cases) {
        runJob(source, c.base, "a_w.bin");
        EXPECT_TRUE(pathExists(c.csv)) << c.csv;
    }
    EXPECT_EQ((std::vector<std::string>{"a_w.bin.csv", "a_w.csv", "name.csv"}), listNames(path("v1.2")));
    EXPECT_FALSE(pathExists(path("v1.csv")));
}

TEST_F(JobsTest, DisplayNameIsShownAsItIs) {
    std::string source = path("100%s_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    runJob(source, source, "100%s%d_w.bin");
    EXPECT_EQ(" 100%s%d_w.bin 変換開始⇒完了\r\n", capturedLog);
}

TEST_F(JobsTest, CsvPathThatWouldNotFitIsRefused) {
    std::string base = path(std::string(kPathSize - 3 - dir.size() - 1, 'n') + ".x");
    ASSERT_EQ(kPathSize - 1, base.size());  // the base fits; its CSV path does not
    runJob(path("a_w.bin"), base, "long_w.bin");
    EXPECT_EQ(" long_w.bin 変換不可(パス長超過)\r\n", capturedLog);
    EXPECT_EQ(1u, jobTally.failed);
}

#ifndef _WIN32
// A full disk while the CSV file is written: its own wording, and nothing left behind.
TEST_F(JobsTest, FullDiskIsReportedAsCannotWrite) {
    std::string small = path("small");
    ASSERT_TRUE(makeFolder(small));
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    std::string log = sampleLog();
    std::string records = log.substr(232);
    for (int i = 0; i < 12; i++)
        records += records;  // 8192 records: a CSV file of several hundred kilobytes
    std::string source = path("big_w.bin");
    ASSERT_TRUE(writeFile(source, log.substr(0, 232) + records));
    runJob(source, join(small, "big_w.bin"), "big_w.bin");
    std::vector<std::string> left = listNames(small);
    umount(small.c_str());
    EXPECT_EQ(" big_w.bin 変換開始⇒失敗(書込不可)\r\n", capturedLog);
    EXPECT_EQ(std::vector<std::string>{}, left);
    EXPECT_EQ(1u, jobTally.failed);
}
#endif
