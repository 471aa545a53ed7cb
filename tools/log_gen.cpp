#include "tools/log_gen.h"

#include <string.h>

// Outlet names as code page 932 bytes, so that both builds write the same file.
// 冷蔵庫, エアコン, ソファ横 (its trail byte 0x5C looks like a backslash), 照明.
static const char* const kStripNames[4] = {
    "\x97\xe2\x91\xa0\x8c\xc9",
    "\x83\x47\x83\x41\x83\x52\x83\x93",
    "\x83\x5c\x83\x74\x83\x40\x89\xa1",
    "\x8f\xc6\x96\xbe",
};
// 電子レンジ
static const char kPlugName[] = "\x93\x64\x8e\x71\x83\x8c\x83\x93\x83\x57";

static void copyText(char* to, size_t size, const char* from) {
    size_t n = strlen(from);
    if (n >= size)
        n = size - 1;
    memcpy(to, from, n);
    to[n] = '\0';
}

void logGenDefaults(LogGenOptions* o, int outlets) {
    memset(o, 0, sizeof *o);
    copyText(o->hostName, sizeof o->hostName, "GW-0001");
    o->hostVersion = 0x02;
    o->hostLevel = 0x10;
    static const uint8_t mac[6] = {0x00, 0x1d, 0x73, 0x0a, 0xb1, 0x2c};
    memcpy(o->macAddress, mac, 6);
    static const uint8_t ip[4] = {192, 168, 1, 20};
    memcpy(o->ipAddress, ip, 4);
    o->portNumber = 1;
    o->deviceVersion = 0x10;
    o->deviceLevel = 0x03;
    if (outlets == 1) {
        static const uint8_t id[3] = {0x0a, 0x01, 0x42};
        memcpy(o->deviceId, id, 3);
        copyText(o->portName, sizeof o->portName, "plug");
        copyText(o->outletNames[0], sizeof o->outletNames[0], kPlugName);
    } else {
        static const uint8_t id[3] = {0x1c, 0x02, 0x07};
        memcpy(o->deviceId, id, 3);
        copyText(o->portName, sizeof o->portName, "strip");
        for (int i = 0; i < 4; i++)
            copyText(o->outletNames[i], sizeof o->outletNames[i], kStripNames[i]);
    }
    o->recordCount = 100;
    o->seed = 1;
    o->startTime = 1367366400;  // 2013-05-01 00:00:00
    o->interval = 60;
}

static void putText(unsigned char* block, size_t offset, size_t width, const char* text) {
    size_t n = strlen(text);
    memcpy(block + offset, text, n < width ? n : width);
}

void logGenHeader(const LogGenOptions& o, unsigned char* block) {
    memset(block, 0, 232);
    putText(block, 0, 32, o.hostName);
    block[32] = o.hostVersion;
    block[33] = o.hostLevel;
    memcpy(block + 34, o.macAddress, 6);
    memcpy(block + 40, o.ipAddress, 4);
    block[44] = o.energy ? 0 : 1;
    block[45] = o.portNumber;
    memcpy(block + 46, o.deviceId, 3);
    putText(block, 49, 60, o.portName);
    block[109] = o.deviceVersion;
    block[110] = o.deviceLevel;
    for (int i = 0; i < 4; i++)
        putText(block, 111 + 30 * i, 30, o.outletNames[i]);
}

// splitmix64: small, fast and the same everywhere.
static uint64_t nextRandom(uint64_t* state) {
    uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t logGenStart(const LogGenOptions& o) { return o.seed; }

static void put16(unsigned char* p, unsigned v) {
    p[0] = (unsigned char)(v >> 8);
    p[1] = (unsigned char)v;
}

void logGenRecord(const LogGenOptions& o, uint64_t index, uint64_t* state, unsigned char* block) {
    uint64_t r = nextRandom(state);
    uint32_t t = (uint32_t)o.startTime + (uint32_t)(index * (uint64_t)(uint32_t)o.interval);
    if (o.zeroEvery != 0 && index % o.zeroEvery == o.zeroEvery - 1)
        t = 0;
    block[0] = (unsigned char)(t >> 24);
    block[1] = (unsigned char)(t >> 16);
    block[2] = (unsigned char)(t >> 8);
    block[3] = (unsigned char)t;
    // Mostly ordinary loads, now and then a large value with five digits.
    for (int ch = 0; ch < 4; ch++) {
        unsigned v = (unsigned)(r >> (ch * 12)) & 0xFFF;
        if ((r >> (48 + ch)) % 16 == 0)
            v = 10000 + v * 13;
        put16(block + 4 + 2 * ch, v);
    }
    uint64_t s = nextRandom(state);
    put16(block + 12, 5980 + (unsigned)(s % 41));          // 59.80 to 60.20 Hz
    put16(block + 14, 1500 + (unsigned)((s >> 8) % 2000));  // 15.00 to 34.99 degrees
    block[16] = ((s >> 20) % 8 != 0 ? 0x80 : 0x00) | (unsigned char)((s >> 24) & 0x7F);
    block[17] = (unsigned char)(95 + (s >> 32) % 11);
    block[18] = (unsigned char)(s >> 40);
    block[19] = (unsigned char)(s >> 48);
}

bool logGenWrite(const LogGenOptions& o, FILE* file) {
    unsigned char header[232];
    logGenHeader(o, header);
    if (fwrite(header, 1, sizeof header, file) != sizeof header)
        return false;
    uint64_t state = logGenStart(o);
    unsigned char block[4096 * 20];
    size_t used = 0;
    for (uint64_t i = 0; i < o.recordCount; i++) {
        logGenRecord(o, i, &state, block + used);
        used += 20;
        if (used == sizeof block) {
            if (fwrite(block, 1, used, file) != used)
                return false;
            used = 0;
        }
    }
    uint32_t trailing = o.trailingBytes < 20 ? o.trailingBytes : 19;
    memset(block + used, 0x5A, trailing);
    used += trailing;
    return fwrite(block, 1, used, file) == used;
}
