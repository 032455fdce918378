// The numeric settings through their commands: shown, set inside the range, refused outside it,
// and the field of view reprojected only when it changes.
#include <gtest/gtest.h>

#include "command_fixture.h"

namespace tam::test {
namespace {

using Settings = CommandTest;

TEST_F(Settings, ShowWithoutANumber) {
    EXPECT_EQ(Run("sensitivity"), Lines{"sensitivity=13"});
    EXPECT_EQ(Run("sensitivity ?"), Lines{"sensitivity=13"});
    EXPECT_EQ(Run("CL_SIDESPEED"), Lines{"cl_sidespeed=480"});
    EXPECT_EQ(Run("cl_forwardspeed abc"), Lines{"cl_forwardspeed=480"});
    EXPECT_EQ(Run("cl_sidespeed 2.5"), Lines{"cl_sidespeed=480"});
    EXPECT_EQ(Run("cl_sidespeed -3"), Lines{"cl_sidespeed=480"});
    EXPECT_EQ(Run("cl_sidespeed +3"), Lines{"cl_sidespeed=480"});
    EXPECT_EQ(Run("fov"), Lines{"FOV=90"});
    EXPECT_EQ(Run("fov -5"), Lines{"FOV=90"});
    EXPECT_EQ(Cvars().cl_sidespeed, 480.f);
}

TEST_F(Settings, RangedSettingsSetInsideAndRefuseOutside) {
    EXPECT_EQ(Run("sensitivity 0"), Lines{"SENSITIVITY Must be between [1; 25]"});
    EXPECT_EQ(Run("sensitivity 26"), Lines{"SENSITIVITY Must be between [1; 25]"});
    EXPECT_EQ(Cvars().sensitivity, 13.f);
    EXPECT_EQ(Run("sensitivity 25"), Lines{});
    EXPECT_EQ(Cvars().sensitivity, 25.f);
    EXPECT_EQ(Run("Sensitivity 1; sensitivity"), Lines{"sensitivity=1"});

    EXPECT_EQ(Run("cl_forwardspeed 1000"), Lines{});
    EXPECT_EQ(Cvars().cl_forwardspeed, 1000.f);
    EXPECT_EQ(Run("cl_forwardspeed 1001"), Lines{"CL_FORWARDSPEED Must be between [1; 1000]"});
    EXPECT_EQ(Run("cl_sidespeed 0000"), Lines{"CL_SIDESPEED Must be between [1; 1000]"});
    EXPECT_EQ(Run("cl_sidespeed 0001"), Lines{});
    EXPECT_EQ(Cvars().cl_sidespeed, 1.f);
    EXPECT_EQ(Cvars().cl_forwardspeed, 1000.f);
    EXPECT_TRUE(ops.calls.empty());  // only fov reprojects
}

TEST_F(Settings, FieldOfView) {
    const Lines range = {Cp("Параметр должен быть между [10; 120]")};
    EXPECT_EQ(Run("fov 007"), range);
    EXPECT_EQ(Run("fov 121"), range);
    EXPECT_EQ(Run("fov 9"), range);
    EXPECT_EQ(Cvars().fov, 90);
    EXPECT_TRUE(ops.calls.empty());
    EXPECT_EQ(Run("fov 0100"), Lines{});
    EXPECT_EQ(Cvars().fov, 100);
    EXPECT_EQ(Run("FOV 10;fov 120;fov"), Lines{"FOV=120"});
    EXPECT_EQ(ops.calls,
              (Lines{"ApplyProjection 100", "ApplyProjection 10", "ApplyProjection 120"}));
}

TEST_F(Settings, DigitsPastThirtyTwoBitsRaiseTheConversionError) {
    EXPECT_THROW(ExecuteCommand("fov 2147483648;fov 50"), ConversionError);
    EXPECT_THROW(ExecuteCommand("cl_sidespeed 99999999999999999999;cl_sidespeed 5"),
                 ConversionError);
    EXPECT_EQ(Cvars().fov, 90);
    EXPECT_EQ(Cvars().cl_sidespeed, 480.f);
    // The largest 32-bit value is a number, only out of range.
    EXPECT_EQ(Run("fov 2147483647"), Lines{Cp("Параметр должен быть между [10; 120]")});
}

TEST_F(Settings, IsDigits) {
    EXPECT_TRUE(IsDigits(""));
    EXPECT_TRUE(IsDigits("0123456789"));
    for (const char* text : {"1 ", "+1", "-1", "1.0", "1e3", "١", "\xB9", "/", ":"})
        EXPECT_FALSE(IsDigits(text)) << text;
}

}  // namespace
}  // namespace tam::test
