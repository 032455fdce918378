// Opening the display: the platform layer never settles for SDL's window-less drivers unless
// they were asked for, so a game without a reachable window system stops with a message
// instead of drawing where nobody sees it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"

namespace tam {
namespace {

TEST(PlatformInit, RefusesToRunWithoutAWindowSystemUnlessAHeadlessDriverIsAsked) {
    // Each test runs in its own process, so the environment can be changed freely here.
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("SDL_VIDEODRIVER");
    ::setenv("DISPLAY", ":4093", 1);  // no X server there
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::Init());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open the display :4093"),
              std::string::npos);

    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ASSERT_TRUE(platform::Init()) << "an explicitly chosen headless driver is taken";
    platform::Shutdown();
}

}  // namespace
}  // namespace tam
