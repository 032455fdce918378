// Internals of the command interpreter shared by its source files: the words of one command and
// the handlers of the command chain. A handler gets the words of the command it runs; the views
// point into the interpreter's own copy of the command and stay valid while the handler runs,
// also across command lines it runs itself.
#pragma once

#include <array>
#include <string_view>

namespace tam::commands {

inline constexpr int kWordSlots = 8;
// Slot 0 is the command word as typed, slots 1..7 the arguments; absent words are empty.
using Words = std::array<std::string_view, kWordSlots>;

// Splits a command at spaces (0x20 only) into the first eight words.
Words SplitWords(std::string_view command);

// The chain's handlers, by command word.
void Exit(const Words& w);
void Console(const Words& w);
void About(const Words& w);
void Help(const Words& w);
void Fov(const Words& w);
void ForwardSpeed(const Words& w);
void SideSpeed(const Words& w);
void Sensitivity(const Words& w);
void PlusMoveLeft(const Words& w);
void PlusMoveRight(const Words& w);
void PlusForward(const Words& w);
void PlusBack(const Words& w);
void PlusUp(const Words& w);
void PlusDown(const Words& w);
void PlusRight(const Words& w);
void PlusLeft(const Words& w);
void MinusMoveLeft(const Words& w);
void MinusMoveRight(const Words& w);
void MinusForward(const Words& w);
void MinusBack(const Words& w);
void MinusPitch(const Words& w);
void MinusYaw(const Words& w);
void CreateMap(const Words& w);
void Fog(const Words& w);
void PlusAttack(const Words& w);
void MinusAttack(const Words& w);
void NoClip(const Words& w);
void Jump(const Words& w);
void Bind(const Words& w);
void LoadMap(const Words& w);
void LoadTexture(const Words& w);
void PlayMidi(const Words& w);
void PlayWav(const Words& w);
void PlayMp3(const Words& w);
void SetVolume(const Words& w);
void SetFullScreen(const Words& w);
void SetWindowed(const Words& w);
// The chain's last link: a word no entry matched.
void Unrecognised(const Words& w);

}  // namespace tam::commands
