// Shared set-up for the command-language and console tests: the program's command chain, fresh
// state everywhere, recorders for GL, audio and display, and a scratch program folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/players.h"
#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "base/files.h"
#include "console/settings.h"
#include "gl_recorder.h"
#include "images/texture.h"
#include "input/keys.h"
#include "media_fakes.h"
#include "platform/platform.h"
#include "render/opengl.h"
#include "world/map.h"

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

// A fresh folder named after the running test, the program folder while this object lives.
struct ScratchProgramDir {
    std::string saved = ProgramDir();
    std::filesystem::path path = std::filesystem::temp_directory_path() /
        ("tam_" + std::to_string(getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ScratchProgramDir() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        SetProgramDir(path.string() + "/");
    }
    ~ScratchProgramDir() {
        SetProgramDir(saved);
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

// The console log's lines, oldest first; and joined, as they were before the log wrapped them at
// 60 bytes.
inline Lines ConsoleLog() {
    const ConsoleState& c = Con();
    return {c.log.begin() + 1, c.log.begin() + 1 + c.lineCount};
}
inline std::string ConsoleText() {
    std::string all;
    for (const std::string& l : ConsoleLog()) all += l;
    return all;
}

// A main window of the given size whose OpenGL context is made (when `context`) or refused.
class FakeGlWindow : public GlWindow {
  public:
    FakeGlWindow(bool context, int w, int h) : context_(context), w_(w), h_(h) {}
    bool Exists() override { return true; }
    bool HasGlDrawable() override { return true; }
    void OuterSize(int& w, int& h) override { w = w_, h = h_; }
    void* CreateGlContext() override { return context_ ? &context_ : nullptr; }
    bool MakeGlCurrent(void*) override { return context_; }
    void ReleaseGlCurrent() override {}
    void DeleteGlContext(void*) override {}

  private:
    bool context_;
    int w_, h_;
};

class CommandTest : public ::testing::Test {
  protected:
    RecordingView view;
    GlRecorder gl;
    gl::ScopedBackend glScope{&gl};
    FakeAudio audio;
    audio::ScopedBackend audioScope{&audio};
    FakeDisplay display;
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ScratchProgramDir scratch;
    const std::filesystem::path& dir = scratch.path;  // tests may point HOME and XDG_CONFIG_HOME here

    void SetUp() override {
        ResetConsole();
        Con().view = &view;
        RegisterCommandChain();
        ResetSettings();
        ResetKeys();
        InitKeyTable();
        ResetPlayers();
        ResetTextures();
        ResetWorld();
        ResetSound();
        ResetMedia();
        Media().device = &display;
        NewScreen();
        audio.open = true;
        audio.channels = kMixChannels;
        std::filesystem::create_directories(dir / "Data" / "Sound");
        std::ofstream(dir / "Data" / "Sound" / "mp40f1.wav") << std::string("RIFF\4\0\0\0WAVE", 12);
        audio.readable.insert((dir / "Data" / "Sound" / "mp40f1.wav").string());
        // A 1 x 1 uncompressed true-colour TGA.
        std::ofstream(dir / "wall.tga") << std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\30\0\0\0\377", 21);
    }

    void TearDown() override {
        ResetConsole();
        ResetSound();
        ResetMedia();
        ResetTextures();
        ResetWorld();
        platform::Shutdown();  // forgets a quit request
        setenv("HOME", savedHome.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }

    static Lines Log() { return ConsoleLog(); }
    static std::string Joined() { return ConsoleText(); }

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
