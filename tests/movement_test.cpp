// Player movement and spawning: wish velocity, look, jumps, collision in table order and a walk
// round the shipped arena, and the start point a spawn picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "app/players.h"
#include "console/commands.h"
#include "console/settings.h"
#include "world/map.h"

namespace tam {
namespace {

class Movement : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetPlayers();
        ResetSettings();
        ResetInterpreter();
        Plr().PlayerCount = 1;
    }
    PlayerRecord& P() { return Plr().Players[0]; }
};

// One 0.01 s frame: the velocity closes 1/18 of the gap to the wish (1/38 at z = 1, in the air),
// and the position moves by the new velocity. Forward at yaw 0 is +Y, at yaw 90 +X; right at yaw 0
// is +X; a diagonal gets both in full; opposite keys cancel; half the forward speed, half the wish.
TEST_F(Movement, WishVelocityFollowsKeysAndHeadingSmoothedPerFrame) {
    const double v = 9.6 / 18;
    const struct {
        float yaw;
        int forward, back, left, right;
        float z, vy;
        bool halfSpeed;
        double wantVx, wantVy;
    } cases[] = {
        {0, 1, 0, 0, 0, 0, 0, false, 0, v},           {90, 1, 0, 0, 0, 0, 0, false, v, 0},
        {0, 0, 0, 0, 1, 0, 0, false, v, 0},           {0, 0, 1, 1, 0, 0, 0, false, -v, -v},
        {0, 1, 1, 0, 0, 0, 9.6f, false, 0, 9.6 * 17 / 18}, {0, 1, 1, 0, 0, 1, 9.6f, false, 0, 9.6 * 37 / 38},
        {0, 1, 0, 0, 0, 0, 4.8f, true, 0, 4.8},
    };
    for (const auto& c : cases) {
        ResetSettings();
        if (c.halfSpeed) Config().cl_forwardspeed /= 2;
        P() = PlayerRecord{};
        P().yaw = c.yaw, P().z = c.z, P().vy = c.vy;
        P().moveForward = uint8_t(c.forward), P().moveBack = uint8_t(c.back);
        P().moveLeft = uint8_t(c.left), P().moveRight = uint8_t(c.right);
        MovePlayer(0, 0.01f);
        EXPECT_NEAR(P().vx, c.wantVx, 1e-5) << "case " << &c - cases;
        EXPECT_NEAR(P().vy, c.wantVy, 1e-5) << "case " << &c - cases;
        EXPECT_NEAR(std::hypot(P().x - c.wantVx / 100, P().y - c.wantVy / 100), 0, 1e-6) << "case " << &c - cases;
    }
}

TEST_F(Movement, LookWrapsYawAndClampsPitch) {
    // {yaw, yaw rate, pitch, pitch rate} before one second, then yaw and pitch after it.
    for (auto [yaw, yawRate, pitch, pitchRate, wantYaw, wantPitch] :
         {std::array{720.f, 5.f, 185.f, 5.f, 5.f, 180.f}, {-10.f, 0.f, 3.f, -5.f, 350.f, 0.f},
          {360.f, 0.f, 0.f, 0.f, 360.f, 0.f}}) {
        P().yaw = yaw, P().yawRate = yawRate, P().pitch = pitch, P().pitchRate = pitchRate;
        MovePlayer(0, 1.0f);
        EXPECT_FLOAT_EQ(P().yaw, wantYaw) << yaw;
        EXPECT_FLOAT_EQ(P().pitch, wantPitch) << pitch;
    }
    // Values a whole turn cannot change, or infinity, must not hang the frame.
    P().yaw = 1e30f;
    MovePlayer(0, 1.0f);
    EXPECT_TRUE(P().yaw >= 0 && P().yaw <= 360) << P().yaw;
    P().yaw = INFINITY;
    MovePlayer(0, 1.0f);
    EXPECT_EQ(P().yaw, 0);
}

// Jumps from the floor at 5 units a second; returns the peak height and the time of landing (or -1).
std::pair<double, double> Jump(int8_t gravity, double seconds) {
    ResetPlayers();
    Map().gravity = gravity;
    PlayerRecord& p = Plr().Players[0];
    p.onGround = 0, p.vz = 5.0f;
    double peak = 0;
    for (int ms = 1; ms <= static_cast<int>(seconds * 1000); ++ms) {
        MovePlayer(0, 0.001f);
        peak = std::max(peak, static_cast<double>(p.z));
        if (p.onGround) return {peak, ms / 1000.0};
    }
    return {peak, -1};
}

TEST_F(Movement, JumpArcFollowsTheMapsGravity) {
    for (int8_t g : {4, 10, 25}) {
        SCOPED_TRACE(static_cast<int>(g));
        const auto [peak, landed] = Jump(g, 5);
        EXPECT_NEAR(peak, 5 / std::sqrt(g), 0.05 * 5 / std::sqrt(g));
        EXPECT_NEAR(landed, M_PI / std::sqrt(g), 0.05 * M_PI / std::sqrt(g));
        EXPECT_EQ(std::tuple(Plr().Players[0].z, Plr().Players[0].vz), std::tuple(0.f, 0.f));
    }
    // No gravity: rises at 5 units per second for ever.
    auto [peak0, landed0] = Jump(0, 2);
    EXPECT_EQ(std::tuple(landed0, Plr().Players[0].vz), std::tuple(-1.0, 5.0f));
    EXPECT_NEAR(peak0, 10, 0.01);
    // Negative gravity: the rise accelerates.
    auto [peakNeg, landedNeg] = Jump(-10, 1);
    EXPECT_EQ(landedNeg, -1);
    EXPECT_TRUE(Plr().Players[0].vz > 5.0f && peakNeg > 5.0) << peakNeg;
    // Standing on the floor nothing changes, whatever the gravity.
    ResetPlayers();
    Map().gravity = 10;
    MovePlayer(0, 0.5f);
    EXPECT_EQ(std::tuple(Plr().Players[0].z, Plr().Players[0].vz), std::tuple(0.f, 0.f));
}

// Panels below the box count clip a move in table order, so a move into the corner stops on both
// faces; no_clip passes through; collisions leave the velocity alone.
TEST_F(Movement, PanelsClipTheMoveInTableOrderUnlessNoClip) {
    const MapBox south = {0, 0, -2, 10, 0, 8, 0, 1, 0}, west = {0, 0, -2, 0, 10, 8, 1, 0, 0};
    constexpr float kFace = 3.00001f, kFree = 5 - 2.83333f;
    const struct {
        const char* what;
        std::vector<MapBox> boxes;
        int count, noClip;
        float vx, wantX, wantY;
    } cases[] = {
        {"one panel", {south}, 1, 0, 0, 5, kFace},
        {"one panel, no_clip", {south}, 1, 1, 0, 5, kFree},
        {"a panel beyond the count", {south}, 0, 0, 0, 5, kFree},
        {"into the corner, south first", {south, west}, 2, 0, -300, kFace, kFace},
        {"into the corner, west first", {west, south}, 2, 0, -300, kFace, kFace},
        {"into the corner, no_clip", {west, south}, 2, 1, -300, kFree, kFree},
    };
    for (const auto& c : cases) {
        std::copy(c.boxes.begin(), c.boxes.end(), Map().boxes.begin());
        World().no_clip = c.noClip, Map().boxCount = static_cast<int8_t>(c.count);
        P().x = 5, P().y = 5, P().vx = c.vx, P().vy = -300;
        MovePlayer(0, 0.01f);
        EXPECT_NEAR(P().x, c.wantX, 1e-5) << c.what;
        EXPECT_NEAR(P().y, c.wantY, 1e-5) << c.what;
        EXPECT_NEAR(P().vy, -300 * 17.0 / 18, 1e-3) << c.what;
    }
}

// Two minutes of running from each start point never cross the arena's walls nor enter its tower.
TEST_F(Movement, AWalkRoundTheShippedArenaStaysInsideIt) {
    ASSERT_TRUE(LoadMap(TAM_GAME_DIR "/Data/Maps/isengard.map"));
    const auto inside = [](float x, float y) {
        const float ax = std::abs(x), ay = std::abs(y);
        const bool tower = ax < 5 && ay < 5;
        return !tower && ((ax < 56 && ay < 56) || (x > 24 && x < 46 && y < 72) ||
                          (ax < 8 && ay < 88) || (ay < 8 && ax < 88));
    };
    uint32_t seed = 12345;
    for (int start = 0; start < Map().startPointCount; ++start) {
        P().x = Map().startPoints[size_t(start)].x, P().y = Map().startPoints[size_t(start)].y;
        P().moveForward = 1;
        for (int frame = 0; frame < 12000; ++frame) {
            if (frame % 100 == 0) P().yaw = float((seed = seed * 1103515245 + 12345) >> 16 & 0xFFFF) * 360 / 65536;
            MovePlayer(0, 0.01f);
            ASSERT_TRUE(inside(P().x, P().y)) << "from start point " << start << ", frame " << frame
                                              << " at (" << P().x << ", " << P().y << ")";
        }
    }
}

TEST_F(Movement, SpawnResetsTheRecordOnAStartPoint) {
    auto threeStarts = [] {
        Map().startPointCount = 3;
        Map().startPoints[0] = {10, 20}, Map().startPoints[1] = {-30, 40}, Map().startPoints[2] = {50, -60};
    };
    threeStarts();
    P() = PlayerRecord{1, 1, 1, 1, 7, 7, 3, 90, 45, 1, 2, 3, 0.5f, 0.25f, 1, 9, 1, 0, 1};
    SpawnPlayer(0);
    const PlayerRecord& p = P();
    // All but the place is reset, except the look rates.
    EXPECT_EQ(std::tuple(p.moveLeft + p.moveRight + p.moveForward + p.moveBack, p.z, p.pitch, p.yaw, p.vx, p.vy,
                         p.vz, p.pitchRate, p.yawRate, p.health, p.aux, p.dead, p.onGround, p.attacking),
              std::tuple(0, 0.f, 0.f, 0.f, 0.f, 0.f, 0.f, 0.5f, 0.25f, 100.f, 0u, 0, 1, 0));
    const std::pair<float, float> first{p.x, p.y};
    // The same first spawn on every run; every start point is reachable.
    ResetWorld();
    threeStarts();
    SpawnPlayer(0);
    EXPECT_EQ(std::make_pair(p.x, p.y), first);
    std::set<float> xs;
    for (int i = 0; i < 60; ++i) SpawnPlayer(0), xs.insert(p.x);
    EXPECT_EQ(xs, (std::set<float>{10, -30, 50}));
    // No start points: entry 0, whatever it holds; a negative count -n: one of the first n (the
    // remainder of a signed division).
    Map().startPointCount = 0;
    SpawnPlayer(0);
    EXPECT_EQ(std::tuple(p.x, p.y), std::tuple(10.f, 20.f));
    Map().startPointCount = -2;
    xs.clear();
    for (int i = 0; i < 30; ++i) SpawnPlayer(0), xs.insert(p.x);
    EXPECT_EQ(xs, (std::set<float>{10, -30}));
}

}  // namespace
}  // namespace tam
