// Physical key positions (SDL scancodes) to Windows virtual-key codes, so that bindings and the
// console key follow key positions on any layout; SDL mouse-button numbers to the main window's
// buttons.
#pragma once

#include <optional>

#include "platform/platform.h"

namespace tam::platform {

// The virtual-key code for an SDL scancode, or 0 for keys the program has no code for.
int VirtualKeyFromScancode(int scancode);
// The button for an SDL mouse-button number; none for the side buttons (X1, X2) and any further
// ones, which have no binding of their own and must not act as another button.
std::optional<Button> MouseButtonFromSdl(int button);

}  // namespace tam::platform
