// Symbol libraries: 1,000 symbols of 100 elements each copied into a new library one by one, then
// every one of them read back (goal: each under 1 s); the file size is reported.
#include "BenchDrawings.h"
#include "Files/SymbolLibrary.h"
#include "Model/ElementRecords.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>
#include <sys/stat.h>

namespace {

const int kSymbols = bench::Scaled(1000);
constexpr int kElements = 100;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// 60 lines, 30 arcs and 10 texts.
SymbolDefRecord* MakeSymbol(int n) {
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    std::snprintf(reinterpret_cast<char*>(def->name) + 1, 19, "Symbol %04d", n);
    def->name[0] = UInt8(std::strlen(reinterpret_cast<char*>(def->name) + 1));
    bench::Random r;
    r.seed = UInt32(n + 1);
    for (int i = 0; i < kElements; ++i) {
        if (i < 60) {
            LineRecord* l = NewLineRecord();
            l->x1 = r.In(0, 10), l->y1 = r.In(0, 10), l->x2 = r.In(0, 10), l->y2 = r.In(0, 10), l->pen = 1;
            l->next = def->lineHead->next, def->lineHead->next = l;
        } else if (i < 90) {
            ArcRecord* a = NewArcRecord();
            a->cx = r.In(0, 10), a->cy = r.In(0, 10), a->radius = r.In(0.5, 3), a->endAngle = 360, a->pen = 1;
            a->next = def->arcHead->next, def->arcHead->next = a;
        } else {
            TextRecord* t = NewTextRecord();
            t->x = r.In(0, 10), t->y = r.In(0, 10), t->pen = 1;
            t->text[0] = 4, std::memcpy(t->text + 1, "M6x1", 4);
            t->next = def->textHead->next, def->textHead->next = t;
        }
    }
    def->maxX = def->maxY = 10;
    return def;
}

void CopyAndReadBack(benchmark::State& state) {
    for (auto _ : state) {
        InitSymbolLibraryList();
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        FSRef folder, file;
        GetPrivateTempFolder(&folder);
        FSMakeChildRef(&folder, "Bench.lib", &file);
        CreateSymbolLibrary(&file);
        OpenSymbolLibraryFile(&file);
        std::vector<SymbolDefRecord*> defs;
        for (int i = 0; i < kSymbols; ++i)
            defs.push_back(MakeSymbol(i));

        auto start = std::chrono::steady_clock::now();
        for (SymbolDefRecord* def : defs)
            CopySymbolsToLibrary(&def, 1, nullptr, nullptr);
        double copy = Seconds(start);

        start = std::chrono::steady_clock::now();
        int read = 0;
        for (SInt16 i = 0; i < SymbolLibraryList.count; ++i) {
            SymbolDefRecord* back = nullptr;
            if (ReadLibrarySymbol(doc, i, &back) == noErr) ++read;
            DisposeSymbolDefRecord(&back);
        }
        double readBack = Seconds(start);
        struct stat st {};
        stat(file.path, &st);
        state.counters["copy_s"] = copy;
        state.counters["read_s"] = readBack;
        state.counters["symbols"] = read;
        state.counters["file_MB"] = double(st.st_size) / 1e6;
        state.SetLabel("goal: copy and read each under 1 s");
        for (SymbolDefRecord*& d : defs)
            DisposeSymbolDefRecord(&d);
        DisposeDocumentRecords(doc);
        DisposeSymbolLibraryList();
        FSDeleteObject(&file);
    }
}

} // namespace

BENCHMARK(CopyAndReadBack)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
