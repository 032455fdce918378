// The numeric settings and the commands of the ranged ones: a plain decimal word inside the range
// sets the value, anything else shows the value or the range. Every message is printed with a
// redraw.
#include "console/settings.h"

#include <string>

#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"

namespace tam {

Settings& Config() {
    static Settings s;
    return s;
}

void ResetSettings() {
    Config() = Settings{};
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

void commands::ForwardSpeed(const Words& w) {
    SetRangedSetting("cl_forwardspeed", w[1], 1, Config().cl_forwardspeed, 1000);
}

void commands::SideSpeed(const Words& w) {
    SetRangedSetting("cl_sidespeed", w[1], 1, Config().cl_sidespeed, 1000);
}

void commands::Sensitivity(const Words& w) {
    SetRangedSetting("sensitivity", w[1], 1, Config().sensitivity, 25);
}

}  // namespace tam
