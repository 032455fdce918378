// Stand-ins for running the program's logic without a window system, in one place for the tests,
// the fuzz targets and tools to pick from: a console window that shows nothing, window events that
// go nowhere (the platform's own default while nobody listens), and SDL's offscreen video driver.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "console/console.h"
#include "platform/platform.h"

namespace tam::platform {

// A console window that draws nothing and always counts as visible.
class NullConsoleView final : public ConsoleView {
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

// Drops the windows' input.
class NoWindowEvents final : public WindowEvents {
public:
    void MainKeyDown(int) override {}
    void MainKeyUp(int) override {}
    void MainButtonDown(Button) override {}
    void MainButtonUp(Button) override {}
    void MainWheel(int) override {}
    void ConsoleKeyDown(int) override {}
    void ConsoleCharacter(uint8_t) override {}
    void ConsoleDeactivated() override {}
    void ConsoleClosed() override {}
};

// Makes the next Init take SDL's offscreen video driver: real windows and GL contexts that no
// display shows. Call before Init.
inline void ChooseOffscreenVideo() { ::setenv("SDL_VIDEODRIVER", "offscreen", 1); }

}  // namespace tam::platform
