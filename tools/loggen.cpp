// loggen: writes a deterministic synthetic device log.
//   loggen [--records N] [--seed S] [--outlets 1|4] [--energy] [--start T]
//          [--interval S] [--zero-every N] [--trailing N] [--host NAME] OUT.bin
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tools/log_gen.h"

static void usage() {
    fprintf(stderr,
            "usage: loggen [--records N] [--seed S] [--outlets 1|4] [--energy] [--start T]\n"
            "              [--interval S] [--zero-every N] [--trailing 0-19] [--host NAME] OUT.bin\n");
}

static bool number(const char* text, long long low, long long high, long long* value) {
    char* end = NULL;
    long long v = strtoll(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high)
        return false;
    *value = v;
    return true;
}

int main(int argc, char** argv) {
    // The outlet count chooses the defaults that the other options change, so it is read first.
    long long outlets = 4;
    for (int i = 1; i + 1 < argc; i++) {
        if (strcmp(argv[i], "--outlets") == 0 &&
            (!number(argv[i + 1], 1, 4, &outlets) || (outlets != 1 && outlets != 4))) {
            usage();
            return 2;
        }
    }
    LogGenOptions o;
    logGenDefaults(&o, (int)outlets);
    const char* out = NULL;
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        long long v = 0;
        bool hasValue = i + 1 < argc;
        if (strcmp(a, "--energy") == 0) {
            o.energy = true;
        } else if (a[0] != '-' && !out) {
            out = a;
        } else if (!hasValue) {
            usage();
            return 2;
        } else if (strcmp(a, "--outlets") == 0) {
            i++;
        } else if (strcmp(a, "--records") == 0 && number(argv[i + 1], 0, 100000000000LL, &v)) {
            o.recordCount = (uint64_t)v;
            i++;
        } else if (strcmp(a, "--seed") == 0 && number(argv[i + 1], 0, 0xFFFFFFFFLL, &v)) {
            o.seed = (uint32_t)v;
            i++;
        } else if (strcmp(a, "--start") == 0 && number(argv[i + 1], INT32_MIN, INT32_MAX, &v)) {
            o.startTime = (int32_t)v;
            i++;
        } else if (strcmp(a, "--interval") == 0 && number(argv[i + 1], 0, 86400 * 366, &v)) {
            o.interval = (int32_t)v;
            i++;
        } else if (strcmp(a, "--zero-every") == 0 && number(argv[i + 1], 0, 0xFFFFFFFFLL, &v)) {
            o.zeroEvery = (uint32_t)v;
            i++;
        } else if (strcmp(a, "--trailing") == 0 && number(argv[i + 1], 0, 19, &v)) {
            o.trailingBytes = (uint32_t)v;
            i++;
        } else if (strcmp(a, "--host") == 0 && strlen(argv[i + 1]) < sizeof o.hostName) {
            memcpy(o.hostName, argv[i + 1], strlen(argv[i + 1]) + 1);
            i++;
        } else {
            usage();
            return 2;
        }
    }
    if (!out) {
        usage();
        return 2;
    }
    FILE* f = fopen(out, "wb");
    if (!f) {
        fprintf(stderr, "loggen: cannot create %s\n", out);
        return 1;
    }
    bool ok = logGenWrite(o, f);
    if (fclose(f) != 0)
        ok = false;
    if (!ok) {
        fprintf(stderr, "loggen: cannot write %s\n", out);
        remove(out);
        return 1;
    }
    return 0;
}
