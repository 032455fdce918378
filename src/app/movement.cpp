// Spawning and the per-frame movement step of a player: look, wish velocity from the held keys,
// velocity smoothing, the horizontal move clipped against the map's panels, angle wrap and clamp,
// and the spring-like vertical motion under the map's gravity.
#include <cmath>
#include <numbers>

#include "app/collision.h"
#include "app/players.h"
#include "console/settings.h"
#include "world/map.h"

namespace tam {
namespace {

constexpr float kWishScale = 5.0f * 0.004f;  // 9.6 units per second at a speed of 480
constexpr float kPlayerRadius = 3.0f;

// One frame's step of a velocity component toward its wish value, weaker the higher the feet.
float Smooth(float v, float wish, float z) {
    if (v == wish) return v;
    const float k = 20.0f * z;
    return ((k + 17.0f) * v + wish) / (k + 18.0f);
}

// Brings yaw into 0..360 by whole turns (360 itself stays). A yaw so large that a whole turn
// no longer changes the float, or an infinite one, would never leave the loop: such values are
// first reduced by fmod (infinity and NaN become 0).
float WrapYaw(float yaw) {
    if (!std::isfinite(yaw)) return 0;
    if (std::fabs(yaw) > 1.0e6f) yaw = std::fmod(yaw, 360.0f);
    while (yaw > 360) yaw -= 360;
    while (yaw < 0) yaw += 360;
    return yaw;
}

}  // namespace

void SpawnPlayer(int index) {
    const MapState& m = Map();
    const int32_t k = RandomBelow(m.startPointCount);
    PlayerRecord& p = Plr().Players[static_cast<size_t>(index)];
    p.x = m.startPoints[static_cast<size_t>(k)].x;
    p.y = m.startPoints[static_cast<size_t>(k)].y;
    p.z = p.pitch = p.yaw = 0;
    p.vx = p.vy = p.vz = 0;
    p.health = 100.0f;
    p.aux = 0;
    p.moveLeft = p.moveRight = p.moveForward = p.moveBack = 0;
    p.onGround = 1;
    p.dead = 0;
    p.attacking = 0;
}

void MovePlayer(int index, float dt) {
    PlayerRecord& p = Plr().Players[static_cast<size_t>(index)];
    const Settings& cv = Config();

    p.yaw += p.yawRate * dt;
    p.pitch += p.pitchRate * dt;
    const double rad = p.yaw * std::numbers::pi / 180.0;
    const float s = static_cast<float>(std::sin(rad));
    const float c = static_cast<float>(std::cos(rad));

    float tx = 0, ty = 0;
    if (p.moveLeft) {
        tx -= kWishScale * c * cv.cl_sidespeed;
        ty += kWishScale * s * cv.cl_sidespeed;
    }
    if (p.moveRight) {
        tx += kWishScale * c * cv.cl_sidespeed;
        ty -= kWishScale * s * cv.cl_sidespeed;
    }
    if (p.moveForward) {
        tx += kWishScale * s * cv.cl_forwardspeed;
        ty += kWishScale * c * cv.cl_forwardspeed;
    }
    if (p.moveBack) {
        tx -= kWishScale * s * cv.cl_forwardspeed;
        ty -= kWishScale * c * cv.cl_forwardspeed;
    }
    p.vx = Smooth(p.vx, tx, p.z);
    p.vy = Smooth(p.vy, ty, p.z);

    float px = p.x + p.vx * dt;
    float py = p.y + p.vy * dt;
    if (!World().no_clip) {
        const MapState& m = Map();
        for (int i = 0; i < m.boxCount; ++i)
            CollideWithBox(p.x, p.y, px, py, m.boxes[static_cast<size_t>(i)], p.z, kPlayerRadius);
    }
    p.x = px;
    p.y = py;

    p.yaw = WrapYaw(p.yaw);
    if (p.pitch > 180) p.pitch = 180;
    if (p.pitch < 0) p.pitch = 0;

    p.z += p.vz * dt;
    if (p.z < 0) {
        p.z = 0;
        p.vz = 0;
        p.onGround = 1;
    } else {
        p.vz -= p.z * dt * static_cast<float>(Map().gravity);
    }
}

}  // namespace tam
