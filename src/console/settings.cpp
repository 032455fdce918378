// The numeric settings and their commands: a plain decimal word inside the range sets the value,
// anything else shows the value or the range. Every message is printed with a redraw.
#include "console/settings.h"

#include <string>

#include "console/commands.h"
#include "console/console.h"
#include "console/cp1251.h"
#include "console/operations.h"

namespace tam {
namespace {

constexpr int32_t kFovMin = 10;
constexpr int32_t kFovMax = 120;

}  // namespace

Settings& Cvars() {
    static Settings s;
    return s;
}

void ResetSettings() {
    Cvars() = Settings{};
}

bool IsDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

void SetRangedSetting(std::string_view name, std::string_view value, int32_t min, float& target,
                      int32_t max) {
    if (value.empty() || !IsDigits(value)) {
        // Every value a command can store is a whole number in 1..1000, so the cast is exact.
        ConsolePrint(std::string(name) + "=" + std::to_string(static_cast<int64_t>(target)), true);
        return;
    }
    const int32_t n = StrToInt(value);
    if (n >= min && n <= max) {
        target = static_cast<float>(n);
        return;
    }
    ConsolePrint(UpperCp1251(name) + " Must be between [" + std::to_string(min) + "; " +
                     std::to_string(max) + "]",
                 true);
}

void FovCommand(std::string_view value) {
    using namespace tam::literals;
    if (value == "?") {
        ConsolePrint("   FOV - Установка угла обзора"_cp, true);
        ConsolePrint("   Количество параметров - 1"_cp, true);
        ConsolePrint("   Параметр указывает угол обзора от "_cp + std::to_string(kFovMin) +
                         " до "_cp + std::to_string(kFovMax),
                     true);
        return;
    }
    if (value.empty() || !IsDigits(value)) {
        ConsolePrint("FOV=" + std::to_string(Cvars().fov), true);
        return;
    }
    const int32_t n = StrToInt(value);
    if (n >= kFovMin && n <= kFovMax) {
        Cvars().fov = n;
        Ops().ApplyProjection(n);
        return;
    }
    ConsolePrint("Параметр должен быть между ["_cp + std::to_string(kFovMin) + "; " +
                     std::to_string(kFovMax) + "]",
                 true);
}

void ForwardSpeedCommand(std::string_view value) {
    SetRangedSetting("cl_forwardspeed", value, 1, Cvars().cl_forwardspeed, 1000);
}

void SideSpeedCommand(std::string_view value) {
    SetRangedSetting("cl_sidespeed", value, 1, Cvars().cl_sidespeed, 1000);
}

void SensitivityCommand(std::string_view value) {
    SetRangedSetting("sensitivity", value, 1, Cvars().sensitivity, 25);
}

}  // namespace tam
