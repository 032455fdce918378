// Transcripts of the command language through the real subsystems and the recording seams, and
// lines past any fuzzed length, which leave the console, key table and settings in their bounds.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <tuple>

#include "command_fixture.h"
#include "console/exec.h"
#include "render/screenshot.h"

namespace tam::test {
namespace {

using Commands = CommandTest;

Lines Unknown(const std::string& word) {
    return {Cp("Команда [") + word + Cp("] не распознанна."), Cp("Для списка команд наберите help")};
}

TEST_F(Commands, SegmentsRunLeftToRightAndEdgeSegmentsFollowTheCuttingRules) {
    const std::pair<const char*, Lines> cases[] = {
        {"no_clip;;no_clip", {"No Clip ON", Unknown("")[0], Unknown("")[1], "No Clip OFF"}},
        {"no_clip;x", {"No Clip ON"}},  // one-byte last segment is dropped
        {"x", {}},                      // a one-byte line runs nothing
        {"x;", Unknown("x")}, {";", {}}, {";;", {}}, {"", {}},
        {";no_clip", {"No Clip OFF"}},  // leading ";" runs nothing
        {"no_clip;", {"No Clip ON"}},   // no empty segment after a final ";"
        {"  no_clip  ;  no_clip  ", {"No Clip OFF", "No Clip ON"}}, {"NO_CLIP", {"No Clip OFF"}},
        {"no_clip\tx", Unknown("no_clip\tx")},  // words split at spaces only
    };
    for (const auto& [line, out] : cases) EXPECT_EQ(Run(line), out) << line;
    EXPECT_EQ(World().no_clip, 0);
}

TEST_F(Commands, ARepeatedWordIsRefusedAndUnregisteredWordsAreUnrecognised) {
    EXPECT_TRUE(RegisterCommandChain());  // the program's chain names each word once
    Lines ran;
    const auto note = [&](const commands::Words& w) { ran.push_back(std::string(w[1])); };
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(RegisterCommand("no_clip", note)), "registered twice");
    EXPECT_EQ(Run("no_clip a"), Lines{"No Clip ON"});  // the program's entry stays
    ResetInterpreter();
    RegisterCommand("x_y", note);
    EXPECT_EQ(Run("X_Y b;no_clip"), Unknown("no_clip"));
    EXPECT_EQ(ran, Lines{"b"});
}

// The command word is case-folded, the arguments are not, and eight words are kept. An unknown
// word is echoed as typed, only while the console is visible.
TEST_F(Commands, CommandWordIsCaseFoldedAndAnUnknownOneEchoedWhileTheConsoleIsVisible) {
    EXPECT_EQ(Run("fog PL 50"), Lines{Cp("Неверно задан параметр")});
    Run("FOG pl 50");
    EXPECT_EQ(gl.Named("Fogf").back().args, (std::vector<double>{GL_FOG_DENSITY, 0.5}));
    Run("bind q a b c d e f g h");
    EXPECT_EQ(KeyTable(81).Command, "a b c");
    const std::string word = Cp("ПриВет");
    const int before = view.presents;
    EXPECT_EQ(Run(word + " 1 2"), Unknown(word));
    EXPECT_EQ(view.presents - before, 2);  // line start + the second line; the first is silent
    EXPECT_EQ(Run("Exec file.cfg"), Unknown("Exec"));  // named by help, absent from the chain
    view.visible = false;
    EXPECT_EQ(Run(word), Lines{});
    EXPECT_EQ(Run(std::string("\x80\xFF\xA8\xB8", 4)), Lines{});
    Run("CONSOLE");
    EXPECT_EQ(std::pair(view.shows, view.fronts), std::pair(1, 1));
}

// Every usage line and its redraws; missing and wrong arguments. None reaches a device.
TEST_F(Commands, UsageLinesAndMissingOrWrongArguments) {
    struct Case { const char* line; Lines out; int presents = -1; };
    const Case cases[] = {
        {"fov ?", {Cp("   FOV - Установка угла обзора"), Cp("   Количество параметров - 1"),
                   Cp("   Параметр указывает угол обзора от 10 до 120")}},
        {"fog ?", {Cp("fog + - Включить туман"), Cp("fog - - Выключить туман"), Cp("fog 1 - Тип тумана"),
                   Cp("fog 2 - Тип тумана"), Cp("fog 3 - Тип тумана"),
                   Cp("fog pl XXX - XXX-плотность тумана от 0 до 100")}, 7},
        {"load_texture ?", {"load_texture [File Name(*.tga *.bmp *.pcx)]",
                            Cp("   File Name - Имя файла в папке с игрой")}, 1},  // both lines without redraw
        {"bind ?", {"BIND [KEY] [ACTION]"}}, {"load_map ?", {"load_map [Map File name]"}},
        {"play_midi ?", {"Play_MIDI [File name]"}}, {"play_wav ?", {"Play_WAV [File name]"}},
        {"play_mp3 ?", {"Play_MP3 [File name]"}}, {"set_volume ?", {"Set_Volume [0 - 65535]"}},
        {"set_fullscreen ?", {"set_fullscreen [Width] [Height] [ColorBit]"}},
        {"set_windowed ?", {"set_windowed [Width] [Height]"}}, {"sensitivity ?", {"sensitivity=13"}},
        {"load_map", {}}, {"bind", {}}, {"load_texture", {Cp("Файл не указан")}},
    };
    for (const Case& c : cases) {
        const int before = view.presents;
        EXPECT_EQ(Run(c.line), c.out) << c.line;
        if (c.presents >= 0) {
            EXPECT_EQ(view.presents - before, c.presents) << c.line;
        }
    }
    for (const char* line : {"play_wav", "set_volume", "set_fullscreen 800 600", "set_windowed 800",
                             "fog", "fog pl", "fog 4", "fog ++", "set_volume 65536", "set_volume 7x",
                             "set_volume 99999999999999999999999"})
        EXPECT_EQ(Run(line), Lines{Cp("Неверно задан параметр")}) << line;
    EXPECT_TRUE(gl.calls.empty() && audio.loads.empty() && audio.levelCalls == 0 &&
                display.calls.empty());
}

TEST_F(Commands, HelpAndAboutTextsReplaceTheLog) {
    const std::string sep(60, '=');
    ConsolePrint("old line", false);
    const int before = view.presents;
    ExecuteCommand("HELP");
    EXPECT_EQ(view.presents - before, 2);  // the text silently, then one redraw at the end
    const Lines log = Log();
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(Lines({log[0], log[1], log[2], log[23], log[26], log[27]}),
              Lines({sep, Cp(" Orvalis 3D Команды:"), "", "", Cp(" Конец."), sep}));
    EXPECT_EQ(log[6], Cp("   Exec [filename]         - Загрузить команду из файла;"));
    EXPECT_EQ(log[24] + log[25],
              Cp("Для получения справки по каждой команде наберите команду    с параметром \"?\""));

    ExecuteCommand("about");
    EXPECT_EQ(Log(),
              (Lines{sep, " About Orvalis 3D", "", "   Music: Taken from different games;",
                     "   Sound: Taken from different games;",
                     "   Art:   Taken from different games;", "   DXLibrary: DirectX ver 8.0;",
                     "   GLLibrary: Standard opengl32.dll;", "", "", " End.", sep}));
}

TEST_F(Commands, FileCommandsTestTheFolderPassTheNameAsTypedAndLoadMapSpawnsOnSuccess) {
    EXPECT_EQ(Run("play_wav Data\\Sound\\mp40f1.wav"), Lines{});
    EXPECT_EQ(Run("play_mp3 Data"), Lines{"File not found"});  // a folder is not a file
    Tex().LastLoadedTexture = 7;
    EXPECT_EQ(Run("load_texture nowhere.tga"), Lines{Cp("Файл с тектурой не наден")});
    EXPECT_EQ(Tex().LastLoadedTexture, 7u);
    EXPECT_EQ(Run("load_texture wall.tga"), Lines{});
    EXPECT_EQ(Tex().LastLoadedTexture, 2u);  // after the default texture
    EXPECT_EQ(audio.loads, Lines{ProgramDir() + "Data/Sound/mp40f1.wav"});
    // Cyrillic names: typed in CP1251, found under their UTF-8 names, shown in CP1251.
    std::filesystem::create_directories(dir / "bad");
    std::ofstream(dir / "bad" / "выстрел.wav") << std::string("RIFF\4\0\0\0WAVE", 12);
    audio.readable.insert(ProgramDir() + "bad/выстрел.wav");
    std::ofstream(dir / "bad" / "Стена.tga") << "x";
    std::ofstream(dir / "bad" / "карта.map") << "x";
    audio.loads.clear();
    Run(Cp("play_wav bad/выстрел.wav; load_texture bad\\Стена.tga; load_map bad/карта.map"));
    EXPECT_EQ(audio.loads, Lines{ProgramDir() + "bad/выстрел.wav"});
    const std::string sep(60, '=');
    EXPECT_EQ(Joined(), Cp("Texture bad\\Стена.tga not loaded: file shorter than its header (default texture used)") +
                            "Loading " + ProgramDir() + Cp("bad/карта.map...") + sep + "Map Name - x" +
                            "Map file is truncated" + sep + "Map is not loaded...");
    // load_map spawns the player only on success.
    SetProgramDir(std::string(TAM_GAME_DIR) + "/");
    Plr().CurrentPlayer = 3;
    EXPECT_EQ(Run("load_map Data\\Maps\\none.map"),
              (Lines{"File Map not exist ... Loading error", "Map is not loaded..."}));
    EXPECT_EQ(std::pair(Plr().PlayerCount, Plr().CurrentPlayer), std::pair(0, 3));
    EXPECT_EQ(Run("load_map Data\\Maps\\isengard.map").back(), sep);
    EXPECT_EQ(std::pair(Plr().PlayerCount, Plr().CurrentPlayer), std::pair(1, 0));  // spawned
}

TEST_F(Commands, ExecRunsFileLinesSkipsCommentsAndStopsNesting) {
    std::ofstream(dir / "a.cfg") << "// comment\n  # another\n\nno_clip\r\nexec_file b.cfg\nfov 33\n";
    std::ofstream(dir / "b.cfg") << "exec_file a.cfg";
    const Lines once = {"No Clip ON", "No Clip OFF", "No Clip ON", "No Clip OFF",
                        "exec_file a.cfg: files nested deeper than 8, not run"};
    const std::pair<const char*, Lines> cases[] = {
        {"exec_file a.cfg", once},  // a, b, a, ... eight files deep; the ninth is refused
        {"exec_file none.cfg", {"exec_file none.cfg: no such file"}},
        {"exec_file Data", {"exec_file Data: no such file"}},
        {"exec_file ?", {"exec_file [Command file name]"}},
        {"exec_file", {Cp("Неверно задан параметр")}},
    };
    for (const auto& [line, out] : cases) EXPECT_EQ(Run(line), out) << line;
    EXPECT_EQ(std::pair(Config().fov, Interp().execDepth), std::pair(33, 0));
    // A line that throws ends that line only, as typed; the error goes to the top-level handler.
    std::ofstream(dir / "bad.cfg") << "fog pl 7x;no_clip\nfov 99999999999\nfov 44\n";
    const std::string errors[] = {"\"7x\" is not a valid number",
                                  "\"99999999999\" is out of the whole-number range"};
    EXPECT_EQ(Run("exec_file bad.cfg"), (Lines{errors[0], errors[1]}));
    Lines reported;
    Interp().reportError = [&](const std::exception& e) { reported.push_back(e.what()); };
    EXPECT_EQ(Run("exec_file bad.cfg"), Lines{});
    EXPECT_EQ(reported, (Lines{errors[0], errors[1]}));
    EXPECT_EQ(std::tuple(Config().fov, World().no_clip, Interp().execDepth), std::tuple(44, 0, 0));
    // autoexec.cfg: silent when absent; a relative XDG_CONFIG_HOME is ignored. (The start-up
    // whole-program test runs one that is present.)
    const std::string config = (dir / "config").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(AutoexecPath(), config + "/tamberlo/autoexec.cfg");
    Con().lineCount = 0;
    RunAutoexec();
    EXPECT_EQ(Log(), Lines{});
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", config.c_str(), 1);
    EXPECT_EQ(AutoexecPath(), config + "/.config/tamberlo/autoexec.cfg");
}

TEST_F(Commands, ScreenshotWritesANewPngEachTimeOrSaysWhyNot) {
    FakeGlWindow window(false, 5, 3);
    RenderState().window = &window;
    const std::string config = (dir / "config").string();
    const std::string pictures = (dir / "Картинки ☺").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::filesystem::create_directories(config);
    std::ofstream(config + "/user-dirs.dirs") << "# made by hand\nXDG_PICTURES_DIR=\"" << pictures << "\"\n";
    const auto files = [&] { return std::vector(std::filesystem::directory_iterator(pictures + "/Tamberlo"), {}); };
    const auto shoot = [] {  // what a screenshot said, taken with the next frame
        EXPECT_EQ(Run("screenshot"), Lines{});
        TakePendingScreenshot();
        return Joined();
    };
    shoot();
    TakePendingScreenshot();  // nothing pending
    const std::string said = shoot();
    ASSERT_EQ(files().size(), 2u);
    // The path in the log is CP1251; what the code page lacks shows as "?".
    EXPECT_TRUE(said.starts_with(Utf8ToCp1251("Screenshot " + pictures + "/Tamberlo/", '?'))) << said;
    EXPECT_EQ(std::filesystem::status(files()[0]).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::others_read);
    // A write that fails part way (past a file-size limit, in a child process whose output goes
    // nowhere) leaves nothing behind.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    if (fork() == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1), dup2(null, 2);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{16, 16};
        setrlimit(RLIMIT_FSIZE, &small);
        const std::string failed = shoot();
        _exit(write(pipeFds[1], failed.data(), failed.size()) == static_cast<ssize_t>(failed.size()) ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string failed;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) failed.append(buffer, n);
    close(pipeFds[0]);
    wait(nullptr);
    EXPECT_EQ(failed, Utf8ToCp1251("Screenshot: cannot write to " + pictures + "/Tamberlo: " +
                                     std::strerror(EFBIG), '?'));
    EXPECT_EQ(files().size(), 2u);
    setenv("XDG_CONFIG_HOME", (dir / "wall.tga").c_str(), 1);  // a file: no folder under it
    setenv("HOME", (dir / "wall.tga").c_str(), 1);
    EXPECT_EQ(shoot(), "Screenshot: cannot write to " + (dir / "wall.tga").string() +
                            "/Pictures/Tamberlo: " + std::strerror(ENOTDIR));
    RenderState().window = nullptr;
}

TEST_F(Commands, SubsystemCommandsPassTheirArguments) {
    EXPECT_EQ(Run("fog +;fog -;fog 1;fog 2;fog 3;fog pl 75;fog pl 2.5"), Lines{});
    std::vector<std::vector<double>> fog;
    for (const GlCall& c : gl.calls) fog.push_back(c.args);
    EXPECT_EQ(fog, (std::vector<std::vector<double>>{
                       {GL_FOG}, {GL_FOG}, {GL_FOG_MODE, GL_EXP}, {GL_FOG_MODE, GL_EXP2},
                       {GL_FOG_MODE, GL_LINEAR}, {GL_FOG_DENSITY, 0.75f}, {GL_FOG_DENSITY, 0.025f}}));
    EXPECT_EQ(gl.calls[1].name, "Disable");
    Run("set_volume 00100");  // one word drives both channels
    EXPECT_EQ(Snd().volume, 100u | (100u << 16));
    const Lines noGl = {"Initializatig OpenGL...", "  Setting Pixel Format Descriptor...",
                        "OpenGL Error: Cannot set PFD"};  // InitOpenGL, without a window here
    EXPECT_EQ(Run("set_fullscreen 800 600 32"), noGl);
    EXPECT_EQ(Run("set_windowed 640 480 99"), noGl);
    Run("QUIT");
    EXPECT_TRUE(platform::QuitRequested());
}

// A conversion error ends the line and keeps the earlier steps; its message names the word, cut
// short. The decimal conversions take whole 32-bit numbers and plain decimal reals only.
TEST_F(Commands, ConversionErrorsAndTheDecimalConversions) {
    EXPECT_THROW(ExecuteCommand("no_clip;set_fullscreen 800 6x0 32;no_clip"), ConversionError);
    EXPECT_EQ(World().no_clip, 1);  // the first segment ran, the last did not
    EXPECT_THROW(ExecuteCommand("set_windowed 640 x"), ConversionError);
    EXPECT_EQ(display.calls, (Lines{"border none", "border sizeable"}));
    gl.Clear();
    // "1e307" is a double but no float density; a setting's digits past 32 bits are no number.
    for (const char* line : {"fog pl abc;fog +", "fog pl 1e999", "fog pl 1e307",
                             "sensitivity 99999999999; no_clip", "fov 2147483648;fov 50",
                             "cl_sidespeed 99999999999999999999;cl_sidespeed 5"})
        EXPECT_THROW(ExecuteCommand(line), ConversionError) << line;
    EXPECT_TRUE(gl.calls.empty());
    EXPECT_EQ(std::tuple(Config().sensitivity, Config().cl_sidespeed, World().no_clip),
              std::tuple(13.f, 480.f, 1));
    // The message names the word, cut short (the display test reads a whole one on stderr).
    const std::string message = [] {
        try {
            StrToInt(std::string(100000, '9'));
        } catch (const ConversionError& e) {
            return std::string(e.what());
        }
        return std::string("nothing thrown");
    }();
    EXPECT_LT(message.size(), 100u) << message;
    EXPECT_TRUE(message.starts_with("\"999")) << message;

    const std::pair<std::string, int> ints[] = {{"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
                                                {"+007", 7}, {std::string(100000, '0') + "5", 5}};
    for (const auto& [text, value] : ints) EXPECT_EQ(StrToInt(text), value);
    for (const char* bad : {"2147483648", "-2147483649", "", "+", "-", "7x", " 7", "7 ", "0x10",
                            "1e3", "99999999999999999999"})
        EXPECT_THROW(StrToInt(bad), ConversionError) << bad;
    const std::pair<const char*, double> reals[] = {
        {"50", 50.0}, {"-2.5", -2.5}, {".5", 0.5}, {"5.", 5.0}, {"+1E2", 100.0}};
    for (const auto& [text, value] : reals) EXPECT_DOUBLE_EQ(StrToFloat(text), value) << text;
    for (const char* bad :
         {"", ".", "-", "e5", "1e", "1e+", "inf", "nan", "1,5", "1.5.", " 1", "0x1p3", "1e400"})
        EXPECT_THROW(StrToFloat(bad), ConversionError) << bad;
}

TEST_F(Commands, PlayerActionsSetTheCurrentRecord) {
    Plr().CurrentPlayer = 2;
    const PlayerRecord& p = Plr().Players[2];
    auto expect = [&](const char* line, int moves, float pitch, float yaw) {
        Run(line);
        EXPECT_EQ(std::tuple(p.moveLeft + p.moveRight + p.moveForward + p.moveBack, p.pitchRate,
                             p.yawRate), std::tuple(moves, pitch, yaw)) << line;
    };
    expect("+moveleft;+moveright;+forward;+back;+up;+right", 4, 5.f, 5.f);
    expect("+down;+left", 4, -5.f, -5.f);
    expect("-moveleft;-moveright;-forward;-back;-up;-left", 0, 0.f, 0.f);
    expect("+up;+left;-down;-right", 0, 0.f, 0.f);
    EXPECT_EQ(Plr().Players[0].moveForward, 0);
}

TEST_F(Commands, SettingsShowSetAndRefuse) {
    const std::string fovRange = Cp("Параметр должен быть между [10; 120]");
    const std::pair<const char*, std::string> cases[] = {
        // Out of range: refused (any line keeps the bounds in the fuzz target); the shows below
        // find the old values.
        {"sensitivity 26", "SENSITIVITY Must be between [1; 25]"},
        {"cl_forwardspeed 1001", "CL_FORWARDSPEED Must be between [1; 1000]"},
        {"cl_sidespeed 0000", "CL_SIDESPEED Must be between [1; 1000]"},
        {"fov 9", fovRange}, {"fov 2147483647", fovRange},  // the largest 32-bit value: a number
        // Without a whole unsigned number the value is shown.
        {"sensitivity", "sensitivity=13"}, {"CL_SIDESPEED", "cl_sidespeed=480"},
        {"cl_forwardspeed abc", "cl_forwardspeed=480"}, {"cl_sidespeed 2.5", "cl_sidespeed=480"},
        {"cl_sidespeed +3", "cl_sidespeed=480"}, {"cl_sidespeed \xB9", "cl_sidespeed=480"},
        {"fov", "FOV=90"}, {"fov /", "FOV=90"}, {"fov :", "FOV=90"},
        // Inside the range: set silently.
        {"sensitivity 25", ""}, {"cl_forwardspeed 1000", ""}, {"cl_sidespeed 0001", ""},
        {"Sensitivity 1; sensitivity", "sensitivity=1"},
    };
    for (const auto& [line, out] : cases)
        EXPECT_EQ(Run(line), out.empty() ? Lines{} : Lines{out}) << line;
    const Settings& v = Config();
    EXPECT_EQ(std::tuple(v.sensitivity, v.cl_forwardspeed, v.cl_sidespeed, v.fov),
              std::tuple(1.f, 1000.f, 1.f, 90));
    EXPECT_TRUE(gl.calls.empty());  // only a changed fov reprojects
    EXPECT_EQ(Run("fov 0100;FOV 10;fov 120;fov"), Lines{"FOV=120"});
    std::vector<double> fovs;
    for (const GlCall& c : gl.Named("Perspective")) fovs.push_back(c.args[0]);
    EXPECT_EQ(fovs, (std::vector<double>{100, 10, 120}));
}

// Lines past the fuzz target's lengths: a 100 KiB binding is kept whole, the log stays wrapped
// and capped, and thousands of segments each run.
TEST_F(Commands, HundredKilobyteLinesAndThousandsOfSeparators) {
    auto many = [](char c) { return std::string(100 * 1024, c); };
    for (const std::string& line :
         {many('a'), "bind q " + many('x'), "bind " + many('k') + " about", "fov " + many('9'),
          "fog pl " + many('9'), "fog pl 0." + many('0') + "1", many(' '),
          "set_volume " + many('0') + "7"}) {
        try {
            ExecuteCommand(line);
        } catch (const ConversionError&) {
        }
    }
    EXPECT_EQ(std::tuple(KeyTable(81).Command.size(), FindKey("w"), Snd().volume, Config().fov),
              std::tuple(100u * 1024 + 2, 87, 7u | (7u << 16), 90));
    ASSERT_TRUE(Con().lineCount >= 0 && Con().lineCount <= kConsoleLines);
    for (const std::string& l : Log()) EXPECT_LE(l.size(), 60u);
    Con().lineCount = 0;
    ExecuteCommand(std::string(5000, ';'));  // 4998 empty segments, each unrecognised
    EXPECT_EQ(Con().lineCount, 31);          // a full log settles at 31 lines under the prompt
    std::string line;
    for (int i = 0; i < 3001; ++i) line += "no_clip;";
    ExecuteCommand(line);
    EXPECT_EQ(World().no_clip, 1);
}

}  // namespace
}  // namespace tam::test
