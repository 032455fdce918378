// Scancode to virtual-key code table. Scancodes name key positions on a US-shaped keyboard, so
// the code a key sends never depends on the active layout: the key left of 1 is always the console
// key (192), and the keypad keys keep their own codes whatever the Num Lock state.
#include "platform/keymap.h"

#include <SDL2/SDL_mouse.h>
#include <SDL2/SDL_scancode.h>

#include <array>

#include "base/key_codes.h"

namespace tam::platform {
namespace {

struct ScancodeKey {
    SDL_Scancode scancode;
    int vk;
};

constexpr ScancodeKey kKeys[] = {
    // Main block.
    {SDL_SCANCODE_RETURN, vk::kReturn},
    {SDL_SCANCODE_ESCAPE, vk::kEscape},
    {SDL_SCANCODE_BACKSPACE, vk::kBack},
    {SDL_SCANCODE_TAB, vk::kTab},
    {SDL_SCANCODE_SPACE, vk::kSpace},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_LSHIFT, vk::kShift},
    {SDL_SCANCODE_RSHIFT, vk::kShift},
    {SDL_SCANCODE_LCTRL, vk::kControl},
    {SDL_SCANCODE_RCTRL, vk::kControl},
    {SDL_SCANCODE_LALT, vk::kAlt},
    {SDL_SCANCODE_RALT, vk::kAlt},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    // Punctuation keys by position.
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, vk::kConsole},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_NONUSHASH, 220},  // the ISO key in the backslash position
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},  // the extra ISO key beside left shift
    // Editing block and arrows.
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_LEFT, vk::kLeft},
    {SDL_SCANCODE_UP, vk::kUp},
    {SDL_SCANCODE_RIGHT, vk::kRight},
    {SDL_SCANCODE_DOWN, vk::kDown},
    // Keypad.
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_ENTER, vk::kReturn},
    {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},
    {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},
    {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_PERIOD, 110},
};

// Letters, digits and function keys are runs of consecutive scancodes; the rest is kKeys.
constexpr std::array<int, SDL_NUM_SCANCODES> BuildTable() {
    std::array<int, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = 'A' + i;
    for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = '1' + i;
    table[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = 112 + i;
    for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F13 + i] = 124 + i;
    for (const ScancodeKey& k : kKeys) table[k.scancode] = k.vk;
    return table;
}

constexpr std::array<int, SDL_NUM_SCANCODES> kTable = BuildTable();

}  // namespace

int VirtualKeyFromScancode(int scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return kTable[static_cast<size_t>(scancode)];
}

std::optional<Button> MouseButtonFromSdl(int button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return Button::Left;
        case SDL_BUTTON_MIDDLE: return Button::Middle;
        case SDL_BUTTON_RIGHT: return Button::Right;
        default: return std::nullopt;
    }
}

}  // namespace tam::platform
