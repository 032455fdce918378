// The console log: wrapping, the full log, the prompt drawn and taken off, the history walks,
// the console key characters; and the CP1251 conversions the console relies on.
#include <gtest/gtest.h>

#include <vector>

#include "console/console.h"
#include "console/cp1251.h"

namespace tam {
namespace {

using namespace tam::literals;

// Records what the console draws, as a window would show it.
class RecordingView : public ConsoleView {
public:
    std::vector<std::string> drawn;  // the last redraw's lines
    int presents = 0;
    bool visible = true;
    void Clear() override { drawn.clear(); }
    void DrawLine(int row, std::string_view text) override {
        if (static_cast<int>(drawn.size()) <= row) drawn.resize(row + 1);
        drawn[row] = std::string(text);
    }
    void Present() override { ++presents; }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    void BringToFront() override {}
    bool Visible() const override { return visible; }
    void ShowModal() override {}
};

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConsole(); }
    void TearDown() override { ResetConsole(); }
    void Type(std::string_view text) {
        for (char ch : text) ConsoleKeyPress(static_cast<uint8_t>(ch));
    }
    RecordingView view;
};

TEST_F(ConsoleTest, WrapsAtSixtyBytes) {
    ConsolePrint(std::string(61, 'a'), false);
    ConsolePrint(std::string(120, 'b'), false);
    ConsolePrint(std::string(60, 'c'), false);
    ConsolePrint("", false);
    const ConsoleState& c = Con();
    ASSERT_EQ(c.lineCount, 6);
    EXPECT_EQ(c.log[1], std::string(60, 'a'));
    EXPECT_EQ(c.log[2], "a");
    EXPECT_EQ(c.log[3], std::string(60, 'b'));
    EXPECT_EQ(c.log[4], std::string(60, 'b'));
    EXPECT_EQ(c.log[5], std::string(60, 'c'));
    EXPECT_EQ(c.log[6], "");
}

TEST_F(ConsoleTest, KeepsTheNewestThirtyTwoLines) {
    for (int i = 1; i <= 33; ++i) ConsolePrint("line " + std::to_string(i), false);
    EXPECT_EQ(Con().lineCount, 32);
    EXPECT_EQ(Con().log[1], "line 2");
    EXPECT_EQ(Con().log[32], "line 33");
}

TEST_F(ConsoleTest, ConstructionPrintsTheBannerWithoutDrawing) {
    ConsoleConstruct(&view);
    ASSERT_EQ(Con().lineCount, 3);
    EXPECT_EQ(Con().log[1], std::string(60, '='));
    EXPECT_EQ(Con().log[2], "Orvalis 3D");
    EXPECT_EQ(Con().log[3], std::string(60, '='));
    EXPECT_EQ(view.presents, 0);
}

TEST_F(ConsoleTest, RefreshDrawsThePromptAndTakesItOff) {
    ConsoleConstruct(&view);
    Type("fog +");
    ASSERT_EQ(view.drawn.size(), 4u);
    EXPECT_EQ(view.drawn[1], "Orvalis 3D");
    EXPECT_EQ(view.drawn[3], "NEW>fog +_");
    EXPECT_EQ(Con().lineCount, 3);  // the prompt is not left in the log

    // A long input line wraps into two prompt lines; both are drawn and both taken off.
    Type(std::string(60, 'x'));
    ASSERT_EQ(view.drawn.size(), 5u);
    EXPECT_EQ(view.drawn[3], "NEW>fog +" + std::string(51, 'x'));
    EXPECT_EQ(view.drawn[4], std::string(9, 'x') + "_");
    EXPECT_EQ(Con().lineCount, 3);
}

TEST_F(ConsoleTest, AFullLogSettlesAtThirtyOneLinesUnderThePrompt) {
    ConsoleConstruct(&view);
    for (int i = 0; i < 40; ++i) ConsolePrint("l" + std::to_string(i), false);
    ConsoleRefresh();
    EXPECT_EQ(Con().lineCount, 31);
    EXPECT_EQ(view.drawn.size(), 32u);
    EXPECT_EQ(view.drawn[31], "NEW>_");
    EXPECT_EQ(Con().log[31], "l39");
    ConsoleRefresh();
    EXPECT_EQ(Con().lineCount, 31);  // further redraws lose nothing more
    EXPECT_EQ(Con().log[1], "l9");
}

TEST_F(ConsoleTest, ConsoleKeyCharactersHideWithoutTyping) {
    ConsoleConstruct(&view);
    Type("ab");
    for (uint8_t ch : {0x60, 0x7E, 0xB8, 0xA8}) {
        view.visible = true;
        ConsoleKeyPress(ch);
        EXPECT_FALSE(view.visible) << int(ch);
        EXPECT_EQ(Con().inputLine, "ab");
    }
    ConsoleKeyPress(8);  // control characters are not entered
    ConsoleKeyPress(0xC6);  // Cyrillic letters are
    EXPECT_EQ(Con().inputLine, "ab\xC6");
}

TEST_F(ConsoleTest, EditingKeys) {
    ConsoleConstruct(&view);
    Type("abc");
    ConsoleKeyDown(8);
    EXPECT_EQ(Con().inputLine, "ab");
    ConsoleKeyDown(8);
    ConsoleKeyDown(8);
    ConsoleKeyDown(8);  // backspace on an empty line changes nothing
    EXPECT_EQ(Con().inputLine, "");
    ConsoleKeyDown(27);
    EXPECT_FALSE(view.visible);
    view.visible = true;
    ConsoleDeactivate();
    EXPECT_FALSE(view.visible);
}

TEST_F(ConsoleTest, EnterLogsTheLineAndStoresHistoryEvenWhenEmpty) {
    ConsoleConstruct(&view);
    ConsoleKeyDown(13);
    EXPECT_EQ(Con().lineCount, 4);
    EXPECT_EQ(Con().log[4], "");
    EXPECT_EQ(Con().historyCount, 1);
    Type("zzz");
    ConsoleKeyDown(13);
    EXPECT_EQ(Con().log[5], "zzz");
    EXPECT_EQ(Con().inputLine, "");
}

TEST_F(ConsoleTest, HistoryWalksBackAndForth) {
    ConsoleConstruct(&view);
    ConsoleKeyDown(38);
    EXPECT_EQ(Con().inputLine, "");  // empty history
    ConsoleKeyDown(40);
    EXPECT_EQ(Con().inputLine, "");
    for (const char* line : {"a", "b", "c"}) {
        Type(line);
        ConsoleKeyDown(13);
    }
    const char* expected[] = {"c", "b", "a", "a"};
    for (const char* e : expected) {
        ConsoleKeyDown(38);
        EXPECT_EQ(Con().inputLine, e);
    }
    const char* forward[] = {"b", "c", "", ""};
    for (const char* e : forward) {
        ConsoleKeyDown(40);
        EXPECT_EQ(Con().inputLine, e);
    }
}

TEST_F(ConsoleTest, HistoryKeepsTheNewestThirtyTwo) {
    ConsoleConstruct(&view);
    for (int i = 1; i <= 33; ++i) {
        Type("cmd" + std::to_string(i));
        ConsoleKeyDown(13);
    }
    EXPECT_EQ(Con().historyCount, 32);
    EXPECT_EQ(Con().history[0], "cmd2");
    EXPECT_EQ(Con().history[31], "cmd33");
}

TEST(Cp1251, RoundTripsEveryByteButTheUnassignedOne) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Utf8ToCp1251("Карта создана !"), "\xCA\xE0\xF0\xF2\xE0 \xF1\xEE\xE7\xE4\xE0\xED\xE0 !");
    EXPECT_EQ("Ёё"_cp, "\xA8\xB8");
}

TEST(Cp1251, DropsWhatTheCodePageLacksAndMalformedUtf8) {
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD" "b"), "ab");  // a CJK character
    EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80" "b"), "ab");  // an emoji
    EXPECT_EQ(Utf8ToCp1251("a\x80\xC3" "b"), "ab");  // stray continuation, cut sequence
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "");  // truncated at the end
}

TEST(Cp1251, LowercasesLatinAndCyrillic) {
    EXPECT_EQ(LowerCp1251(std::string_view("HELP F1 Num_0")), "help f1 num_0");
    EXPECT_EQ(LowerCp1251("ПРИВЕТ ЁЖ"_cp), "привет ёж"_cp);
    EXPECT_EQ(LowerCp1251("ЂЃЉЊЌЋЏЎЈҐЄЇІЅ"_cp), "ђѓљњќћџўјґєїіѕ"_cp);
    EXPECT_EQ(UpperCp1251("sensitivity"), "SENSITIVITY");
    for (int b = 0; b < 256; ++b) {
        const uint8_t lower = LowerCp1251(static_cast<uint8_t>(b));
        EXPECT_EQ(LowerCp1251(lower), lower) << b;  // lowercasing is idempotent
    }
}

}  // namespace
}  // namespace tam
