// Key names and bindings, and the dispatch of key, mouse-button and wheel events of the main
// window into command lines. Key codes are Windows virtual-key codes (0 and 1 stand for the left
// and right mouse buttons). Window thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/commands.h"

namespace tam {

inline constexpr int kKeyCount = 255;

struct Key_t {
    std::string Name;     // lower case; empty for codes without a name
    std::string Command;  // the bound command line; empty when nothing is bound
};

struct KeyState {
    std::array<Key_t, kKeyCount> table;
};
KeyState& Keys();
void ResetKeys();  // an empty table, as at program start
inline Key_t& KeyTable(int code) { return Keys().table[code]; }

void InitKeyTable();                        // names, then the default bindings
int32_t FindKey(std::string_view name);     // lowest code with that name (CP1251-lowercased), or -1
void BindKey(std::string_view name, std::string_view command);

enum class MouseButton { Left, Right, Middle };

// Event handlers of the main window.
void KeyDown(int key);
void KeyUp(int key);
void MouseButtonDown(MouseButton button);
void MouseButtonUp(MouseButton button);
// The wheel's signed delta (120 a notch): 0..0x7F00 widens the view by 2 degrees, any other
// narrows it; the field of view stays within its range.
void MouseWheel(int delta);

// The command bind: shows a key's binding or binds a command line to it.
namespace commands {
void Bind(const Words& w);
}  // namespace commands

}  // namespace tam
