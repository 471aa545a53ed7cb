// Decoding of the device log file's header and records, and the calendar.
#include "convert/log_format.h"

#include <string.h>

size_t logTextLength(const char* field, size_t width) {
    const void* nul = memchr(field, 0, width);
    return nul ? (size_t)((const char*)nul - field) : width;
}

void decodeLogHeader(const unsigned char* block, LogHeader* header) {
    memcpy(header->hostName, block + 0, kHostNameWidth);
    header->hostVersion = block[32];
    header->hostLevel = block[33];
    memcpy(header->macAddress, block + 34, 6);
    memcpy(header->ipAddress, block + 40, 4);
    header->unitFlag = block[44];
    header->portNumber = block[45];
    memcpy(header->deviceId, block + 46, 3);
    memcpy(header->portName, block + 49, kPortNameWidth);
    header->deviceVersion = block[109];
    header->deviceLevel = block[110];
    for (size_t i = 0; i < kOutletCount; i++)
        memcpy(header->outletNames[i], block + 111 + i * kOutletNameWidth, kOutletNameWidth);
    // Byte 231 is not used.
}

// Floor division, so that times before 1970 fall on the day before, not after.
static int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

void civilDateFromDays(int64_t days, int* year, int* month, int* day) {
    // Counted in 400-year eras starting on 0000-03-01, so that the leap day ends a year.
    int64_t z = days + 719468;
    int64_t era = floorDiv(z, 146097);
    int64_t doe = z - era * 146097;                                    // [0, 146096]
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);             // [0, 365]
    int64_t mp = (5 * doy + 2) / 153;                                  // March = 0
    int64_t d = doy - (153 * mp + 2) / 5 + 1;
    int64_t m = mp < 10 ? mp + 3 : mp - 9;
    int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    *year = (int)y;
    *month = (int)m;
    *day = (int)d;
}

void civilTimeFromSeconds(int64_t seconds, CivilTime* out) {
    int64_t days = floorDiv(seconds, 86400);
    int64_t secondOfDay = seconds - days * 86400;
    civilDateFromDays(days, &out->year, &out->month, &out->day);
    out->hour = (int)(secondOfDay / 3600);
    out->minute = (int)(secondOfDay / 60 % 60);
    out->second = (int)(secondOfDay % 60);
}
