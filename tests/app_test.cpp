// The application core without a window: frame timing, the animation clock across the counter's
// wrap, mouse-look rates, the camera transform, one whole frame through the GL recorder, the
// OpenGL set-up's failure report, the projection, and the program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "app/app.h"
#include "app/players.h"
#include "console/console.h"
#include "console/cp1251.h"
#include "console/settings.h"
#include "gl_recorder.h"
#include "platform/files.h"
#include "render/opengl.h"

namespace tam {
namespace {

using namespace tam::literals;

// Calls [from, to) as one string of names and printed arguments.
std::string Text(const test::GlRecorder& rec, size_t from, size_t to) {
    std::string out;
    for (size_t i = from; i < to && i < rec.calls.size(); ++i)
        out += rec.calls[i].name + testing::PrintToString(rec.calls[i].args);
    return out;
}

TEST(AppTiming, IntervalTimerMeasuresSincePreviousReading) {
    uint64_t now = 1000;
    IntervalTimer timer([&] { return now; }, 1000);  // counts in milliseconds
    now = 1250;
    EXPECT_DOUBLE_EQ(timer.Measure(1.0), 0.25);
    now = 1260;
    EXPECT_NEAR(timer.Measure(2.0), 0.02, 1e-12);  // scaled, and measured from the last reading
    EXPECT_DOUBLE_EQ(timer.Measure(1.0), 0.0);
}

TEST(AppTiming, FrameClockSecondsSurviveTheCounterWrap) {
    uint32_t ms = 0xFFFFFF00u;  // 256 ms before the 32-bit millisecond counter wraps
    FrameClock clock([&] { return ms; });
    EXPECT_EQ(std::tuple(clock.previous(), clock.current()), std::tuple(0u, 0xFFFFFF00u));
    ms += 1256;  // wraps to 1000
    clock.Advance();
    EXPECT_EQ(std::tuple(clock.previous(), clock.current()), std::tuple(0xFFFFFF00u, 1000u));
    EXPECT_FLOAT_EQ(clock.Seconds(), 1.256f);
}

TEST(AppLook, MouseDeltaBecomesLookRates) {
    ResetPlayers();
    ResetSettings();
    CurrentRecord().yawRate = 5;  // a look command's rate is replaced every frame
    CurrentRecord().pitchRate = -5;
    // Right and up: turn right, look up; the default sensitivity is 13, then 1.
    for (auto [sens, dx, dy, yaw, pitch] :
         {std::array{0.f, 0.f, 0.f, 0.f, 0.f}, {0.f, 10.f, -4.f, 39.f, 15.6f},
          {1.f, -3.f, 2.f, -0.9f, -0.6f}}) {
        if (sens > 0) Cvars().sensitivity = sens;
        ApplyMouseLook(static_cast<int>(dx), static_cast<int>(dy));
        EXPECT_FLOAT_EQ(CurrentRecord().yawRate, yaw) << dx;
        EXPECT_FLOAT_EQ(CurrentRecord().pitchRate, pitch) << dy;
    }
}

TEST(AppCamera, RotatesThenTranslatesToTheEye) {
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    SetCamera(3, -4, 2, 90, 45);
    EXPECT_EQ(Text(rec, 0, 9), "LoadIdentity{}Rotatef{ -90, 1, 0, 0 }Rotatef{ 45, 0, 0, 1 }"
                               "Translatef{ -3, 4, -3.5 }");
}

TEST(AppFrame, OneFrameClearsSetsCameraPlacesModelsAndPrintsTheHud) {
    ResetPlayers();
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    bool done = true;
    AppIdle(done);
    EXPECT_FALSE(done);  // asks to be called again at once
    ASSERT_GE(rec.calls.size(), 8u);
    const double clear = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    EXPECT_EQ(Text(rec, 0, 3), "ClearColor{ 0, 0, 0, 1 }Clear{ " + testing::PrintToString(clear) +
                                   " }LoadIdentity{}");
    // With no map the camera is the empty record's: at the origin, looking straight down.
    EXPECT_EQ(rec.calls[3].args, (std::vector<double>{-0.0, 1, 0, 0}));
    EXPECT_EQ(rec.calls[5].args, (std::vector<double>{-0.0, -0.0, -1.5}));
    // The models stand at (35, 65, 4) and (35, 55, 4), turned half a revolution.
    const auto rotations = rec.Named("Rotatef");
    EXPECT_TRUE(std::any_of(rotations.begin(), rotations.end(), [](const test::GlCall& r) {
        return r.args == std::vector<double>{180, 0, 0, 1};
    }));
    const auto moves = rec.Named("Translatef");
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves[moves.size() - 2].args, (std::vector<double>{-35, -65, 4}));
    EXPECT_EQ(moves.back().args, (std::vector<double>{0, 10, 0}));
    // The HUD is red.
    ASSERT_GT(rec.Count("Color3f"), 0u);
    EXPECT_EQ(rec.Named("Color3f").back().args, (std::vector<double>{1, 0, 0}));
}

TEST(AppOpenGl, NoDrawableReportsThePixelFormatError) {
    ResetConsole();
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    EXPECT_FALSE(InitOpenGL());  // no main window in a unit test
    ASSERT_EQ(Con().lineCount, 3);
    EXPECT_EQ(std::vector<std::string>(&Con().log[1], &Con().log[4]),
              (std::vector<std::string>{"Initializatig OpenGL...",
                                        "  Setting Pixel Format Descriptor...",
                                        "OpenGL Error: Cannot set PFD"}));
    EXPECT_TRUE(rec.calls.empty());  // nothing configured without a context
    ShutdownOpenGL();
    ShutdownOpenGL();  // nothing held: nothing to release, twice
    EXPECT_EQ(Gl().hRC, nullptr);
}

TEST(AppOpenGl, ProjectionIsFourThirdsFromOneTo160) {
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    for (int fov : {10, 90, 120}) {
        rec.Clear();
        ApplyProjection(fov);
        // Projection (5889) then model-view (5888) matrices.
        const auto perspective = std::vector<double>{double(fov), 4.0 / 3.0, 1.0, 160.0};
        EXPECT_EQ(Text(rec, 0, 9), "MatrixMode{ 5889 }LoadIdentity{}Perspective" +
                                       testing::PrintToString(perspective) +
                                       "MatrixMode{ 5888 }LoadIdentity{}");
    }
}

TEST(AppFiles, ProgramFolderAndTypedNames) {
    EXPECT_EQ(ProgramDirFromExe("/opt/games/tamberlo"), "/opt/games/");
    EXPECT_EQ(ProgramDirFromExe("/tamberlo"), "/");
    EXPECT_EQ(ProgramDirFromExe("tamberlo"), "./");
    const std::string saved = ProgramDir();
    SetProgramDir("/opt/games/");
    EXPECT_EQ(ResolvePath("Data\\Sound\\mp40f1.wav"), "/opt/games/Data/Sound/mp40f1.wav");
    EXPECT_EQ(ResolvePath("Data/Maps/isengard.map"), "/opt/games/Data/Maps/isengard.map");
    EXPECT_EQ(ResolvePath("/tmp/x.map"), "/tmp/x.map");
    // CP1251 names reach the file system in UTF-8; the console shows paths in CP1251.
    EXPECT_EQ(ResolvePath("bad\\Карта.map"_cp), "/opt/games/bad/Карта.map");
    EXPECT_EQ(DisplayPath("/opt/игры/Карта.map"), "/opt/игры/Карта.map"_cp);
    SetProgramDir(saved);
    EXPECT_FALSE(FileExists("/nonexistent/file"));
    EXPECT_FALSE(FileExists("/tmp"));  // a folder is not a file
    EXPECT_FALSE(ReadWholeFile("/nonexistent/file").has_value());
}

TEST(AppFiles, NamesOfEveryMappedHighByteAreFound) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("tam_names_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string saved = ProgramDir();
    SetProgramDir(dir.string() + "/");
    // Two names, as one would pass NAME_MAX in UTF-8; 0x98 has no character.
    std::string names[2];
    for (int b = 0x80; b <= 0xFF; ++b)
        if (b != 0x98) names[b >= 0xC0] += static_cast<char>(b);
    for (const std::string& name : names) {
        std::ofstream(dir / Cp1251ToUtf8(name)) << name;
        EXPECT_TRUE(FileExists(ResolvePath(name)));
        const auto bytes = ReadWholeFile(ResolvePath(name));
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), name);
        EXPECT_FALSE(FileExists(ResolvePath(name + "x")));
    }
    SetProgramDir(saved);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tam
