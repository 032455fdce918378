// The media commands: play_midi, play_wav, play_mp3, set_volume, set_fullscreen and
// set_windowed. File commands test that the typed name exists beside the program, then pass the
// name as typed to the sound unit, which resolves it the same way.
#include <string>

#include "console/commands.h"
#include "console/console.h"
#include "media/display.h"
#include "media/sound.h"
#include "render/opengl.h"

namespace tam::commands {
namespace {

constexpr uint32_t kMaxVolume = 65535;

// The shared shape of play_midi, play_wav and play_mp3.
void PlayFileCommand(const Words& w, const char* usage, void (*play)(const std::string&)) {
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

void PlayMidi(const Words& w) {
    PlayFileCommand(w, "Play_MIDI [File name]", tam::PlayMidi);
}
void PlayWav(const Words& w) {
    PlayFileCommand(w, "Play_WAV [File name]", tam::PlayWav);
}
void PlayMp3(const Words& w) {
    PlayFileCommand(w, "Play_MP3 [File name]", tam::PlayMp3);
}

// The level goes to both channels: the volume word holds the left level in its low half and
// the right level in its high half.
void SetVolume(const Words& w) {
    uint32_t volume = 0;
    if (w[1] == "?") {
        ConsolePrint("Set_Volume [0 - 65535]", true);
    } else if (ParseVolume(w[1], volume)) {
        tam::SetVolume(volume | (volume << 16));
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
        SetBorderNone();
        NewScreen();
        const int32_t width = StrToInt(w[1]);
        const int32_t height = StrToInt(w[2]);
        const int32_t bits = StrToInt(w[3]);
        ScreenSetFullScreen(width, height, bits);
        InitOpenGL();
    } else {
        PrintBadParameter();
    }
}

void SetWindowed(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("set_windowed [Width] [Height]", true);
    } else if (!w[1].empty() && !w[2].empty()) {
        SetBorderSizeable();
        NewScreen();
        const int32_t width = StrToInt(w[1]);
        const int32_t height = StrToInt(w[2]);
        ScreenSetWindowed(width, height);
        InitOpenGL();
    } else {
        PrintBadParameter();
    }
}

}  // namespace tam::commands
