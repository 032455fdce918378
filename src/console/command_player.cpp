// Command handlers that act on the program itself: quitting, the console window, the settings,
// the current player's held-key actions, jump, no_clip and key binding.
#include <string>

#include "app/players.h"
#include "console/commands.h"
#include "console/commands_local.h"
#include "console/console.h"
#include "console/operations.h"
#include "console/settings.h"
#include "input/keys.h"

namespace tam::commands {
namespace {

constexpr float kLookRate = 5.0f;   // degrees per second while a look key is held
constexpr float kJumpSpeed = 5.0f;  // upward speed at take-off
constexpr const char* kShotLine = "play_wav Data\\Sound\\mp40f1.wav";

}  // namespace

void Exit(const Words&) {
    Ops().RequestQuit();
}

void Console(const Words&) {
    ConsoleShow();
    ConsoleBringToFront();
}

void Fov(const Words& w) {
    FovCommand(w[1]);
}
void ForwardSpeed(const Words& w) {
    ForwardSpeedCommand(w[1]);
}
void SideSpeed(const Words& w) {
    SideSpeedCommand(w[1]);
}
void Sensitivity(const Words& w) {
    SensitivityCommand(w[1]);
}

void PlusMoveLeft(const Words&) {
    CurrentRecord().moveLeft = 1;
}
void PlusMoveRight(const Words&) {
    CurrentRecord().moveRight = 1;
}
void PlusForward(const Words&) {
    CurrentRecord().moveForward = 1;
}
void PlusBack(const Words&) {
    CurrentRecord().moveBack = 1;
}
void PlusUp(const Words&) {
    CurrentRecord().pitchRate = kLookRate;
}
void PlusDown(const Words&) {
    CurrentRecord().pitchRate = -kLookRate;
}
void PlusRight(const Words&) {
    CurrentRecord().yawRate = kLookRate;
}
void PlusLeft(const Words&) {
    CurrentRecord().yawRate = -kLookRate;
}
void MinusMoveLeft(const Words&) {
    CurrentRecord().moveLeft = 0;
}
void MinusMoveRight(const Words&) {
    CurrentRecord().moveRight = 0;
}
void MinusForward(const Words&) {
    CurrentRecord().moveForward = 0;
}
void MinusBack(const Words&) {
    CurrentRecord().moveBack = 0;
}
void MinusPitch(const Words&) {
    CurrentRecord().pitchRate = 0;
}
void MinusYaw(const Words&) {
    CurrentRecord().yawRate = 0;
}

// The shot sound goes through play_wav's own checks.
void PlusAttack(const Words&) {
    CurrentRecord().attacking = 1;
    ExecuteCommand(kShotLine);
}

void MinusAttack(const Words&) {
    CurrentRecord().attacking = 0;
}

void NoClip(const Words&) {
    uint8_t& flag = Interp().no_clip;
    flag = flag ? 0 : 1;
    ConsolePrint(flag ? "No Clip ON" : "No Clip OFF", true);
}

void Jump(const Words&) {
    PlayerRecord& p = CurrentRecord();
    if (!p.onGround) return;
    p.onGround = 0;
    p.vz = kJumpSpeed;
}

// The stored command is always words 2, 3 and 4 joined by single spaces, even when 3 and 4 are
// empty; words 5 to 7 are dropped.
void Bind(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("BIND [KEY] [ACTION]", true);
    } else if (!w[2].empty()) {
        BindKey(w[1], std::string(w[2]) + " " + std::string(w[3]) + " " + std::string(w[4]));
    } else if (!w[1].empty()) {
        const int32_t code = FindKey(w[1]);
        if (code < 0) {
            ConsolePrint("Unknown key " + std::string(w[1]), true);
        } else {
            const Key_t& key = KeyTable(code);
            ConsolePrint(key.Name + "=" + key.Command, true);
        }
    }
}

}  // namespace tam::commands
