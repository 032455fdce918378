// The application core without a window: start-up and its failure, timing, mouse look, the
// camera, whole frames (drawn, and allocating nothing), the display switch, folders and file reads.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <tuple>

#include "command_fixture.h"
#include "gl_matrix.h"

// The test binary's global operator new counts the allocations made while `counting` is set.
// The operators stay out of line, so the compiler never pairs an inlined free with a new.
namespace tam::test {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace tam::test

__attribute__((noinline)) void* operator new(std::size_t size) {
    if (tam::test::counting.load(std::memory_order_relaxed)) ++tam::test::allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return ::operator new(size); }
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace tam {
namespace {

TEST(AppTiming, IntervalTimerAndFrameClock) {
    uint64_t now = 1000;
    IntervalTimer timer([&] { return now; }, 1000);  // counts in milliseconds
    now = 1250;
    EXPECT_DOUBLE_EQ(timer.Measure(1.0), 0.25);
    now = 1260;
    EXPECT_NEAR(timer.Measure(2.0), 0.02, 1e-12);  // scaled, and measured from the last reading
    EXPECT_DOUBLE_EQ(timer.Measure(1.0), 0.0);
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
        if (sens > 0) Config().sensitivity = sens;
        ApplyMouseLook(static_cast<int>(dx), static_cast<int>(dy));
        EXPECT_FLOAT_EQ(CurrentRecord().yawRate, yaw) << dx;
        EXPECT_FLOAT_EQ(CurrentRecord().pitchRate, pitch) << dy;
    }
}

// The eye stands 1.5 above the player and maps to the origin, looking down -z with +y up. Pitch 90
// looks level, 0 straight down; yaw 0 faces +y and 90 faces +x.
TEST(AppCamera, TheEyeLooksWherePitchAndYawPoint) {
    constexpr double h = std::numbers::sqrt2 / 2;
    const struct {
        float x, y, z, pitch, yaw;
        test::Vec4 forward, up;
    } cases[] = {{3, -4, 2, 90, 0, {0, 1, 0, 0}, {0, 0, 1, 0}},   {0, 0, 0, 90, 90, {1, 0, 0, 0}, {0, 0, 1, 0}},
                 {7, 1, -3, 90, 180, {0, -1, 0, 0}, {0, 0, 1, 0}}, {1, 2, 3, 0, 0, {0, 0, -1, 0}, {0, 1, 0, 0}},
                 {-5, 9, 0, 135, 0, {0, h, h, 0}, {0, -h, h, 0}}};
    for (const auto& c : cases) {
        test::GlRecorder rec;
        gl::ScopedBackend sb(&rec);
        rec.calls.push_back({"Rotatef", {33, 1, 1, 0}});  // SetCamera starts from identity
        SetCamera(c.x, c.y, c.z, c.pitch, c.yaw);
        test::MatrixReplay replay;
        for (const auto& call : rec.calls) replay.Step(call);
        const auto seen = [&](const test::Vec4& d) {  // the eye's view of the point `d` from it
            return replay.modelview.back() * test::Vec4{c.x + d[0], c.y + d[1], c.z + 1.5 + d[2], 1};
        };
        const test::Vec4 want[] = {{0, 0, 0, 1}, {0, 0, -1, 1}, {0, 1, 0, 1}};
        const test::Vec4 got[] = {seen({0, 0, 0, 0}), seen(c.forward), seen(c.up)};
        for (size_t k = 0; k < 3; ++k)
            for (size_t d = 0; d < 4; ++d)
                EXPECT_NEAR(got[k][d], want[k][d], 1e-5) << c.pitch << " " << c.yaw << " point " << k;
    }
}

// A frame turns the models half a revolution; a display switch places the light and projection.
TEST(AppFrame, OneFrameTurnsTheModelsAndADisplaySwitchPlacesTheLightAndProjection) {
    ResetPlayers();
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    bool done = true;
    AppIdle(done);
    EXPECT_FALSE(done);
    const std::vector<double> halfTurn{180, 0, 0, 1};
    EXPECT_NE(std::ranges::count(rec.Named("Rotatef"), halfTurn, &test::GlCall::args), 0);

    ConfigureOpenGL();  // as set_fullscreen and set_windowed run it
    test::MatrixReplay replay;
    int lights = 0;
    for (const auto& c : rec.calls) {
        replay.Step(c);
        if (c.name != "Lightfv" || c.args[1] != GL_POSITION) continue;
        ++lights;
        EXPECT_EQ(replay.modelview.back(), test::Mat{}) << "the light must sit at the viewer";
    }
    EXPECT_EQ(lights, 1) << "the light is placed once, by the display switch";
    EXPECT_EQ(replay.modelview.back(), test::Mat{});
    EXPECT_EQ(replay.projection.back(), test::Perspective(90, 4.0 / 3.0, 1, 160));
}

// A console window that keeps the log and its own visibility at the moment it is shown modally.
class ModalView : public test::RecordingView {
public:
    int modals = 0;
    bool visibleBeforeModal = true;
    test::Lines logAtModal;
    void ShowModal() override { ++modals, visibleBeforeModal = visible, logAtModal = test::ConsoleLog(); }
};

// The command fixture, then the models, sky, GL state and working folder put back.
class AppStartup : public test::CommandTest {
protected:
    std::filesystem::path savedCwd = std::filesystem::current_path();
    void TearDown() override {
        AppState& a = App();
        a.mdlOgros = a.mdlWeapon = a.mdlSpawn = CMD2Model();
        a.skybox.reset();
        RenderState() = GlState{};
        std::filesystem::current_path(savedCwd);
        CommandTest::TearDown();
    }
};
using AppFrames = AppStartup;

// After the program's own start-up, frames after the first allocate nothing.
TEST_F(AppFrames, FramesAllocateNothing) {
    SetProgramDir(std::string(TAM_GAME_DIR) + "/");
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);  // no autoexec.cfg
    test::FakeGlWindow window(true, 640, 480);
    RenderState().window = &window;
    ASSERT_TRUE(RunStartup(&view));
    ASSERT_TRUE(Plr().PlayerCount == 1 && App().mdlSpawn.frameCount > 0 && App().skybox);
    CurrentRecord().moveForward = CurrentRecord().moveLeft = 1;
    gl.keepCalls = false;
    bool done = true;
    AppIdle(done);
    const size_t callsBefore = gl.callCount;
    const float startX = CurrentRecord().x, startY = CurrentRecord().y;
    constexpr int kFrames = 500;
    test::allocations = 0;
    test::counting = true;
    for (int i = 0; i < kFrames; ++i) AppIdle(done);
    test::counting = false;
    EXPECT_EQ(test::allocations.load(), 0);
    EXPECT_GT(gl.callCount - callsBefore, size_t{kFrames} * 1000);  // every frame drew
    EXPECT_NE(std::pair(CurrentRecord().x, CurrentRecord().y), std::pair(startX, startY));
}

// Start-up's whole log with and without an OpenGL context; without one, the modal console and a
// quit follow, and the map and autoexec.cfg are left alone. The log keeps its newest 31 lines.
TEST_F(AppStartup, TheConsoleLogsEveryStageAndAFailedOpenGLEndsTheRunAfterTheModalConsole) {
    std::filesystem::current_path(TAM_GAME_DIR);  // the log's paths are the same wherever it lies
    SetProgramDir("./");
    std::filesystem::create_directories(dir / "tamberlo");
    std::ofstream(dir / "tamberlo" / "autoexec.cfg") << "no_clip\n";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const std::string sep = SeparatorLine();
    const test::Lines banner = {sep, "Orvalis 3D", sep},
                      opengl = {"Software Initializating...", "  OpenGL initialization...",
                                "Initializatig OpenGL...", "  Setting Pixel Format Descriptor...",
                                "  Setting HRC..."},
                      contextMade = {"  Making Current...", "  Configuring OpenGL...",
                                     "OpenGL initializated successfully", sep},
                      noContext = {"OpenGL Error: HRC = NULL"},
                      others = {"  Loading Textures...", "  Textures load ... Ok",
                                "  Initializating Software Input...", "  DirectX initialization...",
                                "Initializatig DirectX...", "  Setting Full Screen Mode...",
                                "  Initializating Sound...", "  Initializating Music...",
                                "DirectX initializated successfully", sep, "  Font initialization...",
                                "  Other Initializations...", "Software Initializated successfully", sep},
                      mapAndAutoexec = {"Loading ./Data/Maps/isengard.map...", sep, "Map Name - Isengard",
                                        "Load Start Points", "Load Object", "Load Ok", sep, "No Clip ON"};
    const auto log = [](std::initializer_list<const test::Lines*> parts) {
        test::Lines all;
        for (const test::Lines* p : parts) all.insert(all.end(), p->begin(), p->end());
        return test::Lines(all.end() - std::min<ptrdiff_t>(ptrdiff_t(all.size()), kConsoleLines - 1), all.end());
    };
    for (bool context : {true, false}) {
        ResetConsole();
        ResetWorld();
        ResetTextures();
        platform::Shutdown();
        test::FakeGlWindow window(context, 642, 456);
        RenderState() = GlState{};
        RenderState().window = &window;
        ModalView console;
        const bool started = RunStartup(&console);
        Con().view = nullptr;
        if (context) {
            EXPECT_EQ(test::ConsoleLog(), log({&banner, &opengl, &contextMade, &others, &mapAndAutoexec}));
            EXPECT_EQ(std::tuple(started, platform::QuitRequested(), console.visible, console.modals),
                      std::tuple(true, false, true, 0));
            EXPECT_EQ(std::pair(int(Map().boxCount), int(World().no_clip)), std::pair(82, 1));
        } else {
            EXPECT_EQ(test::ConsoleLog(), log({&banner, &opengl, &noContext, &others}));
            EXPECT_EQ(console.logAtModal, test::ConsoleLog());
            EXPECT_EQ(std::tuple(started, platform::QuitRequested(), console.visibleBeforeModal, console.modals),
                      std::tuple(false, true, false, 1));
            EXPECT_EQ(std::pair(int(Map().boxCount), int(World().no_clip)), std::pair(0, 0));
        }
    }
}

TEST(AppFiles, ProgramFolderAndTypedNames) {
    EXPECT_EQ(ProgramDirFromExe("/tamberlo"), "/");  // deeper paths: the data root's table
    EXPECT_EQ(ProgramDirFromExe("tamberlo"), "./");
    EXPECT_EQ(ResolvePath("/tmp/x.map"), "/tmp/x.map");  // an absolute name is taken as given
    // A read that fails leaves its reason in errno.
    const std::tuple<std::string, size_t, int> failures[] = {
        {"/nonexistent/file", 1024, ENOENT}, {"/tmp", 1024, EISDIR}, {"/dev/null", 1024, ENOTSUP},
        {TAM_TEST_DATA_DIR "/images/tga_24.tga", 1, EFBIG}};
    for (const auto& [path, maxBytes, reason] : failures) {
        errno = 0;
        EXPECT_FALSE(ReadWholeFile(path, maxBytes).has_value()) << path;
        EXPECT_EQ(errno, reason) << path;
    }
}

TEST(AppFiles, DataRootIsBesideTheExecutableElseTheInstalledShareFolder) {
    namespace fs = std::filesystem;
    const struct {
        const char* exe;  // relative to a fresh root, like everything here
        std::vector<const char*> folders, files;
        const char* want;
    } layouts[] = {
        {"usr/bin/tamberlo", {"usr/bin", "usr/share/tamberlo/Data"}, {}, "usr/share/tamberlo/"},
        {"usr/bin/tamberlo", {"usr/bin/Data", "usr/share/tamberlo/Data"}, {}, "usr/bin/"},
        {"usr/bin/tamberlo", {"usr/bin", "usr/share/tamberlo"}, {"usr/bin/Data", "usr/share/tamberlo/Data"},
         "usr/bin/"},
    };
    for (const auto& layout : layouts) {
        const test::ScratchProgramDir scratch;
        const fs::path& root = scratch.path;
        for (const char* f : layout.folders) fs::create_directories(root / f);
        for (const char* f : layout.files) std::ofstream(root / f) << "x";
        EXPECT_EQ(DataRootFromExe(root.string() + "/" + layout.exe),
                  root.string() + "/" + layout.want)
            << layout.exe << " with " << testing::PrintToString(layout.folders);
    }
}

}  // namespace
}  // namespace tam
