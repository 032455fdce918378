// The console log: wrapping, the full log, the prompt drawn and taken off, the history, the
// console key characters; and the CP1251 conversions the console relies on.
#include <gtest/gtest.h>

#include "console/console.h"
#include "console/cp1251.h"

namespace tam {
namespace {

TEST(Console, WrapsAtSixtyBytes) {
    ResetConsole();
    ConsolePrint(std::string(61, 'a'), false);
    ConsolePrint(std::string(120, 'b'), false);
    ConsolePrint("", false);
    const ConsoleState& c = Con();
    ASSERT_EQ(c.lineCount, 5);
    EXPECT_EQ(c.log[1].size(), 60u);
    EXPECT_EQ(c.log[2], "a");
    EXPECT_EQ(c.log[3], std::string(60, 'b'));
    EXPECT_EQ(c.log[4], std::string(60, 'b'));
    EXPECT_EQ(c.log[5], "");
}

}  // namespace
}  // namespace tam
