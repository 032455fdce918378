// The display-mode unit against stand-in display and audio devices: the start-up stage's log
// and holders, the border and mode steps of the display commands with their status codes, the
// release of replaced screen holders, and shutdown.
#include <gtest/gtest.h>

#include "console/console.h"
#include "console/files.h"
#include "media/display.h"
#include "media_fakes.h"

namespace tam {
namespace {

using Lines = std::vector<std::string>;
const std::string kGameDir = std::string(TAM_GAME_DIR) + "/";

class MediaDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ResetConsole();
        ResetMedia();
        ResetSound();
        Media().device = &display;
    }
    void TearDown() override {
        ResetMedia();
        ResetSound();
        SetProgramDir("");
    }
    test::FakeDisplay display;
    test::FakeAudio audio;
    audio::ScopedBackend scoped{&audio};
};

TEST_F(MediaDisplay, StartUpStageLogsAndMakesItsHolders) {
    SetProgramDir(kGameDir);
    // Without sound the log says why, and start-up goes on.
    const struct {
        int status;
        const char* line;
    } cases[] = {
        {audio::kNoDevice, "  No sound device (status 16): sound is off"},
        {audio::kCannotSetUp, "  Sound device could not be set up (status 17): sound is off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        ResetConsole();
        ResetMedia();
        Media().device = &display;
        audio.openResult = c.status;
        EXPECT_TRUE(InitDirectX());
        EXPECT_EQ(Lines(Con().log.begin() + 1, Con().log.begin() + 1 + Con().lineCount),
                  (Lines{"Initializatig DirectX...", "  Setting Full Screen Mode...",
                         "  Initializating Sound...", c.line, "  Initializating Music...",
                         "DirectX initializated successfully", std::string(60, '=')}));
        ASSERT_TRUE(Media().screen && Media().sound && Media().midi);
        EXPECT_FALSE(Media().screen->FullScreen());
        EXPECT_TRUE(display.calls.empty()) << "start-up keeps the desktop mode";
        EXPECT_FALSE(Media().sound->Ready());
        EXPECT_EQ(Media().midi->File(), kGameDir + "Data/Sound/Ext.mid");
        EXPECT_TRUE(Media().midi->Opened());
    }
}

TEST_F(MediaDisplay, MissingMusicFileOnlyClearsTheFlag) {
    SetProgramDir("/nonexistent/");
    EXPECT_TRUE(InitDirectX());
    EXPECT_FALSE(Media().midi->Opened());
    EXPECT_TRUE(Media().sound->Ready());
}

TEST_F(MediaDisplay, FullScreenToAModeThatDoesNotExist) {
    display.enterResult = NDX_Screen::kModeRefused;
    SetBorderNone();
    NewScreen();
    EXPECT_EQ(ScreenSetFullScreen(801, 601, 16), NDX_Screen::kModeRefused);
    EXPECT_EQ(Con().log[Con().lineCount],
              "Full screen 801x601x16: no such display mode (status 2)");
    EXPECT_EQ(display.border, Border::None) << "the border stays removed";
    EXPECT_FALSE(Media().screen->FullScreen());
    display.enterResult = NDX_Screen::kLevelRefused;
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 16), NDX_Screen::kLevelRefused);
    EXPECT_EQ(display.calls, (Lines{"border none", "enter 801x601x16", "enter 800x600x16"}));
}

TEST_F(MediaDisplay, SwitchingBackAndForthReleasesEarlierScreens) {
    SetBorderSizeable();  // set_windowed after start-up: the window keeps its place and size
    NewScreen();
    EXPECT_EQ(ScreenSetWindowed(640, 480), 0);
    EXPECT_EQ(display.calls, (Lines{"border sizeable"}));
    display.calls.clear();
    SetBorderNone();
    NewScreen();
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 32), 0);
    EXPECT_TRUE(Media().screen->FullScreen());
    EXPECT_EQ(Media().screen->Width(), 800);
    SetBorderSizeable();
    NewScreen();  // the full-screen holder goes and gives the desktop mode back
    EXPECT_EQ(ScreenSetWindowed(640, 480), 0);
    EXPECT_EQ(display.border, Border::Sizeable);
    EXPECT_FALSE(Media().screen->FullScreen());
    EXPECT_EQ(display.calls, (Lines{"border none", "enter 800x600x32", "border sizeable", "leave"}));
    EXPECT_EQ(ScreenSetWindowed(640, 480), 0);
    EXPECT_EQ(display.calls.size(), 4u) << "a second set_windowed leaves the window alone";
    display.fullScreen = true;
    display.leaveResult = NDX_Screen::kLevelRefused;
    EXPECT_EQ(ScreenSetWindowed(640, 480), NDX_Screen::kLevelRefused);
}

TEST_F(MediaDisplay, WithoutWindowEveryStepReportsNoDisplay) {
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 16), NDX_Screen::kNoDisplay) << "no screen yet";
    display.window = false;
    NewScreen();
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 16), NDX_Screen::kNoDisplay);
    EXPECT_EQ(ScreenSetWindowed(640, 480), NDX_Screen::kNoDisplay);
    EXPECT_TRUE(display.calls.empty());
}

TEST_F(MediaDisplay, ShutdownEndsFullScreenAndClosesSoundButKeepsTheMusicHolder) {
    SetProgramDir(kGameDir);
    InitDirectX();
    ScreenSetFullScreen(1024, 768, 32);
    ASSERT_TRUE(audio.open);
    ShutdownDirectX();
    EXPECT_EQ(display.calls.back(), "leave");
    EXPECT_FALSE(Media().screen || Media().sound);
    EXPECT_FALSE(audio.open);
    EXPECT_TRUE(Media().midi);
    ShutdownDirectX();  // twice is harmless
    EXPECT_EQ(audio.closes, 1);
}

}  // namespace
}  // namespace tam
