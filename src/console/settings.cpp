// Placeholder: the settings commands are being written.
#include "console/settings.h"

namespace tam {

Settings& Cvars() {
    static Settings s;
    return s;
}
void ResetSettings() { Cvars() = Settings{}; }
bool IsDigits(std::string_view) { return false; }
void SetRangedSetting(std::string_view, std::string_view, int32_t, float&, int32_t) {}
void FovCommand(std::string_view) {}
void ForwardSpeedCommand(std::string_view) {}
void SideSpeedCommand(std::string_view) {}
void SensitivityCommand(std::string_view) {}

}  // namespace tam
