// The media unit against stand-in audio and display devices. Sound: the MIDI alias, the WAV
// channel and its default sound, MP3 streams (overlap, reaping, the stream limit), the console
// line for a file that is not played, the device holder's status codes, and which files may play
// as a sound or as music. Display: the start-up stage's log and holders, the refused mode steps
// with their status codes and log lines, and shutdown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "console/files.h"
#include "media/display.h"
#include "media/sound.h"
#include "media_fakes.h"

namespace tam {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
const std::string kGameDir = std::string(TAM_GAME_DIR) + "/";

// A literal's bytes, zeros included.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// The first bytes of each kind of file; the mixer stand-in decides what decodes.
const std::string kMidi = Bytes("MThd\0\0\0\6\0\0\0\1\1\xE0");
const std::string kRmid = Bytes("RIFF\x1A\0\0\0RMIDdata");
const std::string kWave = Bytes("RIFF\x24\0\0\0WAVEfmt ");
const std::string kMp3 = Bytes("ID3\3\0\0\0\0\0\0");

class MediaSound : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("tam_sound_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        game_ = dir_.string() + "/";
        SetProgramDir(game_);
        ResetSound();
        ResetConsole();
        ResetMedia();
        Media().device = &display;
        fake.open = true;
        fake.channels = kMixChannels;
        const std::pair<const char*, std::string> files[] = {
            {"a.mid", kMidi}, {"Data/Sound/b.mid", kMidi}, {"a.wav", kWave},
            {"b.wav", kWave}, {"one.mp3", kMp3},           {"two.mp3", kMp3}};
        for (const auto& [name, bytes] : files) Write(name, bytes, true);
        Write("garbage.wav", kWave, false);  // a WAV header, but the mixer cannot read it
    }
    void TearDown() override {
        ResetSound();
        ResetMedia();
        SetProgramDir("");
        fs::remove_all(dir_);
    }
    // Writes the file `name` in the program folder; `decodes` makes the mixer read it.
    void Write(const std::string& name, const std::string& bytes, bool decodes) {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        if (decodes) fake.readable.insert(game_ + name);
    }
    std::string Music() const { return fake.music ? fake.live.at(fake.music) : ""; }
    static std::string Chime() {
        return "samples:" + std::to_string(DefaultSoundSamples().size() / audio::kOutputChannels);
    }
    // The console's lines joined, and the log emptied.
    static std::string TakeLog() {
        std::string text;
        for (int i = 1; i <= Con().lineCount; ++i) text += Con().log[i];
        ResetConsole();
        return text;
    }
    fs::path dir_;
    std::string game_;
    test::FakeAudio fake;
    audio::ScopedBackend scoped{&fake};
    test::FakeDisplay display;
};

TEST_F(MediaSound, MidiAliasHoldsTheFirstOpenedFileAndRestartsIt) {
    PlayMidi("missing.mid");  // an open failure leaves the alias free
    EXPECT_EQ(fake.musicStarts, 0);
    EXPECT_EQ(TakeLog(), "MIDI missing.mid not played: cannot be opened");
    PlayMidi("Data\\Sound\\b.mid");  // backslashes reach the file system as "/"
    EXPECT_EQ(Music(), game_ + "Data/Sound/b.mid");
    PlayMidi("a.mid");  // the alias is held: the first file starts again from 0
    EXPECT_EQ(Music(), game_ + "Data/Sound/b.mid");
    EXPECT_EQ(fake.musicStarts, 2);
    EXPECT_EQ(TakeLog(), "");
    EXPECT_EQ(fake.loads, (std::vector<std::string>{game_ + "Data/Sound/b.mid"}));
}

TEST_F(MediaSound, NewWavStopsTheOneStillPlayingAndUnplayableOnesPlayTheDefault) {
    PlayWav("a.wav");
    EXPECT_EQ(fake.On(kWavChannel), game_ + "a.wav");
    PlayWav("b.wav");
    EXPECT_EQ(fake.On(kWavChannel), game_ + "b.wav");
    EXPECT_EQ(fake.live.size(), 1u) << "the replaced sound is freed";
    EXPECT_EQ(fake.playing.size(), 1u) << "only the WAV channel sounds";
    for (int i = 0; i < 2; ++i) {
        PlayWav("garbage.wav");
        EXPECT_EQ(fake.On(kWavChannel), Chime());
        EXPECT_EQ(Snd().wav, 0u);
        EXPECT_EQ(fake.live.size(), 1u) << "one default sound, made once";
        EXPECT_EQ(TakeLog(), "WAV garbage.wav not played: unreadable (default sound played)");
    }
}

TEST_F(MediaSound, FirstBytesNotNamesDecideWhatPlaysAsSoundOrMusic) {
    // Every file here decodes in the mixer; the sound plays WAV files only, the sequencer opens
    // MIDI files only.
    const struct {
        const char* name;
        std::string bytes;
        bool wav, midi;
    } files[] = {
        {"x.wav", kWave, true, false},      {"x.mp3", kMp3, false, false},
        {"mp3.wav", kMp3, false, false},    {"tune.wav", kMidi, false, true},
        {"song.rmi", kRmid, false, false},  // the mixer cannot play MIDI inside RIFF
        {"x.ogg", Bytes("OggS\0\2"), false, false},
        {"avi.wav", Bytes("RIFF\x24\0\0\0AVI LIST"), false, false},
        {"cut.wav", Bytes("RIFF\x24\0\0\0WAV"), false, false}, {"empty.mid", "", false, false},
    };
    for (const auto& f : files) {
        Write(f.name, f.bytes, true);
        ResetSound();
        PlayWav(f.name);
        EXPECT_EQ(fake.On(kWavChannel), f.wav ? game_ + f.name : Chime()) << f.name;
        const std::string name = f.name;
        EXPECT_EQ(TakeLog(), f.wav ? "" : "WAV " + name + " not played: not a RIFF WAVE file (default sound played)");
        PlayMidi(f.name);
        EXPECT_EQ(Music(), f.midi ? game_ + f.name : "") << f.name;
        EXPECT_EQ(TakeLog(), f.midi ? "" : "MIDI " + name + " not played: not a MIDI file (no MThd header)");
    }
    PlayMidi("a.mid");  // the failed opens left the alias to the next MIDI file
    EXPECT_EQ(Music(), game_ + "a.mid");
}

TEST_F(MediaSound, Mp3StreamsOverlapAndFinishedOrOldestOnesAreFreed) {
    PlayMp3("one.mp3");
    PlayMp3("two.mp3");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    const int first = Snd().mp3[0].channel, second = Snd().mp3[1].channel;
    EXPECT_TRUE(first != second && first != kWavChannel && second != kWavChannel);
    PlayWav("a.wav");  // a WAV does not stop the streams
    EXPECT_EQ(fake.On(first), game_ + "one.mp3");
    EXPECT_EQ(fake.On(second), game_ + "two.mp3");

    fake.playing.erase(first);  // the first stream ends
    PlayMp3("one.mp3");
    PlayMp3("missing.mp3");
    EXPECT_EQ(TakeLog(), "MP3 missing.mp3 not played: unreadable");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    EXPECT_EQ(Snd().mp3[0].channel, second);
    EXPECT_EQ(Snd().mp3[1].channel, first) << "the freed channel is used again";
    EXPECT_EQ(fake.live.size(), 3u) << "two streams and the WAV; the finished chunk is freed";

    while (Snd().mp3.size() < size_t{kMaxMp3Streams}) PlayMp3("two.mp3");
    const auto oldest = Snd().mp3.front();
    PlayMp3("one.mp3");  // past the limit: the oldest stops
    EXPECT_EQ(Snd().mp3.size(), size_t{kMaxMp3Streams});
    EXPECT_EQ(Snd().mp3.back().channel, oldest.channel);
    EXPECT_EQ(fake.live.count(oldest.chunk), 0u);
    EXPECT_EQ(fake.live.size(), kMaxMp3Streams + 1u);
}

TEST_F(MediaSound, DeviceHolderReportsAndReleases) {
    fake.open = false;
    fake.openResult = audio::kNoDevice;
    PlayMidi("a.mid");  // without a device nothing is loaded or played
    PlayWav("a.wav");
    PlayMp3("one.mp3");
    SetVolume(0x00000100u);  // but the volume is kept for when a device opens
    EXPECT_TRUE(fake.loads.empty());
    EXPECT_EQ(fake.levelCalls, 0);
    fake.openResult = audio::kOpened;
    {
        NDX_Sound snd;
        EXPECT_EQ(snd.Create(), 0);
        EXPECT_TRUE(snd.Ready());
        EXPECT_EQ(fake.channels, kMixChannels);
        EXPECT_EQ(fake.left, 0x0100) << "the volume set before the device opened applies";
        EXPECT_EQ(fake.right, 0);
        PlayMidi("a.mid");
        PlayWav("garbage.wav");
        PlayMp3("one.mp3");
        EXPECT_EQ(fake.live.size(), 3u);
    }
    EXPECT_TRUE(fake.live.empty()) << "every sound is freed before the device closes";
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(Snd().alias, 0u);
}

// Without sound the start-up log says why, and start-up goes on; a missing music file only
// clears the music holder's flag.
TEST_F(MediaSound, StartUpStageLogsAndMakesItsHolders) {
    SetProgramDir(kGameDir);
    const std::pair<int, const char*> cases[] = {
        {audio::kNoDevice, "  No sound device (status 16): sound is off"},
        {audio::kCannotSetUp, "  Sound device could not be set up (status 17): sound is off"},
    };
    fake.open = false;
    for (const auto& [status, line] : cases) {
        SCOPED_TRACE(status);
        ResetConsole();
        ResetMedia();
        Media().device = &display;
        fake.openResult = status;
        EXPECT_TRUE(InitDirectX());
        EXPECT_EQ(Lines(Con().log.begin() + 1, Con().log.begin() + 1 + Con().lineCount),
                  (Lines{"Initializatig DirectX...", "  Setting Full Screen Mode...",
                         "  Initializating Sound...", line, "  Initializating Music...",
                         "DirectX initializated successfully", std::string(60, '=')}));
        ASSERT_TRUE(Media().screen && Media().sound && Media().midi);
        EXPECT_FALSE(Media().screen->FullScreen());
        EXPECT_TRUE(display.calls.empty()) << "start-up keeps the desktop mode";
        EXPECT_FALSE(Media().sound->Ready());
        EXPECT_EQ(Media().midi->File(), kGameDir + "Data/Sound/Ext.mid");
        EXPECT_TRUE(Media().midi->Opened());
    }
    SetProgramDir("/nonexistent/");
    fake.openResult = audio::kOpened;
    EXPECT_TRUE(InitDirectX());
    EXPECT_FALSE(Media().midi->Opened());
    EXPECT_TRUE(Media().sound->Ready());
    EXPECT_EQ(fake.closes, 0) << "the holders that never opened a device closed none";
}

// A refused step returns its status and says so in the log; the border it set stays.
TEST_F(MediaSound, RefusedDisplayStepsReturnTheirStatusAndSaySo) {
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 16), NDX_Screen::kNoDisplay) << "no screen yet";
    display.enterResult = NDX_Screen::kModeRefused;
    SetBorderNone();
    NewScreen();
    EXPECT_EQ(ScreenSetFullScreen(801, 601, 16), NDX_Screen::kModeRefused);
    EXPECT_EQ(display.border, Border::None);
    EXPECT_FALSE(Media().screen->FullScreen());
    display.fullScreen = true;
    display.leaveResult = NDX_Screen::kLevelRefused;
    EXPECT_EQ(ScreenSetWindowed(640, 480), NDX_Screen::kLevelRefused);
    display.window = false;
    NewScreen();
    EXPECT_EQ(ScreenSetWindowed(640, 480), NDX_Screen::kNoDisplay);
    EXPECT_EQ(display.calls, (Lines{"border none", "enter 801x601x16", "leave"}));
    EXPECT_EQ(TakeLog(), "Full screen 800x600x16: no display (status 1)"
                         "Full screen 801x601x16: no such display mode (status 2)"
                         "Windowed mode: the window cannot take it (status 3)"
                         "Windowed mode: no display (status 1)");
}

TEST_F(MediaSound, ShutdownEndsFullScreenAndClosesSoundButKeepsTheMusicHolder) {
    SetProgramDir(kGameDir);
    fake.open = false;
    InitDirectX();
    ScreenSetFullScreen(1024, 768, 32);
    ASSERT_TRUE(fake.open);
    ShutdownDirectX();
    EXPECT_EQ(display.calls.back(), "leave");
    EXPECT_FALSE(Media().screen || Media().sound);
    EXPECT_FALSE(fake.open);
    EXPECT_TRUE(Media().midi);
    ShutdownDirectX();  // twice is harmless
    EXPECT_EQ(fake.closes, 1);
}

}  // namespace
}  // namespace tam
