// The cost of one island: the height grid alone, the emission of its display list alone (into a
// GL stand-in that only counts), and the whole CreateMap.
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/gl_recorder.h"
#include "console/console.h"
#include "world/generator.h"

namespace tam {
namespace {

// Counts the per-vertex calls instead of recording them; the few list calls are still recorded.
class CountingBackend : public test::GlRecorder {
public:
    int64_t vertices = 0;
    void Begin(GLenum) override {}
    void End() override {}
    void Vertex3f(GLfloat, GLfloat, GLfloat) override { ++vertices; }
    void TexCoord2f(GLfloat, GLfloat) override {}
    void Normal3f(GLfloat, GLfloat, GLfloat) override {}
    void Color3f(GLfloat, GLfloat, GLfloat) override {}
    void BindTexture(GLenum, GLuint) override {}
};

// A source with real spread, so the grid has the shape of a typical island whatever the
// program's own generator is.
RandomSource Spread() {
    auto state = std::make_shared<uint32_t>(12345u);
    auto next = [state] {
        *state = *state * 1103515245u + 12345u;
        return static_cast<int32_t>((*state >> 1) & 0x7fffffff);
    };
    return {next, [next](int32_t n) { return n > 0 ? next() % n : 0; }};
}

void BM_GenerateHeights(benchmark::State& state) {
    auto grid = std::make_unique<HeightGrid>();
    const RandomSource rng = ProgramRandom();
    for (auto _ : state) {
        GenerateHeights(*grid, rng);
        benchmark::DoNotOptimize(grid->data());
    }
}
BENCHMARK(BM_GenerateHeights)->Unit(benchmark::kMicrosecond);

void BM_EmitIsland(benchmark::State& state) {
    auto grid = std::make_unique<HeightGrid>();
    GenerateHeights(*grid, Spread());
    CountingBackend gl;
    gl::ScopedBackend sb(&gl);
    const std::array<uint32_t, 8> textures{1, 2, 3, 4, 5, 6, 7, 8};
    for (auto _ : state) {
        gl.vertices = 0;
        EmitIsland(*grid, 1.0f, 1.0f, textures);
    }
    state.counters["vertices"] = static_cast<double>(gl.vertices);
}
BENCHMARK(BM_EmitIsland)->Unit(benchmark::kMicrosecond);

void BM_CreateMap(benchmark::State& state) {
    ResetWorld();
    ResetConsole();
    CountingBackend gl;
    gl::ScopedBackend sb(&gl);
    for (auto _ : state) {
        gl.calls.clear();
        gl.vertices = 0;
        CreateMap();
    }
    state.counters["vertices"] = static_cast<double>(gl.vertices);
}
BENCHMARK(BM_CreateMap)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tam
