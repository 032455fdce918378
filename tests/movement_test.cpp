// Player movement and spawning: the wish velocity and its per-frame smoothing, look with yaw
// wrap and pitch clamp, the spring-like jump under positive, zero and negative gravity,
// collision in table order with no_clip, and where spawning puts a player.
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
    // One panel from (0, 0) to (10, 0), heights -2..8, normal +y.
    void OneWall() {
        MapBox& b = Map().boxes[0];
        b.x1 = 0, b.y1 = 0, b.z1 = -2, b.x2 = 10, b.y2 = 0, b.z2 = 8;
        b.nx = 0, b.ny = 1, b.nz = 0;
        Map().boxCount = 1;
    }
};

TEST_F(Movement, ForwardSmoothsTowardNinePointSixByOneEighteenthPerFrame) {
    P().moveForward = 1;
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vy, 9.6 / 18, 1e-5);
    EXPECT_NEAR(P().vx, 0, 1e-6);
    EXPECT_NEAR(P().y, 9.6 / 18 * 0.01, 1e-6);
    for (int i = 1; i < 60; ++i) MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vy, 9.6 * (1 - std::pow(17.0 / 18, 60)), 1e-4);
    // Speeds scale the wish: half the forward speed, half the target.
    Cvars().cl_forwardspeed = 240;
    P().vy = 4.8f;
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vy, 4.8, 1e-5);
}

TEST_F(Movement, DirectionsFollowTheHeading) {
    P().yaw = 90;  // faces +X
    P().moveForward = 1;
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vx, 9.6 / 18, 1e-5);
    EXPECT_NEAR(P().vy, 0, 1e-5);
    P() = PlayerRecord{};
    P().moveRight = 1;  // yaw 0: right is +X
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vx, 9.6 / 18, 1e-5);
    P() = PlayerRecord{};
    P().moveLeft = 1;
    P().moveBack = 1;  // diagonal: both components at full speed
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vx, -9.6 / 18, 1e-5);
    EXPECT_NEAR(P().vy, -9.6 / 18, 1e-5);
}

TEST_F(Movement, OppositeKeysCancelAndThePlayerGlidesToAStop) {
    P().vy = 9.6f;
    P().moveForward = P().moveBack = 1;
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().vy, 9.6 * 17 / 18, 1e-5);
    // In the air the control is weaker: at z = 1 the gap closes by 1/38 per frame.
    P().z = 1.0f;
    P().vz = 0;
    const float v = P().vy;
    MovePlayer(0, 0.0f);
    EXPECT_NEAR(P().vy, v * 37 / 38, 1e-5);
}

TEST_F(Movement, LookWrapsYawAndClampsPitch) {
    P().yaw = 720;
    P().yawRate = 5;
    P().pitch = 185;
    P().pitchRate = 5;
    MovePlayer(0, 1.0f);
    EXPECT_FLOAT_EQ(P().yaw, 5);
    EXPECT_FLOAT_EQ(P().pitch, 180);
    P().yaw = -10;
    P().yawRate = 0;
    P().pitch = 3;
    P().pitchRate = -5;
    MovePlayer(0, 1.0f);
    EXPECT_FLOAT_EQ(P().yaw, 350);
    EXPECT_FLOAT_EQ(P().pitch, 0);
    P().yaw = 360;
    MovePlayer(0, 1.0f);
    EXPECT_FLOAT_EQ(P().yaw, 360);
    // Values a whole turn cannot change, or infinity, must not hang the frame.
    P().yaw = 1e30f;
    MovePlayer(0, 1.0f);
    EXPECT_GE(P().yaw, 0);
    EXPECT_LE(P().yaw, 360);
    P().yaw = INFINITY;
    MovePlayer(0, 1.0f);
    EXPECT_EQ(P().yaw, 0);
}

// Simulates a jump from the floor; returns peak height and the time of landing (or -1).
std::pair<double, double> Jump(int8_t gravity, double seconds) {
    ResetPlayers();
    Map().gravity = gravity;
    PlayerRecord& p = Plr().Players[0];
    p.onGround = 0;
    p.vz = 5.0f;
    const float dt = 0.001f;
    double peak = 0;
    for (int i = 1; i <= static_cast<int>(seconds / dt); ++i) {
        MovePlayer(0, dt);
        peak = std::max(peak, static_cast<double>(p.z));
        if (p.onGround) return {peak, i * dt};
    }
    return {peak, -1};
}

TEST_F(Movement, JumpArcFollowsTheMapsGravity) {
    for (int8_t g : {4, 10, 25}) {
        SCOPED_TRACE(static_cast<int>(g));
        const auto [peak, landed] = Jump(g, 5);
        EXPECT_NEAR(peak, 5 / std::sqrt(g), 0.05 * 5 / std::sqrt(g));
        EXPECT_NEAR(landed, M_PI / std::sqrt(g), 0.05 * M_PI / std::sqrt(g));
        EXPECT_EQ(Plr().Players[0].z, 0);
        EXPECT_EQ(Plr().Players[0].vz, 0);
    }
    // No gravity: rises at 5 units per second for ever.
    auto [peak0, landed0] = Jump(0, 2);
    EXPECT_EQ(landed0, -1);
    EXPECT_NEAR(peak0, 10, 0.01);
    EXPECT_EQ(Plr().Players[0].vz, 5.0f);
    // Negative gravity: the rise accelerates.
    auto [peakNeg, landedNeg] = Jump(-10, 1);
    EXPECT_EQ(landedNeg, -1);
    EXPECT_GT(Plr().Players[0].vz, 5.0f);
    EXPECT_GT(peakNeg, 5.0);
    // Standing on the floor nothing changes, whatever the gravity.
    ResetPlayers();
    Map().gravity = 10;
    MovePlayer(0, 0.5f);
    EXPECT_EQ(Plr().Players[0].z, 0);
    EXPECT_EQ(Plr().Players[0].vz, 0);
}

TEST_F(Movement, WallsStopThePlayerUnlessNoClip) {
    OneWall();
    P().x = 5;
    P().y = 5;
    P().vy = -300;  // 3 units in one 0.01 s frame, beyond the face at y = 3
    MovePlayer(0, 0.01f);
    EXPECT_NEAR(P().y, 3.00001, 1e-5);
    EXPECT_LT(P().vy, -200);  // collisions leave the velocity alone

    Interp().no_clip = 1;
    P().y = 5;
    P().vy = -1000;
    MovePlayer(0, 0.01f);
    EXPECT_LT(P().y, -4.0f);

    // Entries beyond the box count take no part.
    Interp().no_clip = 0;
    Map().boxCount = 0;
    P().y = 5;
    P().vy = -1000;
    MovePlayer(0, 0.01f);
    EXPECT_LT(P().y, -4.0f);
}

TEST_F(Movement, SpawnResetsTheRecordOnAStartPoint) {
    Map().startPointCount = 3;
    Map().startPoints[0] = {10, 20};
    Map().startPoints[1] = {-30, 40};
    Map().startPoints[2] = {50, -60};
    P() = PlayerRecord{1, 1, 1, 1, 7, 7, 3, 90, 45, 1, 2, 3, 0.5f, 0.25f, 1, 9, 1, 0, 1};
    SpawnPlayer(0);
    EXPECT_EQ(P().z, 0);
    EXPECT_EQ(P().pitch, 0);
    EXPECT_EQ(P().yaw, 0);
    EXPECT_EQ(P().vx, 0);
    EXPECT_EQ(P().vy, 0);
    EXPECT_EQ(P().vz, 0);
    EXPECT_EQ(P().health, 100.0f);
    EXPECT_EQ(P().aux, 0u);
    EXPECT_EQ(P().moveLeft + P().moveRight + P().moveForward + P().moveBack, 0);
    EXPECT_EQ(P().onGround, 1);
    EXPECT_EQ(P().dead, 0);
    EXPECT_EQ(P().attacking, 0);
    EXPECT_EQ(P().pitchRate, 0.5f);  // look rates are left as they were
    EXPECT_EQ(P().yawRate, 0.25f);
    const std::pair<float, float> first{P().x, P().y};

    // The same first spawn on every run; every start point is reachable.
    ResetWorld();
    Map().startPointCount = 3;
    Map().startPoints[0] = {10, 20};
    Map().startPoints[1] = {-30, 40};
    Map().startPoints[2] = {50, -60};
    SpawnPlayer(0);
    EXPECT_EQ(std::make_pair(P().x, P().y), first);
    std::set<float> xs;
    for (int i = 0; i < 60; ++i) {
        SpawnPlayer(0);
        xs.insert(P().x);
    }
    EXPECT_EQ(xs, (std::set<float>{10, -30, 50}));

    // No start points: entry 0, whatever it holds.
    Map().startPointCount = 0;
    SpawnPlayer(0);
    EXPECT_EQ(P().x, 10);
    EXPECT_EQ(P().y, 20);
}

}  // namespace
}  // namespace tam
