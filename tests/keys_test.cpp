// The key table (names, lookups, binding), the bind command, the dispatch of key,
// mouse and wheel events into command lines, and the scancode to key-code map.

#include <set>

#include "command_fixture.h"
#include "platform/keymap.h"

namespace tam::test {
namespace {

using Keys = CommandTest;

TEST_F(Keys, TableLookups) {
    // Lookups lowercase and search every name, the first and the last; unnamed codes never
    // match "".
    const std::pair<const char*, int> finds[] = {
        {"leftmouse", 0}, {"Escape", 27}, {"Z", 90},   {"NUM_0", 96}, {"num_+", 107},
        {"F12", 123},     {"'", 222},     {"f13", -1}, {"", -1},      {"num_", -1}};
    for (const auto& [name, code] : finds) EXPECT_EQ(FindKey(name), code) << name;
}

TEST_F(Keys, BindCommandForms) {
    const std::pair<std::string, Lines> cases[] = {
        {"bind w", {"w=+forward"}}, {"bind W", {"w=+forward"}}, {"bind 9", {"9="}},
        {"bind ZZ about", {"Unknown key ZZ"}},  // typed case kept
        {Cp("bind Ё about"), {Cp("Unknown key Ё")}}, {"bind  w   +forward", {}},
        {"bind w", {"w=+forward  "}},  // stored with the empty words' spaces
    };
    for (const auto& [line, out] : cases) EXPECT_EQ(Run(line), out) << line;
}

TEST_F(Keys, RepeatsRunTheBindingAgainAndSpaceJumpsFromTheGroundOnly) {
    KeyDown(32);
    KeyDown(32);                     // repeats run again
    EXPECT_EQ(CurrentRecord().vz, 0.f);  // not on the ground: no jump
    CurrentRecord().onGround = 1;
    KeyDown(32);
    EXPECT_EQ(std::tuple(CurrentRecord().vz, CurrentRecord().onGround), std::tuple(5.f, 0));
}

// A release runs a "+" binding with "-" for its first byte, and nothing for other bindings.
TEST_F(Keys, OnlyTheFirstByteOfAPlusBindingChangesOnReleaseAndOthersRunNothing) {
    BindKey("e", "+attack; +forward");
    std::filesystem::remove(dir / "Data" / "Sound" / "mp40f1.wav");
    Con().lineCount = 0;
    KeyDown(69);
    EXPECT_EQ(Log(), Lines{"File not found"});
    EXPECT_EQ(CurrentRecord().attacking, 1);
    Con().lineCount = 0;
    KeyUp(69);
    EXPECT_EQ(std::tuple(CurrentRecord().attacking, CurrentRecord().moveForward), std::tuple(0, 1));
    EXPECT_EQ(Log(), Lines{});  // "-attack" plays nothing, "+forward" ran again

    view.visible = false;
    Con().lineCount = 0;
    KeyUp(112);  // "help; console"
    KeyUp(13);   // unbound
    EXPECT_EQ(Log(), Lines{});
    EXPECT_EQ(view.shows, 0);
    const int before = view.presents;
    KeyDown(13);  // an unbound key runs an empty line: a redraw only
    EXPECT_EQ(view.presents - before, 1);
    KeyDown(112);
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(Log().size(), 28u);
}

TEST_F(Keys, CodesOutsideTheTableAreIgnoredAndRebindingWhileRunningIsSafe) {
    KeyTable(254).Command = "no_clip";
    KeyDown(254);
    for (int key : {255, 256, 1000, 65535, -1, INT32_MIN}) {
        KeyDown(key);
        KeyUp(key);
    }
    EXPECT_EQ(World().no_clip, 1);
    // The running line must not depend on the binding it came from.
    BindKey("w", "bind w about;no_clip;no_clip;no_clip");
    KeyDown(87);
    EXPECT_EQ(KeyTable(87).Command, "about  ");
    EXPECT_EQ(World().no_clip, 0);
}

TEST_F(Keys, MouseButtonsMiddleActsAsRight) {
    // SDL's button numbers: 1 left, 2 middle, 3 right, 4 and 5 the side buttons.
    using platform::Button;
    const std::pair<int, std::optional<Button>> buttons[] = {
        {1, Button::Left}, {2, Button::Middle}, {3, Button::Right},
        {4, std::nullopt},      {5, std::nullopt},        {0, std::nullopt}};
    for (const auto& [sdl, button] : buttons)
        EXPECT_EQ(platform::MouseButtonFromSdl(sdl), button) << sdl;
    MouseButtonDown(MouseButton::Left);
    EXPECT_EQ(CurrentRecord().attacking, 1);
    MouseButtonUp(MouseButton::Left);
    EXPECT_EQ(CurrentRecord().attacking, 0);
    Run("bind rightmouse +back");
    MouseButtonDown(MouseButton::Middle);
    EXPECT_EQ(CurrentRecord().moveBack, 1);
    MouseButtonUp(MouseButton::Right);
    EXPECT_EQ(CurrentRecord().moveBack, 0);
}

TEST_F(Keys, WheelStepsTheFieldOfViewWithinItsLimits) {
    for (int i = 0; i < 10; ++i) MouseWheel(120);
    EXPECT_EQ(Config().fov, 110);
    for (int i = 0; i < 5; ++i) MouseWheel(0);  // a zero delta counts as upward
    EXPECT_EQ(Config().fov, 120);
    MouseWheel(0x7F00);
    EXPECT_EQ(std::pair(Config().fov, gl.Named("Perspective").back().args[0]), std::pair(120, 120.0));
    MouseWheel(0x7F01);
    EXPECT_EQ(Config().fov, 118);
    for (int i = 0; i < 100; ++i) MouseWheel(-120);
    EXPECT_EQ(std::pair(Config().fov, gl.Named("Perspective").back().args[0]), std::pair(10, 10.0));
    EXPECT_EQ(gl.Count("Perspective"), 117u);  // every step reprojects
}

TEST_F(Keys, KeyPositionsMapToKeyCodesAndReachEveryNamedKey) {
    using platform::VirtualKeyFromScancode;
    // Scancodes are USB HID keyboard usages: the ends of the letter, digit, F-key and keypad
    // runs. 53: left of 1, the console key on every layout; 98: keypad 0, not the top-row one.
    const std::pair<int, int> single[] = {
        {4, 'A'},  {29, 'Z'},  {30, '1'}, {39, '0'}, {58, 112}, {69, 123}, {89, 97},  {97, 105},
        {53, 192}, {98, 96},   {99, 110}, {88, 13},  {79, 39},  {82, 38},  {225, 16}, {51, 186},
        {-1, 0},   {0, 0},     {512, 0},  {INT32_MIN, 0}};
    for (const auto& [sc, vk] : single) EXPECT_EQ(VirtualKeyFromScancode(sc), vk) << sc;
    std::set<int> produced;
    for (int sc = 0; sc < 512; ++sc) {
        const int vk = VirtualKeyFromScancode(sc);
        EXPECT_TRUE(vk >= 0 && vk < 255) << sc;
        if (vk) produced.insert(vk);
    }
    for (int code = 2; code < kKeyCount; ++code)
        if (!KeyTable(code).Name.empty()) {
            EXPECT_TRUE(produced.count(code)) << KeyTable(code).Name;
        }
}

}  // namespace
}  // namespace tam::test
