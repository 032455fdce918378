// The island generator: start points, the height grid with its shore, climb and hills, and the
// display list holding land, cliffs and water. Heights are computed in double precision and
// stored as 32-bit floats, one rounding per step.
#include "world/generator.h"

#include <cmath>
#include <numbers>

#include "console/console.h"
#include "base/cp1251.h"
#include "images/texture.h"
#include "render/gl_api.h"

namespace tam {
namespace {

constexpr int kCells = kGridPoints - 1;
constexpr int kRadiusSquared = kIslandRadius * kIslandRadius;
constexpr int kStartPointSpread = kIslandRadius - 2;  // radii 0..61
constexpr int kHillRadiusSquared = kHillHalfSize * kHillHalfSize;
// The water plane: its extent in world units and its texture coordinates (four units a tile).
constexpr float kWaterLow = -128.0f;
constexpr float kWaterHigh = 256.0f;
constexpr float kWaterTexLow = -32.0f;
constexpr float kWaterTexHigh = 64.0f;

int Square(int v) { return v * v; }

void EmitLand(gl::Backend& g, const HeightGrid& h) {
    g.Begin(GL_TRIANGLES);
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            if (IsWater(h, i, j) || IsWater(h, i + 1, j) || IsWater(h, i, j + 1) ||
                IsWater(h, i + 1, j + 1))
                continue;
            const float x0 = static_cast<float>(i), x1 = static_cast<float>(i + 1);
            const float y0 = static_cast<float>(j), y1 = static_cast<float>(j + 1);
            g.Normal3f(0, 0, 1);
            g.TexCoord2f(0, 0), g.Vertex3f(x0, y0, h[i][j]);
            g.TexCoord2f(1, 0), g.Vertex3f(x1, y0, h[i + 1][j]);
            g.TexCoord2f(1, 1), g.Vertex3f(x1, y1, h[i + 1][j + 1]);
            g.TexCoord2f(1, 1), g.Vertex3f(x1, y1, h[i + 1][j + 1]);
            g.TexCoord2f(0, 1), g.Vertex3f(x0, y1, h[i][j + 1]);
            g.TexCoord2f(0, 0), g.Vertex3f(x0, y0, h[i][j]);
        }
    }
    g.End();
}

// One cliff face from the land edge (ai, aj)-(bi, bj) down to the water line. `lowSide` picks the
// vertex order used for faces toward smaller coordinates; t runs 0 at the edge to -10 at the
// water line, whatever the cliff's height.
void EmitCliffFace(gl::Backend& g, const HeightGrid& h, int ai, int aj, int bi, int bj,
                   float nx, float ny, bool lowSide) {
    const float ax = static_cast<float>(ai), ay = static_cast<float>(aj);
    const float bx = static_cast<float>(bi), by = static_cast<float>(bj);
    g.Normal3f(nx, ny, 0);
    g.TexCoord2f(0, 0), g.Vertex3f(ax, ay, h[ai][aj]);
    if (lowSide) {
        g.TexCoord2f(0, kWaterLevel), g.Vertex3f(ax, ay, kWaterLevel);
        g.TexCoord2f(1, kWaterLevel), g.Vertex3f(bx, by, kWaterLevel);
        g.TexCoord2f(1, 0), g.Vertex3f(bx, by, h[bi][bj]);
    } else {
        g.TexCoord2f(1, 0), g.Vertex3f(bx, by, h[bi][bj]);
        g.TexCoord2f(1, kWaterLevel), g.Vertex3f(bx, by, kWaterLevel);
        g.TexCoord2f(0, kWaterLevel), g.Vertex3f(ax, ay, kWaterLevel);
    }
}

void EmitCliffs(gl::Backend& g, const HeightGrid& h) {
    g.Begin(GL_QUADS);
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            if (IsWater(h, i, j)) continue;  // both edges start here
            if (!IsWater(h, i + 1, j)) {
                if (j == 0 || IsWater(h, i, j - 1) || IsWater(h, i + 1, j - 1))
                    EmitCliffFace(g, h, i, j, i + 1, j, 0, -1, true);
                else if (IsWater(h, i, j + 1) || IsWater(h, i + 1, j + 1))
                    EmitCliffFace(g, h, i, j, i + 1, j, 0, 1, false);
            }
            if (!IsWater(h, i, j + 1)) {
                if (i == 0 || IsWater(h, i - 1, j) || IsWater(h, i - 1, j + 1))
                    EmitCliffFace(g, h, i, j, i, j + 1, -1, 0, true);
                else if (IsWater(h, i + 1, j) || IsWater(h, i + 1, j + 1))
                    EmitCliffFace(g, h, i, j, i, j + 1, 1, 0, false);
            }
        }
    }
    g.End();
}

void EmitWater(gl::Backend& g, float ox, float oy) {
    g.Begin(GL_QUADS);
    g.Normal3f(0, 0, 1);
    g.TexCoord2f(kWaterTexLow + ox, kWaterTexLow + oy);
    g.Vertex3f(kWaterLow, kWaterLow, kWaterLevel);
    g.TexCoord2f(kWaterTexHigh + ox, kWaterTexLow + oy);
    g.Vertex3f(kWaterHigh, kWaterLow, kWaterLevel);
    g.TexCoord2f(kWaterTexHigh + ox, kWaterTexHigh + oy);
    g.Vertex3f(kWaterHigh, kWaterHigh, kWaterLevel);
    g.TexCoord2f(kWaterTexLow + ox, kWaterTexHigh + oy);
    g.Vertex3f(kWaterLow, kWaterHigh, kWaterLevel);
    g.End();
}

}  // namespace

RandomSource ProgramRandom() {
    return {[] { return RandomDraw(); }, [](int32_t n) { return RandomBelow(n); }};
}

GeneratorState& Gen() {
    static GeneratorState state;
    return state;
}
void ResetGenerator() { Gen() = GeneratorState{}; }

StartPoint IslandStartPoint(int32_t radius, int32_t degrees) {
    const float r = static_cast<float>(radius);
    const float a = static_cast<float>(degrees * std::numbers::pi / 180.0);
    const double x = std::cos(static_cast<double>(a)) * r + kIslandCentre;
    const double y = std::sin(static_cast<double>(a)) * r + kIslandCentre;
    return {static_cast<int8_t>(static_cast<int>(x)), static_cast<int8_t>(static_cast<int>(y))};
}

void GenerateStartPoints(MapState& map, const RandomSource& rng) {
    const int32_t third = ((rng.draw() % 3) + 3) % 3;  // guards a source that breaks its contract
    map.startPointCount = static_cast<int8_t>(3 * third);
    for (int k = 0; k < map.startPointCount; ++k) {
        const int32_t radius = rng.below(kStartPointSpread);
        const int32_t degrees = rng.below(360);
        map.startPoints[k] = IslandStartPoint(radius, degrees);
    }
}

void FillHeights(HeightGrid& grid, const RandomSource& rng) {
    for (int i = 0; i < kGridPoints; ++i) {
        for (int j = 0; j < kGridPoints; ++j) {
            float& h = grid[i][j];
            if (Square(i - kIslandCentre) + Square(j - kIslandCentre) >= kRadiusSquared) {
                h = kWaterLevel;
            } else if (Square(i - kIslandCentre - 1) + Square(j - kIslandCentre - 1) >=
                       kRadiusSquared) {
                h = static_cast<float>(rng.below(80) * 0.001 + 1.0);
            } else {
                // (i - 1, j - 1) lies inside the circle and was filled earlier in this pass.
                h = static_cast<float>(grid[i - 1][j - 1] + rng.below(400) * 0.001);
            }
        }
    }
}

void RaiseHills(HeightGrid& grid, const RandomSource& rng) {
    for (int hill = 0; hill < kHillCount; ++hill) {
        const int cx = rng.below(64) + 32;
        const int cy = rng.below(64) + 32;
        const double peak = rng.below(2) + 1.5;
        for (int dx = -kHillHalfSize; dx < kHillHalfSize; ++dx) {
            for (int dy = -kHillHalfSize; dy < kHillHalfSize; ++dy) {
                float& h = grid[cx + dx][cy + dy];
                h = static_cast<float>(h + rng.below(5) * 0.1);
                const int d2 = dx * dx + dy * dy;
                if (d2 < kHillRadiusSquared)
                    h = static_cast<float>(h + (peak - d2 * peak / kHillRadiusSquared));
            }
        }
    }
}

void GenerateHeights(HeightGrid& grid, const RandomSource& rng) {
    FillHeights(grid, rng);
    RaiseHills(grid, rng);
}

void EmitIsland(const HeightGrid& grid, float offsetX, float offsetY,
                const std::array<uint32_t, 8>& worldTextures) {
    gl::Backend& g = gl::Api();
    // The island carries its own colour so the HUD's last colour never tints it.
    g.Color3f(1, 1, 1);
    g.BindTexture(GL_TEXTURE_2D, worldTextures[kLandTexture]);
    EmitLand(g, grid);
    g.BindTexture(GL_TEXTURE_2D, worldTextures[kCliffTexture]);
    EmitCliffs(g, grid);
    g.BindTexture(GL_TEXTURE_2D, worldTextures[kWaterTexture]);
    EmitWater(g, offsetX, offsetY);
    g.BindTexture(GL_TEXTURE_2D, worldTextures[kRestTexture]);
}

bool CreateMap() {
    using namespace tam::literals;
    gl::Backend& g = gl::Api();
    WorldState& world = World();
    // Without a list name (no context, or GL out of names) the old island stays as it was.
    const GLuint list = g.GenLists(1);
    if (list == 0) {
        ConsolePrint("Cannot create map: no display list", true);
        return true;
    }

    MapState& map = world.map;
    map.scrollOffsetX = 1.0f;
    map.scrollOffsetY = 1.0f;
    const RandomSource rng = ProgramRandom();
    GenerateStartPoints(map, rng);
    GenerateHeights(Gen().heights, rng);

    g.NewList(list, GL_COMPILE_AND_EXECUTE);
    EmitIsland(Gen().heights, map.scrollOffsetX, map.scrollOffsetY, Tex().WorldTextures);
    ConsolePrint("Карта создана !"_cp, true);
    g.EndList();

    // One island at a time: the previous list is never drawn again.
    if (world.terrainList != 0 && world.terrainList != list) g.DeleteLists(world.terrainList, 1);
    world.terrainList = list;
    world.no_clip = 0;
    world.terrainMode = true;
    world.mapFile.clear();  // the map in force is no longer a file's
    return true;
}

}  // namespace tam
