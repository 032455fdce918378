// The command chain, registered from one table, and the commands that act on the program itself:
// quitting, the field of view, the current player's held-key actions, attack, jump, and load_map's
// placing of the player on the new map.
#include <string>

#include "app/app.h"
#include "app/demo.h"
#include "app/players.h"
#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "console/exec.h"
#include "console/settings.h"
#include "images/texture.h"
#include "input/keys.h"
#include "media/display.h"
#include "media/sound.h"
#include "platform/platform.h"
#include "render/opengl.h"
#include "render/screenshot.h"
#include "world/map.h"

namespace tam {
namespace commands {
namespace {

constexpr float kLookRate = 5.0f;   // degrees per second while a look key is held
constexpr float kJumpSpeed = 5.0f;  // upward speed at take-off
constexpr const char* kShotLine = "play_wav Data\\Sound\\mp40f1.wav";

void Exit(const Words&) {
    platform::RequestQuit();
}

void Fov(const Words& w) {
    using namespace tam::literals;
    const std::string_view value = w[1];
    if (value == "?") {
        ConsolePrint("   FOV - Установка угла обзора"_cp, true);
        ConsolePrint("   Количество параметров - 1"_cp, true);
        ConsolePrint("   Параметр указывает угол обзора от "_cp + std::to_string(kFovMin) +
                         " до "_cp + std::to_string(kFovMax),
                     true);
        return;
    }
    if (value.empty() || !IsDigits(value)) {
        ConsolePrint("FOV=" + std::to_string(Config().fov), true);
        return;
    }
    const int32_t n = StrToInt(value);
    if (n >= kFovMin && n <= kFovMax) {
        Config().fov = n;
        ApplyProjection(n);
        return;
    }
    ConsolePrint("Параметр должен быть между ["_cp + std::to_string(kFovMin) + "; " +
                     std::to_string(kFovMax) + "]",
                 true);
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

void Jump(const Words&) {
    PlayerRecord& p = CurrentRecord();
    if (!p.onGround) return;
    p.onGround = 0;
    p.vz = kJumpSpeed;
}

// A map that loaded gets one player, the current one, on one of its start points.
void LoadMapAndSpawn(const Words& w) {
    if (!LoadMap(w)) return;
    Plr().PlayerCount = 1;
    Plr().CurrentPlayer = 0;
    SpawnPlayer(0);
}

struct ChainEntry {
    const char* word;  // lower case
    void (*run)(const Words&);
};

// The command chain in the order of testing; the first entry whose word equals the lowercased
// command word runs. A word no entry names is answered as unrecognised.
constexpr ChainEntry kChain[] = {
    {"exit", Exit},
    {"quit", Exit},
    {"console", Console},
    {"about", About},
    {"help", Help},
    {"fov", Fov},
    {"cl_forwardspeed", ForwardSpeed},
    {"cl_sidespeed", SideSpeed},
    {"sensitivity", Sensitivity},
    {"+moveleft", PlusMoveLeft},
    {"+moveright", PlusMoveRight},
    {"+forward", PlusForward},
    {"+back", PlusBack},
    {"+up", PlusUp},
    {"+down", PlusDown},
    {"+right", PlusRight},
    {"+left", PlusLeft},
    {"-moveleft", MinusMoveLeft},
    {"-moveright", MinusMoveRight},
    {"-forward", MinusForward},
    {"-back", MinusBack},
    {"-up", MinusPitch},
    {"-down", MinusPitch},
    {"-left", MinusYaw},
    {"-right", MinusYaw},
    {"create_map", CreateMap},
    {"fog", Fog},
    {"+attack", PlusAttack},
    {"-attack", MinusAttack},
    {"no_clip", NoClip},
    {"jump", Jump},
    {"bind", Bind},
    {"load_map", LoadMapAndSpawn},
    {"load_texture", LoadTexture},
    {"play_midi", PlayMidi},
    {"play_wav", PlayWav},
    {"play_mp3", PlayMp3},
    {"set_volume", SetVolume},
    {"set_fullscreen", SetFullScreen},
    {"set_windowed", SetWindowed},
    // Additions after the original chain. None shadows a word above, and none takes a word the
    // help text names but the chain leaves unrecognised (Exec, Save, Load, New).
    {"exec_file", ExecFileCommand},
    {"screenshot", Screenshot},
    {"record", Record},
    {"stop", Stop},
    {"play_demo", PlayDemo},
    {"timedemo", TimeDemo},
};

}  // namespace
}  // namespace commands

bool RegisterCommandChain() {
    ResetInterpreter();
    bool all = true;
    for (const commands::ChainEntry& entry : commands::kChain)
        all = RegisterCommand(entry.word, entry.run) && all;
    Interp().admit = AdmitCommand;
    RegisterArgumentWords("bind", [] {
        std::vector<std::string> names;
        for (const Key_t& key : Keys().table)
            if (!key.Name.empty()) names.push_back(key.Name);
        return names;
    });
    return all;
}

}  // namespace tam
