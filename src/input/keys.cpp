// The key table (names and bound command lines by virtual-key code), the main window's key,
// mouse-button and wheel handlers that turn events into command lines, and the bind command.
#include "input/keys.h"

#include <algorithm>
#include <utility>

#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "console/settings.h"
#include "render/opengl.h"

namespace tam {
namespace {

struct KeyName {
    int code;
    const char* name;
};

// Every named key; all other codes have no name and cannot be bound. Codes 0 and 1 are the mouse
// buttons, not their virtual-key codes.
constexpr KeyName kKeyNames[] = {
    {0, "leftmouse"}, {1, "rightmouse"}, {8, "backspace"}, {13, "enter"},    {16, "shift"},
    {17, "control"},  {18, "alt"},       {19, "pause"},    {20, "caps"},     {27, "escape"},
    {32, "space"},    {33, "pageup"},    {34, "pagedown"}, {35, "end"},      {36, "home"},
    {37, "left"},     {38, "up"},        {39, "right"},    {40, "down"},     {45, "insert"},
    {46, "delete"},   {48, "0"},         {49, "1"},        {50, "2"},        {51, "3"},
    {52, "4"},        {53, "5"},         {54, "6"},        {55, "7"},        {56, "8"},
    {57, "9"},        {65, "a"},         {66, "b"},        {67, "c"},        {68, "d"},
    {69, "e"},        {70, "f"},         {71, "g"},        {72, "h"},        {73, "i"},
    {74, "j"},        {75, "k"},         {76, "l"},        {77, "m"},        {78, "n"},
    {79, "o"},        {80, "p"},         {81, "q"},        {82, "r"},        {83, "s"},
    {84, "t"},        {85, "u"},         {86, "v"},        {87, "w"},        {88, "x"},
    {89, "y"},        {90, "z"},         {91, "l_win"},    {92, "r_win"},    {93, "menu"},
    {96, "num_0"},    {97, "num_1"},     {98, "num_2"},    {99, "num_3"},    {100, "num_4"},
    {101, "num_5"},   {102, "num_6"},    {103, "num_7"},   {104, "num_8"},   {105, "num_9"},
    {106, "num_*"},   {107, "num_+"},    {109, "num_-"},   {110, "num_del"}, {111, "num_/"},
    {112, "f1"},      {113, "f2"},       {114, "f3"},      {115, "f4"},      {116, "f5"},
    {117, "f6"},      {118, "f7"},       {119, "f8"},      {120, "f9"},      {121, "f10"},
    {122, "f11"},     {123, "f12"},      {144, "num"},     {145, "scroll"},  {186, ":"},
    {187, "="},       {188, ","},        {189, "-"},       {190, "."},       {191, "/"},
    {192, "`"},       {219, "["},        {220, "\\"},      {221, "]"},       {222, "'"},
};

// The bindings every run starts with, applied in this order after the names.
constexpr std::pair<const char*, const char*> kDefaultBindings[] = {
    {"`", "console"},         {"escape", "exit"},     {"f1", "help; console"},
    {"left", "+moveleft"},    {"up", "+forward"},     {"right", "+moveright"},
    {"down", "+back"},        {"a", "+moveleft"},     {"w", "+forward"},
    {"d", "+moveright"},      {"s", "+back"},         {"space", "jump"},
    {"leftmouse", "+attack"}, {"rightmouse", "jump"}, {"0", "fog +"},
    {"1", "fog -"},           {"f12", "screenshot"},  // an addition: F12 is otherwise unbound
};

constexpr int kLeftMouse = 0;
constexpr int kRightMouse = 1;
constexpr int kWheelUpLimit = 0x7F00;  // deltas above this, and negative ones, count as downward
constexpr int32_t kWheelStep = 2;

bool ValidCode(int key) {
    return key >= 0 && key < kKeyCount;
}

// Runs the key-up form of a binding: only a "+" action has one, its first byte turned to "-".
void RunRelease(int code) {
    const std::string& bound = KeyTable(code).Command;
    if (bound.empty() || bound[0] != '+') return;
    std::string release = bound;
    release[0] = '-';
    ExecuteCommand(release);
}

int MouseCode(MouseButton button) {
    return button == MouseButton::Left ? kLeftMouse : kRightMouse;
}

}  // namespace

KeyState& Keys() {
    static KeyState k;
    return k;
}

void ResetKeys() {
    Keys() = KeyState{};
}

void InitKeyTable() {
    for (Key_t& key : Keys().table) key.Name.clear();
    for (const KeyName& k : kKeyNames) KeyTable(k.code).Name = k.name;
    for (const auto& [name, command] : kDefaultBindings) BindKey(name, command);
}

int32_t FindKey(std::string_view name) {
    if (name.empty()) return -1;  // unnamed entries never match
    const std::string lower = LowerCp1251(name);
    for (int code = 0; code < kKeyCount; ++code)
        if (KeyTable(code).Name == lower) return code;
    return -1;
}

void BindKey(std::string_view name, std::string_view command) {
    const int32_t code = FindKey(name);
    if (code < 0) {
        ConsolePrint("Unknown key " + std::string(name), true);
        return;
    }
    KeyTable(code).Command.assign(command);
}

void KeyDown(int key) {
    if (!ValidCode(key)) return;
    ExecuteCommand(KeyTable(key).Command);
}

void KeyUp(int key) {
    if (!ValidCode(key)) return;
    RunRelease(key);
}

void MouseButtonDown(MouseButton button) {
    ExecuteCommand(KeyTable(MouseCode(button)).Command);
}

void MouseButtonUp(MouseButton button) {
    RunRelease(MouseCode(button));
}

void MouseWheel(int delta) {
    int32_t& fov = Config().fov;
    fov += delta >= 0 && delta <= kWheelUpLimit ? kWheelStep : -kWheelStep;
    fov = std::clamp(fov, kFovMin, kFovMax);
    ApplyProjection(fov);
}

// The stored command is always words 2, 3 and 4 joined by single spaces, even when 3 and 4 are
// empty; words 5 to 7 are dropped.
void commands::Bind(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("BIND [KEY] [ACTION]", true);
    } else if (!w[2].empty()) {
        BindKey(w[1], std::string(w[2]) + " " + std::string(w[3]) + " " + std::string(w[4]));
    } else if (!w[1].empty()) {
        const int32_t code = FindKey(w[1]);
        if (code < 0) {
            ConsolePrint("Unknown key " + std::string(w[1]), true);
        } else {
            const Key_t& key = KeyTable(code);
            ConsolePrint(key.Name + "=" + key.Command, true);
        }
    }
}

}  // namespace tam
