// Hostile command lines: very long lines, thousands of separators, every high byte, numbers of
// any size, and a deterministic stream of random lines built from the command words. None may
// crash, and none may leave the console, the key table or the settings outside their bounds.
#include <gtest/gtest.h>

#include <random>

#include "command_fixture.h"

namespace tam::test {
namespace {

using CommandsRobust = CommandTest;

// The invariants every command line must keep.
void ExpectSaneState() {
    const ConsoleState& c = Con();
    ASSERT_TRUE(c.lineCount >= 0 && c.lineCount <= kConsoleLines);
    for (int i = 1; i <= c.lineCount; ++i) ASSERT_LE(c.log[i].size(), 60u);
    const auto& v = Cvars();
    const std::tuple<double, double, double> ranges[] = {{v.fov, 10, 120},
                                                         {v.sensitivity, 1, 25},
                                                         {v.cl_forwardspeed, 1, 1000},
                                                         {v.cl_sidespeed, 1, 1000}};
    for (const auto& [value, low, high] : ranges)
        ASSERT_TRUE(value >= low && value <= high) << value;
    ASSERT_EQ(Plr().CurrentPlayer, 0);
    ASSERT_EQ(FindKey("w"), 87);
}

void RunCatching(std::string_view line) {
    try {
        ExecuteCommand(line);
    } catch (const ConversionError&) {
    }
}

TEST_F(CommandsRobust, HundredKilobyteLines) {
    auto many = [](char c) { return std::string(100 * 1024, c); };
    for (const std::string& line :
         {many('a'), "bind q " + many('x'), "bind " + many('k') + " about", "fov " + many('9'),
          "fog pl " + many('9'), "fog pl 0." + many('0') + "1", many(' '),
          "set_volume " + many('0') + "7"})
        RunCatching(line);
    EXPECT_EQ(KeyTable(81).Command.size(), 100u * 1024 + 2);
    EXPECT_EQ(Snd().volume, 7u | (7u << 16));
    ExpectSaneState();
    EXPECT_EQ(Cvars().fov, 90);
}

TEST_F(CommandsRobust, ThousandsOfSeparators) {
    Con().lineCount = 0;
    ExecuteCommand(std::string(5000, ';'));  // 4998 empty segments, each unrecognised
    EXPECT_EQ(Con().lineCount, 31);          // a full log settles at 31 lines under the prompt
    ExpectSaneState();
    std::string line;
    for (int i = 0; i < 3001; ++i) line += "no_clip;";
    ExecuteCommand(line);
    EXPECT_EQ(World().no_clip, 1);
    ExpectSaneState();
}

TEST_F(CommandsRobust, EveryHighByte) {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
    for (const char* prefix : {"", "bind ", "fov ", "fog pl "}) RunCatching(prefix + bytes);
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char c = static_cast<char>(b);
        RunCatching(std::string("bind ") + c + " about");
        RunCatching(std::string(1, c) + "elp;" + c + c);
        RunCatching(std::string("play_wav ") + c);
    }
    ExpectSaneState();
}

TEST_F(CommandsRobust, HugeAndOddNumbers) {
    for (const char* number : {"4294967296", "18446744073709551616", "-0", "00000000000000000000",
                               "1e308", "-1e-320", "9223372036854775808", "2147483647"}) {
        for (const char* command :
             {"fov", "sensitivity", "cl_forwardspeed", "cl_sidespeed", "set_volume", "fog pl"}) {
            RunCatching(std::string(command) + " " + number);
            ExpectSaneState();
        }
        RunCatching(std::string("set_fullscreen ") + number + " " + number + " " + number);
        RunCatching(std::string("set_windowed ") + number + " " + number);
    }
}

TEST_F(CommandsRobust, RandomLinesFromTheCommandWords) {
    // clang-format off
    static const char* const kWords[] = {
        "exit", "console", "about", "help", "fov", "cl_forwardspeed", "cl_sidespeed",
        "sensitivity", "+moveleft", "-moveleft", "+up", "-down", "create_map", "fog", "+attack",
        "-attack", "no_clip", "jump", "bind", "load_map", "load_texture", "play_midi", "play_wav",
        "play_mp3", "set_volume", "set_fullscreen", "set_windowed", "?", "+", "-", "pl", "w",
        "f1", "0", "007", "120", "65535", "99999999999", "1.5", "-3", ";", " ", "\t", "\xC0\xFF",
        "Data\\Sound\\mp40f1.wav", "wall.tga"};
    // clang-format on
    std::mt19937 rng(12345);
    std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> glue(0, 3);
    for (int n = 0; n < 3000; ++n) {
        std::string line;
        for (int i = length(rng); i > 0; --i) {
            line += kWords[pick(rng)];
            line += glue(rng) == 0 ? "" : " ";
        }
        RunCatching(line);
        for (int code : {0, 1, 87, 32, 48, 112}) {
            FormKeyDown(code);
            FormKeyUp(code);
        }
        MouseWheel(static_cast<uint32_t>(rng()));
        ExpectSaneState();
        if (HasFatalFailure()) FAIL() << "after line " << n << ": " << line;
    }
}

}  // namespace
}  // namespace tam::test
