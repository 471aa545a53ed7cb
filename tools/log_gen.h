// Deterministic synthetic device logs for samples, tests, the benchmark and
// the fuzzer's seeds. The same options always give the same bytes.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

struct LogGenOptions {
    char hostName[33];          // NUL-terminated; up to 32 bytes are written
    uint8_t hostVersion;
    uint8_t hostLevel;
    uint8_t macAddress[6];
    uint8_t ipAddress[4];
    bool energy;                // energy log (unitFlag 0) instead of a power log
    uint8_t portNumber;
    uint8_t deviceId[3];
    char portName[61];
    uint8_t deviceVersion;
    uint8_t deviceLevel;
    char outletNames[4][31];    // code page 932 bytes
    uint64_t recordCount;
    uint32_t seed;
    int32_t startTime;          // timestamp of the first record
    int32_t interval;           // seconds between records
    uint32_t zeroEvery;         // every Nth record gets timestamp 0 (0: none)
    uint32_t trailingBytes;     // a piece of 0 to 19 bytes after the last record
};

// Defaults of a four-outlet strip (outlets 4) or a one-outlet plug (outlets 1),
// with Japanese outlet names.
void logGenDefaults(LogGenOptions* options, int outlets);

// The 232-byte header.
void logGenHeader(const LogGenOptions& options, unsigned char* block);

// Record number index (from 0), 20 bytes. state carries the generator between
// records; start it with logGenStart.
uint64_t logGenStart(const LogGenOptions& options);
void logGenRecord(const LogGenOptions& options, uint64_t index, uint64_t* state, unsigned char* block);

// Writes the whole log to file (opened "wb"). False on a write error.
bool logGenWrite(const LogGenOptions& options, FILE* file);
