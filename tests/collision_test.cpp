// Collision: every slab case against one panel, and the shortcut against the full test.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <random>
#include <tuple>

#include "app/collision.h"

namespace tam {
namespace {

constexpr double kEps = 2e-6;

// A panel from (0, 0) to (10, 0) facing +y.
MapBox Wall(int8_t z1 = 0, int8_t z2 = 10) { return {0, 0, z1, 10, 0, z2, 0, 1, 0}; }

// Where the move from (x, y) to (px, py) ends, for a player of radius 3.
std::pair<float, float> Collide(const MapBox& box, float x, float y, float px, float py, float z = 0) {
    CollideWithBox(x, y, px, py, box, z, 3.0f);
    return {px, py};
}

TEST(Collision, MovesAgainstOnePanelOfEachNormal) {
    constexpr float kFront = 3.00001f, kBack = -3.00001f;
    const struct { const char* what; int8_t z1, z2; float x, y, px, py, z, wantX, wantY; } cases[] = {
        {"stops on the front face", 0, 10, 5, 5, 5, 2, 0, 5, kFront},
        {"slides along it", 0, 10, 5, 5, 7, 2, 0, 7, kFront},
        {"parallel, crossing no face plane", 0, 10, 5, 5, 8, 5, 0, 8, 5},
        {"stops on the back face", 0, 10, 5, -5, 5, -2, 0, 5, kBack},
        {"through in one frame from the front", 0, 10, 5, 5, 5, -5, 0, 5, kFront},
        {"through in one frame from the back", 0, 10, 5, -5, 5, 5, 0, 5, kBack},
        {"past the far end within the tolerance", 0, 10, 12, 5, 12, 1, 0, 12, kFront},
        {"past the far end beyond it", 0, 10, 13, 5, 13, 1, 0, 13, 1},
        {"past the near end within the tolerance", 0, 10, -2, 5, -2, 1, 0, -2, kFront},
        {"past the near end beyond it", 0, 10, -3, 5, -3, 1, 0, -3, 1},
        {"inside the slab toward the front", 0, 10, 5, 1, 5, 4, 0, 5, kFront},
        {"inside the slab toward the back", 0, 10, 5, 1, 5, -1, 0, 5, -1},
        {"panel bottom within the height tolerance", 2, 12, 5, 5, 5, 2, 0, 5, kFront},
        {"panel bottom above it", 3, 13, 5, 5, 5, 2, 0, 5, 2},
        {"feet above a low panel (z1 > z2)", 10, 0, 5, 5, 5, 2, 13, 5, 2},
        {"feet within a low panel (z1 > z2)", 10, 0, 5, 5, 5, 2, 5, 5, kFront},
        {"ending exactly on the face plane", 0, 10, 5, 5, 5, 3, 0, 5, kFront},
        {"far away: left exactly as proposed", 0, 10, 40, 40, 41.25f, 39.5f, 0, 41.25f, 39.5f},
    };
    for (const auto& c : cases) {
        const auto [x, y] = Collide(Wall(c.z1, c.z2), c.x, c.y, c.px, c.py, c.z);
        EXPECT_NEAR(x, c.wantX, kEps) << c.what;
        EXPECT_NEAR(y, c.wantY, kEps) << c.what;
        // Pushed back off the plane, never left on it; unblocked moves are not rounded.
        EXPECT_TRUE(c.wantY != kFront || y > 3.0f) << c.what;
        EXPECT_TRUE(c.wantY == kFront || c.wantY == kBack || y == c.wantY) << c.what;
    }
    // A zero normal never blocks; one leaning along x moves the blocking plane and slides along it.
    MapBox w = Wall();
    w.ny = 0;
    EXPECT_EQ(Collide(w, 5, 5, 5, -5).second, -5);
    w.nx = 0.6f, w.ny = 0.8f;
    const auto [x, y] = Collide(w, 5, 5, 5, -5);
    EXPECT_NEAR(0.6f * (x - 1.8f) + 0.8f * (y - 2.4f), 0.00001, 1e-5);  // just off the face
    EXPECT_GT(x, 5.0f);
    // A tiny negative distance is on the back side; a zero of either sign is on the plane.
    EXPECT_EQ((std::array{Sign(2.5f), Sign(0.0f), Sign(-0.0f), Sign(-1e-30f)}),
              (std::array{1.f, 0.f, 0.f, -1.f}));
}

// A million moves (a tenth in debug builds) near panels of every shape and normal: the shortcut
// gives the full test's position bit for bit, and each of the eight triangle tests hits.
TEST(Collision, ShortcutGivesTheFullTestsResultOnRandomMoves) {
#ifdef NDEBUG
    constexpr int kMoves = 1'000'000;
#else
    constexpr int kMoves = 100'000;
#endif
    std::mt19937 rng(20240611);
    auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto corner = [&] { return static_cast<int8_t>(below(41) - 20); };

    std::array<int, 8> hitsPerTest{};
    int unchanged = 0, bothFaces = 0;
    MapBox box;
    for (int i = 0; i < kMoves; ++i) {
        if (i % 64 == 0) {  // a new panel every 64 moves
            box.x1 = corner(), box.y1 = corner(), box.z1 = corner();
            const int shape = below(8);
            box.x2 = shape == 0 ? box.x1 : corner();
            box.y2 = shape == 0 ? box.y1 : corner();
            box.z2 = shape == 1 ? box.z1 : corner();
            const float dx = box.x2 - box.x1, dy = box.y2 - box.y1, len = std::hypot(dx, dy);
            const float ang = uniform(0, 6.2832f), lean = below(4) == 0 ? uniform(-0.7f, 0.7f) : 0;
            switch (below(5)) {
                case 0: box.nx = 0, box.ny = 0, box.nz = 0; break;
                case 1: box.nx = std::cos(ang), box.ny = std::sin(ang), box.nz = lean; break;
                case 2: box.nx = float(below(3) - 1), box.ny = float(below(3) - 1), box.nz = 0; break;
                default:  // perpendicular to the panel, either way, sometimes leaning
                    box.nx = len > 0 ? -dy / len : 1, box.ny = len > 0 ? dx / len : 0, box.nz = lean;
                    if (below(2)) box.nx = -box.nx, box.ny = -box.ny;
            }
        }
        // Start near a corner of the slab or somewhere along an edge or face, at any distance
        // from a hair to a few units; move by up to ten units, sometimes exactly onto a plane.
        const float t = below(3) == 0 ? float(below(2)) : uniform(-0.3f, 1.3f);
        const float side = float(below(3) - 1) * 3.0f;
        const float scale = std::pow(10.0f, uniform(-5, 1));
        const float x = box.x1 + t * float(box.x2 - box.x1) + side * box.nx + scale * uniform(-1, 1);
        const float y = box.y1 + t * float(box.y2 - box.y1) + side * box.ny + scale * uniform(-1, 1);
        const float step = std::pow(10.0f, uniform(-4, 1));
        float px = x + step * uniform(-1, 1), py = y + step * uniform(-1, 1);
        if (below(16) == 0) px = x, py = y;
        if (below(16) == 0 && box.ny != 0)
            py = float(box.y1) + side * box.ny + (box.x1 + side * box.nx - px) * box.nx / box.ny;
        const float z = below(4) == 0 ? float(corner()) : uniform(-25, 25);
        const float radius = below(8) == 0 ? uniform(0, 5) : 3.0f;

        float fx = px, fy = py, rx = px, ry = py;
        CollideWithBox(x, y, fx, fy, box, z, radius);
        const unsigned hits = CollideWithBoxAllTests(x, y, rx, ry, box, z, radius);
        ASSERT_EQ(std::tuple(std::bit_cast<uint32_t>(fx), std::bit_cast<uint32_t>(fy)),
                  std::tuple(std::bit_cast<uint32_t>(rx), std::bit_cast<uint32_t>(ry)))
            << "move " << i << " from (" << x << ", " << y << ") to (" << px << ", " << py << ")";
        for (unsigned k = 0; k < 8; ++k) hitsPerTest[k] += (hits >> k) & 1;
        unchanged += hits == 0;
        bothFaces += (hits & 0x0F) && (hits & 0xF0);
    }
    for (unsigned k = 0; k < 8; ++k) EXPECT_GT(hitsPerTest[k], kMoves / 1000) << "test " << k + 1;
    EXPECT_GT(bothFaces, kMoves / 1000);
    EXPECT_GT(unchanged, kMoves / 4);
}

}  // namespace
}  // namespace tam
