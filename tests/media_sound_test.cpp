// The media unit against stand-in audio and display devices. (The recorded playback tests hear
// the MIDI alias restart and a WAV replace a WAV.)

#include "command_fixture.h"
#include "media/display.h"
#include "media/sound.h"

namespace tam::test {
namespace {

using namespace std::string_literals;  // a literal's bytes, zeros included
const std::string kGameDir = std::string(TAM_GAME_DIR) + "/";

// The first bytes of each kind of file; the mixer stand-in decides what decodes.
const std::string kMidi = "MThd\0\0\0\6\0\0\0\1\1\xE0"s;
const std::string kRmid = "RIFF\x1A\0\0\0RMIDdata"s;
const std::string kWave = "RIFF\x24\0\0\0WAVEfmt "s;
const std::string kMp3 = "ID3\3\0\0\0\0\0\0"s;

class MediaSound : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        const std::pair<const char*, std::string> files[] = {
            {"a.mid", kMidi}, {"a.wav", kWave}, {"b.wav", kWave}, {"one.mp3", kMp3}, {"two.mp3", kMp3}};
        for (const auto& [name, bytes] : files) Write(name, bytes, true);
        Write("garbage.wav", kWave, false);  // a WAV header, but the mixer cannot read it
    }
    // Writes the file `name` in the program folder; `decodes` makes the mixer read it.
    void Write(const std::string& name, const std::string& bytes, bool decodes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        if (decodes) audio.readable.insert(ProgramDir() + name);
    }
    std::string Music() const { return audio.music ? audio.live.at(audio.music) : ""; }
    static std::string Chime() {
        return "samples:" + std::to_string(DefaultSoundSamples().size() / audio::kOutputChannels);
    }
    // The console's lines joined, and the log emptied.
    static std::string TakeLog() {
        const std::string text = Joined();
        Con().lineCount = 0;
        return text;
    }
};

// Every file here decodes in the mixer, but only WAV files play as sound and MIDI files as music;
// a refused file plays the one default sound instead, and leaves the MIDI alias free.
TEST_F(MediaSound, FirstBytesNotNamesDecideWhatPlaysAsSoundOrMusic) {
    PlayMidi("missing.mid");
    EXPECT_EQ(TakeLog(), "MIDI missing.mid not played: cannot be opened");
    const struct { const char* name; std::string bytes; bool wav, midi; } files[] = {
        {"x.wav", kWave, true, false},      {"x.mp3", kMp3, false, false},
        {"mp3.wav", kMp3, false, false},    {"song.rmi", kRmid, false, false},  // MIDI in RIFF
        {"x.ogg", "OggS\0\2"s, false, false},     {"avi.wav", "RIFF\x24\0\0\0AVI LIST"s, false, false},
        {"cut.wav", "RIFF\x24\0\0\0WAV"s, false, false}, {"empty.mid", "", false, false},
        {"tune.wav", kMidi, false, true},
    };
    for (const auto& f : files) {
        Write(f.name, f.bytes, true);
        PlayWav(f.name);
        EXPECT_EQ(audio.On(kWavChannel), f.wav ? ProgramDir() + f.name : Chime()) << f.name;
        EXPECT_EQ(TakeLog(), f.wav ? "" : "WAV "s + f.name + " not played: not a RIFF WAVE file (default sound played)");
        PlayMidi(f.name);
        EXPECT_EQ(Music(), f.midi ? ProgramDir() + f.name : "") << f.name;
        EXPECT_EQ(TakeLog(), f.midi ? "" : "MIDI "s + f.name + " not played: not a MIDI file (no MThd header)");
    }
    EXPECT_EQ(audio.live.size(), 2u) << "the default sound, made once, and the music";
    EXPECT_EQ(Snd().wav, 0u);
}

TEST_F(MediaSound, Mp3StreamsOverlapAndFinishedOrOldestOnesAreFreed) {
    PlayMp3("one.mp3");
    PlayMp3("two.mp3");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    const int first = Snd().mp3[0].channel, second = Snd().mp3[1].channel;
    EXPECT_TRUE(first != second && first != kWavChannel && second != kWavChannel);
    PlayWav("a.wav");
    PlayWav("b.wav");  // a WAV replaces the WAV, not the streams
    EXPECT_EQ(std::pair(audio.On(first), audio.On(second)),
              std::pair(ProgramDir() + "one.mp3", ProgramDir() + "two.mp3"));

    audio.playing.erase(first);  // the first stream ends
    PlayMp3("one.mp3");
    PlayMp3("missing.mp3");
    EXPECT_EQ(TakeLog(), "MP3 missing.mp3 not played: unreadable");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    EXPECT_EQ(std::pair(Snd().mp3[0].channel, Snd().mp3[1].channel), std::pair(second, first))
        << "the freed channel is used again";
    EXPECT_EQ(audio.live.size(), 3u) << "two streams and the WAV; replaced chunks are freed";

    while (Snd().mp3.size() < size_t{kMaxMp3Streams}) PlayMp3("two.mp3");
    const auto oldest = Snd().mp3.front();
    PlayMp3("one.mp3");  // past the limit: the oldest stops
    EXPECT_EQ(std::tuple(Snd().mp3.size(), Snd().mp3.back().channel, audio.live.count(oldest.chunk)),
              std::tuple(size_t{kMaxMp3Streams}, oldest.channel, 0u));
    EXPECT_EQ(audio.live.size(), kMaxMp3Streams + 1u);
}

TEST_F(MediaSound, DeviceHolderReportsAndReleases) {
    audio.open = false;
    audio.openResult = audio::kNoDevice;
    PlayMidi("a.mid");  // without a device nothing is loaded or played
    PlayWav("a.wav");
    PlayMp3("one.mp3");
    SetVolume(0x00000100u);  // but the volume is kept for when a device opens
    EXPECT_EQ(std::pair(audio.loads.size(), audio.levelCalls), std::pair(size_t{0}, 0));
    audio.openResult = audio::kOpened;
    {
        NDX_Sound snd;
        EXPECT_EQ(snd.Create(), 0);
        EXPECT_TRUE(snd.Ready());
        EXPECT_EQ(audio.channels, kMixChannels);
        EXPECT_EQ(audio.left | audio.right << 16, 0x0100)
            << "the volume set before the device opened applies";
        PlayMidi("a.mid");
        PlayWav("garbage.wav");
        PlayMp3("one.mp3");
        EXPECT_EQ(audio.live.size(), 3u);
    }
    EXPECT_TRUE(audio.live.empty()) << "every sound is freed before the device closes";
    EXPECT_EQ(audio.closes, 1);
    EXPECT_EQ(Snd().alias, 0u);
}

// Start-up logs why sound is off and goes on; shutdown closes the sound once, keeping the music.
TEST_F(MediaSound, StartUpStageLogsAndMakesItsHoldersAndShutdownReleasesThem) {
    SetProgramDir(kGameDir);
    const std::pair<int, const char*> cases[] = {
        {audio::kNoDevice, "  No sound device (status 16): sound is off"},
        {audio::kCannotSetUp, "  Sound device could not be set up (status 17): sound is off"},
    };
    audio.open = false;
    for (const auto& [status, line] : cases) {
        SCOPED_TRACE(status);
        Con().lineCount = 0;
        ResetMedia();
        Media().device = &display;
        audio.openResult = status;
        EXPECT_TRUE(InitMediaDevices());
        EXPECT_EQ(Log(), (Lines{"Initializatig DirectX...", "  Setting Full Screen Mode...",
                                "  Initializating Sound...", line, "  Initializating Music...",
                                "DirectX initializated successfully", std::string(60, '=')}));
        ASSERT_TRUE(Media().screen && Media().sound && Media().midi);
        EXPECT_TRUE(display.calls.empty()) << "start-up keeps the desktop mode";
        EXPECT_EQ(std::tuple(Media().sound->Ready(), Media().midi->File(), Media().midi->Opened()),
                  std::tuple(false, kGameDir + "Data/Sound/Ext.mid", true));
    }
    SetProgramDir("/nonexistent/");
    audio.openResult = audio::kOpened;
    EXPECT_TRUE(InitMediaDevices());
    EXPECT_EQ(std::pair(Media().midi->Opened(), Media().sound->Ready()), std::pair(false, true));
    EXPECT_EQ(audio.closes, 0) << "the holders that never opened a device closed none";
    ScreenSetFullScreen(1024, 768, 32);
    ShutdownMediaDevices();
    ShutdownMediaDevices();  // twice is harmless
    EXPECT_EQ(display.calls.back(), "leave");
    EXPECT_FALSE(Media().screen || Media().sound);
    EXPECT_EQ(std::pair(audio.open, audio.closes), std::pair(false, 1));
    EXPECT_TRUE(Media().midi);
}

// A refused step returns its status and logs it; the border it set stays (no second call).
TEST_F(MediaSound, RefusedDisplayStepsReturnTheirStatusAndSaySo) {
    Media().screen.reset();
    EXPECT_EQ(ScreenSetFullScreen(800, 600, 16), NDX_Screen::kNoDisplay) << "no screen yet";
    display.enterResult = NDX_Screen::kModeRefused;
    SetBorderNone();
    NewScreen();
    EXPECT_EQ(ScreenSetFullScreen(801, 601, 16), NDX_Screen::kModeRefused);
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

}  // namespace
}  // namespace tam::test
