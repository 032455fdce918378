// Placeholder: display modes and the DirectX stage are being written.
#include "media/display.h"

namespace tam {

bool InitDirectX() { return true; }
void ShutdownDirectX() {}
void SetBorderNone() {}
void SetBorderSizeable() {}
void NewScreen() {}
int ScreenSetFullScreen(int, int, int) { return 0; }
int ScreenSetWindowed(int, int) { return 0; }

}  // namespace tam
