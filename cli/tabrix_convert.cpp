// tabrix-convert: does what a drop on the window does, for scripts.
//   tabrix-convert [--dest source|desktop|DIR] [--overwrite|--no-overwrite] PATH...
// The paths are one drop in their order; settings.ini of the current folder
// gives the defaults and is never written. Each job's line is printed as the
// log box shows it, then a summary line. Exit: 0 all converted, 1 any failed,
// 2 usage error.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/settings.h"
#include "jobs/app_log.h"
#include "jobs/conversion_job.h"
#include "jobs/drop_dispatch.h"
#include "platform/file_io.h"
#include "platform/fs.h"

#ifdef _WIN32
static const char kLineEnd[] = "\r\n";
#else
static const char kLineEnd[] = "\n";
#endif

static const char kVersion[] = "V0.2R10";

static void printToStdout(const char* text) {
    fputs(text, stdout);
}

static void usage(FILE* to) {
    fprintf(to,
            "usage: tabrix-convert [options] PATH...\n"
            "Converts log files (*_w.bin, *_wh.bin) and the log files in folders into CSV files.\n"
            "  --dest source      CSV files beside their logs\n"
            "  --dest desktop     CSV files on the desktop\n"
            "  --dest DIR         CSV files under DIR (folders rebuilt below it)\n"
            "  --overwrite        replace a CSV file of the same name\n"
            "  --no-overwrite     take the first free name NAME_1.csv ... NAME_1000.csv\n"
            "  --help, --version\n"
            "Without options the choices come from settings.ini in the current folder.\n"
            "Exit status: 0 every log converted, 1 any failed, 2 usage error.\n");
}

static int usageError(const char* what, const char* arg) {
    fprintf(stderr, "tabrix-convert: %s%s (see --help)\n", what, arg);
    return 2;
}

// The drop: the existing paths, made absolute as a drop delivers them.
static unsigned dropCount(void* context) {
    return (unsigned)static_cast<std::vector<std::string>*>(context)->size();
}

static unsigned dropPathAt(void* context, unsigned index, char* out, unsigned size) {
    const std::string& path = (*static_cast<std::vector<std::string>*>(context))[index];
    if (path.size() < size)
        memcpy(out, path.c_str(), path.size() + 1);
    else if (size)
        out[0] = '\0';
    return (unsigned)path.size();
}

// Converts the paths gathered so far as one drop and empties the list.
static void dispatchRun(std::vector<std::string>* run) {
    if (run->empty())
        return;
    DropList drop = {run, dropCount, dropPathAt};
    dispatchDroppedPaths(&drop);
    run->clear();
}

int main(int argc, char** argv) {
#ifdef _WIN32
    // The log lines carry their own CR LF; no second CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const char* dest = nullptr;
    int overwrite = -1;
    std::vector<const char*> paths;
    bool optionsEnd = false;
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        if (optionsEnd || a[0] != '-' || a[1] == '\0') {
            paths.push_back(a);
        } else if (strcmp(a, "--") == 0) {
            optionsEnd = true;
        } else if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0) {
            usage(stdout);
            return 0;
        } else if (strcmp(a, "--version") == 0) {
            printf("tabrix-convert %s%s", kVersion, kLineEnd);
            return 0;
        } else if (strcmp(a, "--overwrite") == 0) {
            overwrite = 1;
        } else if (strcmp(a, "--no-overwrite") == 0) {
            overwrite = 0;
        } else if (strcmp(a, "--dest") == 0) {
            if (i + 1 >= argc)
                return usageError("--dest needs source, desktop or a folder", "");
            dest = argv[++i];
        } else if (strncmp(a, "--dest=", 7) == 0) {
            dest = a + 7;
        } else {
            return usageError("unknown option ", a);
        }
    }
    if (paths.empty())
        return usageError("no PATH given", "");
    if (dest && dest[0] == '\0')
        return usageError("--dest needs source, desktop or a folder", "");
    if (dest && strcmp(dest, "source") != 0 && strcmp(dest, "desktop") != 0 && strlen(dest) >= kPathSize)
        return usageError("destination folder too long: ", dest);

    loadSettings();
    if (dest) {
        if (strcmp(dest, "source") == 0) {
            AppSettings.destinationMode = SourceFolder;
        } else if (strcmp(dest, "desktop") == 0) {
            AppSettings.destinationMode = Desktop;
        } else {
            AppSettings.destinationMode = ChosenFolder;
            memset(AppSettings.chosenFolder, 0, sizeof AppSettings.chosenFolder);
            memcpy(AppSettings.chosenFolder, dest, strlen(dest));
        }
    }
    if (overwrite >= 0)
        AppSettings.overwriteExisting = overwrite;

    setLogSink(printToStdout);
    jobTally.converted = 0;
    jobTally.failed = 0;

    // A path that is not there gets its own line, in its place among the
    // others, and counts as failed. The paths around it go on as a drop: a drop
    // carries nothing from one path to the next, so splitting it changes nothing.
    std::vector<std::string> run;
    unsigned missing = 0;
    for (const char* p : paths) {
        char full[4096];
        const char* path = platFullPath(p, full, sizeof full) ? full : p;
        if (platPathKind(path) == PathMissing && !platIsFolder(path) && !platCanOpenForReading(path)) {
            dispatchRun(&run);
            printf(" %s 見つかりません%s", p, kLineEnd);
            missing++;
            continue;
        }
        run.push_back(path);
    }
    dispatchRun(&run);

    unsigned failed = jobTally.failed + missing;
    printf("完了 %u 件, 失敗 %u 件%s", jobTally.converted, failed, kLineEnd);
    fflush(stdout);
    return failed ? 1 : 0;
}
