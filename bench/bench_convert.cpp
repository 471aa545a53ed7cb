// Converts a generated log of 1,000,000 records with convertLogToCsv and with a
// plain fprintf converter, checks both give the same bytes, prints their speed,
// and checks that the converter's peak memory does not grow with the log.
//   bench_convert WORK_FOLDER
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "convert/csv_writer.h"
#include "tools/log_gen.h"

namespace {

const uint64_t kRecords = 1000000;
const int kRuns = 3;

double nowSeconds() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + ts.tv_nsec / 1e9;
}

unsigned be16(const unsigned char* p) { return (unsigned)(p[0] << 8 | p[1]); }

// A text field as a C string for %s.
void fieldText(const unsigned char* field, size_t width, char* text) {
    memcpy(text, field, width);
    text[width] = '\0';
}

// The straightforward converter: stdio streams, one fprintf per line, the C
// library's UTC calendar.
bool fprintfConvert(const char* logPath, const char* csvPath, int portCount) {
    FILE* in = fopen(logPath, "rb");
    if (!in)
        return false;
    FILE* out = fopen(csvPath, "wb");
    if (!out) {
        fclose(in);
        return false;
    }
    unsigned char h[232] = {0};
    if (fread(h, 1, sizeof h, in) != sizeof h) {
        // The generated logs always hold a whole header.
    }
    char host[33], port[61], names[4][31];
    fieldText(h, 32, host);
    fieldText(h + 49, 60, port);
    for (int i = 0; i < 4; i++)
        fieldText(h + 111 + 30 * i, 30, names[i]);
    if (h[33] & 0x0F)
        fprintf(out, "hostname,%s,V%xL%03x,\r\n", host, h[32], h[33]);
    else
        fprintf(out, "hostname,%s,V%xL%02x,\r\n", host, h[32], h[33] / 16);
    fprintf(out, "MAC Address,%02x:%02x:%02x:%02x:%02x:%02x,\r\n", h[34], h[35], h[36], h[37], h[38], h[39]);
    fprintf(out, "IP address,%d.%d.%d.%d,\r\n", h[40], h[41], h[42], h[43]);
    fprintf(out, h[44] ? "unit,[W],Port%d,%s,\r\n" : "unit,[Wh],Port%d,%s,\r\n", h[45], port);
    fprintf(out,
            portCount == 1 ? "RK-3871MP/150,%01X%02X%02X,V%x.0L%02x,%s,%s,%s,%s,\r\n"
                           : "RK-3874MQ,%01X%02X%02X,V%x.0L%02x,%s,%s,%s,%s,\r\n",
            h[46], h[47], h[48], h[109] / 16, h[110], names[0], names[1], names[2], names[3]);
    fprintf(out, "date,time,state,ch1,ch2,ch3,ch4,V,Hz,Temp,\r\n");
    unsigned char r[20];
    while (fread(r, 1, sizeof r, in) == sizeof r) {
        int32_t t = (int32_t)((uint32_t)r[0] << 24 | (uint32_t)r[1] << 16 | (uint32_t)r[2] << 8 | r[3]);
        if (t == 0)
            continue;
        time_t seconds = (time_t)t;
        struct tm tm;
        gmtime_r(&seconds, &tm);
        fprintf(out, "%04d/%02d/%02d,%02d:%02d:%02d,%s,%04d,%04d,%04d,%04d,%03d,%05.2f,%05.2f,\r\n",
                tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                (r[16] & 0x80) ? " on" : "off", be16(r + 4), be16(r + 6), be16(r + 8), be16(r + 10), r[17],
                be16(r + 12) / 100.0, be16(r + 14) / 100.0);
    }
    fclose(in);
    return fclose(out) == 0;
}

bool sameFiles(const char* a, const char* b) {
    FILE* fa = fopen(a, "rb");
    FILE* fb = fopen(b, "rb");
    bool same = fa && fb;
    static char ba[1 << 16], bb[1 << 16];
    while (same) {
        size_t na = fread(ba, 1, sizeof ba, fa), nb = fread(bb, 1, sizeof bb, fb);
        if (na != nb || memcmp(ba, bb, na) != 0)
            same = false;
        if (na == 0)
            break;
    }
    if (fa)
        fclose(fa);
    if (fb)
        fclose(fb);
    return same;
}

long fileSize(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return -1;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fclose(f);
    return size;
}

// Peak resident memory, in KiB, of a child process that converts one log.
long convertInChild(const char* logPath, const char* csvPath) {
    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0)
        _exit(convertLogToCsv(logPath, csvPath, 4) == ConvertResult::Ok ? 0 : 1);
    int status = 0;
    struct rusage usage;
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

bool generate(const char* path, uint64_t records) {
    LogGenOptions o;
    logGenDefaults(&o, 4);
    o.recordCount = records;
    o.seed = 2013;
    o.interval = 7;
    o.zeroEvery = 1000;
    o.trailingBytes = 11;
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    bool ok = logGenWrite(o, f);
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: bench_convert WORK_FOLDER\n");
        return 2;
    }
    char emptyLog[512], bigLog[512], fastCsv[512], plainCsv[512];
    snprintf(emptyLog, sizeof emptyLog, "%s/empty_w.bin", argv[1]);
    snprintf(bigLog, sizeof bigLog, "%s/big_w.bin", argv[1]);
    snprintf(fastCsv, sizeof fastCsv, "%s/big_w.csv", argv[1]);
    snprintf(plainCsv, sizeof plainCsv, "%s/big_w_fprintf.csv", argv[1]);
    if (!generate(emptyLog, 0) || !generate(bigLog, kRecords)) {
        fprintf(stderr, "bench_convert: cannot write the logs in %s\n", argv[1]);
        return 1;
    }

    long emptyPeak = convertInChild(emptyLog, fastCsv);
    long bigPeak = convertInChild(bigLog, fastCsv);
    if (emptyPeak < 0 || bigPeak < 0) {
        fprintf(stderr, "bench_convert: the conversion in a child process failed\n");
        return 1;
    }

    double fastBest = 1e9, plainBest = 1e9;
    for (int run = 0; run < kRuns; run++) {
        // Dropping the previous output is not part of either conversion.
        unlink(fastCsv);
        unlink(plainCsv);
        double t0 = nowSeconds();
        if (convertLogToCsv(bigLog, fastCsv, 4) != ConvertResult::Ok) {
            fprintf(stderr, "bench_convert: convertLogToCsv failed\n");
            return 1;
        }
        double t1 = nowSeconds();
        if (!fprintfConvert(bigLog, plainCsv, 4)) {
            fprintf(stderr, "bench_convert: the fprintf converter failed\n");
            return 1;
        }
        double t2 = nowSeconds();
        if (t1 - t0 < fastBest)
            fastBest = t1 - t0;
        if (t2 - t1 < plainBest)
            plainBest = t2 - t1;
    }
    long csvBytes = fileSize(fastCsv);
    double mb = csvBytes / 1e6;
    printf("log: %llu records, CSV: %ld bytes (best of %d runs)\n", (unsigned long long)kRecords, csvBytes, kRuns);
    printf("convertLogToCsv : %7.1f ns/record  %7.1f MB/s\n", fastBest * 1e9 / kRecords, mb / fastBest);
    printf("fprintf baseline: %7.1f ns/record  %7.1f MB/s\n", plainBest * 1e9 / kRecords, mb / plainBest);
    printf("ratio           : %7.1fx faster (target 15x)\n", plainBest / fastBest);
    printf("peak memory     : %ld KiB for an empty log, %ld KiB for %llu records, growth %ld KiB (limit 1024)\n",
           emptyPeak, bigPeak, (unsigned long long)kRecords, bigPeak - emptyPeak);

    int status = 0;
    if (!sameFiles(fastCsv, plainCsv)) {
        printf("FAIL: the two CSV files differ\n");
        status = 1;
    } else {
        printf("outputs identical\n");
    }
    if (bigPeak - emptyPeak > 1024) {
        printf("FAIL: peak memory grows with the log\n");
        status = 1;
    }
    return status;
}
