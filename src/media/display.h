// Display modes and the start-up DirectX stage: the screen-mode holder (NDX_Screen), full-screen
// and windowed switching of the main window, and the sound holders' lifetime.
#pragma once

namespace tam {

// Start-up stage "  DirectX initialization..."; always returns true.
bool InitDirectX();
void ShutdownDirectX();

// The steps of set_fullscreen / set_windowed, in the order the commands run them (the size words
// are converted between NewScreen and the switch, so a conversion error leaves the first two
// steps done):
void SetBorderNone();      // full-screen border style
void SetBorderSizeable();  // windowed border style
void NewScreen();          // a new NDX_Screen becomes the current one, and is created
int ScreenSetFullScreen(int width, int height, int colorBits);  // status 0, 2, 3...
int ScreenSetWindowed(int width, int height);                    // status 0, 3, 4, 32...

}  // namespace tam
