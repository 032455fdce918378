// The main window's own steps, which the platform's implementations of the lower layers'
// interfaces (the render state's window, the display device) are made of. Only sdl_platform.cpp
// uses them; other folders reach them through those interfaces. Window thread only.
#pragma once

#include "media/display.h"

namespace tam::platform {

void DestroyMainWindow();  // also its GL drawable; nothing when there is none
bool MainWindowExists();
void MainWindowOuterSize(int& w, int& h);  // including the frame
void MainWindowClientSize(int& w, int& h);
bool MainWindowHasGlDrawable();
void* CreateGlContext();  // null on failure
bool MakeGlCurrent(void* ctx);
void ReleaseGlCurrent();
void DeleteGlContext(void* ctx);

void SetMainBorder(Border border);
// Exclusive full screen at a mode of this size and depth: NDX_Screen's kOk, kModeRefused (no
// such mode) or kLevelRefused (the window cannot take it).
int EnterFullScreen(int width, int height, int bits);
bool MainWindowFullScreen();
// Back to the desktop mode, the window at the place and size it had before full screen; kOk
// (also when not in full screen, which changes nothing) or kLevelRefused.
int LeaveFullScreen();

}  // namespace tam::platform
