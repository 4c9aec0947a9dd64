// What reading a large native drawing costs in time and resident memory, one open per process so
// that nothing of an earlier open is reused:
//   native_read_memory make <drawing> <lines> [arcs]   a new drawing of that many lines and arcs
//   native_read_memory open <drawing>                  opens it; prints the time and VmHWM/VmRSS
#include "Platform/AppResources.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

long StatusKiB(const char* key) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return -1;
    char line[256];
    long value = -1;
    size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, key, n) == 0 && line[n] == ':') value = std::atol(line + n + 1);
    std::fclose(f);
    return value;
}

int Make(const char* path, long lines, long arcs) {
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, nullptr, 0)) return 1;
    SeekLastLine(doc);
    for (long i = 0; i < lines; ++i)
        AppendLineAtCursor(doc, i * 0.01, i % 1000, i * 0.01 + 5, i % 997, false);
    SeekLastArc(doc);
    for (long i = 0; i < arcs; ++i)
        AppendArcAtCursor(doc, i * 0.1, i % 500, 1 + i % 7, 0, 360, false);
    FSMakeRef(path, &doc->drawing->file);
    doc->settings->keepBackup = false;
    bool saved = SaveDocument(doc, false, false, false, false, false);
    DisposeDocumentRecords(doc);
    return saved ? 0 : 1;
}

int Open(const char* path) {
    FSRef file;
    FSMakeRef(path, &file);
    long before = StatusKiB("VmRSS");
    auto start = std::chrono::steady_clock::now();
    DocWindowRecord* doc = nullptr;
    if (!OpenDocument(&doc, &file, false, -1, 0, 0)) return 1;
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("open %.1f ms  VmRSS before %ld KiB  after %ld KiB  VmHWM %ld KiB\n", ms, before,
                StatusKiB("VmRSS"), StatusKiB("VmHWM"));
    start = std::chrono::steady_clock::now();
    DisposeDocumentRecords(doc);
    ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("dispose %.1f ms  VmRSS %ld KiB\n", ms, StatusKiB("VmRSS"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s make <drawing> <lines> [arcs] | open <drawing>\n", argv[0]);
        return 2;
    }
    LoadAppResources();
    std::string mode = argv[1];
    int result = 2;
    if (mode == "make" && argc >= 4)
        result = Make(argv[2], std::atol(argv[3]), argc >= 5 ? std::atol(argv[4]) : 0);
    else if (mode == "open")
        result = Open(argv[2]);
    DisposePrivateTempFolder();
    return result;
}
