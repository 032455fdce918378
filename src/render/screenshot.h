// Screenshots: the `screenshot` command asks for one, and the frame loop takes it from the
// finished frame before it is shown, as a PNG under the user's pictures folder. Window thread.
#pragma once

#include <string>

#include "console/commands.h"

namespace tam {

struct ScreenshotState {
    bool pending = false;  // asked for; taken by the next TakePendingScreenshot
};
ScreenshotState& Shots();
void ResetScreenshots();

// XDG_PICTURES_DIR from user-dirs.dirs ($XDG_CONFIG_HOME, else ~/.config), else ~/Pictures.
std::string PicturesDir();

// When a screenshot is pending: reads the main window's drawable through the GL seam and writes
// it as PNG to PicturesDir()/Tamberlo/ under the date and time, never over an existing file;
// prints the path, or why nothing was written; a failed write leaves no file. Call after drawing
// a frame, before showing it.
void TakePendingScreenshot();

namespace commands {
void Screenshot(const Words& w);
}

}  // namespace tam
