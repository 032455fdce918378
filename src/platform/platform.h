// The platform layer on SDL2: the application's message loop with its idle hook, the main window
// with its OpenGL context, the console window, the pointer, the message box and the clocks.
// Nothing outside platform/ includes SDL. Window thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tam {
class ConsoleView;
}

namespace tam::platform {

// Starts SDL's video and event subsystems; false (with a message on stderr) when there is no
// display.
bool Init();
void Shutdown();

// The message loop: delivers queued window events (never inside an idle call) and calls `idle`
// whenever the queue is empty; `idle` sets its flag to false to be called again at once. An
// exception escaping an event handler or idle call shows its text in a message box and the loop
// goes on. Returns when a quit request arrives.
void Run(const std::function<void(bool& done)>& idle);
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
void DestroyMainWindow();
bool MainWindowExists();
void MainWindowOuterSize(int& w, int& h);  // including the frame
void MainWindowClientSize(int& w, int& h);
bool MainWindowHasGlDrawable();
void* CreateGlContext();  // null on failure
bool MakeGlCurrent(void* ctx);
void ReleaseGlCurrent();
void DeleteGlContext(void* ctx);
void SwapMainWindow();

enum class Border { Single, None, Sizeable };
void SetMainBorder(Border border);
Border MainBorder();
// Exclusive full screen at a mode of this size and depth: 0 done, 2 no such mode, 3 the window
// cannot take it.
int EnterFullScreen(int width, int height, int bits);
// Back to the desktop mode with the window's own size; 0 done, 3 refused.
int LeaveFullScreen();

// The console window at (0, 0): white CP1251 text on black in a monospace font, 60 x 32 cells.
ConsoleView* CreateConsoleWindow();

// The mouse-look delta since the last call, in screen pixels, measured around the centre
// (400, 300). Zero while none of the program's windows is active; the pointer is re-centred (or
// relative motion used where warping is unavailable) only while one is.
void TakeMouseDelta(int& dx, int& dy);
void SetCursorPos(int x, int y);

void ShowMessageBox(const std::string& title, const std::string& utf8Text);

uint64_t PerfCounter();
uint64_t PerfFrequency();
// glutGet(GLUT_ELAPSED_TIME): wall-clock milliseconds, modulo 2^32.
uint32_t ElapsedMilliseconds();

}  // namespace tam::platform
