// Windows paths under the real API: a drive D: of the test's own (the CTest
// fixture links Wine's d: to a scratch folder), a drive alone, paths from the
// root of the current drive, network paths, the desktop, file titles, sharing
// violations and code page 932 names whose second byte is 0x5C.
#include <windows.h>

#include <string.h>

#include <algorithm>

#include "jobs/conversion_job.h"
#include "jobs/destination.h"
#include "jobs/output_paths.h"
#include "platform/fs.h"
#include "tests/jobs/jobs_fixture.h"

// Each test gets D:\ empty, and the current folder is restored afterwards.
class DriveTest : public JobsTest {
protected:
    void SetUp() override {
        JobsTest::SetUp();
        DWORD a = GetFileAttributesA("D:\\");
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
            GTEST_SKIP() << "no drive D: (the test fixture links it)";
        for (const std::string& name : listNames("D:"))
            removeTree("D:\\" + name);
    }
    void TearDown() override {
        JobsTest::TearDown();
        for (const std::string& name : listNames("D:"))
            removeTree("D:\\" + name);
    }
    void dispatchPaths(const std::vector<std::string>& paths) {
        PathDrop drop;
        drop.paths = paths;
        DropList list = drop.list();
        dispatchDroppedPaths(&list);
    }
};

// The worked example on D:, all four modes, both kinds of file.
TEST_F(DriveTest, WorkedExampleInEveryMode) {
    makeFolders("D:\\data\\logs\\2013");
    ASSERT_TRUE(writeFile("D:\\data\\logs\\2013\\a_w.bin", sampleLog(1)));
    ASSERT_TRUE(writeFile("D:\\data\\b_wh.bin", sampleLog(2)));
    const std::vector<std::string> both = {"D:\\data\\logs", "D:\\data\\b_wh.bin"};
    const std::string ok = " a_w.bin 変換開始⇒完了\r\n b_wh.bin 変換開始⇒完了\r\n";

    setDestination(SourceFolder, "D:\\unused", 1);
    dispatchPaths(both);
    EXPECT_EQ("D:\\data", std::string(dropParent));
    EXPECT_TRUE(pathExists("D:\\data\\b_wh.csv"));
    EXPECT_TRUE(pathExists("D:\\data\\logs\\2013\\a_w.csv"));
    EXPECT_EQ(ok, capturedLog);

    capturedLog.clear();
    setDestination(ChosenFolder, "D:\\out", 1);
    dispatchPaths(both);
    EXPECT_EQ((std::vector<std::string>{"b_wh.csv", "logs"}), listNames("D:\\out"));
    EXPECT_TRUE(pathExists("D:\\out\\logs\\2013\\a_w.csv"));
    EXPECT_EQ(ok, capturedLog);

    // D:\out\ with its backslash: D:\out\\b_wh.bin for the dropped file.
    capturedLog.clear();
    removeTree("D:\\out");
    setDestination(ChosenFolder, "D:\\out\\", 1);
    dispatchPaths(both);
    EXPECT_EQ((std::vector<std::string>{"b_wh.csv", "logs"}), listNames("D:\\out"));
    EXPECT_TRUE(pathExists("D:\\out\\logs\\2013\\a_w.csv"));
    EXPECT_EQ(ok, capturedLog);

    // Empty folder: paths from the root of the current drive. \logs\2013 is
    // not created by the chain (it begins with a backslash), so that file fails
    // until the folder exists.
    capturedLog.clear();
    ASSERT_TRUE(changeFolder("D:\\data"));
    setDestination(ChosenFolder, "", 1);
    dispatchPaths(both);
    EXPECT_EQ(" a_w.bin 変換開始⇒失敗(作成不可)\r\n b_wh.bin 変換開始⇒完了\r\n", capturedLog);
    EXPECT_TRUE(pathExists("D:\\b_wh.csv"));
    EXPECT_FALSE(pathExists("D:\\logs"));
    makeFolders("D:\\logs\\2013");
    capturedLog.clear();
    dispatchPaths(both);
    EXPECT_EQ(ok, capturedLog);
    EXPECT_TRUE(pathExists("D:\\logs\\2013\\a_w.csv"));

    // Desktop.
    char desktop[1024];
    ASSERT_TRUE(platDesktopFolder(desktop, sizeof desktop));
    std::string desk = desktop;
    bool hadLogs = pathExists(desk + "\\logs"), hadB = pathExists(desk + "\\b_wh.csv");
    capturedLog.clear();
    setDestination(Desktop, "D:\\unused", 1);
    dispatchPaths(both);
    EXPECT_EQ(ok, capturedLog);
    EXPECT_TRUE(pathExists(desk + "\\b_wh.csv"));
    EXPECT_TRUE(pathExists(desk + "\\logs\\2013\\a_w.csv"));
    if (!hadLogs)
        removeTree(desk + "\\logs");
    if (!hadB)
        removeTree(desk + "\\b_wh.csv");
    EXPECT_FALSE(pathExists("D:\\unused"));
}

// Dropping D:\ itself: dropParent is D:, and the files keep their place below the root.
TEST_F(DriveTest, DroppedDriveRoot) {
    makeFolders("D:\\sub");
    ASSERT_TRUE(writeFile("D:\\sub\\a_w.bin", sampleLog()));
    ASSERT_TRUE(writeFile("D:\\top_w.bin", sampleLog()));
    setDestination(ChosenFolder, path("out"), 1);
    dispatchPaths({"D:\\"});
    EXPECT_EQ("D:", std::string(dropParent));
    EXPECT_EQ((std::vector<std::string>{"sub", "top_w.csv"}), listNames(path("out")));
    EXPECT_TRUE(pathExists(join(join(path("out"), "sub"), "a_w.csv")));
    EXPECT_EQ(2u, jobTally.converted);
}

// A CSV file in a drive's root: the chain gets "D:" alone, and the conversion goes ahead.
TEST_F(DriveTest, DriveAloneAndRootPrefixes) {
    ASSERT_TRUE(writeFile("D:\\a_w.bin", sampleLog()));
    setDestination(SourceFolder, "", 1);
    handleDroppedFile("D:\\a_w.bin");
    EXPECT_EQ(" a_w.bin 変換開始⇒完了\r\n", capturedLog);
    EXPECT_TRUE(pathExists("D:\\a_w.csv"));

    EXPECT_EQ(1, createDirectoryChain("D:\\x\\y"));
    EXPECT_TRUE(isFolder("D:\\x\\y"));
    EXPECT_EQ(PathIsFolder, platPathKind("D:\\x"));
    EXPECT_EQ(PathMissing, platPathKind("D:\\x*"));  // a pattern never stands for a name
    // From the root of the current drive: the empty first prefix stops the chain.
    ASSERT_TRUE(changeFolder("D:\\x"));
    EXPECT_EQ(0, createDirectoryChain("\\rooted"));
    EXPECT_FALSE(pathExists("D:\\rooted"));
}

// Started in a drive root, the settings file's path holds two backslashes in a row.
TEST_F(DriveTest, SettingsInADriveRoot) {
    ASSERT_TRUE(changeFolder("D:\\"));
    loadSettings();
    EXPECT_STREQ("D:\\\\settings.ini", AppSettings.settingsPath);
    AppSettings.destinationMode = Desktop;
    AppSettings.overwriteExisting = 0;
    saveSettings();
    EXPECT_TRUE(pathExists("D:\\settings.ini"));
    AppSettings.destinationMode = SourceFolder;
    loadSettings();
    EXPECT_EQ(Desktop, AppSettings.destinationMode);
    EXPECT_EQ(0, AppSettings.overwriteExisting);
}

TEST_F(JobsTest, NetworkPathsAreNeverCreated) {
    EXPECT_EQ(0, createDirectoryChain("\\\\nosuchserver\\share\\dir"));
    ASSERT_TRUE(writeFile(path("a_w.bin"), sampleLog()));
    setDestination(ChosenFolder, "\\\\nosuchserver\\share", 1);
    handleDroppedFile(path("a_w.bin").c_str());
    EXPECT_EQ(" a_w.bin 変換開始⇒失敗(作成不可)\r\n", capturedLog);
}

TEST_F(JobsTest, DesktopAndFileTitles) {
    char text[kPathSize];
    ASSERT_TRUE(platDesktopFolder(text, sizeof text));
    EXPECT_TRUE(isFolder(text)) << text;
    EXPECT_FALSE(platEndsWithSeparator(text)) << text;
    char small[4];
    EXPECT_FALSE(platDesktopFolder(small, sizeof small));
    EXPECT_STREQ("", small);

    struct Case {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\data\\a_w.bin", "a_w.bin"},
        {"D:\\表\\能力_w.bin", "能力_w.bin"},
        {"C:\\data\\a*_w.bin", "a*_w.bin"},  // refused by the title function: the last component
        {"C:\\x.y\\1p_w.bin", "1p_w.bin"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platFileTitle(c.path, text, sizeof text)) << c.path;
        EXPECT_STREQ(c.title, text) << c.path;
    }
}

// A CSV name held open by another program counts as free; the converter then
// cannot put its file in place and the held file is left as it was.
TEST_F(JobsTest, SharingViolations) {
    std::string source = path("a_w.bin");
    ASSERT_TRUE(writeFile(source, sampleLog()));
    ASSERT_TRUE(writeFile(path("a_w.csv"), "held"));
    HANDLE held = CreateFileA(path("a_w.csv").c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    setDestination(SourceFolder, "", 0);
    handleDroppedFile(source.c_str());
    CloseHandle(held);
    EXPECT_EQ(" a_w.bin 変換開始⇒失敗(作成不可)\r\n", capturedLog);
    std::string bytes;
    ASSERT_TRUE(readFile(path("a_w.csv"), &bytes));
    EXPECT_EQ("held", bytes);
    EXPECT_EQ((std::vector<std::string>{"a_w.bin", "a_w.csv"}), listNames(dir));

    // A log being written by another program is not read.
    capturedLog.clear();
    HANDLE writer = CreateFileA(source.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    setDestination(ChosenFolder, path("out"), 1);
    handleDroppedFile(source.c_str());
    CloseHandle(writer);
    EXPECT_EQ(" a_w.bin 変換開始⇒失敗(読取不可)\r\n", capturedLog);
    EXPECT_FALSE(pathExists(join(path("out"), "a_w.csv")));
}

// Code page 932: ソ (83 5C), 表 (95 5C) and 能 (94 5C) end in the byte of '\'.
class CodePage932Test : public DriveTest {
protected:
    void SetUp() override {
        if (GetACP() != 932)
            GTEST_SKIP() << "the system code page is " << GetACP() << ", not 932";
        DriveTest::SetUp();
    }
};

TEST_F(CodePage932Test, NamesWithTrailBackslashBytes) {
    ASSERT_EQ('\\', "ソ"[1]);
    ASSERT_EQ('\\', "表"[1]);
    ASSERT_EQ('\\', "能"[1]);
    makeFolders("D:\\data\\ソフト\\表");
    ASSERT_TRUE(writeFile("D:\\data\\ソフト\\表\\能力_w.bin", sampleLog(1)));
    ASSERT_TRUE(writeFile("D:\\data\\ソフト\\ソ_wh.bin", sampleLog(2)));
    ASSERT_TRUE(writeFile("D:\\data\\表_w.bin", sampleLog(3)));

    // The chosen folder ends in 表: its last byte is 0x5C, yet no backslash is cut.
    setDestination(ChosenFolder, "D:\\out\\表", 1);
    dispatchPaths({"D:\\data\\ソフト", "D:\\data\\表_w.bin"});
    EXPECT_EQ("D:\\data", std::string(dropParent));
    EXPECT_TRUE(pathExists("D:\\out\\表\\ソフト\\表\\能力_w.csv"));
    EXPECT_TRUE(pathExists("D:\\out\\表\\ソフト\\ソ_wh.csv"));
    EXPECT_TRUE(pathExists("D:\\out\\表\\表_w.csv"));
    EXPECT_EQ((std::vector<std::string>{"表"}), listNames("D:\\out"));
    EXPECT_EQ((std::vector<std::string>{"ソフト", "表_w.csv"}), listNames("D:\\out\\表"));
    EXPECT_EQ(3u, jobTally.converted) << capturedLog;
    EXPECT_NE(std::string::npos, capturedLog.find(" 能力_w.bin 変換開始⇒完了\r\n"));

    // A dropped folder named 表 alone, beside its source.
    capturedLog.clear();
    setDestination(SourceFolder, "", 1);
    dispatchPaths({"D:\\data\\ソフト\\表"});
    EXPECT_EQ("D:\\data\\ソフト", std::string(dropParent));
    EXPECT_EQ(" 能力_w.bin 変換開始⇒完了\r\n", capturedLog);
    EXPECT_TRUE(pathExists("D:\\data\\ソフト\\表\\能力_w.csv"));

    // The chain makes whole names.
    EXPECT_EQ(1, createDirectoryChain("D:\\能力\\ソフト\\表"));
    EXPECT_EQ((std::vector<std::string>{"ソフト"}), listNames("D:\\能力"));
    EXPECT_TRUE(isFolder("D:\\能力\\ソフト\\表"));
    EXPECT_TRUE(platEndsWithSeparator("D:\\表\\"));
    EXPECT_FALSE(platEndsWithSeparator("D:\\表"));
}
