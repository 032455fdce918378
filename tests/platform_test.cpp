// The platform layer: opening the display (window-less drivers only when asked for), the error box
// with its console fallback, and the console's picture, whose lines keep their ink apart.
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <stdexcept>

#include "command_fixture.h"
#include "platform/console_image.h"
#include "platform/headless.h"

namespace tam {
namespace {

using namespace tam::literals;
using test::Lines;

// No window system: refused unless a headless driver is asked for. An error no box can show lands
// whole in the console (CP1251, wrapped at 60), which is shown, and the loop goes on.
TEST(Platform, NoWindowSystemIsRefusedAndAnErrorNoBoxCanShowGoesWholeIntoTheConsole) {
    // Each test runs in its own process, so the environment can be changed freely here.
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("SDL_VIDEODRIVER");
    ::setenv("DISPLAY", ":4093", 1);  // no X server there
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::Init());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open the display :4093"),
              std::string::npos);
    platform::ChooseOffscreenVideo();
    ASSERT_TRUE(platform::Init()) << "an explicitly chosen headless driver is taken";

    const std::string error = "Нет файла: " + std::string(70, 'x') + "_end";
    const Lines wrapped = {"Нет файла: "_cp + std::string(49, 'x'), std::string(21, 'x') + "_end"};
    ResetConsole();
    test::RecordingView view;
    view.visible = false;
    Con().view = &view;
    Lines boxes;
    platform::SetMessageBoxFunction(
        [&](const std::string& title, const std::string& text, std::string& why) {
            boxes.push_back(title + ": " + text);
            why = "No message system available";
            return false;
        });
    int idleCalls = 0;
    testing::internal::CaptureStderr();
    platform::Run([&](bool& done) {
        done = false;
        if (++idleCalls == 1) throw std::runtime_error(error);
        platform::RequestQuit();
    });
    const std::string err = testing::internal::GetCapturedStderr();
    platform::Shutdown();
    Con().view = nullptr;

    EXPECT_EQ(idleCalls, 2) << "the loop goes on after the error";
    EXPECT_EQ(boxes, Lines{"Tamberlo: " + error});
    EXPECT_NE(err.find("cannot show the message box (No message system available)"),
              std::string::npos) << err;
    EXPECT_EQ(test::ConsoleLog(), wrapped);
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(Lines(view.drawn.begin(), view.drawn.begin() + 2), wrapped);
    // Without a display SDL's own box is not even tried.
    ResetConsole();
    testing::internal::CaptureStderr();
    platform::ShowMessageBox("Tamberlo", "Ошибка");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("message box (no display)"),
              std::string::npos);
    EXPECT_EQ(test::ConsoleLog(), Lines{"Ошибка"_cp});
}

// A copy of the picture's rows [top, top + count).
std::vector<uint32_t> Rows(const SDL_Surface* s, int top, int count) {
    std::vector<uint32_t> rows(static_cast<size_t>(s->w) * count);
    for (int y = 0; y < count; ++y)
        SDL_memcpy(&rows[static_cast<size_t>(y) * s->w],
                   static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(top + y) * s->pitch,
                   static_cast<size_t>(s->w) * 4);
    return rows;
}

// Every console face found here, with every character a log line can hold: a line's ink stays in
// its cell, and the line drawn below changes none of it (underscores and tails of g, p, р, у, д).
class PlatformConsoleImage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TTF_Init(), 0); }
    void TearDown() override { TTF_Quit(); }
};

TEST_F(PlatformConsoleImage, EveryLineKeepsItsWholeInkAboveTheNext) {
    std::string printable;
    for (int code = 0x21; code <= 0xFF; ++code)
        if (code != 0x7F && code != 0x98) printable += static_cast<char>(code);
    std::vector<std::pair<std::string, std::string>> pairs = {
        {std::string(60, '_'), "cl_forwardspeed 1001"},
        {"cl_forwardspeed no_clip fog рудщ"_cp, "ЙЁÅ|[]{}"_cp},
    };
    for (size_t i = 0; i < printable.size(); i += 60)
        pairs.push_back({printable.substr(i, 60),
                         printable.substr(i + 60 < printable.size() ? i + 60 : 0, 60)});
    int faces = 0;
    for (const std::string& path : platform::ConsoleFontPaths()) {
        platform::ConsoleImage alone, both;
        if (!alone.Open(path.c_str())) continue;
        ASSERT_TRUE(both.Open(path.c_str()));
        ++faces;
        const int h = alone.CellHeight();
        ASSERT_EQ(alone.Surface()->h, kConsoleLines * h);
        ASSERT_EQ(alone.Surface()->w, kConsoleColumns * alone.CellWidth());
        const std::vector<uint32_t> blank(static_cast<size_t>(alone.Surface()->w) * h, 0);
        for (const auto& [upper, lower] : pairs) {
            SCOPED_TRACE(path + ": " + Cp1251ToUtf8(upper));
            alone.Clear();
            alone.DrawLine(0, upper);
            both.Clear();
            both.DrawLine(0, upper);
            both.DrawLine(1, lower);
            const std::vector<uint32_t> ink = Rows(alone.Surface(), 0, 2 * h);
            const std::vector<uint32_t> drawn = Rows(both.Surface(), 0, 2 * h);
            ASSERT_NE(ink, std::vector<uint32_t>(ink.size(), 0));
            EXPECT_EQ(Rows(alone.Surface(), h, h), blank) << "ink below the line's cell";
            size_t lost = 0;  // the upper line's inked pixels that the lower one darkened
            for (size_t p = 0; p < ink.size(); ++p) lost += (drawn[p] & 0xFF) < (ink[p] & 0xFF);
            EXPECT_EQ(lost, 0u) << "the next line painted over this one";
        }
    }
    EXPECT_GT(faces, 0) << "no console face installed";
}

// Refreshing only changed rows, or sending only the named rectangles, equals drawing at once.
TEST_F(PlatformConsoleImage, RefreshedPictureEqualsOneDrawnAtOnce) {
    platform::ConsoleImage kept, fresh;
    std::string face;
    for (const std::string& path : platform::ConsoleFontPaths())
        if (face.empty() && kept.Open(path.c_str())) face = path;
    ASSERT_FALSE(face.empty()) << "no console face installed";
    SDL_Surface* picture = kept.Surface();
    SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, picture->w, picture->h, 32,
                                                         picture->format->format);
    const auto send = [&] {
        SDL_Rect changed[kConsoleLines];
        for (int i = 0, n = kept.Update(changed); i < n; ++i) {
            SDL_Rect at = changed[i];
            SDL_BlitSurface(picture, &changed[i], window, &at);
        }
    };
    std::vector<std::string> rows;
    for (int refresh = 0; refresh < 50; ++refresh) {
        if (refresh % 7 == 6) rows.clear();
        rows.push_back("line " + std::to_string(refresh) + (refresh % 3 ? " рудщ_"_cp : ""));
        if (rows.size() > size_t{kConsoleLines}) rows.erase(rows.begin());
        if (refresh % 5 == 4) rows.front() = "NEW>_";
        kept.Clear();
        for (size_t r = 0; r < rows.size(); ++r) kept.DrawLine(static_cast<int>(r), rows[r]);
        if (refresh % 2) send();
    }
    send();
    ASSERT_TRUE(fresh.Open(face.c_str()));
    fresh.Clear();
    for (size_t r = 0; r < rows.size(); ++r) fresh.DrawLine(static_cast<int>(r), rows[r]);
    const int h = kConsoleLines * fresh.CellHeight();
    EXPECT_EQ(Rows(kept.Surface(), 0, h), Rows(fresh.Surface(), 0, h));
    EXPECT_EQ(Rows(window, 0, h), Rows(fresh.Surface(), 0, h));
    SDL_FreeSurface(window);
}

}  // namespace
}  // namespace tam
