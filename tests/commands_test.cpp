// Transcripts of the command language: command lines in, console lines (CP1251 bytes) and the
// state or operations they change out. Splitting, case, usage lines, texts, file commands,
// player actions and conversion errors.
#include <gtest/gtest.h>

#include "command_fixture.h"

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
        {"x;", Unknown("x")},
        {";no_clip", {"No Clip OFF"}},  // leading ";" runs nothing
        {"no_clip;", {"No Clip ON"}},   // no empty segment after a final ";"
        {";", {}}, {";;", {}}, {"", {}},
        {"  no_clip  ;  no_clip  ", {"No Clip OFF", "No Clip ON"}},
        {"NO_CLIP", {"No Clip OFF"}},
        {"no_clip\tx", Unknown("no_clip\tx")},  // words split at spaces only
    };
    for (const auto& [line, out] : cases) EXPECT_EQ(Run(line), out) << line;
    EXPECT_EQ(Interp().no_clip, 0);
}

TEST_F(Commands, CommandWordIsCaseFoldedButArgumentsAreNot) {
    view.visible = false;
    const Lines log = Run("HELP; console");
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(log[1], Cp(" Orvalis 3D Команды:"));
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(view.fronts, 1);
    EXPECT_EQ(Run("fog PL 50"), Lines{Cp("Неверно задан параметр")});
    Run("FOG pl 50");
    EXPECT_EQ(ops.calls, Lines{"FogDensity 0.500000"});
    Run("bind q a b c d e f g h");  // only eight words are kept
    EXPECT_EQ(KeyTable(81).Command, "a b c");
}

TEST_F(Commands, UnrecognisedWordIsEchoedAsTypedOnlyWhileTheConsoleIsVisible) {
    const std::string word = Cp("ПриВет");
    const int before = view.presents;
    EXPECT_EQ(Run(word + " 1 2"), Unknown(word));
    EXPECT_EQ(view.presents - before, 2);  // line start + the second line; the first is silent
    EXPECT_EQ(Run("Exec file.cfg"), Unknown("Exec"));  // named by help, absent from the chain
    view.visible = false;
    EXPECT_EQ(Run(word), Lines{});
    EXPECT_EQ(Run(std::string("\x80\xFF\xA8\xB8", 4)), Lines{});
}

TEST_F(Commands, EveryUsageLineAndItsRedraws) {
    struct Case {
        const char* line;
        Lines out;
        int presents = -1;
    };
    const Case cases[] = {
        {"fov ?",
         {Cp("   FOV - Установка угла обзора"), Cp("   Количество параметров - 1"),
          Cp("   Параметр указывает угол обзора от 10 до 120")}},
        {"fog ?",
         {Cp("fog + - Включить туман"), Cp("fog - - Выключить туман"), Cp("fog 1 - Тип тумана"),
          Cp("fog 2 - Тип тумана"), Cp("fog 3 - Тип тумана"),
          Cp("fog pl XXX - XXX-плотность тумана от 0 до 100")},
         7},
        {"bind ?", {"BIND [KEY] [ACTION]"}},
        {"load_map ?", {"load_map [Map File name]"}},
        {"load_texture ?",
         {"load_texture [File Name(*.tga *.bmp *.pcx)]",
          Cp("   File Name - Имя файла в папке с игрой")},
         1},  // both lines without redraw
        {"play_midi ?", {"Play_MIDI [File name]"}},
        {"play_wav ?", {"Play_WAV [File name]"}},
        {"play_mp3 ?", {"Play_MP3 [File name]"}},
        {"set_volume ?", {"Set_Volume [0 - 65535]"}},
        {"set_fullscreen ?", {"set_fullscreen [Width] [Height] [ColorBit]"}},
        {"set_windowed ?", {"set_windowed [Width] [Height]"}},
        {"sensitivity ?", {"sensitivity=13"}},
    };
    for (const Case& c : cases) {
        const int before = view.presents;
        EXPECT_EQ(Run(c.line), c.out) << c.line;
        if (c.presents >= 0) {
            EXPECT_EQ(view.presents - before, c.presents) << c.line;
        }
    }
    EXPECT_TRUE(ops.calls.empty());
}

TEST_F(Commands, MissingOrWrongArguments) {
    EXPECT_EQ(Run("load_map"), Lines{});
    EXPECT_EQ(Run("bind"), Lines{});
    EXPECT_EQ(Run("load_texture"), Lines{Cp("Файл не указан")});
    for (const char* line : {"play_midi", "play_wav", "play_mp3", "set_volume", "set_fullscreen",
                             "set_fullscreen 800 600", "set_windowed", "set_windowed 800", "fog",
                             "fog pl", "fog 4", "fog ++", "set_volume 65536", "set_volume -1",
                             "set_volume 7x", "set_volume 99999999999999999999999"})
        EXPECT_EQ(Run(line), Lines{Cp("Неверно задан параметр")}) << line;
    EXPECT_TRUE(ops.calls.empty());
}

TEST_F(Commands, HelpAndAboutTextsReplaceTheLog) {
    const std::string sep(60, '=');
    ConsolePrint("old line", false);
    const int before = view.presents;
    ExecuteCommand("help");
    EXPECT_EQ(view.presents - before, 2);  // the text silently, then one redraw at the end
    const Lines log = Log();
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(log[0], sep);
    EXPECT_EQ(log[2], "");
    EXPECT_EQ(log[3], Cp("   Console                 - Показать консоль;"));
    EXPECT_EQ(log[6], Cp("   Exec [filename]         - Загрузить команду из файла;"));
    EXPECT_EQ(log[22], Cp("   set_volume              - Установить уровень громкости;"));
    EXPECT_EQ(log[23], "");
    const std::string tail =
        Cp("Для получения справки по каждой команде наберите команду    с параметром \"?\"");
    EXPECT_EQ(log[24] + log[25], tail);
    EXPECT_EQ(log[24].size(), 60u);
    EXPECT_EQ(log[26], Cp(" Конец."));
    EXPECT_EQ(log[27], sep);

    ExecuteCommand("about");
    EXPECT_EQ(Log(),
              (Lines{sep, " About Orvalis 3D", "", "   Music: Taken from different games;",
                     "   Sound: Taken from different games;",
                     "   Art:   Taken from different games;", "   DXLibrary: DirectX ver 8.0;",
                     "   GLLibrary: Standard opengl32.dll;", "", "", " End.", sep}));
}

TEST_F(Commands, FileCommandsTestTheFolderAndPassTheNameAsTyped) {
    EXPECT_EQ(Run("play_wav Data\\Sound\\mp40f1.wav"), Lines{});
    EXPECT_EQ(Run("play_midi Data/Sound/mp40f1.wav"), Lines{});
    EXPECT_EQ(Run("play_mp3 Data\\Sound\\none.mp3"), Lines{"File not found"});
    EXPECT_EQ(Run("play_wav Data"), Lines{"File not found"});  // a folder is not a file
    Tex().LastLoadedTexture = 7;
    EXPECT_EQ(Run("load_texture nowhere.tga"), Lines{Cp("Файл с тектурой не наден")});
    EXPECT_EQ(Tex().LastLoadedTexture, 7u);
    EXPECT_EQ(Run("load_texture wall.tga"), Lines{});
    EXPECT_EQ(Tex().LastLoadedTexture, 42u);
    // Cyrillic names: typed in CP1251, found under their UTF-8 names.
    std::filesystem::create_directories(dir / "bad");
    for (const char* name : {"выстрел.wav", "Стена.tga", "карта.map"}) std::ofstream(dir / "bad" / name) << "x";
    EXPECT_EQ(Run(Cp("play_wav bad/выстрел.wav; load_texture bad\\Стена.tga; load_map bad/карта.map")), Lines{});
    EXPECT_EQ(ops.calls, (Lines{"PlayWav Data\\Sound\\mp40f1.wav", "PlayMidi Data/Sound/mp40f1.wav",
                                "LoadTexture wall.tga", Cp("PlayWav bad/выстрел.wav"),
                                Cp("LoadTexture bad\\Стена.tga"), "LoadMap " + dir.string() + "/bad/карта.map",
                                "SpawnPlayer 0"}));
}

TEST_F(Commands, LoadMapSpawnsThePlayerOnlyOnSuccess) {
    Plr().CurrentPlayer = 3;
    ops.loadMapResult = false;
    EXPECT_EQ(Run("load_map Data\\Maps\\none.map"), Lines{"Map is not loaded..."});
    EXPECT_EQ(Plr().PlayerCount, 0);
    EXPECT_EQ(Plr().CurrentPlayer, 3);
    ops.loadMapResult = true;
    EXPECT_EQ(Run("load_map Data\\Maps\\isengard.map"), Lines{});
    EXPECT_EQ(Plr().PlayerCount, 1);
    EXPECT_EQ(Plr().CurrentPlayer, 0);
    const std::string maps = ProgramDir() + "Data/Maps/";
    EXPECT_EQ(ops.calls, (Lines{"LoadMap " + maps + "none.map", "LoadMap " + maps + "isengard.map",
                                "SpawnPlayer 0"}));
}

TEST_F(Commands, OperationCommandsPassTheirArguments) {
    EXPECT_EQ(Run("fog +;fog -;fog 1;fog 2;fog 3;fog pl 75;fog pl 2.5;create_map"), Lines{});
    Run("set_volume 65535;set_volume 0;set_volume 00100");  // one word drives both channels
    Run("set_fullscreen 800 600 32");
    Run("set_windowed 640 480 99");
    Run("exit;QUIT");
    EXPECT_EQ(ops.calls,
              (Lines{"FogOn", "FogOff", "FogMode 1", "FogMode 2", "FogMode 3",
                     "FogDensity 0.750000", "FogDensity 0.025000", "CreateMap",
                     "SetVolume 4294967295", "SetVolume 0",
                     "SetVolume " + std::to_string(100u | (100u << 16)), "SetBorderNone",
                     "NewScreen", "ScreenSetFullScreen 800 600 32", "InitOpenGL",
                     "SetBorderSizeable", "NewScreen", "ScreenSetWindowed 640 480", "InitOpenGL",
                     "RequestQuit", "RequestQuit"}));
}

TEST_F(Commands, ConversionErrorEndsTheLineAndKeepsEarlierSteps) {
    EXPECT_THROW(ExecuteCommand("no_clip;set_fullscreen 800 6x0 32;no_clip"), ConversionError);
    EXPECT_EQ(Interp().no_clip, 1);  // the first segment ran, the last did not
    EXPECT_THROW(ExecuteCommand("set_windowed 640 x"), ConversionError);
    EXPECT_EQ(ops.calls, (Lines{"SetBorderNone", "NewScreen", "SetBorderSizeable", "NewScreen"}));
    ops.calls.clear();
    // "1e307" is a double but no float density
    for (const char* line : {"fog pl abc;fog +", "fog pl 1e999", "fog pl 1e307",
                             "sensitivity 99999999999; no_clip"})
        EXPECT_THROW(ExecuteCommand(line), ConversionError) << line;
    EXPECT_TRUE(ops.calls.empty());
    EXPECT_EQ(Cvars().sensitivity, 13.f);
    EXPECT_EQ(Interp().no_clip, 1);

    auto error = [](auto run) -> std::string {
        try {
            run();
        } catch (const ConversionError& e) {
            return e.what();
        }
        return "no conversion error";
    };
    EXPECT_EQ(error([] { ExecuteCommand("set_windowed 7x 600"); }),
              "\"7x\" is not a valid whole number");
    const std::string cut = error([] { StrToInt(std::string(100000, '9')); });
    EXPECT_TRUE(cut.size() < 100u && cut.starts_with("\"999")) << cut;  // a long word is cut short
}

TEST_F(Commands, DecimalConversions) {
    const std::pair<std::string, int> ints[] = {{"2147483647", INT32_MAX},
                                                {"-2147483648", INT32_MIN},
                                                {"+007", 7},
                                                {std::string(100000, '0') + "5", 5}};
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
        EXPECT_EQ(p.moveLeft + p.moveRight + p.moveForward + p.moveBack, moves) << line;
        EXPECT_EQ(p.pitchRate, pitch) << line;
        EXPECT_EQ(p.yawRate, yaw) << line;
    };
    expect("+moveleft;+moveright;+forward;+back;+up;+right", 4, 5.f, 5.f);
    expect("+down;+left", 4, -5.f, -5.f);
    expect("-moveleft;-moveright;-forward;-back;-up;-left", 0, 0.f, 0.f);
    expect("+up;+left;-down;-right", 0, 0.f, 0.f);
    EXPECT_EQ(Plr().Players[0].moveForward, 0);
}

TEST_F(Commands, AttackPlaysTheShotThroughPlayWav) {
    EXPECT_EQ(Run("+attack"), Lines{});
    EXPECT_EQ(CurrentRecord().attacking, 1);
    EXPECT_EQ(ops.calls, Lines{"PlayWav Data\\Sound\\mp40f1.wav"});
    std::filesystem::remove(dir / "Data" / "Sound" / "mp40f1.wav");
    EXPECT_EQ(Run("-attack;+attack"), Lines{"File not found"});
    EXPECT_EQ(CurrentRecord().attacking, 1);
    Run("-attack");
    EXPECT_EQ(CurrentRecord().attacking, 0);
}

}  // namespace
}  // namespace tam::test
