// The start-up stage of the media devices, the screen-mode holder on top of the display device,
// and the border and mode steps of the display commands.
#include "media/display.h"

#include <cstdio>
#include <string>

#include "console/console.h"
#include "base/files.h"

namespace tam {
namespace {

constexpr const char* kMusicFile = "Data\\Sound\\Ext.mid";

// The device in force before start-up installs one: there is no window to bind to.
class NoDisplayDevice final : public DisplayDevice {
public:
    bool HasWindow() override { return false; }
    void SetBorder(Border) override {}
    int EnterFullScreen(int, int, int) override { return NDX_Screen::kLevelRefused; }
    bool InFullScreen() override { return false; }
    int LeaveFullScreen() override { return NDX_Screen::kLevelRefused; }
};

// The start-up log line for a sound device that failed to open with `status`.
std::string SoundOffLine(int status) {
    const std::string code = " (status " + std::to_string(status) + "): sound is off";
    if (status == NDX_Sound::kCannotSetUp)
        return "  Sound device could not be set up" + code;
    return "  No sound device" + code;
}

DisplayDevice& Device() {
    static NoDisplayDevice none;
    MediaState& m = Media();
    return m.device ? *m.device : none;
}

}  // namespace

MediaState& Media() {
    static MediaState state;
    return state;
}

void ResetMedia() {
    MediaState& m = Media();
    m.screen.reset();
    m.sound.reset();
    m.midi.reset();
    m = MediaState{};
}

NDX_Screen::~NDX_Screen() {
    if (fullScreen_) device_.LeaveFullScreen();
}

int NDX_Screen::Create() {
    created_ = device_.HasWindow();
    return created_ ? kOk : kNoDisplay;
}

int NDX_Screen::SetFullScreen(int, int width, int height, int bits) {
    if (!created_) return kNoDisplay;
    const int result = device_.EnterFullScreen(width, height, bits);
    if (result != kOk) return result;
    fullScreen_ = true;
    width_ = width;
    height_ = height;
    return kOk;
}

int NDX_Screen::SetWindowed(int, int width, int height) {
    if (!created_) return kNoDisplay;
    if (device_.InFullScreen() && device_.LeaveFullScreen() != kOk) return kLevelRefused;
    fullScreen_ = false;
    width_ = width;
    height_ = height;
    return kOk;
}

bool InitMediaDevices() {
    MediaState& m = Media();
    ConsolePrint("Initializatig DirectX...", true);
    ConsolePrint("  Setting Full Screen Mode...", true);
    NewScreen();

    ConsolePrint("  Initializating Sound...", true);
    m.sound = std::make_unique<NDX_Sound>();
    if (const int status = m.sound->Create(); status != 0) {
        const std::string line = SoundOffLine(status);
        std::fprintf(stderr, "tamberlo: %s\n", line.c_str() + 2);
        ConsolePrint(line, true);
    }

    ConsolePrint("  Initializating Music...", true);
    m.midi = std::make_unique<NDX_Midi>();
    m.midi->SetFile(ResolvePath(kMusicFile));

    ConsolePrint("DirectX initializated successfully", false);
    ConsolePrint(SeparatorLine(), true);
    return true;
}

void ShutdownMediaDevices() {
    MediaState& m = Media();
    m.screen.reset();
    m.sound.reset();
}

void SetBorderNone() { Device().SetBorder(Border::None); }
void SetBorderSizeable() { Device().SetBorder(Border::Sizeable); }

void NewScreen() {
    MediaState& m = Media();
    m.screen.reset();  // the earlier holder gives the screen back before the new one binds
    m.screen = std::make_unique<NDX_Screen>(Device());
    m.screen->Create();
}

namespace {

const char* StatusText(int status) {
    switch (status) {
        case NDX_Screen::kNoDisplay: return "no display";
        case NDX_Screen::kModeRefused: return "no such display mode";
        case NDX_Screen::kLevelRefused: return "the window cannot take it";
        default: return "refused";
    }
}

// A switch that did not happen is said in the log, so the user is not left guessing.
int Report(const std::string& what, int status) {
    if (status != NDX_Screen::kOk)
        ConsolePrint(what + ": " + StatusText(status) + " (status " +
                         std::to_string(status) + ")",
                     true);
    return status;
}

}  // namespace

int ScreenSetFullScreen(int width, int height, int colorBits) {
    NDX_Screen* screen = Media().screen.get();
    const int status =
        screen ? screen->SetFullScreen(0, width, height, colorBits) : NDX_Screen::kNoDisplay;
    return Report("Full screen " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                      std::to_string(colorBits),
                  status);
}

int ScreenSetWindowed(int width, int height) {
    NDX_Screen* screen = Media().screen.get();
    const int status = screen ? screen->SetWindowed(0, width, height) : NDX_Screen::kNoDisplay;
    return Report("Windowed mode", status);
}

}  // namespace tam
