// One panel's slab test on its own, and one frame's movement of the player with collision against
// a full map of 127 panels. The second reports its time as a multiple of the first, measured
// just before in the same run (counter one_panel_x; CPU time, so a busy machine skews it less).
#include <benchmark/benchmark.h>

#include <ctime>

#include "app/collision.h"
#include "app/players.h"
#include "console/commands.h"
#include "console/settings.h"
#include "world/map.h"

namespace {

using namespace tam;

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double onePanelSeconds = 0;  // CPU seconds per one-panel test, from the latest run of it

// 127 panels scattered over the map on a fixed pseudo-random pattern, all spanning the feet.
void FillMap() {
    ResetWorld();
    ResetPlayers();
    ResetSettings();
    ResetInterpreter();
    MapState& m = Map();
    m.boxCount = 127;
    for (int i = 0; i < 127; ++i) {
        MapBox& b = m.boxes[static_cast<size_t>(i)];
        b.x1 = static_cast<int8_t>(RandomBelow(200) - 100);
        b.y1 = static_cast<int8_t>(RandomBelow(200) - 100);
        const bool alongX = i % 2 == 0;
        b.x2 = static_cast<int8_t>(b.x1 + (alongX ? 16 : 0));
        b.y2 = static_cast<int8_t>(b.y1 + (alongX ? 0 : 16));
        b.z1 = -2;
        b.z2 = 8;
        b.nx = alongX ? 0.0f : 1.0f;
        b.ny = alongX ? 1.0f : 0.0f;
    }
}

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
    FillMap();
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
