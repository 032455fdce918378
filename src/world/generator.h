// The island generator, split into plain computation (start points, the height grid) and the
// OpenGL emission of the island into the current display list. CreateMap (world/map.h) runs them
// in order against the program's pseudo-random source; tests run the pieces against their own.
// Grid point (i, j) is the world point (x = i, y = j, z = height); the island is centred on
// (64, 64). Window thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "world/map.h"

namespace tam {

inline constexpr int kGridPoints = 129;  // points per side; 128 cells per side
inline constexpr int kIslandCentre = 64;
inline constexpr int kIslandRadius = 64;
inline constexpr int kHillCount = 5;
inline constexpr int kHillHalfSize = 16;
// A grid point is water exactly when its height equals this value; anything else is land.
inline constexpr float kWaterLevel = -10.0f;

// Heights indexed [i][j], i along x and j along y.
using HeightGrid = std::array<std::array<float, kGridPoints>, kGridPoints>;

inline bool IsWater(const HeightGrid& grid, int i, int j) { return grid[i][j] == kWaterLevel; }

// Where the generator's randomness comes from. `below(n)` yields 0..n-1 (0 when n is 0);
// `draw()` one raw non-negative draw. Both are called in a fixed order, so the same source
// state always gives the same island.
struct RandomSource {
    std::function<int32_t()> draw;
    std::function<int32_t(int32_t)> below;
};
// RandomDraw / RandomBelow of the world unit.
RandomSource ProgramRandom();

// The generator unit's state: the last island's heights. Overwritten by every CreateMap.
struct GeneratorState {
    HeightGrid heights{};
};
GeneratorState& Gen();
void ResetGenerator();

// The start point `radius` units from the centre at `degrees` (both whole numbers), truncated
// toward zero to map bytes.
StartPoint IslandStartPoint(int32_t radius, int32_t degrees);

// Sets map.startPointCount to 0, 3 or 6 and fills that many points inside the island's circle.
// Entries past the count are left alone.
void GenerateStartPoints(MapState& map, const RandomSource& rng);

// Water outside the circle, the shore band, and the surface climbing along each diagonal.
void FillHeights(HeightGrid& grid, const RandomSource& rng);
// Five hills with noise over their whole square; the noise may lift water points to land.
void RaiseHills(HeightGrid& grid, const RandomSource& rng);
// FillHeights then RaiseHills.
void GenerateHeights(HeightGrid& grid, const RandomSource& rng);

// The texture slots of WorldTextures the island uses.
inline constexpr int kLandTexture = 5;
inline constexpr int kCliffTexture = 4;
inline constexpr int kWaterTexture = 3;
inline constexpr int kRestTexture = 0;  // left bound afterwards

// Emits the island through the GL seam: white colour, the land surface, the cliff faces, the
// water plane with the given scroll offsets baked into its texture coordinates, and finally
// the rest texture bound. Opens and closes no display list itself.
void EmitIsland(const HeightGrid& grid, float offsetX, float offsetY,
                const std::array<uint32_t, 8>& worldTextures);

}  // namespace tam
