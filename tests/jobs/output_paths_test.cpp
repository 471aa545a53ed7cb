#include <string.h>

#include "jobs/output_paths.h"
#include "platform/fs.h"
#include "tests/jobs/jobs_fixture.h"

class OutputNameTest : public JobsTest {
protected:
    // Chooses with the overwrite flag; the path chosen relative to the scratch folder.
    int choose(int overwrite, std::string* chosen, const std::string& base = "B") {
        AppSettings.overwriteExisting = overwrite;
        char out[kPathSize];
        int result = chooseOutputName(path(base).c_str(), out, sizeof out);
        std::string full = out;
        *chosen = full.compare(0, dir.size() + 1, dir + kSep) == 0 ? full.substr(dir.size() + 1) : full;
        return result;
    }
};

TEST_F(OutputNameTest, FirstFreeCandidateWinsUnlessOverwriting) {
    struct Case {
        std::vector<std::string> present;
        int overwrite;
        const char* expected;
    } cases[] = {
        {{}, 0, "B.csv"},
        {{"B.csv"}, 0, "B_1.csv"},
        {{"B.csv"}, 1, "B.csv"},
        {{"B.csv"}, 7, "B.csv"},                   // any nonzero value overwrites
        {{"B.csv", "B_2.csv"}, 0, "B_1.csv"},      // a gap is filled
        {{"B.csv", "B_1.csv", "B_2.csv", "B_3.csv", "B_4.csv", "B_5.csv", "B_6.csv"}, 0, "B_7.csv"},
    };
    for (const Case& c : cases) {
        for (const std::string& name : c.present)
            ASSERT_TRUE(writeFile(path(name), "x"));
        std::string chosen;
        EXPECT_EQ(NameChosen, choose(c.overwrite, &chosen));
        EXPECT_EQ(c.expected, chosen) << "with " << c.present.size() << " present, overwrite " << c.overwrite;
        for (const std::string& name : c.present)
            removeTree(path(name));
    }
}

TEST_F(OutputNameTest, ANameThatCannotBeOpenedIsFree) {
    std::string chosen;
    ASSERT_TRUE(makeFolder(path("B.csv")));
    EXPECT_EQ(NameChosen, choose(0, &chosen));
    EXPECT_EQ("B.csv", chosen);
    EXPECT_EQ(NameChosen, choose(0, &chosen, std::string("missing") + kSep + "B"));
    EXPECT_EQ(std::string("missing") + kSep + "B.csv", chosen);
}

TEST_F(OutputNameTest, ThousandIsTheLastNumber) {
    ASSERT_TRUE(writeFile(path("B.csv"), ""));
    for (int n = 1; n <= 999; n++)
        ASSERT_TRUE(writeFile(path("B_" + std::to_string(n) + ".csv"), ""));
    std::string chosen;
    EXPECT_EQ(NameChosen, choose(0, &chosen));
    EXPECT_EQ("B_1000.csv", chosen);
    ASSERT_TRUE(writeFile(path("B_1000.csv"), ""));
    EXPECT_EQ(NameAllTaken, choose(0, &chosen));
    EXPECT_EQ("B", chosen);
    EXPECT_EQ(NameChosen, choose(1, &chosen));
    EXPECT_EQ("B.csv", chosen);
}

TEST_F(OutputNameTest, ANameThatWouldNotFitIsRefusedNotCut) {
    char out[kPathSize];
    std::string base(kPathSize - 5, 'b');  // base + ".csv" is 259 bytes: fits exactly
    AppSettings.overwriteExisting = 1;
    ASSERT_EQ(NameChosen, chooseOutputName(base.c_str(), out, sizeof out));
    EXPECT_EQ(base + ".csv", out);
    std::string longer(kPathSize - 4, 'b');
    EXPECT_EQ(NameTooLong, chooseOutputName(longer.c_str(), out, sizeof out));
    EXPECT_STREQ("", out);

    // The plain name fits and is taken; "_1.csv" would not fit.
    std::string base2 = path(std::string(kPathSize - 5 - dir.size() - 1, 'c'));
    ASSERT_EQ(kPathSize - 5, base2.size());
    ASSERT_TRUE(writeFile(base2 + ".csv", "x"));
    AppSettings.overwriteExisting = 0;
    EXPECT_EQ(NameTooLong, chooseOutputName(base2.c_str(), out, sizeof out));
    EXPECT_STREQ("", out);
    // A smaller output buffer is the limit, too.
    char small[8];
    AppSettings.overwriteExisting = 1;
    EXPECT_EQ(NameTooLong, chooseOutputName("abcd", small, sizeof small));
    EXPECT_EQ(NameChosen, chooseOutputName("abc", small, sizeof small));
    EXPECT_STREQ("abc.csv", small);
}

TEST_F(JobsTest, DirectoryChainCreatesFromTheTopDown) {
    std::string deep = join(join(path("a"), "b"), "c");
    EXPECT_EQ(1, createDirectoryChain(deep.c_str()));
    EXPECT_TRUE(isFolder(deep));
    EXPECT_EQ(1, createDirectoryChain(deep.c_str()));  // all there: nothing to do
    EXPECT_EQ(1, createDirectoryChain((path("x") + kSep).c_str()));  // a trailing separator ends it
    EXPECT_TRUE(isFolder(path("x")));
    EXPECT_EQ(1, createDirectoryChain(""));

    // A file where a folder must be stops the chain there.
    ASSERT_TRUE(writeFile(path("f"), "x"));
    EXPECT_EQ(0, createDirectoryChain(join(path("f"), "g").c_str()));
    EXPECT_EQ(0, createDirectoryChain(path("f").c_str()));
    EXPECT_FALSE(isFolder(join(path("f"), "g")));
    EXPECT_EQ(0, createDirectoryChain(join(join(path("f"), "g"), "h").c_str()));

    std::string tooLong = path(std::string(kPathSize, 'd'));
    EXPECT_EQ(0, createDirectoryChain(tooLong.c_str()));
}
