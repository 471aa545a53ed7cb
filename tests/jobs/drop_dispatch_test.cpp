#include <string.h>

#include <algorithm>

#include "jobs/conversion_job.h"
#include "platform/fs.h"
#include "tests/jobs/jobs_fixture.h"

#ifndef _WIN32
#include <unistd.h>
#endif

static void dispatch(PathDrop* drop) {
    DropList list = drop->list();
    dispatchDroppedPaths(&list);
}

// The lines of the log, each without its CR LF.
static std::vector<std::string> logLines() {
    std::vector<std::string> lines;
    size_t at = 0, end;
    while ((end = capturedLog.find("\r\n", at)) != std::string::npos) {
        lines.push_back(capturedLog.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(capturedLog.size(), at) << "a line without its end";
    return lines;
}

TEST_F(JobsTest, DropIsHandledInItsOrderAndFoldersAreWalkedWhole) {
    // data/logs holds a_w.bin, notes.txt and sub/b_wh.bin; two files around it.
    std::string logs = join(path("data"), "logs");
    makeFolders(join(logs, "sub"));
    ASSERT_TRUE(writeFile(join(logs, "a_w.bin"), sampleLog(1)));
    ASSERT_TRUE(writeFile(join(logs, "notes.txt"), "x"));
    ASSERT_TRUE(writeFile(join(join(logs, "sub"), "b_wh.bin"), sampleLog(2)));
    ASSERT_TRUE(writeFile(path("first_w.bin"), sampleLog(3)));
    ASSERT_TRUE(writeFile(path("last_wh.bin"), sampleLog(4)));
    setDestination(ChosenFolder, path("out"), 1);
    PathDrop drop;
    drop.paths = {path("first_w.bin"), logs, path("last_wh.bin")};
    dispatch(&drop);

    std::vector<std::string> lines = logLines();
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(" first_w.bin 変換開始⇒完了", lines[0]);
    std::vector<std::string> middle = {lines[1], lines[2]};
    std::sort(middle.begin(), middle.end());
    EXPECT_EQ((std::vector<std::string>{" a_w.bin 変換開始⇒完了", " b_wh.bin 変換開始⇒完了"}), middle);
    EXPECT_EQ(" last_wh.bin 変換開始⇒完了", lines[3]);
    // The dropped folder is rebuilt below the destination: out/logs/sub/b_wh.csv.
    EXPECT_TRUE(pathExists(join(join(join(path("out"), "logs"), "sub"), "b_wh.csv")));
    EXPECT_EQ((std::vector<std::string>{"a_w.csv", "sub"}), listNames(join(path("out"), "logs")));
    EXPECT_EQ((std::vector<std::string>{"first_w.csv", "last_wh.csv", "logs"}), listNames(path("out")));
    EXPECT_EQ(4u, jobTally.converted);
}

TEST_F(JobsTest, WalkTestsTheNamesOfFilesOnly) {
    std::string logs = path("logs");
    makeFolders(join(logs, "y_w.bin"));  // a folder with a marker: walked, not converted
    ASSERT_TRUE(writeFile(join(join(logs, "y_w.bin"), "in_w.bin"), sampleLog()));
    ASSERT_TRUE(writeFile(join(logs, "X_W.BIN"), sampleLog()));
    ASSERT_TRUE(writeFile(join(logs, "c_w.bin.txt"), sampleLog()));
    ASSERT_TRUE(makeFolder(join(logs, "empty")));
    PathDrop drop;
    drop.paths = {logs};
    dispatch(&drop);
    std::vector<std::string> lines = logLines();
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ((std::vector<std::string>{" c_w.bin.txt 変換開始⇒完了", " in_w.bin 変換開始⇒完了"}), lines);
    EXPECT_TRUE(pathExists(join(logs, "c_w.bin.csv")));
    EXPECT_TRUE(pathExists(join(join(logs, "y_w.bin"), "in_w.csv")));

    // Folders without log files start nothing and say nothing.
    capturedLog.clear();
    drop.paths = {join(logs, "empty"), join(logs, "X_W.BIN")};
    dispatch(&drop);
    EXPECT_EQ("", capturedLog);
}

TEST_F(JobsTest, FolderDroppedWithATrailingSeparatorIsTheFolderItself) {
    std::string logs = join(path("data"), "logs");
    makeFolders(logs);
    ASSERT_TRUE(writeFile(join(logs, "a_w.bin"), sampleLog()));
    setDestination(ChosenFolder, path("out"), 1);
    PathDrop drop;
    drop.paths = {logs + kSep};
    dispatch(&drop);
    EXPECT_EQ(path("data"), std::string(dropParent));
    EXPECT_TRUE(pathExists(join(join(path("out"), "logs"), "a_w.csv")));
}

// 1001 conversions of one file take long under Wine; there the names up to
// _999 are made beforehand and the drop takes the last number and the refusal.
TEST_F(JobsTest, ThousandAndOneConversionsOfOneFile) {
    std::string source = path("B_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    setDestination(SourceFolder, "", 0);
    PathDrop drop;
#ifdef _WIN32
    ASSERT_TRUE(writeFile(path("B_w.csv"), ""));
    for (int n = 1; n <= 999; n++)
        ASSERT_TRUE(writeFile(path("B_w_" + std::to_string(n) + ".csv"), ""));
    const size_t converted = 1;
#else
    const size_t converted = 1001;
#endif
    drop.paths.assign(converted + 1, source);
    dispatch(&drop);
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(converted + 1, lines.size());
    for (size_t i = 0; i < converted; i++)
        ASSERT_EQ(" B_w.bin 変換開始⇒完了", lines[i]) << i;
    EXPECT_EQ(" B_w.bin 変換不可(追い番最大)", lines[converted]);
    std::vector<std::string> names = listNames(dir);
    EXPECT_EQ(1002u, names.size());  // the log and 1001 CSV files
    for (const char* name : {"B_w.csv", "B_w_1.csv", "B_w_7.csv", "B_w_999.csv", "B_w_1000.csv"})
        EXPECT_TRUE(pathExists(path(name))) << name;
    EXPECT_FALSE(pathExists(path("B_w_1001.csv")));
    std::string csv;
    ASSERT_TRUE(readFile(path("B_w_1000.csv"), &csv));
    EXPECT_EQ(referenceCsv(source, 4), csv);
    EXPECT_EQ(converted, jobTally.converted);
    EXPECT_EQ(1u, jobTally.failed);
}

TEST_F(JobsTest, DroppedPathTooLongIsRefusedWithItsName) {
    PathDrop drop;
    std::string longPath = path(std::string(300, 'p') + "_w.bin");
    drop.paths = {longPath, path("after_w.bin")};
    ASSERT_TRUE(writeFile(path("after_w.bin"), sampleLog()));
    dispatch(&drop);
    EXPECT_EQ(" " + longPath + " 変換不可(パス長超過)\r\n after_w.bin 変換開始⇒完了\r\n", capturedLog);
}

#ifndef _WIN32
// Native paths may grow past 259 bytes inside a walk: such a folder gets one
// line and its siblings are still walked.
TEST_F(JobsTest, WalkRefusesFoldersAndFilesThatWouldNotFit) {
    std::string logs = path("logs");
    std::string big = join(logs, std::string(200 - dir.size(), 'a'));
    std::string deeper = join(big, std::string(80, 'b'));
    makeFolders(deeper);
    ASSERT_GT(deeper.size(), (size_t)kPathSize);
    ASSERT_TRUE(writeFile(join(deeper, "lost_w.bin"), sampleLog()));
    std::string longFile = std::string(255 - 6, 'c') + "_w.bin";
    ASSERT_TRUE(writeFile(join(big, longFile), sampleLog()));
    ASSERT_TRUE(writeFile(join(big, "ok_w.bin"), sampleLog()));
    ASSERT_TRUE(writeFile(join(logs, "top_w.bin"), sampleLog()));
    PathDrop drop;
    drop.paths = {logs};
    dispatch(&drop);
    std::vector<std::string> lines = logLines();
    std::sort(lines.begin(), lines.end());
    std::vector<std::string> expected = {
        " " + deeper + " 変換不可(パス長超過)",
        " " + longFile + " 変換不可(パス長超過)",
        " ok_w.bin 変換開始⇒完了",
        " top_w.bin 変換開始⇒完了",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, lines);
}

// A link back up the tree is not followed again: every file is converted once.
TEST_F(JobsTest, LinkBackUpTheTreeIsWalkedOnce) {
    std::string logs = path("logs");
    makeFolders(join(logs, "sub"));
    ASSERT_TRUE(writeFile(join(logs, "a_w.bin"), sampleLog()));
    ASSERT_TRUE(writeFile(join(join(logs, "sub"), "b_w.bin"), sampleLog()));
    ASSERT_EQ(0, symlink(logs.c_str(), join(join(logs, "sub"), "up").c_str()));
    // A link to a folder beside the walk's own chain is walked like a folder.
    ASSERT_EQ(0, symlink(join(logs, "sub").c_str(), join(logs, "side").c_str()));
    PathDrop drop;
    drop.paths = {logs};
    setDestination(SourceFolder, "", 0);
    dispatch(&drop);
    std::vector<std::string> lines = logLines();
    // a_w.bin once, b_w.bin through sub and through side; never through "up".
    EXPECT_EQ(3u, lines.size()) << capturedLog;
    EXPECT_EQ((std::vector<std::string>{"b_w.bin", "b_w.csv", "b_w_1.csv", "up"}), listNames(join(logs, "sub")));
    EXPECT_EQ(3u, jobTally.converted);
}
#endif
