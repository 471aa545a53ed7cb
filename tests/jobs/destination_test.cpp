#include <stdlib.h>
#include <string.h>

#include "jobs/conversion_job.h"
#include "jobs/destination.h"
#include "platform/fs.h"
#include "tests/jobs/jobs_fixture.h"

// The worked example: the folder data/logs is dropped (a file logs/2013/a_w.bin
// in it) together with the file data/b_wh.bin, in every destination mode.
class WorkedExampleTest : public JobsTest {
protected:
    void SetUp() override {
        JobsTest::SetUp();
        data = path("data");
        makeFolders(join(join(data, "logs"), "2013"));
        ASSERT_TRUE(writeFile(join(join(join(data, "logs"), "2013"), "a_w.bin"), sampleLog(1)));
        ASSERT_TRUE(writeFile(join(data, "b_wh.bin"), sampleLog(2)));
        drop.paths = {join(data, "logs"), join(data, "b_wh.bin")};
    }
    void dropBoth() {
        DropList list = drop.list();
        dispatchDroppedPaths(&list);
    }
    // Checks the two CSV files under destination: b_wh.csv and logs/2013/a_w.csv.
    void expectBoth(const std::string& destination) {
        std::string csv;
        EXPECT_TRUE(readFile(join(join(join(destination, "logs"), "2013"), "a_w.csv"), &csv)) << destination;
        EXPECT_EQ(referenceCsv(join(join(join(data, "logs"), "2013"), "a_w.bin"), 4), csv);
        EXPECT_TRUE(readFile(join(destination, "b_wh.csv"), &csv)) << destination;
        EXPECT_EQ(referenceCsv(join(data, "b_wh.bin"), 4), csv);
        EXPECT_EQ(" a_w.bin 変換開始⇒完了\r\n b_wh.bin 変換開始⇒完了\r\n", capturedLog);
    }
    std::string data;
    PathDrop drop;
};

TEST_F(WorkedExampleTest, SourceFolder) {
    setDestination(SourceFolder, path("unused"), 1);
    dropBoth();
    EXPECT_TRUE(pathExists(join(join(join(data, "logs"), "2013"), "a_w.csv")));
    EXPECT_TRUE(pathExists(join(data, "b_wh.csv")));
    EXPECT_EQ(" a_w.bin 変換開始⇒完了\r\n b_wh.bin 変換開始⇒完了\r\n", capturedLog);
    EXPECT_FALSE(pathExists(path("unused")));
}

TEST_F(WorkedExampleTest, ChosenFolderWithAndWithoutTrailingSeparator) {
    setDestination(ChosenFolder, path("out"), 1);
    dropBoth();
    expectBoth(path("out"));
    removeTree(path("out"));
    capturedLog.clear();
    // One trailing separator: the tree's files get a single one, the dropped
    // file two in a row (which the file system takes as one).
    setDestination(ChosenFolder, path("out") + kSep, 1);
    dropBoth();
    expectBoth(path("out"));
}

TEST_F(WorkedExampleTest, Desktop) {
    char desktop[1024];
#ifndef _WIN32
    std::string home = path("home");
    ASSERT_TRUE(makeFolder(home));
    std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
#endif
    ASSERT_TRUE(platDesktopFolder(desktop, sizeof desktop));
#ifndef _WIN32
    EXPECT_EQ(join(home, "Desktop"), desktop);
#endif
    bool hadLogs = pathExists(join(desktop, "logs")), hadB = pathExists(join(desktop, "b_wh.csv"));
    setDestination(Desktop, path("unused"), 1);
    dropBoth();
    expectBoth(desktop);
    if (!hadLogs)
        removeTree(join(desktop, "logs"));
    if (!hadB)
        removeTree(join(desktop, "b_wh.csv"));
#ifndef _WIN32
    setenv("HOME", savedHome.c_str(), 1);
#endif
}

TEST_F(JobsTest, OnlyDroppedLogFilesAreConverted) {
    struct Case {
        std::string relative;
        bool converted;
    } cases[] = {
        {"a_w.txt", false},
        {"a_W.BIN", false},
        {"a_wh.bin", true},
        {"a_w.bin.old", true},                                 // CSV: a_w.bin.csv
        {std::string("x_w.bin") + kSep + "notes.txt", true},  // the whole path is searched
    };
    makeFolder(path("x_w.bin"));
    for (const Case& c : cases) {
        capturedLog.clear();
        ASSERT_TRUE(writeFile(path(c.relative), sampleLog()));
        EXPECT_EQ(0, handleDroppedFile(path(c.relative).c_str()));
        EXPECT_EQ(c.converted, !capturedLog.empty()) << c.relative;
    }
    EXPECT_TRUE(pathExists(path("a_w.bin.csv")));
    EXPECT_TRUE(pathExists(join(path("x_w.bin"), "notes.csv")));
    EXPECT_EQ(3u, jobTally.converted);
}

TEST_F(JobsTest, ModeOutOfRangeBecomesSourceFolderForGood) {
    ASSERT_TRUE(writeFile(path("a_w.bin"), sampleLog()));
    setDestination(7, path("out"), 1);
    handleDroppedFile(path("a_w.bin").c_str());
    EXPECT_TRUE(pathExists(path("a_w.csv")));
    EXPECT_FALSE(pathExists(path("out")));
    EXPECT_EQ(SourceFolder, AppSettings.destinationMode);
    setDestination(-1, "", 1);
    handleTreeFile(path("a_w.bin").c_str());
    EXPECT_EQ(SourceFolder, AppSettings.destinationMode);
}

TEST_F(JobsTest, DroppedFileIsNamedByItsOwnLastComponent) {
    // The display name is what the line shows; the CSV name comes from the path.
    ASSERT_TRUE(writeFile(path("m1p_w.bin"), sampleLog()));
    setDestination(ChosenFolder, path("out"), 0);
    handleDroppedFile(path("m1p_w.bin").c_str());
    handleDroppedFile(path("m1p_w.bin").c_str());
    EXPECT_EQ((std::vector<std::string>{"m1p_w.csv", "m1p_w_1.csv"}), listNames(path("out")));
    EXPECT_EQ(" m1p_w.bin 変換開始⇒完了\r\n m1p_w.bin 変換開始⇒完了\r\n", capturedLog);
}

TEST_F(JobsTest, OutputBaseThatWouldNotFitIsRefused) {
    ASSERT_TRUE(writeFile(path("a_w.bin"), sampleLog()));
    std::string longFolder = path(std::string(kPathSize - 1 - dir.size() - 1 - 7, 'f'));
    setDestination(ChosenFolder, longFolder, 1);  // folder + separator + "a_w.bin" is 260 bytes
    handleDroppedFile(path("a_w.bin").c_str());
    EXPECT_EQ(" a_w.bin 変換不可(パス長超過)\r\n", capturedLog);
    EXPECT_FALSE(pathExists(longFolder));
    EXPECT_EQ(1u, jobTally.failed);
}

#ifndef _WIN32
// The desktop folder as xdg-user-dirs defines it, else $HOME/Desktop.
TEST_F(JobsTest, DesktopFolderFromUserDirs) {
    std::string home = path("home");
    makeFolders(join(home, ".config"));
    std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    struct Case {
        const char* file;
        std::string expected;
    } cases[] = {
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", join(home, "Schreibtisch")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DESKTOP_DIR=\"/srv/デスクトップ/\"\n", "/srv/デスクトップ"},
        {"XDG_DESKTOP_DIR=\"$HOME/with \\\"quote\\\"\"\n", join(home, "with \"quote\"")},
        {"XDG_DESKTOP_DIR=relative\n", join(home, "Desktop")},
        {"", join(home, "Desktop")},
    };
    char desktop[1024];
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(join(join(home, ".config"), "user-dirs.dirs"), c.file));
        ASSERT_TRUE(platDesktopFolder(desktop, sizeof desktop));
        EXPECT_EQ(c.expected, desktop) << c.file;
    }
    setenv("XDG_CONFIG_HOME", path("cfg").c_str(), 1);
    makeFolder(path("cfg"));
    ASSERT_TRUE(writeFile(join(path("cfg"), "user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/\xe6\xa1\x8c\"\n"));
    ASSERT_TRUE(platDesktopFolder(desktop, sizeof desktop));
    EXPECT_EQ(join(home, "\xe6\xa1\x8c"), desktop);
    unsetenv("XDG_CONFIG_HOME");

    // No home: the desktop is unknown and the file is refused, not written at the root.
    unsetenv("HOME");
    EXPECT_FALSE(platDesktopFolder(desktop, sizeof desktop));
    ASSERT_TRUE(writeFile(path("a_w.bin"), sampleLog()));
    setDestination(Desktop, "", 1);
    handleDroppedFile(path("a_w.bin").c_str());
    EXPECT_EQ(" a_w.bin 変換不可(変換先不明)\r\n", capturedLog);
    EXPECT_EQ(1u, jobTally.failed);
    setenv("HOME", savedHome.c_str(), 1);
}
#endif
