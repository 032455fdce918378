// The frame loop's simulation step (SimulateFrame) on a map of 127 panels: alone, while a
// recording keeps every frame, and while a timedemo replays a long demo. The last two report
// their time as a multiple of the first, measured just before in the same run (counters
// recording_x and playing_x; CPU time, so a busy machine skews them less).
#include <benchmark/benchmark.h>

#include "app/demo.h"
#include "bench_common.h"

namespace {

using namespace tam;
using tam::bench::ThreadSeconds;

constexpr float kFrameTime = 0.016f;
// Every benchmark walks the same round of frames from the same start again and again: a step's
// cost depends on where the player is.
constexpr size_t kRound = 4096;
PlayerRecord startRecord;

double aloneSeconds = 0;  // CPU seconds per step without a demo, from the latest run

// One walking player on the benchmarks' 127 panels.
void Setup() {
    bench::FillMapWithPanels();
    ResetDemos();
    Plr().PlayerCount = 1;
    Plr().Players[0].moveForward = 1;
    startRecord = Plr().Players[0];
}

// The frame loop's step of round frame `i`, back at the start when a round begins.
void Step(size_t i) {
    if (i % kRound == 0) Plr().Players[0] = startRecord;
    SimulateFrame(kFrameTime, 3, -1);
    benchmark::DoNotOptimize(Plr().Players[0].x);
}

void Report(benchmark::State& state, double start, const char* counter) {
    const double seconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
    if (aloneSeconds > 0) state.counters[counter] = seconds / aloneSeconds;
}

void BM_SimulateFrameAlone(benchmark::State& state) {
    Setup();
    size_t i = 0;
    const double start = ThreadSeconds();
    for (auto _ : state) Step(i++);
    aloneSeconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SimulateFrameAlone);

void BM_SimulateFrameRecording(benchmark::State& state) {
    Setup();
    DemoState& d = Demos();
    d.mode = DemoMode::Recording;
    d.writer.Begin(DemoStart{});
    size_t i = 0;
    const double start = ThreadSeconds();
    for (auto _ : state) Step(i++);
    Report(state, start, "recording_x");
    ResetDemos();
}
BENCHMARK(BM_SimulateFrameRecording);

void BM_SimulateFrameTimedemo(benchmark::State& state) {
    Setup();
    DemoState& d = Demos();
    d.mode = DemoMode::Timing;
    d.demo.frames.assign(kRound, DemoFrame{kFrameTime, 3, -1, 0, 0});
    size_t i = 0;
    const double start = ThreadSeconds();
    for (auto _ : state) {
        if (d.next == kRound) d.next = 0;  // round again instead of ending
        Step(i++);
    }
    Report(state, start, "playing_x");
    ResetDemos();
}
BENCHMARK(BM_SimulateFrameTimedemo);

}  // namespace
