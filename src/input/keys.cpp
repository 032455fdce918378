// Placeholder: the key table and dispatch are being written.
#include "input/keys.h"

namespace tam {

KeyState& Keys() {
    static KeyState k;
    return k;
}
void ResetKeys() { Keys() = KeyState{}; }
void InitKeyTable() {}
int32_t FindKey(std::string_view) { return -1; }
void BindKey(std::string_view, std::string_view) {}
void FormKeyDown(int) {}
void FormKeyUp(int) {}
void FormMouseDown(MouseButton) {}
void FormMouseUp(MouseButton) {}
void MouseWheel(uint32_t) {}

}  // namespace tam
