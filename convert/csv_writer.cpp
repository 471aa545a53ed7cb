// Writes one CSV file from one device log file in a single pass with fixed
// buffers. Digits come from small tables rather than printf, so the bytes do
// not depend on the C library or its locale.
#include "convert/csv_writer.h"

#include <string.h>

#include "convert/log_format.h"
#include "platform/file_io.h"

namespace {

const size_t kBlockSize = 64 * 1024;
const size_t kPathSize = 260;
// The longest row is 68 bytes, the longest header line under 200.
const size_t kLineRoom = 256;

// "00" to "99", two characters each.
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; i++) {
            text[2 * i] = (char)('0' + i / 10);
            text[2 * i + 1] = (char)('0' + i % 10);
        }
    }
};
constexpr DigitPairs kPairs;
const char kHexLower[] = "0123456789abcdef";
const char kHexUpper[] = "0123456789ABCDEF";

// The CSV output: a block that is written out whenever a line might not fit.
struct OutBlock {
    PlatFile file;
    size_t used;
    bool failed;
    char bytes[kBlockSize];
};

void flushOut(OutBlock* out) {
    if (out->used != 0 && !out->failed && !platWriteAll(out->file, out->bytes, out->used))
        out->failed = true;
    out->used = 0;
}

// Room for one more line; every line is shorter than kLineRoom.
char* lineStart(OutBlock* out) {
    if (kBlockSize - out->used < kLineRoom)
        flushOut(out);
    return out->bytes + out->used;
}

void lineEnd(OutBlock* out, const char* end) { out->used = (size_t)(end - out->bytes); }

char* putText(char* p, const char* text) {
    size_t n = strlen(text);
    memcpy(p, text, n);
    return p + n;
}

char* putField(char* p, const char* field, size_t width) {
    size_t n = logTextLength(field, width);
    memcpy(p, field, n);
    return p + n;
}

char* putPair(char* p, unsigned v) {
    memcpy(p, kPairs.text + 2 * v, 2);
    return p + 2;
}

// value in hexadecimal with at least minDigits digits (printf's %0Nx / %0NX).
char* putHex(char* p, unsigned value, int minDigits, const char* digits) {
    char tmp[8];
    int n = 0;
    do {
        tmp[n++] = digits[value & 15];
        value >>= 4;
    } while (value != 0);
    while (n < minDigits)
        tmp[n++] = '0';
    while (n > 0)
        *p++ = tmp[--n];
    return p;
}

// value in decimal with at least minDigits digits (printf's %0Nd).
char* putDecimal(char* p, unsigned value, int minDigits) {
    char tmp[12];
    int n = 0;
    do {
        tmp[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < minDigits)
        tmp[n++] = '0';
    while (n > 0)
        *p++ = tmp[--n];
    return p;
}

// %04d of 0 to 65535.
char* putChannel(char* p, unsigned v) {
    if (v >= 10000) {
        *p++ = (char)('0' + v / 10000);
        v %= 10000;
    }
    p = putPair(p, v / 100);
    return putPair(p, v % 100);
}

// %05.2f of v / 100 for v from 0 to 65535: the decimals are v's last two digits.
char* putHundredths(char* p, unsigned v) {
    unsigned whole = v / 100;
    if (whole >= 100) {
        *p++ = (char)('0' + whole / 100);
        whole %= 100;
    }
    p = putPair(p, whole);
    *p++ = '.';
    return putPair(p, v % 100);
}

void writeHeaderLines(OutBlock* out, const LogHeader& h, int portCount) {
    char* p = lineStart(out);
    p = putText(p, "hostname,");
    p = putField(p, h.hostName, kHostNameWidth);
    p = putText(p, ",V");
    p = putHex(p, h.hostVersion, 1, kHexLower);
    *p++ = 'L';
    if ((h.hostLevel & 0x0F) != 0)
        p = putHex(p, h.hostLevel, 3, kHexLower);
    else
        p = putHex(p, h.hostLevel >> 4, 2, kHexLower);
    p = putText(p, ",\r\n");
    lineEnd(out, p);

    p = lineStart(out);
    p = putText(p, "MAC Address,");
    for (int i = 0; i < 6; i++) {
        if (i > 0)
            *p++ = ':';
        p = putHex(p, h.macAddress[i], 2, kHexLower);
    }
    p = putText(p, ",\r\n");
    lineEnd(out, p);

    p = lineStart(out);
    p = putText(p, "IP address,");
    for (int i = 0; i < 4; i++) {
        if (i > 0)
            *p++ = '.';
        p = putDecimal(p, h.ipAddress[i], 1);
    }
    p = putText(p, ",\r\n");
    lineEnd(out, p);

    p = lineStart(out);
    p = putText(p, h.unitFlag != 0 ? "unit,[W],Port" : "unit,[Wh],Port");
    p = putDecimal(p, h.portNumber, 1);
    *p++ = ',';
    p = putField(p, h.portName, kPortNameWidth);
    p = putText(p, ",\r\n");
    lineEnd(out, p);

    p = lineStart(out);
    p = putText(p, portCount == 1 ? "RK-3871MP/150," : "RK-3874MQ,");
    p = putHex(p, h.deviceId[0], 1, kHexUpper);
    p = putHex(p, h.deviceId[1], 2, kHexUpper);
    p = putHex(p, h.deviceId[2], 2, kHexUpper);
    p = putText(p, ",V");
    p = putHex(p, h.deviceVersion >> 4, 1, kHexLower);
    p = putText(p, ".0L");
    p = putHex(p, h.deviceLevel, 2, kHexLower);
    *p++ = ',';
    for (size_t i = 0; i < kOutletCount; i++) {
        p = putField(p, h.outletNames[i], kOutletNameWidth);
        *p++ = ',';
    }
    p = putText(p, "\r\n");
    lineEnd(out, p);

    p = lineStart(out);
    p = putText(p, "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n");
    lineEnd(out, p);
}

// "YYYY/MM/DD," of the day last written; records come in runs of one day.
struct DateCache {
    int64_t day;
    bool valid;
    char text[16];
    size_t length;
};

void writeRecordRow(OutBlock* out, DateCache* cache, const LogRecord& r) {
    int64_t t = r.timestamp;
    int64_t day = t >= 0 ? t / 86400 : -((-t + 86399) / 86400);
    unsigned secondOfDay = (unsigned)(t - day * 86400);
    if (!cache->valid || cache->day != day) {
        int y, m, d;
        civilDateFromDays(day, &y, &m, &d);
        char* q = putDecimal(cache->text, (unsigned)y, 4);  // 1901 to 2038 for 32-bit times
        *q++ = '/';
        q = putPair(q, (unsigned)m);
        *q++ = '/';
        q = putPair(q, (unsigned)d);
        *q++ = ',';
        cache->length = (size_t)(q - cache->text);
        cache->day = day;
        cache->valid = true;
    }
    char* p = lineStart(out);
    memcpy(p, cache->text, cache->length);
    p += cache->length;
    p = putPair(p, secondOfDay / 3600);
    *p++ = ':';
    p = putPair(p, secondOfDay / 60 % 60);
    *p++ = ':';
    p = putPair(p, secondOfDay % 60);
    memcpy(p, logRecordIsOn(r) ? ", on," : ",off,", 5);
    p += 5;
    p = putChannel(p, r.ch1);
    *p++ = ',';
    p = putChannel(p, r.ch2);
    *p++ = ',';
    p = putChannel(p, r.ch3);
    *p++ = ',';
    p = putChannel(p, r.ch4);
    *p++ = ',';
    *p++ = (char)('0' + r.voltage / 100);
    p = putPair(p, r.voltage % 100u);
    *p++ = ',';
    p = putHundredths(p, r.frequency);
    *p++ = ',';
    p = putHundredths(p, r.temperature);
    memcpy(p, ",\r\n", 3);
    lineEnd(out, p + 3);
}

// Fills buffer from the file as far as it goes; a short count means the end
// of the file. A read error sets *failed: a log that cannot be read to its end
// must not pass for a complete conversion.
size_t readUpTo(PlatFile file, unsigned char* buffer, size_t size, bool* failed) {
    size_t got = 0;
    while (got < size) {
        long n = platReadSome(file, buffer + got, size - got);
        if (n < 0)
            *failed = true;
        if (n <= 0)
            break;
        got += (size_t)n;
    }
    return got;
}

// Working storage of one call; large, so it lives outside the stack. The
// writer is called from one thread only.
struct ConvertBuffers {
    OutBlock out;
    unsigned char in[kBlockSize];
};
ConvertBuffers buffers;

// Reads the log and writes the CSV lines to out. Stops at the end of the log;
// false when reading the log failed on the way.
bool convertOpenFiles(PlatFile log, OutBlock* out, int portCount) {
    bool readFailed = false;
    unsigned char header[kLogHeaderSize];
    memset(header, 0, sizeof header);  // a log shorter than the header reads as zeros
    readUpTo(log, header, sizeof header, &readFailed);
    LogHeader h;
    decodeLogHeader(header, &h);
    writeHeaderLines(out, h, portCount);

    // A record may straddle two blocks: its leading bytes move to the front.
    unsigned char* in = buffers.in;
    size_t have = 0;
    DateCache cache = {0, false, {0}, 0};
    for (;;) {
        size_t got = readUpTo(log, in + have, kBlockSize - have, &readFailed);
        have += got;
        size_t pos = 0;
        for (; have - pos >= kLogRecordSize; pos += kLogRecordSize) {
            LogRecord r;
            decodeLogRecord(in + pos, &r);
            if (r.timestamp != 0)
                writeRecordRow(out, &cache, r);
        }
        if (got == 0 || out->failed || readFailed)
            break;
        memmove(in, in + pos, have - pos);
        have -= pos;
    }
    return !readFailed;
}

}  // namespace

ConvertResult convertLogToCsv(const char* sourcePath, const char* csvPath, int portCount) {
    if (!sourcePath || !csvPath || strlen(csvPath) >= kPathSize)
        return ConvertResult::CannotCreateOutput;
    char tempPath[kPathSize];
    PlatFile csv;
    if (!platCreateTempBeside(csvPath, &csv, tempPath, sizeof tempPath))
        return ConvertResult::CannotCreateOutput;
    PlatFile log;
    if (!platOpenForReading(sourcePath, &log)) {
        platCloseFile(&csv);
        platRemoveFile(tempPath);
        return ConvertResult::CannotReadInput;
    }

    OutBlock* out = &buffers.out;
    out->file = csv;
    out->used = 0;
    out->failed = false;
    bool readWhole = convertOpenFiles(log, out, portCount);
    platCloseFile(&log);
    flushOut(out);
    bool written = !out->failed;
    if (!platCloseFile(&csv))
        written = false;
    if (!readWhole || !written) {
        platRemoveFile(tempPath);
        return readWhole ? ConvertResult::CannotWriteOutput : ConvertResult::CannotReadInput;
    }
    if (!platReplaceFile(tempPath, csvPath)) {
        platRemoveFile(tempPath);
        return ConvertResult::CannotCreateOutput;
    }
    return ConvertResult::Ok;
}
