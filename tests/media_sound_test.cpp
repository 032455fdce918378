// The sound unit's bookkeeping against a stand-in audio backend: the MIDI alias, the WAV channel
// and its default sound, MP3 streams (overlap, reaping, the stream limit), the volume words and
// the device holder's status codes.
#include <gtest/gtest.h>

#include "media/sound.h"
#include "media_fakes.h"
#include "platform/files.h"

namespace tam {
namespace {

class MediaSound : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDir("/game/");
        ResetSound();
        fake.open = true;
        fake.channels = kMixChannels;
        fake.readable = {"/game/a.mid", "/game/Data/Sound/b.mid", "/game/a.wav", "/game/b.wav",
                         "/game/one.mp3", "/game/two.mp3"};
    }
    void TearDown() override {
        ResetSound();
        SetProgramDir("");
    }
    test::FakeAudio fake;
    audio::ScopedBackend scoped{&fake};
};

TEST_F(MediaSound, MidiAliasHoldsTheFirstFileAndRestartsIt) {
    PlayMidi("a.mid");
    EXPECT_EQ(fake.loads, std::vector<std::string>{"/game/a.mid"});
    ASSERT_NE(fake.music, 0u);
    EXPECT_EQ(fake.live.at(fake.music), "/game/a.mid");
    EXPECT_EQ(fake.musicStarts, 1);

    // The alias is held: the second file is not opened, the first starts again from 0.
    PlayMidi("Data\\Sound\\b.mid");
    EXPECT_EQ(fake.loads.size(), 1u);
    EXPECT_EQ(fake.live.at(fake.music), "/game/a.mid");
    EXPECT_EQ(fake.musicStarts, 2);
    EXPECT_EQ(Snd().aliasFile, "a.mid");
}

TEST_F(MediaSound, MidiOpenFailureLeavesTheAliasFree) {
    PlayMidi("missing.mid");
    EXPECT_EQ(fake.music, 0u);
    EXPECT_EQ(fake.musicStarts, 0);
    PlayMidi("Data\\Sound\\b.mid");  // backslashes reach the file system as "/"
    ASSERT_NE(fake.music, 0u);
    EXPECT_EQ(fake.live.at(fake.music), "/game/Data/Sound/b.mid");
}

TEST_F(MediaSound, NewWavStopsTheOneStillPlaying) {
    PlayWav("a.wav");
    EXPECT_EQ(fake.On(kWavChannel), "/game/a.wav");
    PlayWav("b.wav");
    EXPECT_EQ(fake.On(kWavChannel), "/game/b.wav");
    EXPECT_EQ(fake.live.size(), 1u) << "the replaced sound is freed";
    for (int ch = 0; ch < kMixChannels; ++ch) {
        if (ch == kWavChannel) continue;
        EXPECT_EQ(fake.On(ch), "");
    }
}

TEST_F(MediaSound, UnplayableWavPlaysTheDefaultSound) {
    PlayWav("a.wav");
    PlayWav("garbage.wav");  // exists for the command, but the mixer cannot read it
    const std::string chime =
        "samples:" + std::to_string(DefaultSoundSamples().size() / audio::kOutputChannels);
    EXPECT_EQ(fake.On(kWavChannel), chime);
    EXPECT_EQ(Snd().wav, 0u);
    PlayWav("garbage.wav");
    EXPECT_EQ(fake.On(kWavChannel), chime);
    EXPECT_EQ(fake.live.size(), 1u) << "one default sound, made once";
}

TEST_F(MediaSound, DefaultSoundIsAShortAudibleStereoChime) {
    const auto& s = DefaultSoundSamples();
    ASSERT_EQ(s.size() % 2, 0u);
    const double seconds = static_cast<double>(s.size() / 2) / audio::kSampleRate;
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 0.5);
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 8000);
}

TEST_F(MediaSound, EachMp3IsItsOwnStreamAndFinishedOnesAreFreed) {
    PlayMp3("one.mp3");
    PlayMp3("two.mp3");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    const int first = Snd().mp3[0].channel, second = Snd().mp3[1].channel;
    EXPECT_NE(first, second);
    EXPECT_NE(first, kWavChannel);
    EXPECT_NE(second, kWavChannel);
    EXPECT_EQ(fake.On(first), "/game/one.mp3");
    EXPECT_EQ(fake.On(second), "/game/two.mp3");

    PlayWav("a.wav");  // a WAV does not stop the streams
    EXPECT_EQ(fake.On(first), "/game/one.mp3");

    fake.playing.erase(first);  // the first stream ends
    PlayMp3("one.mp3");
    ASSERT_EQ(Snd().mp3.size(), 2u);
    EXPECT_EQ(Snd().mp3[0].channel, second);
    EXPECT_EQ(Snd().mp3[1].channel, first) << "the freed channel is used again";
    EXPECT_EQ(fake.live.size(), 3u) << "two streams and the WAV; the finished chunk is freed";

    PlayMp3("missing.mp3");
    EXPECT_EQ(Snd().mp3.size(), 2u);
}

TEST_F(MediaSound, StreamLimitStopsTheOldest) {
    for (int i = 0; i < kMaxMp3Streams; ++i) PlayMp3(i % 2 ? "one.mp3" : "two.mp3");
    ASSERT_EQ(Snd().mp3.size(), static_cast<size_t>(kMaxMp3Streams));
    const auto oldest = Snd().mp3.front();
    PlayMp3("one.mp3");
    EXPECT_EQ(Snd().mp3.size(), static_cast<size_t>(kMaxMp3Streams));
    EXPECT_EQ(Snd().mp3.back().channel, oldest.channel);
    EXPECT_EQ(fake.live.count(oldest.chunk), 0u);
    EXPECT_EQ(fake.live.size(), static_cast<size_t>(kMaxMp3Streams));
}

TEST_F(MediaSound, VolumeWordSplitsIntoLeftAndRight) {
    SetVolume(0x1234ABCDu);
    EXPECT_EQ(fake.left, 0xABCD);
    EXPECT_EQ(fake.right, 0x1234);
    SetVolume(65535);  // the low word alone: left full, right silent
    EXPECT_EQ(fake.left, 0xFFFF);
    EXPECT_EQ(fake.right, 0);
    SetVolume(0xFFFFFFFFu);
    EXPECT_EQ(fake.left, 0xFFFF);
    EXPECT_EQ(fake.right, 0xFFFF);
}

TEST_F(MediaSound, WithoutDeviceNothingIsLoadedOrPlayed) {
    fake.open = false;
    PlayMidi("a.mid");
    PlayWav("a.wav");
    PlayMp3("one.mp3");
    SetVolume(0);
    EXPECT_TRUE(fake.loads.empty());
    EXPECT_TRUE(fake.live.empty());
    EXPECT_EQ(fake.levelCalls, 0);
    EXPECT_EQ(Snd().volume, 0u) << "kept for when a device opens";
}

TEST_F(MediaSound, DeviceHolderReportsAndReleases) {
    fake.open = false;
    fake.openResult = audio::kNoDevice;
    {
        NDX_Sound snd;
        EXPECT_EQ(snd.Create(), NDX_Sound::kNoDevice);
        EXPECT_FALSE(snd.Ready());
        fake.openResult = audio::kCannotSetUp;
        EXPECT_EQ(snd.Create(), NDX_Sound::kCannotSetUp);
    }
    EXPECT_EQ(fake.closes, 0) << "a device never opened is not closed";

    fake.openResult = audio::kOpened;
    SetVolume(0x00000100u);
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

TEST(MediaMidiHolder, ChecksTheFile) {
    NDX_Midi midi;
    const std::string here = std::string(TAM_GAME_DIR) + "/Data/Sound/Ext.mid";
    EXPECT_EQ(midi.SetFile(here), 0);
    EXPECT_TRUE(midi.Opened());
    EXPECT_EQ(midi.File(), here);
    EXPECT_EQ(midi.SetFile(here + ".none"), NDX_Midi::kCannotOpen);
    EXPECT_FALSE(midi.Opened());
}

}  // namespace
}  // namespace tam
