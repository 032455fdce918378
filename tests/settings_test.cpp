// The numeric settings through their commands: shown, set inside the range, refused outside it,
// and the field of view reprojected only when it changes.
#include <gtest/gtest.h>

#include "command_fixture.h"

namespace tam::test {
namespace {

using Settings = CommandTest;

TEST_F(Settings, ShowSetAndRefuse) {
    const std::string fovRange = Cp("Параметр должен быть между [10; 120]");
    const std::pair<const char*, std::string> cases[] = {
        // Out of range: refused; the shows below find the old values.
        {"sensitivity 0", "SENSITIVITY Must be between [1; 25]"},
        {"sensitivity 26", "SENSITIVITY Must be between [1; 25]"},
        {"cl_forwardspeed 1001", "CL_FORWARDSPEED Must be between [1; 1000]"},
        {"cl_sidespeed 0000", "CL_SIDESPEED Must be between [1; 1000]"},
        {"fov 007", fovRange}, {"fov 121", fovRange}, {"fov 9", fovRange},
        {"fov 2147483647", fovRange},  // the largest 32-bit value is a number, only out of range
        // Without a whole unsigned number the value is shown.
        {"sensitivity", "sensitivity=13"}, {"sensitivity ?", "sensitivity=13"},
        {"CL_SIDESPEED", "cl_sidespeed=480"}, {"cl_forwardspeed abc", "cl_forwardspeed=480"},
        {"cl_sidespeed 2.5", "cl_sidespeed=480"}, {"cl_sidespeed -3", "cl_sidespeed=480"},
        {"cl_sidespeed +3", "cl_sidespeed=480"}, {"fov", "FOV=90"}, {"fov -5", "FOV=90"},
        // Inside the range: set silently.
        {"sensitivity 25", ""}, {"cl_forwardspeed 1000", ""}, {"cl_sidespeed 0001", ""},
        {"Sensitivity 1; sensitivity", "sensitivity=1"},
    };
    for (const auto& [line, out] : cases)
        EXPECT_EQ(Run(line), out.empty() ? Lines{} : Lines{out}) << line;
    EXPECT_EQ(Cvars().sensitivity, 1.f);
    EXPECT_EQ(Cvars().cl_forwardspeed, 1000.f);
    EXPECT_EQ(Cvars().cl_sidespeed, 1.f);
    EXPECT_EQ(Cvars().fov, 90);
    EXPECT_TRUE(gl.calls.empty());  // only a changed fov reprojects
    EXPECT_EQ(Run("fov 0100;FOV 10;fov 120;fov"), Lines{"FOV=120"});
    std::vector<double> fovs;
    for (const GlCall& c : gl.Named("Perspective")) fovs.push_back(c.args[0]);
    EXPECT_EQ(fovs, (std::vector<double>{100, 10, 120}));
}

TEST_F(Settings, DigitsPastThirtyTwoBitsRaiseTheConversionError) {
    EXPECT_THROW(ExecuteCommand("fov 2147483648;fov 50"), ConversionError);
    EXPECT_THROW(ExecuteCommand("cl_sidespeed 99999999999999999999;cl_sidespeed 5"),
                 ConversionError);
    EXPECT_EQ(Cvars().fov, 90);
    EXPECT_EQ(Cvars().cl_sidespeed, 480.f);
    EXPECT_TRUE(IsDigits(""));
    EXPECT_TRUE(IsDigits("0123456789"));
    for (const char* text : {"1 ", "+1", "-1", "1.0", "1e3", "١", "\xB9", "/", ":"})
        EXPECT_FALSE(IsDigits(text)) << text;
}

}  // namespace
}  // namespace tam::test
