// The platform layer on SDL2, the one folder that includes SDL. Its contract with the program:
// - Init before anything else, Shutdown last; between them the message loop (Run) owns the
//   thread and calls back into the program through WindowEvents and its idle hook. Everything
//   here runs on that one window thread.
// - It makes the two windows (the main window with its OpenGL drawable, the console window) and
//   implements the interfaces the lower layers declare for them: the console's view, the render
//   state's window, the display device and the audio backend, each living for the run.
// - It reports the windows' input as Windows virtual-key codes of key positions, and gives the
//   pointer's mouse-look delta, the message box and the clocks.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "console/console.h"
#include "media/audio.h"
#include "media/display.h"
#include "render/opengl.h"

namespace tam::platform {

enum class Button { Left, Right, Middle };

// The input of the two windows as the platform delivers it; the application connects it to the
// key dispatch and the console. Main-window input is held back while the console is modal.
// Exceptions escaping a handler are the message loop's (see Run).
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void MainKeyDown(int key) = 0;  // Windows virtual-key codes
    virtual void MainKeyUp(int key) = 0;
    virtual void MainButtonDown(Button button) = 0;
    virtual void MainButtonUp(Button button) = 0;
    // The wheel turned: the signed delta, 120 a notch, positive away from the user.
    virtual void MainWheel(int delta) = 0;
    virtual void ConsoleKeyDown(int key) = 0;
    virtual void ConsoleCharacter(uint8_t cp1251) = 0;
    virtual void ConsoleDeactivated() = 0;  // the console window lost the focus
    virtual void ConsoleClosed() = 0;       // its close button
};
// Installs `events` (not owned; null drops the windows' input).
void SetWindowEvents(WindowEvents* events);

// The platform's implementations of the lower layers' interfaces; each lives for the run.
GlWindow& MainGlWindow();
DisplayDevice& Display();
audio::Backend& SdlAudio();

// Starts SDL's video and event subsystems; false (with a message on stderr) when there is no
// display.
bool Init();
void Shutdown();

// The message loop: delivers queued window events (never inside an idle call) and calls `idle`
// whenever the queue is empty; `idle` sets its flag to false to be called again at once. An
// exception escaping an event handler or idle call shows its text in a message box and the loop
// goes on. Returns when a quit request arrives.
void Run(const std::function<void(bool& done)>& idle);
// The loop's handler of an exception that escaped a handler: its text (UTF-8) in the message box.
void ReportError(const std::exception& e);
void RequestQuit();
bool QuitRequested();

// The picture both windows show in the window manager (RGBA, top row first, width x height x 4
// bytes): applied to the windows that exist and to those made later. A wrong size is ignored.
void SetWindowIcon(int width, int height, std::vector<uint8_t> rgba);

// The main window: title "frmMain", client 642 x 456 at (175, 175), fixed border, pointer hidden
// over it, with an OpenGL-capable drawable (RGBA, 24 colour bits, 32 depth bits or the deepest
// offered, double-buffered).
bool CreateMainWindow();  // created hidden; ShowMainWindow shows it after construction
void ShowMainWindow();
void SwapMainWindow();  // presents the frame drawn into the main window's back buffer

// The console window at (0, 0): white CP1251 text on black in a monospace font, 60 x 32 cells.
ConsoleView* CreateConsoleWindow();

// The mouse-look delta since the last call, in screen pixels, measured around the centre
// (400, 300). Zero while none of the program's windows is active; the pointer is re-centred (or
// relative motion used where warping is unavailable) only while one is.
void TakeMouseDelta(int& dx, int& dy);
void SetCursorPos(int x, int y);

// Shows `utf8Text` in an error box titled `title` and returns once the box is closed; the text
// also goes to stderr. Where no box can be shown (no display, or the window system lacks what
// the box needs), stderr says so and the whole text goes into the console log instead, with the
// console shown; the caller goes on just the same.
void ShowMessageBox(const std::string& title, const std::string& utf8Text);
// The box itself: true once it was shown and closed, false with the reason in `why`. Empty
// selects SDL's box (the default); tests put a stand-in here after Init.
using MessageBoxFunction = std::function<bool(const std::string& title,
                                              const std::string& utf8Text, std::string& why)>;
void SetMessageBoxFunction(MessageBoxFunction show);

uint64_t PerfCounter();
uint64_t PerfFrequency();
// glutGet(GLUT_ELAPSED_TIME): wall-clock milliseconds, modulo 2^32.
uint32_t ElapsedMilliseconds();

}  // namespace tam::platform
