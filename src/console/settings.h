// The four numeric settings the console shows and sets: field of view, forward and side speed,
// mouse sensitivity. They start from their defaults on every run and are never saved.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/commands.h"

namespace tam {

// The field of view's range in degrees, for the `fov` command and the mouse wheel alike.
inline constexpr int32_t kFovMin = 10;
inline constexpr int32_t kFovMax = 120;

struct Settings {
    int32_t fov = 90;               // degrees, kFovMin..kFovMax
    float cl_forwardspeed = 480.f;  // 1..1000
    float cl_sidespeed = 480.f;     // 1..1000
    float sensitivity = 13.f;       // 1..25
};
Settings& Config();
void ResetSettings();

// True when every byte is a decimal digit; also true for an empty text.
bool IsDigits(std::string_view text);

// The shared routine of the float settings; `name` is the setting's lower-case name.
void SetRangedSetting(std::string_view name, std::string_view value, int32_t min, float& target,
                      int32_t max);

// The commands cl_forwardspeed, cl_sidespeed and sensitivity (fov reprojects, so app has it).
namespace commands {
void ForwardSpeed(const Words& w);
void SideSpeed(const Words& w);
void Sensitivity(const Words& w);
}  // namespace commands

}  // namespace tam
