// The key table (names, defaults, lookups, binding), the bind command, the dispatch of key,
// mouse and wheel events into command lines, and the scancode to key-code map.
#include <gtest/gtest.h>

#include <set>

#include "command_fixture.h"
#include "platform/keymap.h"

namespace tam::test {
namespace {

using Keys = CommandTest;

TEST_F(Keys, TableNames) {
    int named = 0;
    for (int code = 0; code < kKeyCount; ++code) named += !KeyTable(code).Name.empty();
    EXPECT_EQ(named, 100);
    const std::pair<int, const char*> samples[] = {
        {0, "leftmouse"}, {1, "rightmouse"}, {8, "backspace"}, {20, "caps"},   {33, "pageup"},
        {46, "delete"},   {48, "0"},         {57, "9"},        {65, "a"},      {90, "z"},
        {93, "menu"},     {96, "num_0"},     {105, "num_9"},   {106, "num_*"}, {107, "num_+"},
        {109, "num_-"},   {110, "num_del"},  {111, "num_/"},   {112, "f1"},    {123, "f12"},
        {144, "num"},     {145, "scroll"},   {186, ":"},       {191, "/"},     {192, "`"},
        {219, "["},       {220, "\\"},       {221, "]"},       {222, "'"}};
    for (const auto& [code, name] : samples) EXPECT_EQ(KeyTable(code).Name, name) << code;
    for (int code : {2, 9, 12, 14, 41, 47, 58, 94, 108, 124, 146, 185, 193, 218, 223, 254})
        EXPECT_EQ(KeyTable(code).Name, "") << code;
}

TEST_F(Keys, DefaultBindings) {
    const std::pair<int, const char*> defaults[] = {
        {192, "console"}, {27, "exit"},       {112, "help; console"}, {37, "+moveleft"},
        {38, "+forward"}, {39, "+moveright"}, {40, "+back"},          {65, "+moveleft"},
        {87, "+forward"}, {68, "+moveright"}, {83, "+back"},          {32, "jump"},
        {0, "+attack"},   {1, "jump"},        {48, "fog +"},          {49, "fog -"}};
    std::set<int> bound;
    for (const auto& [code, command] : defaults) {
        EXPECT_EQ(KeyTable(code).Command, command) << code;
        bound.insert(code);
    }
    for (int code = 0; code < kKeyCount; ++code)
        if (!bound.count(code)) {
            EXPECT_EQ(KeyTable(code).Command, "") << code;
        }
}

TEST_F(Keys, FindKeyLowercasesAndSearchesAllNames) {
    EXPECT_EQ(FindKey("Space"), 32);
    EXPECT_EQ(FindKey("leftmouse"), 0);
    EXPECT_EQ(FindKey("F12"), 123);
    EXPECT_EQ(FindKey("'"), 222);
    EXPECT_EQ(FindKey("num"), 144);
    EXPECT_EQ(FindKey("NUM_0"), 96);
    EXPECT_EQ(FindKey("Escape"), 27);
    EXPECT_EQ(FindKey("f13"), -1);
    EXPECT_EQ(FindKey(""), -1);  // unnamed codes never match
    EXPECT_EQ(FindKey("num_"), -1);
}

TEST_F(Keys, BindCommandForms) {
    EXPECT_EQ(Run("bind w"), Lines{"w=+forward"});
    EXPECT_EQ(Run("bind W"), Lines{"w=+forward"});
    EXPECT_EQ(Run("bind zz"), Lines{"Unknown key zz"});
    EXPECT_EQ(Run("bind ZZ about"), Lines{"Unknown key ZZ"});  // typed case kept
    EXPECT_EQ(Run(Cp("bind Ё about")), Lines{Cp("Unknown key Ё")});
    EXPECT_EQ(Run("bind  w   +forward"), Lines{});
    EXPECT_EQ(KeyTable(87).Command, "+forward  ");
    EXPECT_EQ(Run("bind w"), Lines{"w=+forward  "});
    Run("bind Q about");
    EXPECT_EQ(KeyTable(81).Command, "about  ");
    Run("bind q play_wav a b c");
    EXPECT_EQ(KeyTable(81).Command, "play_wav a b");
    EXPECT_EQ(Run("bind f13"), Lines{"Unknown key f13"});
    EXPECT_EQ(Run("bind 9"), Lines{"9="});
}

TEST_F(Keys, KeyDownRunsTheBindingAndKeyUpItsMinusForm) {
    FormKeyDown(87);
    EXPECT_EQ(CurrentRecord().moveForward, 1);
    FormKeyUp(87);
    EXPECT_EQ(CurrentRecord().moveForward, 0);

    Run("bind w +forward");  // stored with two trailing spaces; the release works the same
    FormKeyDown(87);
    EXPECT_EQ(CurrentRecord().moveForward, 1);
    FormKeyUp(87);
    EXPECT_EQ(CurrentRecord().moveForward, 0);

    Run("bind w no_clip");
    FormKeyDown(87);
    FormKeyUp(87);  // not a "+" action: nothing on release
    EXPECT_EQ(Interp().no_clip, 1);

    FormKeyDown(32);
    FormKeyDown(32);                     // repeats run again
    EXPECT_EQ(CurrentRecord().vz, 0.f);  // not on the ground: nothing
    CurrentRecord().onGround = 1;
    FormKeyDown(32);
    EXPECT_EQ(CurrentRecord().vz, 5.f);
}

TEST_F(Keys, OnlyTheFirstByteOfTheReleaseChanges) {
    BindKey("e", "+attack; +forward");
    std::filesystem::remove(dir / "Data" / "Sound" / "mp40f1.wav");
    FormKeyDown(69);
    EXPECT_EQ(CurrentRecord().attacking, 1);
    EXPECT_EQ(CurrentRecord().moveForward, 1);
    Con().lineCount = 0;
    FormKeyUp(69);
    EXPECT_EQ(CurrentRecord().attacking, 0);
    EXPECT_EQ(CurrentRecord().moveForward, 1);  // "+forward" ran again
    EXPECT_EQ(Log(), Lines{});                  // "-attack" plays nothing
}

TEST_F(Keys, ReleaseOfNonPlusBindingsAndUnboundKeysRunsNothing) {
    view.visible = false;
    Con().lineCount = 0;
    FormKeyUp(112);  // "help; console"
    FormKeyUp(13);   // unbound
    EXPECT_EQ(Log(), Lines{});
    EXPECT_EQ(view.shows, 0);
    const int before = view.presents;
    FormKeyDown(13);  // an unbound key runs an empty line: a redraw only
    EXPECT_EQ(view.presents - before, 1);
    FormKeyDown(112);
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(Log().size(), 28u);
}

TEST_F(Keys, UnknownBoundWordIsSilentWhileTheConsoleIsHidden) {
    Run("bind k frobnicate");
    view.visible = false;
    Con().lineCount = 0;
    FormKeyDown(75);
    EXPECT_EQ(Log(), Lines{});
    view.visible = true;
    FormKeyDown(75);
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(Keys, CodesOutsideTheTableAreIgnored) {
    KeyTable(254).Command = "no_clip";
    FormKeyDown(254);
    EXPECT_EQ(Interp().no_clip, 1);
    for (int key : {255, 256, 1000, 65535, -1, INT32_MIN}) {
        FormKeyDown(key);
        FormKeyUp(key);
    }
    EXPECT_EQ(Interp().no_clip, 1);
}

TEST_F(Keys, MouseButtonsMiddleActsAsRight) {
    FormMouseDown(MouseButton::Left);
    EXPECT_EQ(CurrentRecord().attacking, 1);
    EXPECT_EQ(ops.calls, Lines{"PlayWav Data\\Sound\\mp40f1.wav"});
    FormMouseUp(MouseButton::Left);
    EXPECT_EQ(CurrentRecord().attacking, 0);

    CurrentRecord().onGround = 1;
    FormMouseDown(MouseButton::Middle);
    EXPECT_EQ(CurrentRecord().vz, 5.f);

    Run("bind rightmouse +back");
    FormMouseDown(MouseButton::Middle);
    EXPECT_EQ(CurrentRecord().moveBack, 1);
    FormMouseUp(MouseButton::Right);
    EXPECT_EQ(CurrentRecord().moveBack, 0);
}

TEST_F(Keys, KeyThatRebindsItselfWhileRunning) {
    // The running line must not depend on the binding it came from.
    BindKey("w", "bind w about;no_clip;no_clip;no_clip");
    FormKeyDown(87);
    EXPECT_EQ(KeyTable(87).Command, "about  ");
    EXPECT_EQ(Interp().no_clip, 1);
}

TEST_F(Keys, WheelStepsTheFieldOfViewWithinItsLimits) {
    for (int i = 0; i < 10; ++i) MouseWheel(120u << 16);
    EXPECT_EQ(Cvars().fov, 110);
    for (int i = 0; i < 5; ++i) MouseWheel(0);  // a zero delta counts as upward
    EXPECT_EQ(Cvars().fov, 120);
    MouseWheel(0x7F00u << 16);
    EXPECT_EQ(Cvars().fov, 120);
    EXPECT_EQ(ops.calls.back(), "ApplyProjection 120");
    MouseWheel(0x7F01u << 16);
    EXPECT_EQ(Cvars().fov, 118);
    for (int i = 0; i < 100; ++i) MouseWheel(0xFF88u << 16 | 0xFFFFu);  // -120, low word noise
    EXPECT_EQ(Cvars().fov, 10);
    EXPECT_EQ(ops.calls.size(), 117u);
    EXPECT_EQ(ops.calls.back(), "ApplyProjection 10");

    ResetSettings();
    for (int i = 0; i < 3; ++i) MouseWheel(120u << 16);
    EXPECT_EQ(Run("fov"), Lines{"FOV=96"});
}

TEST(Keymap, PositionsMapToTheirKeyCodes) {
    using platform::VirtualKeyFromScancode;
    // Scancodes are USB HID keyboard usages.
    for (int i = 0; i < 26; ++i) EXPECT_EQ(VirtualKeyFromScancode(4 + i), 'A' + i);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(VirtualKeyFromScancode(30 + i), '1' + i);
    EXPECT_EQ(VirtualKeyFromScancode(39), '0');
    EXPECT_EQ(VirtualKeyFromScancode(53), 192);  // left of 1: the console key on every layout
    for (int i = 0; i < 12; ++i) EXPECT_EQ(VirtualKeyFromScancode(58 + i), 112 + i);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(VirtualKeyFromScancode(89 + i), 97 + i);  // keypad 1-9
    EXPECT_EQ(VirtualKeyFromScancode(98), 96);   // keypad 0, not the top-row 0
    EXPECT_EQ(VirtualKeyFromScancode(99), 110);  // keypad period
    EXPECT_EQ(VirtualKeyFromScancode(88), 13);   // keypad enter
    EXPECT_EQ(VirtualKeyFromScancode(79), 39);   // right arrow
    EXPECT_EQ(VirtualKeyFromScancode(82), 38);   // up arrow
    EXPECT_EQ(VirtualKeyFromScancode(225), 16);  // left shift
    EXPECT_EQ(VirtualKeyFromScancode(230), 18);  // right alt
    EXPECT_EQ(VirtualKeyFromScancode(228), 17);  // right control
    EXPECT_EQ(VirtualKeyFromScancode(51), 186);  // semicolon
    EXPECT_EQ(VirtualKeyFromScancode(52), 222);  // apostrophe
    for (int bad : {-1, 0, 512, 100000, INT32_MIN}) EXPECT_EQ(VirtualKeyFromScancode(bad), 0);
}

TEST_F(Keys, EveryNamedKeyIsReachableFromAKeyPosition) {
    std::set<int> produced;
    for (int sc = 0; sc < 512; ++sc) {
        const int vk = platform::VirtualKeyFromScancode(sc);
        EXPECT_GE(vk, 0);
        EXPECT_LT(vk, 255) << sc;
        if (vk) produced.insert(vk);
    }
    for (int code = 2; code < kKeyCount; ++code)
        if (!KeyTable(code).Name.empty()) {
            EXPECT_TRUE(produced.count(code)) << KeyTable(code).Name;
        }
}

}  // namespace
}  // namespace tam::test
