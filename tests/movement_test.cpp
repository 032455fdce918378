// Player movement and spawning: the wish velocity and its per-frame smoothing, look with yaw
// wrap and pitch clamp, the spring-like jump under positive, zero and negative gravity,
// collision in table order with no_clip, and where spawning puts a player (the pseudo-random pick
// of a start point: the same on every run, over all of them).
#include <gtest/gtest.h>

#include <cmath>
#include <set>

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
        if (c.halfSpeed) Cvars().cl_forwardspeed /= 2;
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

// One frame of 2.83 units toward a panel from (0, 0) to (10, 0) whose front face is at y = 3:
// stopped there, unless no_clip is on or the panel is beyond the box count. Collisions leave the
// velocity alone.
TEST_F(Movement, WallsStopThePlayerUnlessNoClip) {
    Map().boxes[0] = {0, 0, -2, 10, 0, 8, 0, 1, 0};
    for (auto [noClip, boxes, wantY] : {std::tuple{0, 1, 3.00001f}, {1, 1, 2.16667f}, {0, 0, 2.16667f}}) {
        World().no_clip = noClip, Map().boxCount = static_cast<int8_t>(boxes);
        P().x = 5, P().y = 5, P().vy = -300;
        MovePlayer(0, 0.01f);
        EXPECT_NEAR(P().y, wantY, 1e-5) << noClip << " " << boxes;
        EXPECT_NEAR(P().vy, -300 * 17.0 / 18, 1e-3);
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
