// The world's commands: create_map, fog, no_clip and load_map.
#include <cfloat>
#include <cmath>
#include <string>

#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "base/files.h"
#include "render/opengl.h"
#include "world/map.h"

namespace tam::commands {

using namespace tam::literals;

void CreateMap(const Words&) {
    tam::CreateMap();
}

void Fog(const Words& w) {
    const std::string_view arg = w[1];
    if (arg == "?") {
        ConsolePrint("fog + - Включить туман"_cp, true);
        ConsolePrint("fog - - Выключить туман"_cp, true);
        ConsolePrint("fog 1 - Тип тумана"_cp, true);
        ConsolePrint("fog 2 - Тип тумана"_cp, true);
        ConsolePrint("fog 3 - Тип тумана"_cp, true);
        ConsolePrint("fog pl XXX - XXX-плотность тумана от 0 до 100"_cp, true);
    } else if (arg == "+") {
        FogOn();
    } else if (arg == "-") {
        FogOff();
    } else if (arg == "1" || arg == "2" || arg == "3") {
        FogMode(arg[0] - '0');
    } else if (arg == "pl" && !w[2].empty()) {
        const double density = StrToFloat(w[2]) * 0.01;
        if (!(std::fabs(density) <= FLT_MAX))  // would not fit the float the fog keeps
            throw ConversionError(QuoteForError(w[2]) + " is out of the fog density range");
        FogDensity(static_cast<float>(density));
    } else {
        PrintBadParameter();
    }
}

void NoClip(const Words&) {
    uint8_t& flag = World().no_clip;
    flag = flag ? 0 : 1;
    ConsolePrint(flag ? "No Clip ON" : "No Clip OFF", true);
}

bool LoadMap(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("load_map [Map File name]", true);
    } else if (!w[1].empty()) {
        if (tam::LoadMap(ResolvePath(w[1]))) {
            World().mapFile.assign(w[1]);
            return true;
        }
        ConsolePrint("Map is not loaded...", true);
    }
    return false;
}

}  // namespace tam::commands
