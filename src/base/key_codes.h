// Key codes: every layer speaks Windows virtual-key codes. The platform turns key positions into
// them (its scancode table), the key table is indexed by them, and the console reads the few
// named here.
#pragma once

namespace tam::vk {

inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kAlt = 18;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kConsole = 192;  // the key left of 1

}  // namespace tam::vk
