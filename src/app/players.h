// The player table: every simulated player's position, view, velocities, look rates and held-key
// flags. Only one player is ever simulated (entry 0, after a map has loaded).
#pragma once

#include <array>
#include <cstdint>

namespace tam {

// Angles in degrees, distances in map units, times in seconds.
struct PlayerRecord {
    uint8_t moveLeft = 0;
    uint8_t moveRight = 0;
    uint8_t moveForward = 0;
    uint8_t moveBack = 0;
    float x = 0, y = 0;
    float z = 0;      // height above the physics floor z = 0; never below 0
    float pitch = 0;  // 0 straight down, 90 level, 180 straight up
    float yaw = 0;    // 0 faces +Y, 90 faces +X
    float vx = 0, vy = 0, vz = 0;
    float pitchRate = 0, yawRate = 0;  // degrees per second
    float health = 0;
    uint32_t aux = 0;
    uint8_t dead = 0;
    uint8_t onGround = 0;
    uint8_t attacking = 0;
};

inline constexpr int kMaxPlayers = 16;

struct PlayerTable {
    std::array<PlayerRecord, kMaxPlayers> Players{};
    int32_t CurrentPlayer = 0;
    int32_t PlayerCount = 0;
};
PlayerTable& Plr();
void ResetPlayers();
inline PlayerRecord& CurrentRecord() { return Plr().Players[Plr().CurrentPlayer]; }

// Places player `index` on a start point of the map chosen by RandomBelow.
void SpawnPlayer(int index);

// One movement step of player `index` over `dt` seconds: look, wish velocity, smoothing,
// collision against the map's panels (unless no_clip), wrap and clamp, vertical motion.
void MovePlayer(int index, float dt);

}  // namespace tam
