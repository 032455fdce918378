// Display modes and the start-up stage of the media devices: the screen-mode holder (NDX_Screen),
// full-screen and windowed switching of the main window, and the sound holders' lifetime. Window
// thread only.
#pragma once

#include <memory>

#include "console/commands.h"
#include "media/sound.h"

namespace tam {

// The start-up stage of the screen-mode holder, the sound device and the music (its log line is
// "  DirectX initialization..."); always returns true.
bool InitMediaDevices();
void ShutdownMediaDevices();

// The steps of set_fullscreen / set_windowed, in the order the commands run them (the size words
// are converted between NewScreen and the switch, so a conversion error leaves the first two
// steps done):
void SetBorderNone();      // full-screen border style
void SetBorderSizeable();  // windowed border style
void NewScreen();          // a new NDX_Screen becomes the current one (the earlier one is released)
int ScreenSetFullScreen(int width, int height, int colorBits);  // NDX_Screen status
int ScreenSetWindowed(int width, int height);                    // NDX_Screen status

// The commands set_fullscreen and set_windowed: the steps above, then InitOpenGL.
namespace commands {
void SetFullScreen(const Words& w);
void SetWindowed(const Words& w);
}  // namespace commands

// The main window's border styles.
enum class Border { Single, None, Sizeable };

// What the screen holder needs of the window system; the platform layer implements it.
class DisplayDevice {
public:
    virtual ~DisplayDevice() = default;
    virtual bool HasWindow() = 0;
    virtual void SetBorder(Border border) = 0;
    virtual int EnterFullScreen(int width, int height, int bits) = 0;  // 0, 2 or 3
    virtual bool InFullScreen() = 0;
    // Back to the desktop mode, the window at its place and size from before; 0 or 3.
    virtual int LeaveFullScreen() = 0;
};

// One screen-mode holder bound to the main window. The destructor gives the desktop its mode
// back if this holder took the screen.
class NDX_Screen {
public:
    static constexpr int kOk = 0;
    static constexpr int kNoDisplay = 1;     // no window to bind to (or never created)
    static constexpr int kModeRefused = 2;   // no such display mode
    static constexpr int kLevelRefused = 3;  // the window cannot take exclusive / normal access

    explicit NDX_Screen(DisplayDevice& device) : device_(device) {}
    NDX_Screen(const NDX_Screen&) = delete;
    NDX_Screen& operator=(const NDX_Screen&) = delete;
    virtual ~NDX_Screen();

    int Create();
    // `flags` are unused (always 0). Full screen at width x height and `bits` per pixel.
    int SetFullScreen(int flags, int width, int height, int bits);
    // Back to the desktop mode; width x height is only recorded as the off-screen size. A window
    // that is not full screen is left where and as large as it is.
    int SetWindowed(int flags, int width, int height);

    bool FullScreen() const { return fullScreen_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    DisplayDevice& device_;
    bool created_ = false;
    bool fullScreen_ = false;
    int width_ = 0;
    int height_ = 0;
};

// The unit's holders. Reset by tests (ResetMedia releases the holders first).
struct MediaState {
    DisplayDevice* device = nullptr;  // null: no window (start-up installs the platform's)
    std::unique_ptr<NDX_Screen> screen;
    std::unique_ptr<NDX_Sound> sound;
    std::unique_ptr<NDX_Midi> midi;
};
MediaState& Media();
void ResetMedia();

}  // namespace tam
