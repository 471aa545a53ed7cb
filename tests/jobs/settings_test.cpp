#include <string.h>

#include "platform/profile.h"
#include "tests/jobs/jobs_fixture.h"

// Each test starts in its own empty current folder.
class SettingsTest : public JobsTest {
protected:
    void SetUp() override {
        JobsTest::SetUp();
        ASSERT_TRUE(changeFolder(dir));
        ini = path("settings.ini");
    }
    std::string ini;
};

TEST_F(SettingsTest, FirstRunTakesDefaultsAndWritesNothing) {
    memset(&AppSettings, 0x55, sizeof AppSettings);
    EXPECT_EQ(0, loadSettings());
    EXPECT_EQ(ini, AppSettings.settingsPath);
    EXPECT_EQ(SourceFolder, AppSettings.destinationMode);
    EXPECT_EQ(1, AppSettings.overwriteExisting);
    EXPECT_STREQ("", AppSettings.chosenFolder);
    EXPECT_FALSE(pathExists(ini));
}

TEST_F(SettingsTest, SavedValuesComeBack) {
    const char* folders[] = {"D:\\out", "C:\\my logs\\2013 年", "", "表\\能力 ソフト"};
    for (const char* folder : folders) {
        loadSettings();
        AppSettings.destinationMode = ChosenFolder;
        strcpy(AppSettings.chosenFolder, folder);
        AppSettings.overwriteExisting = 0;
        EXPECT_EQ(0, saveSettings());
        memset(AppSettings.chosenFolder, 'x', sizeof AppSettings.chosenFolder - 1);
        AppSettings.destinationMode = 9;
        AppSettings.overwriteExisting = 9;
        loadSettings();
        EXPECT_EQ(ChosenFolder, AppSettings.destinationMode);
        EXPECT_EQ(0, AppSettings.overwriteExisting);
        EXPECT_STREQ(folder, AppSettings.chosenFolder);
    }
    std::string bytes;
    ASSERT_TRUE(readFile(ini, &bytes));
    EXPECT_NE(std::string::npos, bytes.find("[setting]\r\ntype=2\r\ndir=" + std::string(folders[3]) + "\r\noverwr=0\r\n"))
        << bytes;
}

TEST_F(SettingsTest, SaveReplacesOnlyItsSection) {
    const std::string before = "; kept\r\n[other]\r\nkey=value\r\n\r\n";
    const std::string after = "[last]\r\nx = 1\r\n";
    ASSERT_TRUE(writeFile(ini, before + "[Setting]\r\ntype=1\r\nextra=gone\r\noverwr=7\r\n\r\n" + after));
    loadSettings();
    EXPECT_EQ(Desktop, AppSettings.destinationMode);
    EXPECT_EQ(7, AppSettings.overwriteExisting);  // any nonzero value, kept as read
    saveSettings();
    std::string bytes;
    ASSERT_TRUE(readFile(ini, &bytes));
    EXPECT_EQ(std::string::npos, bytes.find("extra"));
    EXPECT_NE(std::string::npos, bytes.find("type=1\r\ndir=\r\noverwr=7\r\n")) << bytes;
#ifdef _WIN32
    // The Windows writer lays the other lines out anew; their content stays.
    EXPECT_LT(bytes.find("[other]"), bytes.find("type=1"));
    EXPECT_LT(bytes.find("overwr=7"), bytes.find("[last]"));
#else
    EXPECT_EQ(0u, bytes.find(before)) << bytes;
    EXPECT_EQ(bytes.size() - after.size(), bytes.rfind(after)) << bytes;
#endif
    char value[16];
    platProfileString("other", "key", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("value", value);
    EXPECT_EQ(1, platProfileInt("last", "x", 0, ini.c_str()));
    EXPECT_EQ(-1, platProfileInt("setting", "extra", -1, ini.c_str()));
}

TEST_F(SettingsTest, ValuesAreReadAsTheProfileFunctionsReadThem) {
    ASSERT_TRUE(writeFile(ini, "[other]\r\ntype=2\r\n[setting]\r\n  type = 5 \r\ndir=\"C:\\quoted dir\"\r\n"));
    loadSettings();
    EXPECT_EQ(5, AppSettings.destinationMode);  // stored as read; reset where it is used
    EXPECT_EQ(1, AppSettings.overwriteExisting);
    EXPECT_STREQ("C:\\quoted dir", AppSettings.chosenFolder);
    saveSettings();
    loadSettings();
    EXPECT_EQ(5, AppSettings.destinationMode);
    EXPECT_STREQ("C:\\quoted dir", AppSettings.chosenFolder);

    char value[8];
    platProfileString("setting", "dir", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("C:\\quot", value);  // cut to the buffer
    EXPECT_EQ(-3, platProfileInt("setting", "missing", -3, ini.c_str()));
    EXPECT_EQ(-3, platProfileInt("setting", "type", -3, path("none.ini").c_str()));
}

TEST_F(SettingsTest, SectionIsAddedAtTheEndOfAnotherFile) {
    ASSERT_TRUE(writeFile(ini, "[other]\r\nkey=value"));
    loadSettings();
    AppSettings.destinationMode = ChosenFolder;
    strcpy(AppSettings.chosenFolder, "D:\\out");
    AppSettings.overwriteExisting = 0;
    saveSettings();
    std::string bytes;
    ASSERT_TRUE(readFile(ini, &bytes));
    EXPECT_EQ(0u, bytes.find("[other]\r\nkey=value\r\n")) << bytes;
    size_t at = bytes.find("[setting]\r\ntype=2\r\ndir=D:\\out\r\noverwr=0\r\n");
    ASSERT_NE(std::string::npos, at) << bytes;
    EXPECT_GT(at, 0u);
}

#ifndef _WIN32
// A current folder too long for the settings path: defaults, and no save to a cut path.
TEST_F(SettingsTest, CurrentFolderTooLongForTheSettingsPath) {
    std::string deep = join(dir, std::string(250, 'd'));
    ASSERT_TRUE(makeFolder(deep));
    ASSERT_TRUE(changeFolder(deep));
    loadSettings();
    EXPECT_STREQ("", AppSettings.settingsPath);
    EXPECT_EQ(1, AppSettings.overwriteExisting);
    AppSettings.destinationMode = Desktop;
    saveSettings();
    EXPECT_EQ(std::vector<std::string>{}, listNames(deep));
}
#endif

// How values are found and read, the same through the Windows functions and ours.
TEST_F(SettingsTest, ProfileReadingRules) {
    struct Case {
        const char* file;
        const char* dir;
        int type;
    } cases[] = {
        {"[setting]\ntype=2\ndir=D:\\a=b\n", "D:\\a=b", 2},                   // LF lines; '=' in a value
        {"[SETTING]\r\nTYPE=1\r\nDir='C:\\q'\r\n", "C:\\q", 1},              // names without case
        {"[setting]\r\ntype=\r\ndir=\"\r\n", "\"", 0},                        // empty: default; lone quote kept
        {"[setting]\r\ntype=-2x\r\n[next]\r\ndir=elsewhere\r\n", "", -2},     // digits up to the first other
        {"dir=outside\r\n[setting]\r\ntype=12", "", 12},                      // no line end at the end
    };
    int n = 0;
    for (const Case& c : cases) {
        // A new file for each case: Wine keeps recently read profile files cached.
        std::string file = path("case" + std::to_string(n++) + ".ini");
        ASSERT_TRUE(writeFile(file, c.file));
        char dirValue[kPathSize];
        platProfileString("setting", "dir", "", dirValue, sizeof dirValue, file.c_str());
        EXPECT_STREQ(c.dir, dirValue) << c.file;
        EXPECT_EQ(c.type, platProfileInt("setting", "type", 0, file.c_str())) << c.file;
    }
}
