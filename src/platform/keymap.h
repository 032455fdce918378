// Physical key positions (SDL scancodes) to Windows virtual-key codes, so that bindings and the
// console key follow key positions on any layout.
#pragma once

namespace tam::platform {

// The virtual-key code for an SDL scancode, or 0 for keys the program has no code for.
int VirtualKeyFromScancode(int scancode);

}  // namespace tam::platform
