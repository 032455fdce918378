// Shared set-up for the command-language tests: a fresh console with a recording window, fresh
// settings, key table and players, the operations of other subsystems replaced by a recorder,
// and a scratch program folder holding a few files for the file commands.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/players.h"
#include "console/commands.h"
#include "console/console.h"
#include "console/cp1251.h"
#include "console/operations.h"
#include "console/settings.h"
#include "images/texture.h"
#include "input/keys.h"
#include "platform/files.h"

namespace tam::test {

// A console window that only records what is asked of it.
class RecordingView : public ConsoleView {
  public:
    bool visible = true;
    int presents = 0;
    int shows = 0;
    int fronts = 0;
    void Clear() override {}
    void DrawLine(int, std::string_view) override {}
    void Present() override { ++presents; }
    void Show() override {
        visible = true;
        ++shows;
    }
    void Hide() override { visible = false; }
    void BringToFront() override { ++fronts; }
    bool Visible() const override { return visible; }
    void ShowModal() override {}
};

// Every operation of another subsystem becomes one line in `calls`, e.g. "SetVolume 65537".
struct OperationsRecorder {
    std::vector<std::string> calls;
    bool loadMapResult = true;
    uint32_t textureResult = 42;

    void Install() {
        CommandOperations& ops = Ops();
        auto note = [this](std::string s) { calls.push_back(std::move(s)); };
        ops.LoadMap = [this, note](const std::string& p) {
            note("LoadMap " + p);
            return loadMapResult;
        };
        ops.SpawnPlayer = [note](int i) { note("SpawnPlayer " + std::to_string(i)); };
        ops.FogOn = [note] { note("FogOn"); };
        ops.FogOff = [note] { note("FogOff"); };
        ops.FogMode = [note](int m) { note("FogMode " + std::to_string(m)); };
        ops.FogDensity = [note](float d) { note("FogDensity " + std::to_string(d)); };
        ops.CreateMap = [note] {
            note("CreateMap");
            return true;
        };
        ops.LoadTexture = [this, note](std::string_view n) {
            note("LoadTexture " + std::string(n));
            return textureResult;
        };
        ops.PlayMidi = [note](const std::string& n) { note("PlayMidi " + n); };
        ops.PlayWav = [note](const std::string& n) { note("PlayWav " + n); };
        ops.PlayMp3 = [note](const std::string& n) { note("PlayMp3 " + n); };
        ops.SetVolume = [note](uint32_t v) { note("SetVolume " + std::to_string(v)); };
        ops.SetBorderNone = [note] { note("SetBorderNone"); };
        ops.SetBorderSizeable = [note] { note("SetBorderSizeable"); };
        ops.NewScreen = [note] { note("NewScreen"); };
        ops.ScreenSetFullScreen = [note](int w, int h, int b) {
            note("ScreenSetFullScreen " + std::to_string(w) + " " + std::to_string(h) + " " +
                 std::to_string(b));
            return 0;
        };
        ops.ScreenSetWindowed = [note](int w, int h) {
            note("ScreenSetWindowed " + std::to_string(w) + " " + std::to_string(h));
            return 0;
        };
        ops.InitOpenGL = [note] {
            note("InitOpenGL");
            return true;
        };
        ops.ApplyProjection = [note](int f) { note("ApplyProjection " + std::to_string(f)); };
        ops.RequestQuit = [note] { note("RequestQuit"); };
    }
};

class CommandTest : public ::testing::Test {
  protected:
    RecordingView view;
    OperationsRecorder ops;
    std::string savedProgramDir;
    std::filesystem::path dir;

    void SetUp() override {
        ResetConsole();
        Con().view = &view;
        ResetInterpreter();
        ResetSettings();
        ResetKeys();
        InitKeyTable();
        ResetPlayers();
        ResetTextures();
        ops.Install();
        savedProgramDir = ProgramDir();
        dir = std::filesystem::temp_directory_path() /
              ("tam_commands_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "Data" / "Sound");
        std::ofstream(dir / "Data" / "Sound" / "mp40f1.wav") << "RIFF";
        std::ofstream(dir / "wall.tga") << "tga";
        SetProgramDir(dir.string() + "/");
    }

    void TearDown() override {
        ResetConsole();
        ResetOperations();
        SetProgramDir(savedProgramDir);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // The log's lines, oldest first.
    static std::vector<std::string> Log() {
        const ConsoleState& c = Con();
        return {c.log.begin() + 1, c.log.begin() + 1 + c.lineCount};
    }

    // Runs `line` on an empty log and returns what it printed.
    static std::vector<std::string> Run(std::string_view line) {
        Con().lineCount = 0;
        ExecuteCommand(line);
        return Log();
    }
};

// UTF-8 test text as the program's CP1251 bytes.
inline std::string Cp(std::string_view utf8) {
    return Utf8ToCp1251(utf8);
}

using Lines = std::vector<std::string>;

}  // namespace tam::test
