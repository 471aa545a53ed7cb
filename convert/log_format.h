// The device log file: a 232-byte header, then 20-byte records, all numbers
// big-endian. Fields are taken from their blocks by explicit shifts, so the
// host's byte order and struct layout never matter.
#pragma once
#include <stddef.h>
#include <stdint.h>

const size_t kLogHeaderSize = 232;
const size_t kLogRecordSize = 20;
const size_t kHostNameWidth = 32;
const size_t kPortNameWidth = 60;
const size_t kOutletNameWidth = 30;
const size_t kOutletCount = 4;

// Text fields keep their full width and carry no terminator of their own;
// logTextLength gives the length that is written.
struct LogHeader {
    char hostName[kHostNameWidth];
    uint8_t hostVersion;
    uint8_t hostLevel;
    uint8_t macAddress[6];
    uint8_t ipAddress[4];
    uint8_t unitFlag;       // 0: energy log (Wh), else power log (W)
    uint8_t portNumber;
    uint8_t deviceId[3];
    char portName[kPortNameWidth];
    uint8_t deviceVersion;  // only the high nibble is the version
    uint8_t deviceLevel;
    char outletNames[kOutletCount][kOutletNameWidth];
};

struct LogRecord {
    int32_t timestamp;      // seconds since 1970-01-01 00:00:00 UTC; 0 means no measurement
    uint16_t ch1, ch2, ch3, ch4;
    uint16_t frequency;     // hundredths of a hertz
    uint16_t temperature;   // hundredths of a degree, never negative
    uint8_t stateByte;      // bit 7: on
    uint8_t voltage;
};

struct CivilTime {
    int year, month, day, hour, minute, second;
};

inline uint16_t readUInt16BE(const unsigned char* d) {
    return (uint16_t)((d[0] << 8) | d[1]);
}

inline int32_t readInt32BE(const unsigned char* d) {
    uint32_t u = ((uint32_t)d[0] << 24) | ((uint32_t)d[1] << 16) | ((uint32_t)d[2] << 8) | (uint32_t)d[3];
    // Two's complement without relying on an implementation-defined conversion.
    return u <= 0x7FFFFFFFu ? (int32_t)u : (int32_t)(u - 0x80000000u) - 0x7FFFFFFF - 1;
}

// Length of a text field: up to its first NUL, or its whole width without one.
size_t logTextLength(const char* field, size_t width);

// block holds kLogHeaderSize bytes.
void decodeLogHeader(const unsigned char* block, LogHeader* header);

// block holds kLogRecordSize bytes.
inline void decodeLogRecord(const unsigned char* block, LogRecord* record) {
    record->timestamp = readInt32BE(block);
    record->ch1 = readUInt16BE(block + 4);
    record->ch2 = readUInt16BE(block + 6);
    record->ch3 = readUInt16BE(block + 8);
    record->ch4 = readUInt16BE(block + 10);
    record->frequency = readUInt16BE(block + 12);
    record->temperature = readUInt16BE(block + 14);
    record->stateByte = block[16];
    record->voltage = block[17];
}

inline bool logRecordIsOn(const LogRecord& record) { return (record.stateByte & 0x80) != 0; }

// Days since 1970-01-01 (negative before it) to a Gregorian date.
void civilDateFromDays(int64_t days, int* year, int* month, int* day);

// Seconds since 1970-01-01 00:00:00 to date and time by the Gregorian calendar,
// without time zone or leap seconds; exact for every 32-bit value and far beyond.
void civilTimeFromSeconds(int64_t seconds, CivilTime* out);
