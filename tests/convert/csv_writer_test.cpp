// The CSV writer: golden files, every field value against printf, short and
// odd logs, and the failures that must leave the CSV path as it was.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include "convert/csv_writer.h"
#include "convert_fixture.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif
#ifdef __linux__
#include <sys/mount.h>
#endif

namespace {

const char kSampleLines[] =
    "hostname,GW-TOP,V1aL025,\r\n"
    "MAC Address,00:1a:2b:3c:4d:5e,\r\n"
    "IP address,192.168.0.10,\r\n"
    "unit,[W],Port2,Lab,\r\n"
    "RK-3874MQ,1A2B3C,V2.0L0a,A,B,C,D,\r\n"
    "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n";

class CsvWriter : public ScratchTest {
protected:
    // Writes log to a file, converts it and reads the CSV back.
    ConvertResult convert(const std::string& log, std::string* csv, int portCount = 4) {
        std::string logPath = path("20130501_0001_w.bin");
        std::string csvPath = path("20130501_0001_w.csv");
        EXPECT_TRUE(writeFile(logPath, log));
        ConvertResult result = convertLogToCsv(logPath.c_str(), csvPath.c_str(), portCount);
        csv->clear();
        if (result == ConvertResult::Ok) {
            EXPECT_TRUE(readFile(csvPath, csv));
        }
        return result;
    }

    // The names in the scratch folder, apart from those expected.
    std::vector<std::string> strayFiles(std::vector<std::string> expected) {
        std::vector<std::string> stray;
        for (const std::string& name : listNames(dir)) {
            bool known = false;
            for (const std::string& e : expected)
                known = known || e == name;
            if (!known)
                stray.push_back(name);
        }
        return stray;
    }
};

TEST_F(CsvWriter, GoldenPowerLogWithFourOutlets) {
    std::string log = sampleHeader();
    log += recordBytes(3600, 1, 0, 100, 65535, 6000, 2534, 0x80, 100);  // the complete row of the format
    log += recordBytes(0, 9, 9, 9, 9, 9, 9, 0x80, 9);                   // no time: no row
    log += recordBytes(-1, 345, 0, 0, 0, 5, 999, 0x7F, 7);
    log += std::string("\x00\x00\x00\x05\x01\x02\x03", 7);               // trailing piece
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv));
    EXPECT_EQ(std::string(kSampleLines) +
                  "1970/01/01,01:00:00, on,0001,0000,0100,65535,100,60.00,25.34,\r\n"
                  "1969/12/31,23:59:59,off,0345,0000,0000,0000,007,00.05,09.99,\r\n",
              csv);
}

TEST_F(CsvWriter, GoldenEnergyLogWithOneOutlet) {
    std::string log = sampleHeader();
    log[44] = 0;  // energy log
    log += recordBytes(2147483647, 65535, 65535, 65535, 65535, 65535, 65535, 0xFF, 255);
    log += recordBytes(-43200, 0, 0, 0, 0, 0, 0, 0x00, 0);
    log += recordBytes(INT32_MIN, 10000, 9999, 1000, 10, 10000, 100, 0x81, 99);
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv, 1));
    EXPECT_EQ(
        "hostname,GW-TOP,V1aL025,\r\n"
        "MAC Address,00:1a:2b:3c:4d:5e,\r\n"
        "IP address,192.168.0.10,\r\n"
        "unit,[Wh],Port2,Lab,\r\n"
        "RK-3871MP/150,1A2B3C,V2.0L0a,A,B,C,D,\r\n"
        "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n"
        "2038/01/19,03:14:07, on,65535,65535,65535,65535,255,655.35,655.35,\r\n"
        "1969/12/31,12:00:00,off,0000,0000,0000,0000,000,00.00,00.00,\r\n"
        "1901/12/13,20:45:52, on,10000,9999,1000,0010,099,100.00,01.00,\r\n",
        csv);
}

TEST_F(CsvWriter, HeaderFieldValues) {
    struct Case {
        size_t offset;
        std::string bytes;
        int portCount;
        size_t line;  // 0-based
        const char* expected;
    } cases[] = {
        {32, "\x01", 4, 0, "hostname,GW-TOP,V1L025,\r\n"},
        {32, "\xff", 4, 0, "hostname,GW-TOP,VffL025,\r\n"},
        {33, "\x0f", 4, 0, "hostname,GW-TOP,V1aL00f,\r\n"},
        {33, "\xff", 4, 0, "hostname,GW-TOP,V1aL0ff,\r\n"},
        {33, "\x20", 4, 0, "hostname,GW-TOP,V1aL02,\r\n"},
        {33, "\xf0", 4, 0, "hostname,GW-TOP,V1aL0f,\r\n"},
        {33, std::string(1, '\0'), 4, 0, "hostname,GW-TOP,V1aL00,\r\n"},
        {34, std::string("\xff\xfe\x0a\x00\x01\x10", 6), 4, 1, "MAC Address,ff:fe:0a:00:01:10,\r\n"},
        {40, std::string(4, '\0'), 4, 2, "IP address,0.0.0.0,\r\n"},
        {40, "\xff\x0a\x64\x09", 4, 2, "IP address,255.10.100.9,\r\n"},
        {44, "\xff", 4, 3, "unit,[W],Port2,Lab,\r\n"},
        {44, std::string(1, '\0'), 4, 3, "unit,[Wh],Port2,Lab,\r\n"},
        {45, "\xff", 4, 3, "unit,[W],Port255,Lab,\r\n"},
        {45, std::string(1, '\0'), 4, 3, "unit,[W],Port0,Lab,\r\n"},
        {46, "\x0a\x0b\x0c", 4, 4, "RK-3874MQ,A0B0C,V2.0L0a,A,B,C,D,\r\n"},
        {46, std::string("\x00\x00\x01", 3), 4, 4, "RK-3874MQ,00001,V2.0L0a,A,B,C,D,\r\n"},
        {46, "\xff\xff\xff", 4, 4, "RK-3874MQ,FFFFFF,V2.0L0a,A,B,C,D,\r\n"},
        {109, "\x1f\xab", 4, 4, "RK-3874MQ,1A2B3C,V1.0Lab,A,B,C,D,\r\n"},
        {109, std::string("\xf0\x00", 2), 4, 4, "RK-3874MQ,1A2B3C,Vf.0L00,A,B,C,D,\r\n"},
        {0, std::string(1, '\0'), 4, 0, "hostname,,V1aL025,\r\n"},
        // Bytes after the NUL of a text are not written.
        {0, std::string("AB\0CD", 5), 4, 0, "hostname,AB,V1aL025,\r\n"},
        // Code page 932 bytes pass unchanged, a trail byte 0x5C included.
        {111, "\x83\x5c\x8e\xba", 4, 4, "RK-3874MQ,1A2B3C,V2.0L0a,\x83\x5c\x8e\xba,B,C,D,\r\n"},
        {0, "", 1, 4, "RK-3871MP/150,1A2B3C,V2.0L0a,A,B,C,D,\r\n"},
        {0, "", 0, 4, "RK-3874MQ,1A2B3C,V2.0L0a,A,B,C,D,\r\n"},
        {0, "", 2, 4, "RK-3874MQ,1A2B3C,V2.0L0a,A,B,C,D,\r\n"},
        {0, "", -1, 4, "RK-3874MQ,1A2B3C,V2.0L0a,A,B,C,D,\r\n"},
    };
    for (const Case& c : cases) {
        std::string log = sampleHeader();
        putBytes(&log, c.offset, c.bytes);
        std::string csv;
        ASSERT_EQ(ConvertResult::Ok, convert(log, &csv, c.portCount));
        std::vector<std::string> lines = splitLines(csv);
        ASSERT_EQ(6u, lines.size());
        EXPECT_EQ(c.expected, lines[c.line]) << "offset " << c.offset << ", portCount " << c.portCount;
    }
}

TEST_F(CsvWriter, TextsWithoutNulFillTheirWholeWidthAndNoMore) {
    std::string log = sampleHeader();
    putBytes(&log, 0, std::string(32, 'H'));   // hostVersion 0x1A follows
    putBytes(&log, 49, std::string(60, 'P'));  // deviceVersion 0x23 follows
    putBytes(&log, 111, std::string(30, '1'));
    putBytes(&log, 201, std::string(30, '4'));
    log[231] = 'Z';  // right after the fourth name, never read
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv));
    std::vector<std::string> lines = splitLines(csv);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ("hostname," + std::string(32, 'H') + ",V1aL025,\r\n", lines[0]);
    EXPECT_EQ("unit,[W],Port2," + std::string(60, 'P') + ",\r\n", lines[3]);
    EXPECT_EQ("RK-3874MQ,1A2B3C,V2.0L0a," + std::string(30, '1') + ",B,C," + std::string(30, '4') + ",\r\n",
              lines[4]);
}

// Every value of every 16-bit and 8-bit field, and times spread over the whole
// 32-bit range, against printf with the row's format.
TEST_F(CsvWriter, EveryFieldValueMatchesPrintf) {
    std::string log = sampleHeader();
    std::string expected = kSampleLines;
    for (uint32_t i = 0; i < 65536; i++) {
        int32_t t = (int32_t)(i * 65537u + 12345u);
        uint16_t a = (uint16_t)i, b = (uint16_t)(65535 - i), c = (uint16_t)(i * 7), d = (uint16_t)(i ^ 0x5555);
        uint8_t state = (uint8_t)(i * 13), volt = (uint8_t)(i >> 8 ^ i);
        log += recordBytes(t, a, b, c, d, a, b, state, volt);
        if (t != 0)
            expected += referenceRow(t, a, b, c, d, a, b, state, volt);
    }
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv));
    ASSERT_EQ(expected.size(), csv.size());
    std::vector<std::string> want = splitLines(expected), got = splitLines(csv);
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); i++)
        ASSERT_EQ(want[i], got[i]) << "line " << i + 1;
}

TEST_F(CsvWriter, ShortLogsAndTrailingPieces) {
    std::string full = sampleHeader() + recordBytes(1, 2, 3, 4, 5, 6, 7, 0x80, 8);
    std::string zeroLines =
        "hostname,,V0L00,\r\n"
        "MAC Address,00:00:00:00:00:00,\r\n"
        "IP address,0.0.0.0,\r\n"
        "unit,[Wh],Port0,,\r\n"
        "RK-3874MQ,00000,V0.0L00,,,,,\r\n"
        "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n";
    std::string row = "1970/01/01,00:00:01, on,0002,0003,0004,0005,008,00.06,00.07,\r\n";
    struct Case {
        std::string log;
        std::string expected;
    } cases[] = {
        {"", zeroLines},
        {std::string(1, 'G'), "hostname,G" + zeroLines.substr(9)},
        // The missing header byte is the fourth outlet name's last: it reads as zero.
        {full.substr(0, 231), kSampleLines},
        {full.substr(0, 232), kSampleLines},
        {full.substr(0, 251), kSampleLines},
        {full.substr(0, 252), kSampleLines + row},
        {full + std::string(19, '\x7f'), kSampleLines + row},
    };
    for (const Case& c : cases) {
        std::string csv;
        ASSERT_EQ(ConvertResult::Ok, convert(c.log, &csv)) << c.log.size() << " bytes";
        EXPECT_EQ(c.expected, csv) << c.log.size() << " bytes";
    }
}

TEST_F(CsvWriter, RecordsWithoutTimeGiveOnlyTheHeaderLines) {
    std::string log = sampleHeader();
    for (int i = 0; i < 5000; i++)
        log += recordBytes(0, 1, 2, 3, 4, 5, 6, 0x80, 7);
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv));
    EXPECT_EQ(kSampleLines, csv);
}

// A log far larger than the read and write blocks, with records straddling
// block ends, gives one row per record in order.
TEST_F(CsvWriter, LargeLogKeepsEveryRecord) {
    std::string log = sampleHeader();
    std::string expected = kSampleLines;
    for (int i = 0; i < 40000; i++) {
        int32_t t = 1367366400 + i * 60;
        log += recordBytes(t, (uint16_t)i, 0, 0, 0, 6000, 2500, 0x80, 100);
        expected += referenceRow(t, (uint16_t)i, 0, 0, 0, 6000, 2500, 0x80, 100);
    }
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(log, &csv));
    EXPECT_TRUE(expected == csv) << "CSV of " << csv.size() << " bytes differs";
}

TEST_F(CsvWriter, ReplacesAnExistingFileWholly) {
    std::string csvPath = path("20130501_0001_w.csv");
    ASSERT_TRUE(writeFile(csvPath, std::string(100000, 'x')));
    std::string csv;
    ASSERT_EQ(ConvertResult::Ok, convert(sampleHeader(), &csv));
    EXPECT_EQ(kSampleLines, csv);
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"20130501_0001_w.bin", "20130501_0001_w.csv"}));
}

// Each failure leaves what was at the CSV path (a file, or nothing) as it was
// and no temporary file behind.
TEST_F(CsvWriter, MissingOrUnreadableLogGives2AndKeepsTheCsvPath) {
    std::string csvPath = path("out.csv");
    ASSERT_TRUE(makeFolder(path("folder_w.bin")));
    const char* logs[] = {"missing_w.bin", "folder_w.bin"};
    for (const char* logName : logs) {
        for (bool existed : {false, true}) {
            remove(csvPath.c_str());
            if (existed) {
                ASSERT_TRUE(writeFile(csvPath, "earlier content"));
            }
            EXPECT_EQ(ConvertResult::CannotReadInput, convertLogToCsv(path(logName).c_str(), csvPath.c_str(), 4))
                << logName;
            std::string content;
            if (existed) {
                EXPECT_TRUE(readFile(csvPath, &content));
                EXPECT_EQ("earlier content", content) << logName;
                EXPECT_EQ(std::vector<std::string>(), strayFiles({"folder_w.bin", "out.csv"}));
            } else {
                EXPECT_FALSE(pathExists(csvPath)) << "an empty CSV for " << logName;
                EXPECT_EQ(std::vector<std::string>(), strayFiles({"folder_w.bin"}));
            }
        }
    }
}

#ifdef __linux__
// /proc/self/mem opens as a regular file but reading its first page fails (EIO):
// a log that cannot be read to its end is a failed conversion, not a short one.
TEST_F(CsvWriter, ReadErrorGives2AndKeepsTheCsvPath) {
    std::string csvPath = path("out.csv");
    ASSERT_TRUE(writeFile(csvPath, "earlier content"));
    EXPECT_EQ(ConvertResult::CannotReadInput, convertLogToCsv("/proc/self/mem", csvPath.c_str(), 4));
    std::string content;
    EXPECT_TRUE(readFile(csvPath, &content));
    EXPECT_EQ("earlier content", content);
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"out.csv"}));
}
#endif

TEST_F(CsvWriter, CsvThatCannotBeCreatedOrReplacedGives1) {
    std::string logPath = path("a_w.bin");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));

    // Missing folder; a file where a folder must be.
    EXPECT_EQ(ConvertResult::CannotCreateOutput,
              convertLogToCsv(logPath.c_str(), join(path("missing"), "a_w.csv").c_str(), 4));
    EXPECT_EQ(ConvertResult::CannotCreateOutput,
              convertLogToCsv(logPath.c_str(), join(logPath, "a_w.csv").c_str(), 4));
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"a_w.bin"}));

    // A folder named like the CSV file stays a folder, with nothing in it.
    ASSERT_TRUE(makeFolder(path("a_w.csv")));
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(logPath.c_str(), path("a_w.csv").c_str(), 4));
    EXPECT_EQ(std::vector<std::string>(), listNames(path("a_w.csv")));
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"a_w.bin", "a_w.csv"}));

    // A read-only file keeps its content.
    std::string readOnly = path("b_w.csv");
    ASSERT_TRUE(writeFile(readOnly, "kept"));
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
#else
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
#endif
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(logPath.c_str(), readOnly.c_str(), 4));
    std::string content;
    EXPECT_TRUE(readFile(readOnly, &content));
    EXPECT_EQ("kept", content);
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"a_w.bin", "a_w.csv", "b_w.csv"}));
}

TEST_F(CsvWriter, PathsOfTheirFullLengthAreRefusedNotCut) {
    std::string logPath = path("a_w.bin");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));
    std::string longName(300, 'n');
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(logPath.c_str(), path(longName).c_str(), 4));
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(logPath.c_str(), nullptr, 4));
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(nullptr, path("a.csv").c_str(), 4));
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"a_w.bin"}));
}

// In code page 932 the second byte of "ソ" is 0x5C, the byte of a backslash.
// A folder and a CSV name holding it convert like any other, with nothing left over.
// A CSV path just under the limit is written: the temporary name beside it
// must not be what pushes the path past the limit.
TEST_F(CsvWriter, CsvPathNearTheLimitIsWritten) {
    std::string logPath = path("a_w.bin");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));
    // 247 is the longest folder path that Windows creates.
    ASSERT_LT(dir.size() + 2, 247u);
    std::string folder = path(std::string(247 - dir.size() - 1, 'd'));
    ASSERT_EQ(247u, folder.size());
    ASSERT_TRUE(makeFolder(folder));
    for (const char* name : {"ab.csv", "abcdefg.csv"}) {
        std::string csvPath = join(folder, name);
        ASSERT_LE(csvPath.size(), 259u);
        EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4)) << name;
        std::string content;
        EXPECT_TRUE(readFile(csvPath, &content));
        EXPECT_EQ(std::string(kSampleLines), content) << name;
    }
    EXPECT_EQ(2u, listNames(folder).size());
}

TEST_F(CsvWriter, NamesWithABackslashTrailByte) {
#ifdef _WIN32
    if (GetACP() != 932)
        GTEST_SKIP() << "code page " << GetACP() << ", not 932";
#endif
    std::string folder = path("ソ");
    ASSERT_TRUE(makeFolder(folder));
    std::string logPath = path("a_w.bin");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));
    std::string csvPath = join(folder, "ソ_w.csv");
    EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    std::string csv;
    EXPECT_TRUE(readFile(csvPath, &csv));
    EXPECT_EQ(kSampleLines, csv);
    EXPECT_EQ(std::vector<std::string>{"ソ_w.csv"}, listNames(folder));
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"a_w.bin", "ソ"}));
}

#ifdef __linux__
// A full disk: a small tmpfs holds the CSV folder. Needs the right to mount.
TEST_F(CsvWriter, FullDiskGives3AndKeepsTheEarlierFile) {
    std::string mountPoint = path("small");
    ASSERT_TRUE(makeFolder(mountPoint));
    if (mount("tabrix-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    std::string logPath = path("big_w.bin");
    std::string log = sampleHeader();
    for (int i = 0; i < 5000; i++)  // about 340 KB of CSV
        log += recordBytes(1367366400 + i, 1, 2, 3, 4, 5, 6, 0x80, 7);
    EXPECT_TRUE(writeFile(logPath, log));
    std::string csvPath = join(mountPoint, "big_w.csv");
    EXPECT_TRUE(writeFile(csvPath, "earlier content"));
    EXPECT_EQ(ConvertResult::CannotWriteOutput, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    std::string content;
    EXPECT_TRUE(readFile(csvPath, &content));
    EXPECT_EQ("earlier content", content);
    EXPECT_EQ(std::vector<std::string>{"big_w.csv"}, listNames(mountPoint));
    // With room again the same call succeeds.
    std::string small = sampleHeader() + recordBytes(1, 2, 3, 4, 5, 6, 7, 0x80, 8);
    EXPECT_TRUE(writeFile(logPath, small));
    EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    umount2(mountPoint.c_str(), MNT_DETACH);
}
#endif

#ifdef _WIN32
TEST_F(CsvWriter, LogHeldOpenForWritingGives2) {
    std::string logPath = path("held_w.bin"), csvPath = path("held_w.csv");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));
    ASSERT_TRUE(writeFile(csvPath, "earlier content"));
    HANDLE writer = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ(ConvertResult::CannotReadInput, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    CloseHandle(writer);
    std::string content;
    EXPECT_TRUE(readFile(csvPath, &content));
    EXPECT_EQ("earlier content", content);
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"held_w.bin", "held_w.csv"}));

    // Another reader does not stop the conversion.
    HANDLE reader = CreateFileA(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(ConvertResult::Ok, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    CloseHandle(reader);
    EXPECT_TRUE(readFile(csvPath, &content));
    EXPECT_EQ(kSampleLines, content);
}

TEST_F(CsvWriter, CsvHeldOpenByAnotherGives1) {
    std::string logPath = path("held_w.bin"), csvPath = path("held_w.csv");
    ASSERT_TRUE(writeFile(logPath, sampleHeader()));
    ASSERT_TRUE(writeFile(csvPath, "earlier content"));
    HANDLE holder = CreateFileA(csvPath.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(ConvertResult::CannotCreateOutput, convertLogToCsv(logPath.c_str(), csvPath.c_str(), 4));
    CloseHandle(holder);
    std::string content;
    EXPECT_TRUE(readFile(csvPath, &content));
    EXPECT_EQ("earlier content", content);
    EXPECT_EQ(std::vector<std::string>(), strayFiles({"held_w.bin", "held_w.csv"}));
}
#endif

// Narrow literals reach the Windows build as code page 932 bytes.
TEST(Charset, DoneTextBytes) {
#ifdef _WIN32
    const char expected[] = "\x8a\xae\x97\xb9\r\n";
#else
    const char expected[] = "\xe5\xae\x8c\xe4\xba\x86\r\n";
#endif
    EXPECT_STREQ(expected, "完了\r\n");
}

}  // namespace

namespace {

// The bundled samples: one row per record with a time, the model line the
// outlet count selects, and the outlet names' code page 932 bytes unchanged.
TEST_F(CsvWriter, BundledSamples) {
    struct Case {
        const char* name;
        int portCount;
        size_t rows;
        const char* modelLine;
    } cases[] = {
        {"20130501_0001_w.bin", 4, 60,
         "RK-3874MQ,1C0207,V1.0L03,\x97\xe2\x91\xa0\x8c\xc9,\x83\x47\x83\x41\x83\x52\x83\x93,"
         "\x83\x5c\x83\x74\x83\x40\x89\xa1,\x8f\xc6\x96\xbe,\r\n"},
        {"20130501_0001_wh.bin", 4, 44,
         "RK-3874MQ,1C0207,V1.0L03,\x97\xe2\x91\xa0\x8c\xc9,\x83\x47\x83\x41\x83\x52\x83\x93,"
         "\x83\x5c\x83\x74\x83\x40\x89\xa1,\x8f\xc6\x96\xbe,\r\n"},
        {"1p_20130501_0002_w.bin", 1, 30, "RK-3871MP/150,A0142,V1.0L03,\x93\x64\x8e\x71\x83\x8c\x83\x93\x83\x57,,,,\r\n"},
    };
    for (const Case& c : cases) {
        std::string sample = std::string(TABRIX_SOURCE_DIR) + "/samples/" + c.name;
        std::string csvPath = path("sample.csv");
        ASSERT_EQ(ConvertResult::Ok, convertLogToCsv(sample.c_str(), csvPath.c_str(), c.portCount)) << c.name;
        std::string csv;
        ASSERT_TRUE(readFile(csvPath, &csv));
        std::vector<std::string> lines = splitLines(csv);
        ASSERT_EQ(6 + c.rows, lines.size()) << c.name;
        EXPECT_EQ(c.modelLine, lines[4]) << c.name;
        EXPECT_EQ("2013/05/0", lines[6].substr(0, 9)) << c.name;
    }
}

}  // namespace
