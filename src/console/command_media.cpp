// Command handlers that hand work to other subsystems: the map and its generator, fog, textures,
// sound, volume and display mode. File commands test that the typed name exists beside the
// program, then pass the name as typed to the operation, which resolves it the same way.
#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "app/players.h"
#include "console/commands.h"
#include "console/commands_local.h"
#include "console/console.h"
#include "console/cp1251.h"
#include "console/operations.h"
#include "images/texture.h"
#include "platform/files.h"

namespace tam::commands {
namespace {

using namespace tam::literals;

constexpr uint32_t kMaxVolume = 65535;

void PrintBadParameter() {
    ConsolePrint("Неверно задан параметр"_cp, true);
}

bool ExistsBesideProgram(std::string_view name) {
    return FileExists(ResolvePath(name));
}

// The shared shape of play_midi, play_wav and play_mp3.
void PlayFileCommand(const Words& w, const char* usage,
                     const std::function<void(const std::string&)>& play) {
    if (w[1] == "?") {
        ConsolePrint(usage, true);
    } else if (w[1].empty()) {
        PrintBadParameter();
    } else if (ExistsBesideProgram(w[1])) {
        play(std::string(w[1]));
    } else {
        ConsolePrint("File not found", true);
    }
}

// A volume word: digits only, 0..65535. Compared as text, so any length is safe.
bool ParseVolume(std::string_view word, uint32_t& volume) {
    if (word.empty()) return false;
    for (char c : word)
        if (c < '0' || c > '9') return false;
    const size_t first = word.find_first_not_of('0');
    if (first == std::string_view::npos) {
        volume = 0;
        return true;
    }
    const std::string_view significant = word.substr(first);
    if (significant.size() > 5) return false;
    uint32_t value = 0;
    for (char c : significant) value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > kMaxVolume) return false;
    volume = value;
    return true;
}

}  // namespace

void CreateMap(const Words&) {
    Ops().CreateMap();
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
        Ops().FogOn();
    } else if (arg == "-") {
        Ops().FogOff();
    } else if (arg == "1" || arg == "2" || arg == "3") {
        Ops().FogMode(arg[0] - '0');
    } else if (arg == "pl" && !w[2].empty()) {
        const double density = StrToFloat(w[2]) * 0.01;
        if (!(std::fabs(density) <= FLT_MAX))  // would not fit the float the fog keeps
            throw ConversionError("\"" + Cp1251ToUtf8(w[2].substr(0, 40)) +
                                  "\" is out of the fog density range");
        Ops().FogDensity(static_cast<float>(density));
    } else {
        PrintBadParameter();
    }
}

void LoadMap(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("load_map [Map File name]", true);
    } else if (!w[1].empty()) {
        if (Ops().LoadMap(ResolvePath(w[1]))) {
            Plr().PlayerCount = 1;
            Plr().CurrentPlayer = 0;
            Ops().SpawnPlayer(0);
        } else {
            ConsolePrint("Map is not loaded...", true);
        }
    }
}

void LoadTexture(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("load_texture [File Name(*.tga *.bmp *.pcx)]", false);
        ConsolePrint("   File Name - Имя файла в папке с игрой"_cp, false);
    } else if (w[1].empty()) {
        ConsolePrint("Файл не указан"_cp, true);
    } else if (ExistsBesideProgram(w[1])) {
        Tex().LastLoadedTexture = Ops().LoadTexture(w[1]);
    } else {
        ConsolePrint("Файл с тектурой не наден"_cp, true);
    }
}

void PlayMidi(const Words& w) {
    PlayFileCommand(w, "Play_MIDI [File name]", Ops().PlayMidi);
}
void PlayWav(const Words& w) {
    PlayFileCommand(w, "Play_WAV [File name]", Ops().PlayWav);
}
void PlayMp3(const Words& w) {
    PlayFileCommand(w, "Play_MP3 [File name]", Ops().PlayMp3);
}

// The level goes to both channels: the volume word holds the left level in its low half and
// the right level in its high half.
void SetVolume(const Words& w) {
    uint32_t volume = 0;
    if (w[1] == "?") {
        ConsolePrint("Set_Volume [0 - 65535]", true);
    } else if (ParseVolume(w[1], volume)) {
        Ops().SetVolume(volume | (volume << 16));
    } else {
        PrintBadParameter();
    }
}

// The border and the new screen object come before the size words are read, so a bad size
// leaves them in place.
void SetFullScreen(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("set_fullscreen [Width] [Height] [ColorBit]", true);
    } else if (!w[1].empty() && !w[2].empty() && !w[3].empty()) {
        Ops().SetBorderNone();
        Ops().NewScreen();
        const int32_t width = StrToInt(w[1]);
        const int32_t height = StrToInt(w[2]);
        const int32_t bits = StrToInt(w[3]);
        Ops().ScreenSetFullScreen(width, height, bits);
        Ops().InitOpenGL();
    } else {
        PrintBadParameter();
    }
}

void SetWindowed(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("set_windowed [Width] [Height]", true);
    } else if (!w[1].empty() && !w[2].empty()) {
        Ops().SetBorderSizeable();
        Ops().NewScreen();
        const int32_t width = StrToInt(w[1]);
        const int32_t height = StrToInt(w[2]);
        Ops().ScreenSetWindowed(width, height);
        Ops().InitOpenGL();
    } else {
        PrintBadParameter();
    }
}

}  // namespace tam::commands
