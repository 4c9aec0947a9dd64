// What the benchmarks share: the sizes (DRAFTWERK_BENCH_SCALE=0.01 runs them at a hundredth), the
// drawing spread over an A0 sheet, the offscreen shell, and the peak resident memory.
#pragma once

#include "Files/Preferences.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Platform/FileManager.h"
#include "Platform/PlatformApp.h"
#include "Platform/SimulatedInput.h"
#include "Shell/EventLoop.h"
#include "Shell/StartupShutdown.h"
#include "View/TextDrawing.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace bench {

inline int Scaled(int count) {
    const char* scale = std::getenv("DRAFTWERK_BENCH_SCALE");
    double f = scale ? std::atof(scale) : 1.0;
    if (!(f > 0) || f > 1) f = 1.0;
    int n = int(count * f);
    return n > 0 ? n : 1;
}

constexpr Float64 kSheetWidth = 1189, kSheetHeight = 841;

struct Random {
    UInt32 seed = 12345;
    Float64 Next() { // 0..1
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xFFFF) / 65535.0;
    }
    Float64 In(Float64 lo, Float64 hi) { return lo + (hi - lo) * Next(); }
};

// Short lines of all line types, arcs (a third of them full circles) and texts, spread evenly.
inline void FillDrawing(DocWindowRecord* doc, int lines, int arcs, int texts) {
    Random r;
    SeekLastLine(doc);
    for (int i = 0; i < lines; ++i) {
        Float64 x = r.In(0, kSheetWidth), y = r.In(0, kSheetHeight);
        LineRecord* line = AppendLineAtCursor(doc, x, y, x + r.In(-10, 10), y + r.In(-10, 10), false);
        line->lineType = SInt16(1 + i % 6);
    }
    SeekLastArc(doc);
    for (int i = 0; i < arcs; ++i) {
        Float64 start = r.In(0, 360);
        AppendArcAtCursor(doc, r.In(0, kSheetWidth), r.In(0, kSheetHeight), r.In(0.5, 10), start,
                          i % 3 ? start + r.In(10, 300) : start + 360, false);
    }
    TextRecord** slot = &doc->textHead->next;
    while (*slot != nullptr)
        slot = &(*slot)->next;
    const char* words[] = {"Bolt M8", "Section A-A", "Detail 3", "Weld all round", "Scale 1:5"};
    for (int i = 0; i < texts; ++i) {
        TextRecord* t = NewTextElement(doc, slot);
        slot = &t->next;
        const char* w = words[i % 5];
        t->text[0] = UInt8(std::strlen(w));
        std::memcpy(t->text + 1, w, t->text[0]);
        t->layer = doc->settings->currentLayer;
        t->pen = 1;
        t->font = 3;
        t->textHeight = r.In(2.5, 5);
        t->x = t->x2 = r.In(0, kSheetWidth);
        t->y = t->y2 = r.In(0, kSheetHeight);
        Float64 width = TextStringWidth(t->font, 0, t->textHeight, t->text + 1, t->text[0]);
        const Float64 c[8] = {
            t->x, t->y, t->x + width, t->y, t->x + width, t->y + t->textHeight, t->x, t->y + t->textHeight};
        std::memcpy(t->corners, c, sizeof c);
    }
}

// Qt offscreen, once per process, on a screen of 1920 x 1080 (the plugin's own is 800 x 600), so that
// an opened drawing gets the window it would get on a common desktop.
inline void StartPlatform(const char* program) {
    static bool started = false;
    if (started) return;
    started = true;
    char config[] = "/tmp/dw-bench-screen-XXXXXX";
    int fd = std::getenv("QT_QPA_PLATFORM") ? -1 : mkstemp(config);
    if (fd >= 0) {
        const char json[] = R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                            R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        bool written = write(fd, json, sizeof json - 1) == ssize_t(sizeof json - 1);
        close(fd);
        if (written) setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + std::string(config)).c_str(), 1);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[64];
    std::snprintf(name, sizeof name, "%s", program);
    static char* argv[] = {name, nullptr};
    PlatformInitialize(argc, argv);
    if (fd >= 0) unlink(config);
}

// The application as it runs, without its endless loop: windows, menus and hooks; virtual time, so
// that no pass of the loop sleeps.
inline void StartShell(const char* program) {
    static bool started = false;
    if (started) return;
    started = true;
    StartPlatform(program);
    PlatformSetVirtualTime(true);
    InitApplication();
    BeginEventLoop();
    // The stored preferences may ask for the title block of a new drawing: its dialog would wait for
    // an answer no bench gives.
    GeneralPrefs.titleBlockForNewDrawings = 0;
}

// Passes of the event loop until no deferred redraw and no update is left: the window is painted.
inline int RunUntilPainted(DocWindowRecord* doc, int maxPasses = 20) {
    for (int i = 1; i <= maxPasses; ++i) {
        EventLoopPass();
        if (!doc->drawing->view.redrawPending && PlatformInputIdle()) return i;
    }
    return maxPasses;
}

// VmHWM of this process in MB; ResetPeakResident starts it again from the present size.
inline double PeakResidentMB() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    double kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atof(line + 6);
    std::fclose(f);
    return kb / 1024.0;
}

inline void ResetPeakResident() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// The benchmarks' main: every benchmark the command line selects, then the private temporary folder
// goes.
inline int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DisposePrivateTempFolder();
    return 0;
}

} // namespace bench
