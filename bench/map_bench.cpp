// Loading a binary map of 127 panels from memory: the parse into a new record and its commit over
// the map in force, as `load_map` does after reading the file (console output included, to a
// console with no window).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "console/console.h"
#include "world/map.h"

namespace {

using namespace tam;

// A map file: its name, the eight header bytes, 4 start points and 127 panels.
std::vector<uint8_t> MapFile() {
    std::vector<uint8_t> f = {'b', 'e', 'n', 'c', 'h', 0, 60, 60, 0, 10, 0, 1, 0, 0, 4};
    for (int i = 0; i < 4; ++i) f.insert(f.end(), {uint8_t(i * 8), uint8_t(i * 4)});
    f.push_back(127);
    for (int i = 0; i < 127; ++i)
        f.insert(f.end(), {uint8_t(i - 64), 0, 0, uint8_t(i - 60), 16, 8, 0, 1, 0, uint8_t(i % 8)});
    return f;
}

void BM_LoadMapBytes(benchmark::State& state) {
    ResetWorld();
    ResetConsole();
    const std::vector<uint8_t> file = MapFile();
    for (auto _ : state) benchmark::DoNotOptimize(LoadMapBytes(file));
    if (Map().boxCount != 127) state.SkipWithError("the map did not load");
}
BENCHMARK(BM_LoadMapBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
