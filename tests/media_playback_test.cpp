// Real playback through SDL2_mixer, recorded by SDL's disk audio driver (16-bit stereo at
// 44.1 kHz, written as it is mixed, in real time): WAV replacement and the default chime, two
// MP3 streams at once, the MIDI alias restarting its file, the output levels of both channels,
// the device status codes, and the game's own sound files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <numbers>
#include <regex>
#include <thread>

#include "media/sound.h"
#include "platform/files.h"

namespace tam {
namespace {

namespace fs = std::filesystem;
constexpr double kRate = audio::kSampleRate;
const std::string kGameDir = TAM_GAME_DIR;
const std::string kToneDir = std::string(TAM_GAME_DIR) + "/../testdata/media/";

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Interleaved stereo samples; times in seconds from the start of the recording.
struct Recording {
    std::vector<int16_t> s;

    size_t Frame(double t) const {
        const double f = std::max(0.0, t * kRate);
        return std::min(static_cast<size_t>(f), s.size() / 2);
    }
    double Rms(int channel, double t0, double t1) const {
        double sum = 0;
        const size_t a = Frame(t0), b = Frame(t1);
        for (size_t i = a; i < b; ++i) sum += std::pow(s[i * 2 + channel] / 32768.0, 2);
        return b > a ? std::sqrt(sum / static_cast<double>(b - a)) : 0;
    }
    // Amplitude (full scale 1) of the sinusoid at `hz` in the window.
    double Tone(int channel, double hz, double t0, double t1) const {
        double re = 0, im = 0;
        const size_t a = Frame(t0), b = Frame(t1);
        for (size_t i = a; i < b; ++i) {
            const double w = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / kRate;
            re += s[i * 2 + channel] / 32768.0 * std::cos(w);
            im += s[i * 2 + channel] / 32768.0 * std::sin(w);
        }
        return b > a ? 2.0 * std::hypot(re, im) / static_cast<double>(b - a) : 0;
    }
    double Peak() const {
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
        return peak / 32768.0;
    }
    // The first moment either channel passes `level`; -1 when it never does.
    double Onset(double level = 0.02) const {
        for (size_t i = 0; i < s.size(); ++i)
            if (std::abs(s[i] / 32768.0) > level) return static_cast<double>(i / 2) / kRate;
        return -1;
    }
    double Seconds() const { return static_cast<double>(s.size() / 2) / kRate; }

    // The recording cut into frames of `step` seconds, each given a class by `classify(t0, t1)`;
    // returns the classes in order with each run once. Runs shorter than two frames (the
    // moments of change) and the classes in `ignore` are left out, so the result reads in
    // recorded time whatever the test's own timing was.
    std::string Runs(double step, const std::function<char(double, double)>& classify,
                     const std::string& ignore = "") const {
        std::vector<std::pair<char, int>> runs;
        for (double t = 0; t + step <= Seconds(); t += step) {
            const char c = classify(t, t + step);
            if (!runs.empty() && runs.back().first == c)
                ++runs.back().second;
            else
                runs.push_back({c, 1});
        }
        std::string out;
        for (const auto& [c, n] : runs)
            if (n >= 2 && ignore.find(c) == std::string::npos && (out.empty() || out.back() != c))
                out += c;
        return out;
    }
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * (bigEndian ? bytes - 1 - i : i))));
}

// A stereo 16-bit WAV of a sine at half level.
void WriteToneWav(const std::string& path, double hz, double seconds) {
    const auto frames = static_cast<uint32_t>(seconds * kRate);
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put(b, 36 + frames * 4, 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
    Put(b, 16, 4), Put(b, 1, 2), Put(b, 2, 2), Put(b, 44100, 4), Put(b, 44100 * 4, 4);
    Put(b, 4, 2), Put(b, 16, 2);
    for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
    Put(b, frames * 4, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(16384 * std::sin(2 * std::numbers::pi * hz * i / kRate));
        Put(b, static_cast<uint16_t>(v), 2), Put(b, static_cast<uint16_t>(v), 2);
    }
    WriteBytes(path, b);
}

// A one-track MIDI file at 120 beats a minute (480 ticks = 0.5 s) playing `notes` one after
// another on a sustained organ.
void WriteMidi(const std::string& path, const std::vector<std::pair<uint8_t, uint32_t>>& notes) {
    std::vector<uint8_t> t = {0x00, 0xC0, 19};
    for (const auto& [note, ticks] : notes) {
        t.insert(t.end(), {0x00, 0x90, note, 110});
        uint8_t v[4];
        int n = 0;
        uint32_t d = ticks;
        v[n++] = d & 0x7F;
        while (d >>= 7) v[n++] = static_cast<uint8_t>(0x80 | (d & 0x7F));
        while (n) t.push_back(v[--n]);
        t.insert(t.end(), {0x80, note, 0});
    }
    t.insert(t.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<uint8_t> b = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                              'M', 'T', 'r', 'k'};
    Put(b, static_cast<uint32_t>(t.size()), 4, true);
    b.insert(b.end(), t.begin(), t.end());
    WriteBytes(path, b);
}

class MediaPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        savedDriver_ = driver ? driver : "";
        dir_ = fs::path(::testing::TempDir()) /
               ("tam_media_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir_ / "out.raw").c_str(), 1);
        SetProgramDir(dir_.string() + "/");
        ResetSound();
    }
    void TearDown() override {
        sound_.reset();
        ResetSound();
        SetProgramDir("");
        if (savedDriver_.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
        fs::remove_all(dir_);
    }
    void Start() {
        sound_ = std::make_unique<NDX_Sound>();
        ASSERT_EQ(sound_->Create(), 0);
    }
    Recording Stop() {
        sound_.reset();
        Recording r;
        std::ifstream in(dir_ / "out.raw", std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        r.s.resize(bytes.size() / 2);
        std::memcpy(r.s.data(), bytes.data(), r.s.size() * 2);
        return r;
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string savedDriver_;
    std::unique_ptr<NDX_Sound> sound_;
};

TEST_F(MediaPlayback, NewWavReplacesThePlayingOne) {
    WriteToneWav(Path("Sound/a.wav"), 440, 1.5);
    WriteToneWav(Path("Sound/b.wav"), 660, 1.5);
    Start();
    PlayWav("Sound\\a.wav");
    Wait(400);
    PlayWav("Sound\\b.wav");
    Wait(500);
    const Recording r = Stop();
    // 'A' only 440 Hz, 'B' only 660 Hz, 'X' both at once.
    const std::string runs = r.Runs(0.05, [&](double a, double b) {
        const double lo = r.Tone(0, 440, a, b), hi = r.Tone(0, 660, a, b);
        if (lo > 0.45 && hi < 0.02) return 'A';
        if (hi > 0.45 && lo < 0.02) return 'B';
        return lo > 0.1 && hi > 0.1 ? 'X' : '?';
    }, "?");
    EXPECT_EQ(runs, "AB");
}

TEST_F(MediaPlayback, UnplayableWavSoundsTheChime) {
    WriteBytes(Path("bad.wav"), {'R', 'I', 'F', 'F', 1, 2, 3});
    Start();
    PlayWav("bad.wav");
    Wait(400);
    const Recording r = Stop();
    const double t0 = r.Onset();
    ASSERT_GE(t0, 0) << "the default sound was not heard";
    ASSERT_GT(r.Seconds(), t0 + 0.16);
    EXPECT_GT(r.Tone(0, 987.77, t0, t0 + 0.06), 0.1);
    EXPECT_GT(r.Tone(1, 1318.51, t0 + 0.1, t0 + 0.16), 0.1);
}

TEST_F(MediaPlayback, TwoMp3StreamsPlayAtOnce) {
    Start();
    PlayMp3(kToneDir + "tone440.mp3");
    Wait(400);
    PlayMp3(kToneDir + "tone660.mp3");
    Wait(500);
    const Recording r = Stop();
    // 'A' the first stream alone, 'O' both streams at once, on both channels.
    const std::string runs = r.Runs(0.05, [&](double a, double b) {
        bool one = true, both = true;
        for (int ch = 0; ch < 2; ++ch) {
            const double lo = r.Tone(ch, 440, a, b), hi = r.Tone(ch, 660, a, b);
            one = one && lo > 0.4 && hi < 0.02;
            both = both && lo > 0.4 && hi > 0.4;
        }
        return one ? 'A' : both ? 'O' : '?';
    }, "?");
    EXPECT_EQ(runs, "AO");
}

TEST_F(MediaPlayback, DemoMp3IsHeard) {
    Start();
    PlayMp3(kGameDir + "/Data/Sound/demo.mp3");
    Wait(700);
    const Recording r = Stop();
    const double t0 = r.Onset();
    ASSERT_GE(t0, 0);
    ASSERT_GT(r.Seconds(), t0 + 0.4);
    EXPECT_GT(r.Rms(0, t0, t0 + 0.4), 0.05);
    EXPECT_GT(r.Rms(1, t0, t0 + 0.4), 0.05);
}

TEST_F(MediaPlayback, SecondMidiRestartsTheFirstFile) {
    // a.mid: A4 (440 Hz) for 0.3 s, then E4 (330 Hz); b.mid: D4 (294 Hz).
    WriteMidi(Path("a.mid"), {{69, 288}, {64, 1920}});
    WriteMidi(Path("b.mid"), {{62, 1920}});
    Start();
    PlayMidi("a.mid");
    Wait(800);
    PlayMidi("b.mid");
    Wait(1000);
    const Recording r = Stop();
    ASSERT_GE(r.Onset(), 0) << "no MIDI output (is a patch set installed?)";
    auto tone = [&](double hz, double a, double b) { return r.Tone(0, hz, a, b); };
    // The first file twice from its start: A4 then E4, A4 then E4.
    const std::string runs = r.Runs(0.05, [&](double a, double b) {
        const double a4 = tone(440, a, b), e4 = tone(329.63, a, b);
        if (r.Rms(0, a, b) < 0.002) return '-';
        return a4 > 3 * e4 ? 'A' : e4 > 3 * a4 ? 'E' : '?';
    }, "-?");
    EXPECT_EQ(runs, "AEAE");
    double d4 = 0, e4 = 0;
    for (double t = 0; t + 0.1 < r.Seconds(); t += 0.05) {
        d4 = std::max(d4, tone(293.66, t, t + 0.1));
        e4 = std::max(e4, tone(329.63, t, t + 0.1));
    }
    EXPECT_LT(d4, 0.3 * e4) << "the second file played";
}

TEST_F(MediaPlayback, VolumeSetsEachChannel) {
    WriteToneWav(Path("tone.wav"), 440, 2.5);
    Start();
    PlayWav("tone.wav");
    Wait(400);
    SetVolume(0);
    Wait(400);
    SetVolume(65535);  // the low word alone: left only
    Wait(400);
    SetVolume(0xFFFFFFFFu);
    Wait(400);
    const Recording r = Stop();
    // 'S' silence, 'B' both channels at the file's level (0.5), 'L' left at it, right silent.
    const std::string runs = r.Runs(0.05, [&](double a, double b) {
        auto full = [&](int ch) { return std::abs(r.Tone(ch, 440, a, b) - 0.5) < 0.02; };
        auto silent = [&](int ch) { return r.Rms(ch, a, b) < 1e-4; };
        if (silent(0) && silent(1)) return 'S';
        if (full(0) && full(1)) return 'B';
        if (full(0) && silent(1)) return 'L';
        return '?';
    });
    EXPECT_TRUE(std::regex_match(runs, std::regex("S?BSLB"))) << runs;
}

TEST_F(MediaPlayback, DeviceStatusCodes) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    NDX_Sound none;
    EXPECT_EQ(none.Create(), NDX_Sound::kNoDevice);
    PlayWav("anything.wav");  // silently nothing
    PlayMp3("anything.mp3");
    PlayMidi("anything.mid");

    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir_ / "no_such_folder" / "out.raw").c_str(), 1);
    NDX_Sound refused;
    EXPECT_EQ(refused.Create(), NDX_Sound::kCannotSetUp);
    EXPECT_FALSE(audio::Api().DeviceOpen());
}

TEST_F(MediaPlayback, ShotIsLoudAndShort) {
    SetProgramDir(kGameDir + "/");
    Start();
    PlayWav("Data\\Sound\\mp40f1.wav");
    Wait(1200);
    const Recording r = Stop();
    const double t0 = r.Onset();
    ASSERT_GE(t0, 0);
    ASSERT_GT(r.Seconds(), t0 + 0.7);
    EXPECT_GT(r.Peak(), 0.6);
    EXPECT_GT(r.Rms(0, t0, t0 + 0.1), 0.2);
    EXPECT_LT(r.Rms(0, t0 + 0.55, t0 + 0.7), 1e-4) << "the shot should be over within 0.55 s";
}

TEST_F(MediaPlayback, StartUpTuneIsHeard) {
    SetProgramDir(kGameDir + "/");
    Start();
    PlayMidi("Data\\Sound\\Ext.mid");
    Wait(1000);
    const Recording r = Stop();
    const double t0 = r.Onset();
    ASSERT_GE(t0, 0);
    ASSERT_GT(r.Seconds(), t0 + 0.6);
    EXPECT_GT(r.Rms(0, t0, t0 + 0.6), 0.03);
}

}  // namespace
}  // namespace tam
