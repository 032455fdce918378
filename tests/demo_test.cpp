// Demos through the frame loop's SimulateFrame: a session replays bit for bit, the bundled tour,
// bad demos refused, the cost per frame; and the program's "+" command-line arguments.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "app/command_line.h"
#include "app/demo.h"
#include "command_fixture.h"
#include "console/exec.h"

namespace tam::test {
extern std::atomic<bool> counting;  // app_test.cpp: operator new counts while set
extern std::atomic<long> allocations;
}  // namespace tam::test

namespace tam {
namespace {

using test::Lines;

constexpr const char* kMap = "Data/Maps/isengard.map";
constexpr int kVkW = 87, kVkSpace = 32;

// What must match bit for bit at every frame: position, view and velocities.
using Trace = std::vector<std::array<uint32_t, 8>>;
void Sample(Trace& trace) {
    const PlayerRecord& p = CurrentRecord();
    std::array<uint32_t, 8> row{};
    const float values[8] = {p.x, p.y, p.z, p.pitch, p.yaw, p.vx, p.vy, p.vz};
    std::memcpy(row.data(), values, sizeof values);
    trace.push_back(row);
}

class Demos : public test::CommandTest {
  protected:
    std::filesystem::path demos;  // the user's demo folder
    Lines reported;

    void SetUp() override {
        CommandTest::SetUp();
        ResetDemos();
        std::filesystem::create_directories(dir / "Data" / "Maps");
        std::filesystem::copy_file(std::string(TAM_GAME_DIR) + "/" + kMap, dir / kMap);
        setenv("XDG_DATA_HOME", (dir / "share").c_str(), 1);
        demos = dir / "share" / "tamberlo" / "demos";
        Interp().reportError = [this](const std::exception& e) { reported.push_back(e.what()); };
        ExecuteCommand(std::string("load_map ") + kMap);
    }
    void TearDown() override {
        ResetDemos();
        unsetenv("XDG_DATA_HOME");
        CommandTest::TearDown();
    }

    // A recorded session: returns the trace after each recorded frame.
    Trace RecordSession() {
        std::ofstream(dir / "strafe.cfg") << "+moveleft\n// a comment\nsensitivity 20\n";
        Run("record walk");
        Trace trace;
        // What is done before the frames named.
        const std::map<int, std::function<void()>> before = {
            {3, [] { KeyDown(kVkW); }}, {40, [] { Run("cl_forwardspeed 700; +attack"); }},
            {60, [] { KeyDown(kVkSpace); }}, {80, [] { Run("exec_file strafe.cfg"); }},
            {120, [] { Run("-moveleft;-attack"), KeyUp(kVkW); }},
            {130, [] { RunLineReportingErrors("fog pl 7x;no_clip"); }},  // no no_clip
            {150, [] { Run("no_clip;jump"); }}, {200, [] { Run("fov 70"); }}};
        for (int frame = 0; frame < 240; ++frame) {
            if (before.contains(frame)) before.at(frame)();
            const float dt = 0.004f + 0.0011f * static_cast<float>(frame % 13);
            SimulateFrame(dt, (frame % 9) - 4, frame < 100 ? -3 : 2);
            Sample(trace);
        }
        Run("+forward");                       // after the last frame: in no frame
        Run(std::string("load_map ") + kMap);  // ends the recording before the map changes
        return trace;
    }
};

TEST_F(Demos, ARecordedSessionReplaysBitForBitWhateverTheUserDoes) {
    const Trace recorded = RecordSession();
    ASSERT_EQ(tam::Demos().mode, DemoMode::Idle);
    const auto bytes = ReadWholeFile((demos / "walk.dem").string()).value_or(std::vector<uint8_t>{});
    Demo demo;
    std::string reason;
    ASSERT_TRUE(ParseDemo(bytes, demo, reason)) << reason;
    EXPECT_EQ(demo.frames.size(), recorded.size());
    // Each top-level command once, as run: a command file's lines instead of the exec_file,
    // keys as their bindings, not the nested play_wav of +attack, nothing after the last frame.
    EXPECT_EQ(demo.commands,
              (std::vector<std::string>{"+forward", "cl_forwardspeed 700", " +attack", "jump",
                                        "+moveleft", "sensitivity 20", "-moveleft", "-attack",
                                        "-forward", "fog pl 7x", "no_clip", "jump", "fov 70"}));
    EXPECT_EQ(reported, Lines{"\"7x\" is not a valid number"});

    // Timedemo: one recorded frame per drawn frame; the user's keys, mouse and player commands
    // do not reach the player, other commands run.
    ResetSettings();
    Run("no_clip");
    Run("timedemo walk");
    EXPECT_EQ(Config().cl_forwardspeed, 480.f);
    Trace played;
    for (size_t i = 0; i < recorded.size(); ++i) {
        if (i == 10) KeyDown(kVkSpace);
        if (i == 20) {
            EXPECT_EQ(Run("no_clip; fog +"),
                      Lines{"no_clip: not while a demo plays (stop ends it)"});
        }
        if (i == 30) Run("exec_file strafe.cfg");
        SimulateFrame(0.001f, 50, 50);
        Sample(played);
    }
    EXPECT_EQ(played, recorded);
    EXPECT_EQ(reported.size(), 2u);  // the recorded failing line failed again
    SimulateFrame(0.001f, 0, 0);
    ASSERT_EQ(tam::Demos().mode, DemoMode::Idle);
    EXPECT_TRUE(Joined().ends_with("timedemo walk: 240 frames, 0.24 s, 1000.0 fps, slowest 1.0 ms"))
        << Joined();

    // At the recorded pace, drawn frames longer or shorter than recorded ones play the recorded
    // frames whose times fit into the time drawn; either way the same walk.
    for (const float drawnFrame : {0.02f, 0.003f}) {
        Run("play_demo walk");
        Trace paced;
        double drawnTime = 0;
        for (size_t drawn = 0; drawn < 2000 && tam::Demos().mode != DemoMode::Idle; ++drawn) {
            SimulateFrame(drawnFrame, 5, 5);
            drawnTime += drawnFrame;
            Sample(paced);
            if (tam::Demos().mode == DemoMode::Idle) break;
            double playedTime = 0;
            for (size_t i = 0; i < tam::Demos().next; ++i) playedTime += demo.frames[i].frameTime;
            ASSERT_LE(playedTime, drawnTime) << drawn;
            ASSERT_GT(playedTime + demo.frames[tam::Demos().next].frameTime, drawnTime) << drawn;
        }
        EXPECT_EQ(paced.back(), recorded.back()) << drawnFrame;
        EXPECT_EQ(Log().back(), "Demo walk ended");
    }
}

TEST_F(Demos, TheBundledTourPlaysToItsEndWalkingPastTheModelsAndUnderTheSky) {
    SetProgramDir(std::string(TAM_GAME_DIR) + "/");
    Run(std::string("load_map ") + kMap);
    Run("timedemo tour");
    ASSERT_EQ(tam::Demos().mode, DemoMode::Timing) << Joined();
    const size_t frames = tam::Demos().demo.frames.size();
    float nearest = 1e9f, highestPitch = 0, highestZ = 0;
    for (size_t i = 0; i <= frames && tam::Demos().mode != DemoMode::Idle; ++i) {
        SimulateFrame(0.002f, 0, 0);
        const PlayerRecord& p = CurrentRecord();
        nearest = std::min(nearest, std::hypot(p.x - 35.f, p.y - 60.f));
        highestPitch = std::max(highestPitch, p.pitch);
        highestZ = std::max(highestZ, p.z);
        EXPECT_LT(std::max(std::fabs(p.x), std::fabs(p.y)), 56.f) << "frame " << i;
    }
    EXPECT_EQ(tam::Demos().mode, DemoMode::Idle);  // played to its end
    EXPECT_LT(nearest, 16.f);        // past the models
    EXPECT_GT(highestPitch, 170.f);  // up at the sky
    EXPECT_GT(highestZ, 1.f);        // a jump
    const auto fogSwitches = [&](const char* name) {
        size_t n = 0;
        for (const test::GlCall& c : gl.Named(name)) n += c.args == std::vector<double>{GL_FOG};
        return n;
    };
    EXPECT_EQ(std::pair(fogSwitches("Enable"), fogSwitches("Disable")),
              std::pair(size_t{1}, size_t{1}));
}

TEST_F(Demos, BadDemosAreRefusedWithOneLineAndChangeNothing) {
    Run("record good");
    for (int i = 0; i < 5; ++i) {
        Run("+forward");
        SimulateFrame(0.01f, 1, 1);
    }
    Run("stop");
    const auto good = ReadWholeFile((demos / "good.dem").string()).value_or(std::vector<uint8_t>{});
    Demo parsed;
    std::string reason;
    ASSERT_TRUE(ParseDemo(good, parsed, reason)) << reason;
    // A demo re-written from `parsed` after `change`, with a correct checksum.
    const auto rewritten = [&](auto change) {
        Demo d = parsed;
        change(d);
        DemoWriter w;
        w.Begin(d.start);
        for (const DemoFrame& f : d.frames) {
            for (uint32_t i = 0; i < f.commandCount; ++i) w.Command(d.commands[f.firstCommand + i]);
            w.Frame(f.frameTime, f.dx, f.dy);
        }
        return w.Finish();
    };
    const auto flipped = [&](size_t at, uint8_t bits) {  // `good` with bits of one byte flipped
        auto b = good;
        return b[at] ^= bits, b;
    };
    const struct { std::string name; std::vector<uint8_t> bytes; std::string line; } cases[] = {
        {"", {}, "play_demo missing: no such demo"},
        {"../good", {}, "play_demo: a demo name is letters, digits, -, _ and ."},
        {"empty", {}, "play_demo empty: not a demo file"},
        {"short", {'T', 'D', 'E', 'M', 1}, "play_demo short: truncated"},
        {"cut", {good.begin(), good.end() - 9}, "play_demo cut: checksum mismatch (damaged or truncated)"},
        {"damaged", flipped(good.size() / 2, 0x40), "play_demo damaged: checksum mismatch (damaged or truncated)"},
        {"version", flipped(4, 1 ^ 2), "play_demo version: format version 2, this program reads 1"},
        {"othermap", rewritten([](Demo& d) { d.start.mapHash ^= 1; }),
         "play_demo othermap: its map Data/Maps/isengard.map differs from the recorded one"},
        {"nomap", rewritten([](Demo& d) { d.start.mapFile = "Data/Maps/gone.map"; }),
         "play_demo nomap: its map Data/Maps/gone.map is missing"},
        {"garbage", rewritten([](Demo& d) { d.commands[2] = "fog +;quit"; }),
         "play_demo garbage: frame 2: a command that is no command line"},
        {"slow", rewritten([](Demo& d) { d.frames[4].frameTime = NAN; }),
         "play_demo slow: frame 4: a bad frame time"},
        {"fast", rewritten([](Demo& d) { d.start.settings.cl_forwardspeed = 5000; }),
         "play_demo fast: settings out of their ranges"},
        {"far", rewritten([](Demo& d) { d.start.player.x = INFINITY; }),
         "play_demo far: a bad player record"},
    };
    Run("sensitivity 3");
    Trace before;
    Sample(before);
    for (const auto& c : cases) {
        const std::string name = c.name.empty() ? "missing" : c.name;
        if (!c.name.empty() && c.name[0] != '.')
            WriteWholeFile((demos / (name + ".dem")).string(), c.bytes);
        for (const char* command : {"play_demo ", "timedemo "}) {
            std::string want = c.line;
            if (command[0] == 't') want.replace(0, 9, "timedemo");
            Run(command + (c.name.empty() ? name : c.name));
            EXPECT_EQ(Joined(), want);
            EXPECT_EQ(tam::Demos().mode, DemoMode::Idle);
        }
        Trace after;
        Sample(after);
        EXPECT_EQ(after, before) << name;
        EXPECT_EQ(Config().sensitivity, 3.f) << name;
    }
    // The good one plays; stop ends it; the user's folder comes before the bundled demos.
    EXPECT_EQ(Run("play_demo good"), Lines{"Playing demo good: 5 frames"});
    EXPECT_EQ(Run("stop"), Lines{"Demo good stopped"});
    EXPECT_EQ(Run("stop"), Lines{"stop: no demo is recording or playing"});
}

TEST_F(Demos, RecordingAndPlayingRefuseWhatTheyCannotDo) {
    // What each line printed, the log's wrapped lines joined.
    const auto printed = [&](std::string_view line) {
        Run(line);
        return Joined();
    };
    const std::pair<std::string, std::string> cases[] = {
        {"record", "record [Demo name]"},
        {"record a/b", "record: a demo name is letters, digits, -, _ and ."},
        {"record x; record y", "Recording demo xrecord y: demo x is being recorded"},
        {"play_demo x", "play_demo x: a recording runs (stop ends it)"},
        {"create_map", "Demo x ends before the map changesDemo x: 0 frames saved to " +
                           DisplayPath((demos / "x.dem").string()) + test::Cp("Карта создана !")},
        {"record y", "record y: the map in force is not from a map file"},
    };
    for (const auto& [line, out] : cases) EXPECT_EQ(printed(line), out) << line;
    // A demo folder that cannot be made.
    Run(std::string("load_map ") + kMap);
    std::ofstream(dir / "share" / "file") << "x";
    setenv("XDG_DATA_HOME", (dir / "share" / "file").c_str(), 1);
    EXPECT_TRUE(printed("record z").starts_with("record z: cannot make ")) << Joined();
    EXPECT_EQ(tam::Demos().mode, DemoMode::Idle);
}

// Recording appends to one buffer a frame; playing a demo without commands allocates nothing.
TEST_F(Demos, FramesAllocateOnlyAsTheRecordingBufferGrows) {
    Run("record cost");
    test::allocations = 0;
    test::counting = true;
    for (int i = 0; i < 20000; ++i) SimulateFrame(0.001f, 1, 0);
    test::counting = false;
    EXPECT_LE(test::allocations.load(), 20);  // geometric growth of the buffer
    Run("stop");
    Run("timedemo cost");
    SimulateFrame(0.001f, 0, 0);
    test::allocations = 0;
    test::counting = true;
    for (int i = 0; i < 19000; ++i) SimulateFrame(0.001f, 0, 0);
    test::counting = false;
    EXPECT_EQ(test::allocations.load(), 0);
}

TEST(CommandLine, PlusArgumentsBecomeConsoleLinesAndOthersAreIgnored) {
    const struct { std::vector<const char*> args; std::vector<std::string> lines, ignored; } cases[] = {
        {{}, {}, {}}, {{"--bogus", "x"}, {}, {"--bogus", "x"}}, {{"+fov", "77"}, {"fov 77"}, {}},
        {{"x", "+fog", "+", "+timedemo", "tour"}, {"fog +", "timedemo tour"}, {"x"}},
        {{"++forward", "+jump"}, {"+forward", "jump"}, {}}, {{"+", "+bind", "w", "-"}, {"bind w -"}, {"+"}},
        {{"+load_map", "Data/Карта.map", "中"}, {test::Cp("load_map Data/Карта.map ?")}, {}},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"tamberlo"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine got = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::tie(got.lines, got.ignored), std::tie(c.lines, c.ignored))
            << testing::PrintToString(c.args);
    }
}

}  // namespace
}  // namespace tam
