// Placeholder: the scancode to virtual-key table is being written.
#include "platform/keymap.h"

namespace tam::platform {

int VirtualKeyFromScancode(int) { return 0; }

}  // namespace tam::platform
