// Fuzz target: any bytes as one command line. The operations of
// other subsystems are replaced by no-ops (they need a window, a GL context or sound), a visible
// console stand-in makes unknown words print, and after every line the console, settings and key
// table must stay in bounds. Each run starts from saved copies of the fresh states, so nothing
// is rebuilt and no file is touched but the existence tests of the file commands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/commands.h"
#include "console/console.h"
#include "console/operations.h"
#include "console/settings.h"
#include "input/keys.h"
#include "platform/files.h"

namespace {

class NullView : public tam::ConsoleView {
  public:
    void Clear() override {}
    void DrawLine(int, std::string_view) override {}
    void Present() override {}
    void Show() override {}
    void Hide() override {}
    void BringToFront() override {}
    bool Visible() const override { return true; }
    void ShowModal() override {}
};

void InstallNoOps() {
    tam::CommandOperations& ops = tam::Ops();
    ops.LoadMap = [](const std::string&) { return false; };
    ops.SpawnPlayer = [](int) {};
    ops.FogOn = [] {};
    ops.FogOff = [] {};
    ops.FogMode = [](int) {};
    ops.FogDensity = [](float) {};
    ops.CreateMap = [] { return true; };
    ops.LoadTexture = [](std::string_view) { return 0u; };
    ops.PlayMidi = [](const std::string&) {};
    ops.PlayWav = [](const std::string&) {};
    ops.PlayMp3 = [](const std::string&) {};
    ops.SetVolume = [](uint32_t) {};
    ops.SetBorderNone = [] {};
    ops.SetBorderSizeable = [] {};
    ops.NewScreen = [] {};
    ops.ScreenSetFullScreen = [](int, int, int) { return 0; };
    ops.ScreenSetWindowed = [](int, int) { return 0; };
    ops.InitOpenGL = [] { return true; };
    ops.ApplyProjection = [](int) {};
    ops.RequestQuit = [] {};
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NullView view;
    static const tam::KeyState freshKeys = [] {
        InstallNoOps();
        tam::SetProgramDir("/nonexistent-tam-fuzz/");
        tam::ResetKeys();
        tam::InitKeyTable();
        return tam::Keys();
    }();
    tam::ResetConsole();
    tam::Con().view = &view;
    tam::ResetInterpreter();
    tam::ResetSettings();
    tam::Keys() = freshKeys;

    const std::string line(reinterpret_cast<const char*>(data), size);
    try {
        tam::ExecuteCommand(line);
        tam::FormKeyDown(87);
        tam::FormKeyUp(87);
    } catch (const tam::ConversionError&) {
    }

    const tam::ConsoleState& c = tam::Con();
    Check(c.lineCount >= 0 && c.lineCount <= tam::kConsoleLines);
    for (int i = 1; i <= c.lineCount; ++i) Check(c.log[i].size() <= 60);
    const tam::Settings& s = tam::Cvars();
    Check(s.fov >= 10 && s.fov <= 120);
    Check(s.sensitivity >= 1 && s.sensitivity <= 25);
    Check(s.cl_forwardspeed >= 1 && s.cl_forwardspeed <= 1000);
    Check(s.cl_sidespeed >= 1 && s.cl_sidespeed <= 1000);
    Check(tam::KeyTable(87).Name == "w");
    return 0;
}
