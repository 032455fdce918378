// The console log: wrapping, the full log, the prompt drawn and taken off, the history walks,
// the console key characters; and the CP1251 conversions the console relies on.

#include "command_fixture.h"

namespace tam {
namespace {

using namespace tam::literals;
using namespace std::string_literals;
using test::Lines;

// The command fixture with the console made as the program makes it, banner first.
class ConsoleTest : public test::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        ConsoleConstruct(&view);
    }
    static void Type(std::string_view text) {
        for (char ch : text) ConsoleKeyPress(static_cast<uint8_t>(ch));
    }
    static void Enter(std::string_view text) {
        Type(text);
        ConsoleKeyDown(13);
    }
};

// The log keeps its newest 32 lines; drawn with the prompt under it, a full log settles at 31, and
// the prompt is taken off the log again after each redraw.
TEST_F(ConsoleTest, BannerWrappingAndTheNewestLines) {
    EXPECT_EQ(view.presents, 0);  // the banner (the start-up transcript's first lines) is not drawn
    ResetConsole();
    Con().view = &view;
    ConsolePrint(std::string(61, 'a'), false);
    ConsolePrint(std::string(120, 'b'), false);
    ConsolePrint(std::string(60, 'c'), false);
    ConsolePrint("", false);
    EXPECT_EQ(test::ConsoleLog(), (Lines{std::string(60, 'a'), "a", std::string(60, 'b'),
                                         std::string(60, 'b'), std::string(60, 'c'), ""}));
    for (int i = 1; i <= 33; ++i) ConsolePrint("line " + std::to_string(i), false);
    EXPECT_EQ(std::tuple(Con().lineCount, Con().log[1], Con().log[32]),
              std::tuple(32, "line 2", "line 33"));
    for (int pass = 0; pass < 2; ++pass) {  // further redraws lose nothing more
        ConsoleRefresh();
        EXPECT_EQ(std::tuple(Con().lineCount, Con().log[1], Con().log[31], view.drawn.size()),
                  std::tuple(31, "line 3", "line 33", 32u));
        EXPECT_EQ(view.drawn.back(), "NEW>_");
    }
}

TEST_F(ConsoleTest, ConsoleKeyCharactersHideWithoutTypingAndEditingKeys) {
    Type("ab");
    for (uint8_t ch : {0x60, 0x7E, 0xB8, 0xA8}) {
        view.visible = true;
        ConsoleKeyPress(ch);
        EXPECT_FALSE(view.visible) << int(ch);
        EXPECT_EQ(Con().inputLine, "ab");
    }
    ConsoleKeyPress(8);     // control characters are not entered
    ConsoleKeyPress(0xC6);  // Cyrillic letters are
    EXPECT_EQ(Con().inputLine, "ab\xC6");
    ConsoleKeyDown(8);
    EXPECT_EQ(Con().inputLine, "ab");
    for (int i = 0; i < 3; ++i) ConsoleKeyDown(8);  // backspace on an empty line does nothing
    EXPECT_EQ(Con().inputLine, "");
    view.visible = true;
    ConsoleDeactivate();  // Escape is the whole-program tests' way out
    EXPECT_FALSE(view.visible);
}

TEST_F(ConsoleTest, EnterLogsTheLineAndHistoryWalksBackAndForth) {
    ConsoleKeyDown(38);
    ConsoleKeyDown(40);
    EXPECT_EQ(Con().inputLine, "");  // empty history
    Enter("");  // even an empty line is logged and kept
    EXPECT_EQ(test::ConsoleLog().back(), "");
    EXPECT_EQ(Con().historyCount, 1);
    for (const char* line : {"a", "b", "c"}) Enter(line);
    EXPECT_EQ(Con().log[Con().lineCount], "c");
    EXPECT_EQ(Con().inputLine, "");
    std::string walk;  // up five times, down five times
    for (int key : {38, 38, 38, 38, 38, 40, 40, 40, 40, 40}) {
        ConsoleKeyDown(key);
        walk += Con().inputLine + ",";
    }
    EXPECT_EQ(walk, "c,b,a,,,a,b,c,,,");  // the oldest is the empty line
    for (int i = 1; i <= 33; ++i) Enter("cmd" + std::to_string(i));
    EXPECT_EQ(std::tuple(Con().historyCount, Con().history[0], Con().history[31]),
              std::tuple(32, "cmd2", "cmd33"));
    // A conversion error ends the command with the line logged and kept, and still in the editor.
    EXPECT_THROW(Enter("fog pl 7x"), ConversionError);
    EXPECT_EQ(std::tuple(test::ConsoleLog().back(), Con().history[31], Con().inputLine),
              std::tuple("fog pl 7x", "fog pl 7x", "fog pl 7x"));
    ConsoleKeyDown(8);
    EXPECT_EQ(view.drawn.back(), "NEW>fog pl 7_");
}

using Completion = test::CommandTest;

TEST_F(Completion, TabCompletesCommandWordsAndKeyNamesAndListsOnTheSecondTab) {
    struct Case { const char* typed; int tabs; const char* line; Lines listed; };
    const Case cases[] = {
        {"BI", 1, "bind ", {}}, {"load_", 1, "load_", {}}, {"load_", 2, "load_", {"load_map  load_texture"}},
        {"fog +;lo", 1, "fog +;load_", {}},  // the last command, to the common beginning
        {"bind f1", 2, "bind f1", {"f1  f10  f11  f12"}}, {"bind esc", 1, "bind escape ", {}},
        {"bind escape +f", 1, "bind escape +f", {}},  // past the first argument
        {"fog p", 2, "fog p", {}},                     // fog offers no words
        {"zzz", 2, "zzz", {}}, {"", 2, "", {}},  // "": the whole chain, too long for one line
    };
    for (const Case& c : cases) {
        Con().inputLine = c.typed;
        Con().lineCount = 0;
        for (int i = 0; i < c.tabs; ++i) ConsoleKeyDown(9);
        EXPECT_EQ(Con().inputLine, c.line) << c.typed;
        if (*c.typed) {
            EXPECT_EQ(Log(), c.listed) << c.typed;
        }
        ConsoleKeyDown(16);  // any other key ends the Tab run
    }
    ASSERT_GT(Log().size(), 5u);
    EXPECT_EQ(Log()[0].substr(0, 24), "+attack  +back  +down  +");
    for (const std::string& l : Log()) EXPECT_LE(l.size(), 60u);
    Con().inputLine = "bind f1";
    ConsoleKeyDown(9);
    ConsoleKeyPress('0');  // typing in between: the next Tab is a first one again
    Con().inputLine = "bind f1";
    Con().lineCount = 0;
    ConsoleKeyDown(9);
    EXPECT_EQ(Log(), Lines{});
}

// The reply of a command is printed while the typed line still fills the prompt: each redraw
// appends it, and 1,856 typed bytes wrap into 32 prompt lines, which push every log line out of
// the 32-line log (they stay lost). One byte less leaves one slot: the last reply line survives.
TEST_F(ConsoleTest, ALineThatFillsThePromptTakesItsReplyWithIt) {
    const std::string last = "fog pl XXX - XXX-плотность тумана от 0 до 100"_cp;
    const std::pair<size_t, Lines> cases[] = {
        {0, {"fog + - Включить туман"_cp, "fog - - Выключить туман"_cp, "fog 1 - Тип тумана"_cp,
             "fog 2 - Тип тумана"_cp, "fog 3 - Тип тумана"_cp, last, "NEW>_"}},
        {1849, {last, "NEW>_"}},
        {1850, {"NEW>_"}},
        {4994, {"NEW>_"}},
    };
    for (const auto& [spaces, drawn] : cases) {
        for (int i = 0; i < 40; ++i) ConsolePrint("old", false);
        Enter("fog ?" + std::string(spaces, ' ') + (spaces ? "x" : ""));
        // The short line keeps the log above its reply; the long ones leave only what is shown.
        const size_t from = spaces ? 0 : view.drawn.size() - drawn.size();
        EXPECT_EQ(Lines(view.drawn.begin() + static_cast<ptrdiff_t>(from), view.drawn.end()), drawn) << spaces;
    }
}

TEST(Cp1251, ConversionsAndCase) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        if (b != 0x98) {  // 0x98 is unassigned
            EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
        }
        const uint8_t lower = LowerCp1251(static_cast<uint8_t>(b));
        EXPECT_EQ(LowerCp1251(lower), lower) << b;  // lowercasing is idempotent
    }
    EXPECT_EQ(Utf8ToCp1251("Карта создана !"), "\xCA\xE0\xF0\xF2\xE0 \xF1\xEE\xE7\xE4\xE0\xED\xE0 !");
    EXPECT_EQ("Ёё"_cp, "\xA8\xB8");
    // What the code page lacks and malformed UTF-8 are dropped, or replaced one for one.
    for (const char* text : {"a\xE4\xB8\xAD" "b", "a\xF0\x9F\x98\x80" "b", "a\x80" "b", "a\xC3" "b"})
        EXPECT_EQ(std::pair(Utf8ToCp1251(text), Utf8ToCp1251(text, '?')), std::pair("ab"s, "a?b"s));
    EXPECT_EQ(std::pair(Utf8ToCp1251("\xD0"), Utf8ToCp1251("\xD0", '?')), std::pair(""s, "?"s));
    EXPECT_EQ(DisplayPath("/home/\xD0\x9F\xC3\xA9/\xE2\x98\xBA"), "/home/\xCF?/?");
    EXPECT_EQ(LowerCp1251(std::string_view("HELP F1 Num_0")), "help f1 num_0");
    EXPECT_EQ(LowerCp1251("ПРИВЕТ ЁЖ"_cp), "привет ёж"_cp);
    EXPECT_EQ(LowerCp1251("ЂЃЉЊЌЋЏЎЈҐЄЇІЅ"_cp), "ђѓљњќћџўјґєїіѕ"_cp);
    EXPECT_EQ(UpperCp1251("sensitivity"), "SENSITIVITY");
}

}  // namespace
}  // namespace tam
