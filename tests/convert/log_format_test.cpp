// Decoding of header and record fields, and the calendar against a table
// built day by day.
#include <gtest/gtest.h>
#include <string.h>

#include "convert/log_format.h"
#include "convert_fixture.h"

TEST(LogFormat, HeaderFieldsComeFromTheirOffsets) {
    std::string block = sampleHeader();
    putBytes(&block, 96, "tail");  // inside portName, after its NUL
    LogHeader h;
    decodeLogHeader((const unsigned char*)block.data(), &h);
    EXPECT_EQ(std::string("GW-TOP"), std::string(h.hostName, logTextLength(h.hostName, kHostNameWidth)));
    EXPECT_EQ(0x1A, h.hostVersion);
    EXPECT_EQ(0x25, h.hostLevel);
    EXPECT_EQ(0, memcmp(h.macAddress, "\x00\x1a\x2b\x3c\x4d\x5e", 6));
    EXPECT_EQ(0, memcmp(h.ipAddress, "\xc0\xa8\x00\x0a", 4));
    EXPECT_EQ(1, h.unitFlag);
    EXPECT_EQ(2, h.portNumber);
    EXPECT_EQ(0, memcmp(h.deviceId, "\x1a\x2b\x3c", 3));
    EXPECT_EQ(3u, logTextLength(h.portName, kPortNameWidth));
    EXPECT_EQ(0x23, h.deviceVersion);
    EXPECT_EQ(0x0A, h.deviceLevel);
    const char* names[4] = {"A", "B", "C", "D"};
    for (size_t i = 0; i < kOutletCount; i++)
        EXPECT_EQ(std::string(names[i]), std::string(h.outletNames[i], logTextLength(h.outletNames[i], kOutletNameWidth)));
}

TEST(LogFormat, TextLengthIsBoundedByTheField) {
    EXPECT_EQ(0u, logTextLength("\0abc", 4));
    EXPECT_EQ(2u, logTextLength("ab\0c", 4));
    EXPECT_EQ(4u, logTextLength("abcdXYZ", 4));  // no NUL inside the field: its whole width
}

TEST(LogFormat, RecordFieldsAreBigEndianAndUnsigned) {
    std::string block = recordBytes(0x01020304, 0x1234, 0xFFFF, 0x0001, 0x8000, 6000, 0xFFFE, 0x80, 0xFF);
    LogRecord r;
    decodeLogRecord((const unsigned char*)block.data(), &r);
    EXPECT_EQ(0x01020304, r.timestamp);
    EXPECT_EQ(4660, r.ch1);
    EXPECT_EQ(65535, r.ch2);
    EXPECT_EQ(1, r.ch3);
    EXPECT_EQ(32768, r.ch4);
    EXPECT_EQ(6000, r.frequency);
    EXPECT_EQ(65534, r.temperature);
    EXPECT_EQ(255, r.voltage);
}

TEST(LogFormat, TimestampIsSignedAndStateIsBitSeven) {
    struct Case {
        const char* bytes;
        int32_t timestamp;
    } cases[] = {
        {"\x00\x00\x00\x01", 1},
        {"\xff\xff\xff\xff", -1},
        {"\x7f\xff\xff\xff", 2147483647},
        {"\xff\xff\x57\x40", -43200},
        {"\x80\x00\x00\x00", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.timestamp, readInt32BE((const unsigned char*)c.bytes)) << c.timestamp;

    struct State {
        uint8_t byte;
        bool on;
    } states[] = {{0x80, true}, {0xFF, true}, {0x7F, false}, {0x00, false}};
    for (const State& s : states) {
        LogRecord r = {};
        r.stateByte = s.byte;
        EXPECT_EQ(s.on, logRecordIsOn(r)) << (int)s.byte;
    }
}

TEST(Calendar, EveryDayFrom1901To2038MatchesTheDayByDayTable) {
    for (int64_t days = -25202; days <= 25201; days++) {
        int y, m, d, ry, rm, rd;
        ASSERT_TRUE(referenceDate(days, &ry, &rm, &rd)) << days;
        civilDateFromDays(days, &y, &m, &d);
        ASSERT_EQ(ry * 10000 + rm * 100 + rd, y * 10000 + m * 100 + d) << "day " << days;
    }
}

TEST(Calendar, TimesAroundTheEdgesOfThe32BitRange) {
    struct Case {
        int64_t seconds;
        CivilTime expected;
    } cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},
        {1, {1970, 1, 1, 0, 0, 1}},
        {-1, {1969, 12, 31, 23, 59, 59}},
        {-43200, {1969, 12, 31, 12, 0, 0}},
        {-43201, {1969, 12, 31, 11, 59, 59}},
        {-86400, {1969, 12, 31, 0, 0, 0}},
        {-86401, {1969, 12, 30, 23, 59, 59}},
        {3600, {1970, 1, 1, 1, 0, 0}},
        {951782400, {2000, 2, 29, 0, 0, 0}},
        {2147483647, {2038, 1, 19, 3, 14, 7}},
        {INT32_MIN, {1901, 12, 13, 20, 45, 52}},
        {-2147483647, {1901, 12, 13, 20, 45, 53}},
    };
    for (const Case& c : cases) {
        CivilTime t;
        civilTimeFromSeconds(c.seconds, &t);
        EXPECT_EQ(c.expected.year, t.year) << c.seconds;
        EXPECT_EQ(c.expected.month, t.month) << c.seconds;
        EXPECT_EQ(c.expected.day, t.day) << c.seconds;
        EXPECT_EQ(c.expected.hour, t.hour) << c.seconds;
        EXPECT_EQ(c.expected.minute, t.minute) << c.seconds;
        EXPECT_EQ(c.expected.second, t.second) << c.seconds;
    }
}

TEST(Calendar, SpreadOfSecondsOverThe32BitRange) {
    // A stride prime to 86400 lands on every second of the day in turn.
    for (int64_t s = INT32_MIN; s <= INT32_MAX; s += 104729 * 7) {
        CivilTime t;
        civilTimeFromSeconds(s, &t);
        int64_t days = s / 86400 - (s % 86400 < 0 ? 1 : 0);
        int64_t sod = s - days * 86400;
        int ry, rm, rd;
        ASSERT_TRUE(referenceDate(days, &ry, &rm, &rd));
        ASSERT_EQ(ry * 10000 + rm * 100 + rd, t.year * 10000 + t.month * 100 + t.day) << s;
        ASSERT_EQ(sod, t.hour * 3600 + t.minute * 60 + t.second) << s;
        ASSERT_TRUE(t.minute < 60 && t.second < 60 && t.hour < 24) << s;
    }
}
