// One panel's slab test on its own, and one frame's movement of the player with collision against
// a full map of 127 panels. The second reports its time as a multiple of the first, measured
// just before in the same run (counter one_panel_x; CPU time, so a busy machine skews it less).
#include <benchmark/benchmark.h>

#include "app/collision.h"
#include "bench_common.h"

namespace {

using namespace tam;
using tam::bench::ThreadSeconds;

double onePanelSeconds = 0;  // CPU seconds per one-panel test, from the latest run of it

void BM_CollideWithOnePanel(benchmark::State& state) {
    MapBox b;
    b.x2 = 10;
    b.z1 = -2;
    b.z2 = 8;
    b.ny = 1;
    float px = 5, py = 2;
    const double start = ThreadSeconds();
    for (auto _ : state) {
        px = 5;
        py = 2;
        CollideWithBox(5, 5, px, py, b, 0, 3.0f);
        benchmark::DoNotOptimize(py);
    }
    onePanelSeconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CollideWithOnePanel);

void BM_MovePlayer127Panels(benchmark::State& state) {
    bench::FillMapWithPanels();
    PlayerRecord& p = Plr().Players[0];
    p.moveForward = 1;
    p.yawRate = 7.0f;
    const double start = ThreadSeconds();
    for (auto _ : state) {
        MovePlayer(0, 0.016f);
        benchmark::DoNotOptimize(p.x);
    }
    const double seconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
    if (onePanelSeconds > 0) state.counters["one_panel_x"] = seconds / onePanelSeconds;
}
BENCHMARK(BM_MovePlayer127Panels);

}  // namespace
