// Shared set-up for the command-language and console tests: a fresh console with a recording
// window, fresh settings, key table and players, the operations of other subsystems replaced by
// a recorder, and a scratch program folder holding a few files for the file commands.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
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

using Lines = std::vector<std::string>;

// A console window that records what is asked of it; `drawn` holds the last redraw's rows.
class RecordingView : public ConsoleView {
  public:
    Lines drawn;
    bool visible = true;
    int presents = 0, shows = 0, fronts = 0;
    void Clear() override { drawn.clear(); }
    void DrawLine(int row, std::string_view text) override {
        if (static_cast<int>(drawn.size()) <= row) drawn.resize(row + 1);
        drawn[row] = std::string(text);
    }
    void Present() override { ++presents; }
    void Show() override { visible = true, ++shows; }
    void Hide() override { visible = false; }
    void BringToFront() override { ++fronts; }
    bool Visible() const override { return visible; }
    void ShowModal() override {}
};

// The console log's lines, oldest first.
inline Lines ConsoleLog() {
    const ConsoleState& c = Con();
    return {c.log.begin() + 1, c.log.begin() + 1 + c.lineCount};
}

// Every operation of another subsystem becomes one line in `calls`, e.g. "SetVolume 65537".
struct OperationsRecorder {
    Lines calls;
    bool loadMapResult = true;
    uint32_t textureResult = 42;

    template <class... A>
    bool Note(std::string s, const A&... a) {
        ((s += " " + Text(a)), ...);
        calls.push_back(std::move(s));
        return true;
    }
    template <class T>
    static std::string Text(const T& v) {
        if constexpr (std::is_arithmetic_v<T>) return std::to_string(v);
        else return std::string(v);
    }

    void Install() {
        CommandOperations& o = Ops();
        o.LoadMap = [this](const std::string& p) { return Note("LoadMap", p) && loadMapResult; };
        o.SpawnPlayer = [this](int i) { Note("SpawnPlayer", i); };
        o.FogOn = [this] { Note("FogOn"); };
        o.FogOff = [this] { Note("FogOff"); };
        o.FogMode = [this](int m) { Note("FogMode", m); };
        o.FogDensity = [this](float d) { Note("FogDensity", d); };
        o.CreateMap = [this] { return Note("CreateMap"); };
        o.LoadTexture = [this](auto n) { return Note("LoadTexture", n), textureResult; };
        o.PlayMidi = [this](const std::string& n) { Note("PlayMidi", n); };
        o.PlayWav = [this](const std::string& n) { Note("PlayWav", n); };
        o.PlayMp3 = [this](const std::string& n) { Note("PlayMp3", n); };
        o.SetVolume = [this](uint32_t v) { Note("SetVolume", v); };
        o.SetBorderNone = [this] { Note("SetBorderNone"); };
        o.SetBorderSizeable = [this] { Note("SetBorderSizeable"); };
        o.NewScreen = [this] { Note("NewScreen"); };
        o.ScreenSetFullScreen = [this](int w, int h, int b) {
            return Note("ScreenSetFullScreen", w, h, b), 0;
        };
        o.ScreenSetWindowed = [this](int w, int h) { return Note("ScreenSetWindowed", w, h), 0; };
        o.InitOpenGL = [this] { return Note("InitOpenGL"); };
        o.ApplyProjection = [this](int f) { Note("ApplyProjection", f); };
        o.RequestQuit = [this] { Note("RequestQuit"); };
    }
};

class CommandTest : public ::testing::Test {
  protected:
    RecordingView view;
    OperationsRecorder ops;
    std::string savedProgramDir = ProgramDir();
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
        const auto* test = ::testing::UnitTest::GetInstance();
        dir = std::filesystem::temp_directory_path() /
              ("tam_commands_" + std::to_string(test->random_seed()) + "_" +
               test->current_test_info()->name());
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

    static Lines Log() { return ConsoleLog(); }

    // Runs `line` on an empty log and returns what it printed.
    static Lines Run(std::string_view line) {
        Con().lineCount = 0;
        ExecuteCommand(line);
        return Log();
    }
};

// UTF-8 test text as the program's CP1251 bytes.
inline std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }

}  // namespace tam::test
