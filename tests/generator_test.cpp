// The island generator: heights, hills and start points against injected random sources; the
// emission of land, cliffs and water on crafted grids; and CreateMap's effect on the world.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>

#include "console/commands.h"
#include "console/console.h"
#include "gl_recorder.h"
#include "images/texture.h"
#include "world/generator.h"

namespace tam {
namespace {

using test::Face;
using test::GlRecorder;
using test::N3;
using test::Vtx;

// A small linear congruential source, independent of the program's generator.
RandomSource Lcg(uint32_t seed) {
    auto state = std::make_shared<uint32_t>(seed);
    auto next = [state] {
        *state = *state * 1103515245u + 12345u;
        return static_cast<int32_t>((*state >> 1) & 0x7fffffff);
    };
    return {next, [next](int32_t n) { return n > 0 ? next() % n : 0; }};
}
// Always the smallest or always the largest value.
RandomSource Lowest() { return {[] { return 0; }, [](int32_t) { return 0; }}; }
RandomSource Highest() { return {[] { return 2; }, [](int32_t n) { return n > 0 ? n - 1 : 0; }}; }

int DistSq(int i, int j, int c) { return (i - c) * (i - c) + (j - c) * (j - c); }

TEST(GeneratorHeights, WaterShoreAndClimb) {
    HeightGrid g{}, low{}, high{};
    FillHeights(g, Lcg(7)), FillHeights(low, Lowest()), FillHeights(high, Highest());
    // Outside the circle: water (corners and edge midpoints included); on its rim: shore; inside:
    // a climb from the diagonal neighbour. The lowest source leaves all land at 1.
    float maxStep = 0;
    for (const HeightGrid* grid : {&g, &low, &high})
        for (int i = 0; i < kGridPoints; ++i)
            for (int j = 0; j < kGridPoints; ++j) {
                const HeightGrid& e = *grid;
                const float h = e[i][j], step = h - (i && j ? e[i - 1][j - 1] : 0);
                ASSERT_TRUE(grid != &low || IsWater(e, i, j) || h == 1.0f) << i << "," << j;
                if (DistSq(i, j, 64) >= 4096) {
                    ASSERT_TRUE(IsWater(e, i, j)) << i << "," << j;
                } else if (DistSq(i, j, 65) >= 4096) {
                    ASSERT_TRUE(h >= 1.0f && h <= 1.0795f) << i << "," << j << ": " << h;
                } else {
                    ASSERT_TRUE(step >= 0.0f && step <= 0.3995f) << i << "," << j << ": " << step;
                    if (grid == &g) maxStep = std::max(maxStep, step);
                }
            }
    EXPECT_GT(maxStep, 0.35f);              // the source's spread is actually used
    EXPECT_GT(g[100][100], g[28][28] + 5);  // rises toward high i and j
    // (1, 64) is shore; (2, 65) climbs one step from it, (3, 66) two.
    EXPECT_FLOAT_EQ(high[1][64], 1.079f);
    EXPECT_NEAR(high[2][65], 1.079f + 0.399f, 1e-5);
    EXPECT_NEAR(high[3][66], 1.079f + 2 * 0.399f, 1e-5);
}

// Hills only raise the grid, within the squares their centres (32 to 95 each way) reach, by at
// most five peaks and their noise; a seeded source always raises the same ones. The lowest source
// stacks all five, without noise, into one dome on (32, 32) that falls off to nothing at radius 16.
TEST(GeneratorHeights, HillsRaiseDomesWithinTheirSquaresAndTheirNoiseLiftsWater) {
    HeightGrid base{}, g{}, again{};
    FillHeights(base, Lowest());
    for (uint32_t seed : {1u, 2u, 99u}) {
        g = again = base;
        RaiseHills(g, Lcg(seed)), RaiseHills(again, Lcg(seed));
        EXPECT_EQ(g, again);
        float top = 0;
        for (int i = 0; i < kGridPoints; ++i)
            for (int j = 0; j < kGridPoints; ++j) {
                const float rise = g[i][j] - base[i][j];
                ASSERT_TRUE(rise >= 0 && rise <= 5 * (2.5f + 0.4f) + 1e-4f) << i << "," << j << ": " << rise;
                ASSERT_TRUE(rise == 0 || (std::min(i, j) >= 16 && std::max(i, j) < 112)) << i << "," << j;
                top = std::max(top, rise);
            }
        EXPECT_GE(top, 1.5f) << seed;
        RaiseHills(again = base, Lcg(seed + 1));
        EXPECT_NE(g, again) << seed;
    }
    g = base;
    RaiseHills(g, Lowest());
    std::map<int, float> byDistance;  // squared distance from the dome's centre: rise
    for (int i = 0; i < kGridPoints; ++i)
        for (int j = 0; j < kGridPoints; ++j) {
            const float rise = g[i][j] - base[i][j];
            const int d2 = DistSq(i, j, 32);
            if (d2 >= 256) ASSERT_EQ(rise, 0) << i << "," << j;
            else ASSERT_EQ(byDistance.emplace(d2, rise).first->second, rise) << i << "," << j;
        }
    EXPECT_FLOAT_EQ(byDistance[0], 5 * 1.5f);
    for (auto it = byDistance.begin(); std::next(it) != byDistance.end(); ++it)
        EXPECT_GT(it->second, std::next(it)->second) << it->first;
    EXPECT_LT(byDistance.rbegin()->second, 0.5f);

    FillHeights(g, Lowest());
    RaiseHills(g, Highest());  // five hills at (95, 95), peak 2.5, noise 0.4 each
    EXPECT_NEAR(g[95][95], 1.0f + 5 * (0.4f + 2.5f), 1e-4);
    EXPECT_FALSE(IsWater(g, 110, 110));
    EXPECT_NEAR(g[110][110], -10.0f + 5 * 0.4f, 1e-5);
    EXPECT_TRUE(IsWater(g, 111, 111) && IsWater(g, 110, 111));
}

TEST(GeneratorStartPoints, CountsAndPlaces) {
    MapState map;
    auto draws = std::make_shared<int>(0);
    const RandomSource rng{[draws] { return (*draws)++; }, Lcg(3).below};
    for (int expected : {0, 3, 6, 0, 3, 6}) {
        map.startPoints[5] = {7, 7};
        GenerateStartPoints(map, rng);
        ASSERT_EQ(map.startPointCount, expected);
        EXPECT_TRUE(expected != 3 || map.startPoints[5].x == 7);  // past the count: untouched
        for (int k = 0; k < map.startPointCount; ++k)
            EXPECT_LT(DistSq(map.startPoints[k].x, map.startPoints[k].y, 64), 4096);
    }
    // The widest radius reaches toward every side. 90 degrees as a 32-bit float lies just past a
    // right angle: both coordinates fall just short of whole numbers and truncate down.
    for (auto [r, a, x, y] : {std::array{0, 123, 64, 64}, {61, 0, 125, 64}, {61, 90, 63, 124},
                              {61, 180, 3, 63}, {61, 225, 20, 20}, {61, 270, 64, 3}}) {
        const StartPoint p = IslandStartPoint(r, a);
        EXPECT_EQ(std::tuple(int(p.x), int(p.y)), std::tuple(x, y)) << r << " " << a;
    }
}

// Land triangles, then cliff quads facing south, west, north and east.
using N5 = std::array<size_t, 5>;
N5 Counts(const std::vector<Face>& f) {
    return {Select(f, GL_TRIANGLES, {0, 0, 1}).size(), Select(f, GL_QUADS, {0, -1, 0}).size(),
            Select(f, GL_QUADS, {-1, 0, 0}).size(), Select(f, GL_QUADS, {0, 1, 0}).size(),
            Select(f, GL_QUADS, {1, 0, 0}).size()};
}

const std::array<uint32_t, 8> kTextures{10, 11, 12, 13, 14, 15, 16, 17};

// Emits a grid at height `h` after `edit` has shaped it; returns the faces drawn.
std::vector<Face> EmitGrid(float h, void (*edit)(HeightGrid&), GlRecorder& rec, float offset = 0) {
    auto g = std::make_unique<HeightGrid>();
    for (auto& row : *g) row.fill(h);
    edit(*g);
    gl::ScopedBackend sb(&rec);
    EmitIsland(*g, offset, offset, kTextures);
    return Faces(rec);
}

TEST(GeneratorEmit, PlateauGetsSurfaceAndFourCliffsOverTheWaterPlaneAlone) {
    GlRecorder rec;
    const auto faces = EmitGrid(kWaterLevel, [](HeightGrid& g) {
        g[10][10] = 2, g[11][10] = 3, g[10][11] = 4, g[11][11] = 5;
    }, rec, 1.0f);
    // White first; land, cliff and water textures, and the first texture bound again at the end.
    ASSERT_EQ(rec.Seq(0, 1), (std::vector<test::Call>{{"Color3f", {1, 1, 1}}}));
    std::vector<double> binds;
    for (const auto& c : rec.Named("BindTexture")) binds.push_back(c.args[1]);
    EXPECT_EQ(binds, (std::vector<double>{15, 14, 13, 10}));
    EXPECT_EQ(rec.calls.back().name, "BindTexture");
    // The rest of the grid is water and draws nothing but the one water plane.
    ASSERT_EQ(faces.size(), 2u + 4u + 1u);
    using V = std::vector<Vtx>;
    const Face want[] = {
        {GL_TRIANGLES, 15, {0, 0, 1}, {{0, 0, 10, 10, 2}, {1, 0, 11, 10, 3}, {1, 1, 11, 11, 5}}},
        {GL_QUADS, 14, {0, -1, 0}, {{0, 0, 10, 10, 2}, {0, -10, 10, 10, -10}, {1, -10, 11, 10, -10}, {1, 0, 11, 10, 3}}},
        {GL_QUADS, 14, {0, 1, 0}, {{0, 0, 10, 11, 4}, {1, 0, 11, 11, 5}, {1, -10, 11, 11, -10}, {0, -10, 10, 11, -10}}},
        {GL_QUADS, 14, {-1, 0, 0}, {{0, 0, 10, 10, 2}, {0, -10, 10, 10, -10}, {1, -10, 10, 11, -10}, {1, 0, 10, 11, 4}}},
        {GL_QUADS, 14, {1, 0, 0}, {{0, 0, 11, 10, 3}, {1, 0, 11, 11, 5}, {1, -10, 11, 11, -10}, {0, -10, 11, 10, -10}}},
        {GL_QUADS, 13, {0, 0, 1}, {{-31, -31, -128, -128, -10}, {65, -31, 256, -128, -10}, {65, 65, 256, 256, -10},
                                   {-31, 65, -128, 256, -10}}}};
    for (const auto& w : want) {
        const auto side = Select(faces, w.mode, w.n);
        ASSERT_EQ(side.size(), w.mode == GL_TRIANGLES ? 2u : 1u) << w.n[0] << "," << w.n[1];
        EXPECT_EQ(std::pair(side[0].texture, side[0].v), std::pair(w.texture, w.v)) << w.n[0] << "," << w.n[1];
    }
    EXPECT_EQ(Select(faces, GL_TRIANGLES, {0, 0, 1})[1].v, (V{{1, 1, 11, 11, 5}, {0, 1, 10, 11, 4}, {0, 0, 10, 10, 2}}));
}

TEST(GeneratorEmit, CliffsFaceTheWaterSideOnly) {
    GlRecorder rec, strips;
    const auto faces = EmitGrid(1.5f, [](HeightGrid& g) { g[51][51] = kWaterLevel; }, rec);
    // The grid's own borders face outward; the lone water point gets two faces on each side.
    EXPECT_EQ(Counts(faces), (N5{2u * (128 * 128 - 4), 128 + 2, 128 + 2, 2, 2}));
    for (const auto& f : Select(faces, GL_TRIANGLES, {0, 0, 1}))
        for (const auto& v : f.v) ASSERT_FALSE(v[2] == 51 && v[3] == 51);
    // The cell (50, 50), whose corner (51, 51) alone is water.
    std::vector<std::pair<N3, Vtx>> corner;
    for (const auto& f : faces)
        if (f.mode == GL_QUADS && f.v[0][2] == 50 && f.v[0][3] == 50) corner.push_back({f.n, f.v[1]});
    std::sort(corner.begin(), corner.end());
    EXPECT_EQ(corner, (decltype(corner){{{0, 1, 0}, {1, 0, 51, 50, 1.5f}}, {{1, 0, 0}, {1, 0, 50, 51, 1.5f}}}));
    // Land strips along x and y with water on both sides: only the low faces.
    EXPECT_EQ(Counts(EmitGrid(kWaterLevel, [](HeightGrid& g) {
                  for (int k = 0; k < kGridPoints; ++k) g[k][20] = g[40][k] = 1;
              }, strips)), (N5{0, 128, 128, 0, 0}));
}

// GL that hands out no list name.
struct NoListRecorder : GlRecorder {
    GLuint GenLists(GLsizei range) override { return GlRecorder::GenLists(range) * 0; }
};

TEST(GeneratorCreateMap, EachMapReplacesTheListDrawnFromTheStoredHeightsAndNoListNameKeepsIt) {
    ResetWorld();
    ResetConsole();
    ResetInterpreter();
    ResetGenerator();
    ResetTextures();
    Tex().WorldTextures = kTextures;
    Map().name = "arena", Map().boxCount = 2, Map().floorHalfWidth = 20, Map().gravity = 3;
    World().no_clip = 1;
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    EXPECT_TRUE(CreateMap());
    // The list draws the land the stored heights hold (collision reads them), and one water plane.
    const HeightGrid& h = Gen().heights;
    size_t landCells = 0;
    for (int i = 0; i < 128; ++i)
        for (int j = 0; j < 128; ++j)
            landCells += !IsWater(h, i, j) && !IsWater(h, i + 1, j) && !IsWater(h, i, j + 1) && !IsWater(h, i + 1, j + 1);
    EXPECT_GT(landCells, 12000u);
    EXPECT_EQ(Select(Faces(rec), GL_TRIANGLES, {0, 0, 1}).size(), 2 * landCells);
    const auto water = Select(Faces(rec), GL_QUADS, {0, 0, 1});
    ASSERT_EQ(water.size(), 1u);
    EXPECT_EQ(water[0].v[0], (Vtx{-31, -31, -128, -128, -10}));
    // Three maps leave one list: each new one replaces the one before.
    for (int n = 0; n < 2; ++n) EXPECT_TRUE(CreateMap());
    ASSERT_EQ(rec.Count("GenLists"), 3u);
    std::string deleted;
    for (const auto& c : rec.Named("DeleteLists")) deleted += testing::PrintToString(c.args);
    EXPECT_EQ(deleted, "{ 1, 1 }{ 2, 1 }");
    EXPECT_EQ(std::tuple(World().terrainList, World().terrainMode), std::tuple(3u, true));
    EXPECT_EQ(World().no_clip, 0);
    EXPECT_EQ(std::tuple(Map().scrollOffsetX, Map().scrollOffsetY), std::tuple(1.0f, 1.0f));
    // The rest of the map record is kept.
    EXPECT_EQ(std::tuple(Map().name, Map().boxCount, Map().floorHalfWidth, Map().gravity), std::tuple("arena", 2, 20, 3));

    // Without a list name the island in place stays, and nothing else changes either.
    World().terrainMode = false, World().no_clip = 1, Map().scrollOffsetX = 0;
    NoListRecorder none;
    gl::ScopedBackend noneSb(&none);
    EXPECT_TRUE(CreateMap());
    EXPECT_EQ(none.Count("NewList") + none.Count("DeleteLists"), 0u);
    EXPECT_EQ(std::tuple(World().terrainList, World().terrainMode, World().no_clip, Map().scrollOffsetX),
              std::tuple(3u, false, 1, 0.0f));
}

}  // namespace
}  // namespace tam
