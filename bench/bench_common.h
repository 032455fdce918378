// Shared by the benchmarks: CPU time of the calling thread, and a map of 127 panels.
#pragma once

#include <ctime>

#include "app/players.h"
#include "console/commands.h"
#include "console/settings.h"
#include "world/map.h"

namespace tam::bench {

// CPU seconds used by the calling thread, so a busy machine skews a measurement less.
inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Fresh world, players, settings and interpreter, and 127 panels 16 long scattered over the map
// on a fixed pseudo-random pattern, alternately along x and y, all spanning the feet.
inline void FillMapWithPanels() {
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

}  // namespace tam::bench
