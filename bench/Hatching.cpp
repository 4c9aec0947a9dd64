// Hatching an outline of 10,000 vertices over a metre at 1 mm spacing: a jagged round outline (a few
// crossings a line, many vertices passed), and a comb whose every line crosses thousands of edges.
#include "BenchDrawings.h"
#include "View/Hatching.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

const int kVertices = bench::Scaled(10000);

void Count(void* context, Float64, Float64, Float64, Float64, void*) {
    ++*static_cast<long*>(context);
}

// A round outline of 1 m across whose radius alternates between 500 and 480 mm.
void JaggedRound(std::vector<Float64>* xs, std::vector<Float64>* ys) {
    for (int i = 0; i < kVertices; ++i) {
        Float64 a = 2 * M_PI * i / kVertices, r = i % 2 ? 480 : 500;
        xs->push_back(500 + r * std::cos(a));
        ys->push_back(500 + r * std::sin(a));
    }
}

// A comb 1 m wide and high: a base and kVertices / 4 teeth, so every line across the teeth crosses
// half the vertices' edges.
void Comb(std::vector<Float64>* xs, std::vector<Float64>* ys) {
    int teeth = std::max(1, kVertices / 4);
    Float64 pitch = 1000.0 / teeth;
    auto add = [&](Float64 x, Float64 y) { xs->push_back(x), ys->push_back(y); };
    add(0, 0);
    add(1000, 0);
    for (int i = teeth - 1; i >= 0; --i) {
        add(pitch * i + pitch / 2, 20);
        add(pitch * i + pitch / 2, 1000);
        add(pitch * i, 1000);
        add(pitch * i, 20);
    }
}

void Run(benchmark::State& state, void (*make)(std::vector<Float64>*, std::vector<Float64>*), Float64 angle) {
    std::vector<Float64> xs, ys;
    make(&xs, &ys);
    HatchRing ring{xs.data(), ys.data(), int(xs.size())};
    long segments = 0;
    for (auto _ : state) {
        segments = 0;
        HatchRings(&ring, 1, angle, 1.0, nullptr, &segments, nullptr, Count);
        benchmark::DoNotOptimize(segments);
    }
    state.counters["segments"] = Float64(segments);
    state.SetLabel("goal < 100 ms");
}

void HatchJaggedRound(benchmark::State& state) {
    Run(state, JaggedRound, 30);
}

void HatchComb(benchmark::State& state) {
    Run(state, Comb, 0);
}

} // namespace

BENCHMARK(HatchJaggedRound)->Unit(benchmark::kMillisecond);
BENCHMARK(HatchComb)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
