// Saving and opening a drawing of 1,000,000 lines and 100,000 arcs in the native format, through
// the safe save (temporary file, sync, exchange) and the full reader; and opening a saved drawing as
// the user does, in a window, until the event loop has painted it.
#include "BenchDrawings.h"
#include "View/ContentPasses.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Files/PdfOutput.h"
#include "View/ZoomExtents.h"
#include "Model/NewDocument.h"
#include "Tools/ToolState.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int kLines = bench::Scaled(1000000);
const int kArcs = bench::Scaled(100000);

DocWindowRecord* gDrawing = nullptr;
FSRef gFile;
std::string gFolder;

DocWindowRecord* LargeDrawing() {
    if (gDrawing != nullptr) return gDrawing;
    NewDocument(&gDrawing, nullptr, 0);
    SeekLastLine(gDrawing);
    for (int i = 0; i < kLines; ++i)
        AppendLineAtCursor(gDrawing, i * 0.01, i % 1000, i * 0.01 + 5, i % 997, false);
    SeekLastArc(gDrawing);
    for (int i = 0; i < kArcs; ++i)
        AppendArcAtCursor(gDrawing, i * 0.1, i % 500, 1 + i % 7, 0, 360, false);
    FSRef folder;
    GetPrivateTempFolder(&folder);
    FSMakeRef((std::string(folder.path) + "/large.cadx").c_str(), &gFile);
    gDrawing->drawing->file = gFile;
    gDrawing->settings->keepBackup = false;
    return gDrawing;
}

// The drawings the open benches read, written by a child process before this one starts Qt, so
// that the peak memory of an open is the open's own.
std::string PaintedFile(bool withArcs) {
    return gFolder + (withArcs ? "/lines-arcs.cadx" : "/lines.cadx");
}

bool WriteDrawingsForOpen() {
    char folder[] = "/tmp/dw-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    gFolder = folder;
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        bool ok = true;
        for (bool withArcs : {false, true}) {
            DocWindowRecord* doc = nullptr;
            NewDocument(&doc, nullptr, 0);
            bench::FillDrawing(doc, kLines, withArcs ? kArcs : 0, 0);
            FSMakeRef(PaintedFile(withArcs).c_str(), &doc->drawing->file);
            doc->settings->keepBackup = false;
            ok = ok && SaveDocument(doc, false, false, false, false, false);
            DisposeDocumentRecords(doc);
        }
        DisposePrivateTempFolder();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// OpenDocument in a real offscreen window, the tool reset the shell does after it, then the loop's
// passes until the first paint is done.
void OpenUntilPainted(benchmark::State& state, bool withArcs, const char* goal) {
    bench::StartShell("bench_NativeFile");
    FSRef file;
    if (FSMakeRef(PaintedFile(withArcs).c_str(), &file) != noErr || !FSRefExists(&file)) {
        state.SkipWithError("no drawing was written");
        return;
    }
    malloc_trim(0);
    bench::ResetPeakResident();
    double before = bench::PeakResidentMB();
    int passes = 0;
    UInt32 paints = 0;
    for (auto _ : state) {
        gWindowRedrawCount = 0;
        DocWindowRecord* opened = nullptr;
        if (!OpenDocument(&opened, &file, false, -1, 0, 0)) {
            state.SkipWithError("open failed");
            break;
        }
        CancelPendingCommand(opened);
        passes = bench::RunUntilPainted(opened);
        paints = gWindowRedrawCount;
        state.PauseTiming();
        state.counters["viewWidth"] = opened->drawing->view.viewWidth;
        state.counters["viewHeight"] = opened->drawing->view.viewHeight;
        DisposeDocumentWindow(opened);
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.counters["elements"] = kLines + (withArcs ? kArcs : 0);
    state.counters["loopPasses"] = passes;
    state.counters["paints"] = paints;
    state.counters["peakRSS_MB"] = bench::PeakResidentMB();
    state.counters["startRSS_MB"] = before;
    state.SetLabel(goal);
}

void BM_OpenLinesUntilPainted(benchmark::State& state) {
    OpenUntilPainted(state, false, "goal <= 1.0 s, peakRSS <= 250 MB");
}
BENCHMARK(BM_OpenLinesUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenLinesArcsUntilPainted(benchmark::State& state) {
    OpenUntilPainted(state, true, "goal <= 0.8 s");
}
BENCHMARK(BM_OpenLinesArcsUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveLargeDrawing(benchmark::State& state) {
    DocWindowRecord* doc = LargeDrawing();
    for (auto _ : state)
        if (!SaveDocument(doc, false, false, false, false, false)) state.SkipWithError("save failed");
    state.SetLabel("goal <= 250 ms, preview included");
    struct stat st;
    if (stat(gFile.path, &st) == 0) state.counters["file MB"] = double(st.st_size) / 1e6;
}
BENCHMARK(BM_SaveLargeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

// The preview picture a save stores, alone: the drawing's extents in 512 x 512 pixels.
void BM_SavePreviewPicture(benchmark::State& state) {
    DocWindowRecord* doc = LargeDrawing();
    Float64 x1, y1, x2, y2;
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0);
    for (auto _ : state)
        MakePreviewPicture(doc, x1, y1, x2, y2, false);
    state.SetLabel("part of the save's goal");
}
BENCHMARK(BM_SavePreviewPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

// The reader alone, without a window.
void BM_OpenLargeDrawing(benchmark::State& state) {
    DocWindowRecord* doc = LargeDrawing();
    if (!FSRefExists(&gFile)) SaveDocument(doc, false, false, false, false, false);
    for (auto _ : state) {
        DocWindowRecord* opened = nullptr;
        if (!OpenDocument(&opened, &gFile, false, -1, 0, 0)) {
            state.SkipWithError("open failed");
            break;
        }
        state.PauseTiming();
        DisposeDocumentRecords(opened);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bool written = WriteDrawingsForOpen();
    if (!written) std::fprintf(stderr, "the drawings to open could not be written\n");
    benchmark::RunSpecifiedBenchmarks();
    if (gDrawing != nullptr) DisposeDocumentRecords(gDrawing);
    for (bool withArcs : {false, true})
        unlink(PaintedFile(withArcs).c_str());
    if (!gFolder.empty()) rmdir(gFolder.c_str());
    DisposePrivateTempFolder();
    return 0;
}
