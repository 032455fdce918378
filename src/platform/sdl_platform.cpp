// Placeholder: the SDL platform layer is being written.
#include "platform/platform.h"

namespace tam::platform {

bool Init() { return false; }
void Shutdown() {}
void Run(const std::function<void(bool&)>&) {}
void RequestQuit() {}
bool QuitRequested() { return false; }
bool CreateMainWindow() { return false; }
void DestroyMainWindow() {}
bool MainWindowExists() { return false; }
void MainWindowOuterSize(int& w, int& h) { w = h = 0; }
void MainWindowClientSize(int& w, int& h) { w = h = 0; }
bool MainWindowHasGlDrawable() { return false; }
void* CreateGlContext() { return nullptr; }
bool MakeGlCurrent(void*) { return false; }
void ReleaseGlCurrent() {}
void DeleteGlContext(void*) {}
void SwapMainWindow() {}
void SetMainBorder(Border) {}
Border MainBorder() { return Border::Single; }
int EnterFullScreen(int, int, int) { return 2; }
int LeaveFullScreen() { return 0; }
ConsoleView* CreateConsoleWindow() { return nullptr; }
void TakeMouseDelta(int& dx, int& dy) { dx = dy = 0; }
void SetCursorPos(int, int) {}
void ShowMessageBox(const std::string&, const std::string&) {}
uint64_t PerfCounter() { return 0; }
uint64_t PerfFrequency() { return 1; }
uint32_t ElapsedMilliseconds() { return 0; }

}  // namespace tam::platform
