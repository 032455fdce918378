// Real playback through SDL2_mixer, recorded in real time by SDL's disk audio driver (16-bit
// stereo at 44.1 kHz). (The whole-program sound test hears the game's own sounds.)
#include <chrono>
#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <numbers>
#include <regex>
#include <thread>

#include "asset/byte_writer.h"
#include "command_fixture.h"
#include "media/sound.h"

namespace tam {
namespace {

namespace fs = std::filesystem;
constexpr double kRate = audio::kSampleRate;
const std::string kToneDir = std::string(TAM_GAME_DIR) + "/../testdata/media/";

// Interleaved stereo samples; times in seconds from the start of the recording.
struct Recording {
    std::vector<int16_t> s;

    size_t Frame(double t) const {
        return std::min(static_cast<size_t>(std::max(0.0, t * kRate)), s.size() / 2);
    }
    // The mean of f(sample, frame) over the window, samples at full scale 1.
    template <class T, class F>
    T Mean(int channel, double t0, double t1, F f) const {
        T sum{};
        const size_t a = Frame(t0), b = Frame(t1);
        for (size_t i = a; i < b; ++i)
            sum += f(s[i * 2 + channel] / 32768.0, static_cast<double>(i));
        return b > a ? sum / static_cast<double>(b - a) : T{};
    }
    double Rms(int channel, double t0, double t1) const {
        return std::sqrt(Mean<double>(channel, t0, t1, [](double x, double) { return x * x; }));
    }
    // Amplitude (full scale 1) of the sinusoid at `hz` in the window.
    double Tone(int channel, double hz, double t0, double t1) const {
        return 2.0 * std::abs(Mean<std::complex<double>>(channel, t0, t1, [&](double x, double i) {
            return x * std::exp(std::complex<double>(0, 2.0 * std::numbers::pi * hz * i / kRate));
        }));
    }
    // The first moment either channel passes 0.02 of full scale; -1 when it never does.
    double Onset() const {
        for (size_t i = 0; i < s.size(); ++i)
            if (std::abs(s[i] / 32768.0) > 0.02) return static_cast<double>(i / 2) / kRate;
        return -1;
    }
    double Seconds() const { return static_cast<double>(s.size() / 2) / kRate; }

    // The recording cut into frames of 50 ms, each given a class by `classify(t0, t1)`; returns
    // the classes in order with each run once. Runs shorter than two frames (the moments of
    // change) and the classes in `ignore` are left out, so the result reads in recorded time
    // whatever the test's own timing was.
    std::string Runs(const std::function<char(double, double)>& classify,
                     const std::string& ignore = "") const {
        std::vector<std::pair<char, int>> runs;
        for (double t = 0; t + 0.05 <= Seconds(); t += 0.05) {
            const char c = classify(t, t + 0.05);
            if (!runs.empty() && runs.back().first == c) ++runs.back().second;
            else runs.push_back({c, 1});
        }
        std::string out;
        for (const auto& [c, n] : runs)
            if (n >= 2 && ignore.find(c) == std::string::npos && (out.empty() || out.back() != c))
                out += c;
        return out;
    }
};

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), bytes);
}

// A stereo 16-bit WAV of a sine at half level.
void WriteToneWav(const fs::path& path, double hz, double seconds) {
    const auto frames = static_cast<uint32_t>(seconds * kRate);
    asset::ByteWriter b;
    b.Text("RIFF").Le32(36 + frames * 4).Text("WAVEfmt ").Le32(16).Le16(1).Le16(2);
    b.Le32(44100).Le32(44100 * 4).Le16(4).Le16(16).Text("data").Le32(frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(16384 * std::sin(2 * std::numbers::pi * hz * i / kRate));
        b.Le16(static_cast<uint16_t>(v)).Le16(static_cast<uint16_t>(v));
    }
    WriteBytes(path, b.bytes);
}

// A one-track MIDI file at 120 beats a minute (480 ticks = 0.5 s) playing `notes` one after
// another on a sustained organ.
void WriteMidi(const fs::path& path, const std::vector<std::pair<uint8_t, uint32_t>>& notes) {
    std::vector<uint8_t> t = {0x00, 0xC0, 19};
    for (const auto& [note, ticks] : notes) {
        t.insert(t.end(), {0x00, 0x90, note, 110});
        for (int shift = 21; shift > 0; shift -= 7)  // the delta as a variable-length number
            if (ticks >> shift) t.push_back(static_cast<uint8_t>(0x80 | ((ticks >> shift) & 0x7F)));
        t.insert(t.end(), {static_cast<uint8_t>(ticks & 0x7F), 0x80, note, 0});
    }
    t.insert(t.end(), {0x00, 0xFF, 0x2F, 0x00});
    asset::ByteWriter b;
    b.Text("MThd").Be32(6).Be16(0).Be16(1).Be16(480);
    b.Text("MTrk").Be32(static_cast<uint32_t>(t.size())).Append(t);
    WriteBytes(path, b.bytes);
}

class MediaPlayback : public ::testing::Test {
protected:
    audio::ScopedBackend sdl_{&platform::SdlAudio()};  // the real mixer
    void SetUp() override {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        savedDriver_ = driver ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir_ / "out.raw").c_str(), 1);
        ResetSound();
    }
    void TearDown() override {
        ResetSound();
        if (savedDriver_.empty()) unsetenv("SDL_AUDIODRIVER");
        else setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }
    // Opens the device, runs `steps` (a play call, then a wait in ms), closes it and reads
    // back what was mixed.
    Recording Record(const std::vector<std::pair<std::function<void()>, int>>& steps) {
        {
            NDX_Sound sound;
            EXPECT_EQ(sound.Create(), 0);
            // Waits count recorded time, not wall time: on a busy machine the recording thread
            // lags behind the clock.
            double recorded = 0;
            for (const auto& [play, ms] : steps) {
                play();
                recorded += ms / 1000.0;
                const auto wanted = static_cast<std::uintmax_t>(recorded * kRate) * 4;
                for (int waited = 0; waited < ms * 4 + 2000; waited += 10) {
                    std::error_code ec;
                    if (waited >= ms && fs::file_size(dir_ / "out.raw", ec) >= wanted) break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
        }
        const auto bytes = ReadWholeFile((dir_ / "out.raw").string()).value_or(std::vector<uint8_t>{});
        Recording r;
        r.s.resize(bytes.size() / 2);
        std::memcpy(r.s.data(), bytes.data(), r.s.size() * 2);
        return r;
    }
    test::ScratchProgramDir scratch_;
    const fs::path& dir_ = scratch_.path;
    std::string savedDriver_;
};

TEST_F(MediaPlayback, NewWavReplacesThePlayingOne) {
    WriteToneWav(dir_ / "Sound/a.wav", 440, 1.5);
    WriteToneWav(dir_ / "Sound/b.wav", 660, 1.5);
    const Recording r = Record({{[] { PlayWav("Sound\\a.wav"); }, 400},
                                {[] { PlayWav("Sound\\b.wav"); }, 500}});
    // 'A' only 440 Hz, 'B' only 660 Hz, 'X' both at once.
    EXPECT_EQ(r.Runs([&](double a, double b) {
        const double lo = r.Tone(0, 440, a, b), hi = r.Tone(0, 660, a, b);
        if (lo > 0.45 && hi < 0.02) return 'A';
        if (hi > 0.45 && lo < 0.02) return 'B';
        return lo > 0.1 && hi > 0.1 ? 'X' : '?';
    }, "?"), "AB");
}

TEST_F(MediaPlayback, UnplayableWavSoundsTheChimeAndSaysWhy) {
    WriteBytes(dir_ / "bad.wav", {'R', 'I', 'F', 'F', 1, 2, 3, 0, 'W', 'A', 'V', 'E', 1, 2});
    ResetConsole();
    const Recording r = Record({{[] { PlayWav("bad.wav"); }, 400}});
    const double t0 = r.Onset();
    ASSERT_GE(t0, 0) << "nothing was heard";
    EXPECT_GT(r.Tone(0, 987.77, t0, t0 + 0.06), 0.1);
    EXPECT_GT(r.Tone(1, 1318.51, t0 + 0.1, t0 + 0.16), 0.1);
    // The mixer's own reason, between the name and the fallback.
    const std::string line = test::ConsoleText();
    EXPECT_TRUE(std::regex_match(line, std::regex("WAV bad\\.wav not played: .+\\S \\(default sound played\\)")))
        << line;
    ResetConsole();
}

TEST_F(MediaPlayback, TwoMp3StreamsPlayAtOnce) {
    const Recording r = Record({{[] { PlayMp3(kToneDir + "tone440.mp3"); }, 400},
                                {[] { PlayMp3(kToneDir + "tone660.mp3"); }, 500}});
    // 'A' the first stream alone, 'O' both streams at once, on both channels.
    EXPECT_EQ(r.Runs([&](double a, double b) {
        bool one = true, both = true;
        for (int ch = 0; ch < 2; ++ch) {
            const double lo = r.Tone(ch, 440, a, b), hi = r.Tone(ch, 660, a, b);
            one = one && lo > 0.4 && hi < 0.02;
            both = both && lo > 0.4 && hi > 0.4;
        }
        return one ? 'A' : both ? 'O' : '?';
    }, "?"), "AO");
}

TEST_F(MediaPlayback, SecondMidiRestartsTheFirstFile) {
    // a.mid: A4 (440 Hz) for 0.3 s, then E4 (330 Hz); b.mid: D4 (294 Hz).
    WriteMidi(dir_ / "a.mid", {{69, 288}, {64, 1920}});
    WriteMidi(dir_ / "b.mid", {{62, 1920}});
    const Recording r =
        Record({{[] { PlayMidi("a.mid"); }, 800}, {[] { PlayMidi("b.mid"); }, 1000}});
    ASSERT_GE(r.Onset(), 0) << "no MIDI output (is a patch set installed?)";
    // The first file twice from its start (never the second): A4 then E4, A4 then E4.
    EXPECT_EQ(r.Runs([&](double a, double b) {
        const double a4 = r.Tone(0, 440, a, b), e4 = r.Tone(0, 329.63, a, b);
        if (r.Rms(0, a, b) < 0.002) return '-';
        return a4 > 3 * e4 ? 'A' : e4 > 3 * a4 ? 'E' : '?';
    }, "-?"), "AEAE");
}

TEST_F(MediaPlayback, VolumeSetsEachChannel) {
    WriteToneWav(dir_ / "tone.wav", 440, 2.5);
    const Recording r = Record({{[] { PlayWav("tone.wav"); }, 400},
                                {[] { SetVolume(0); }, 400},
                                {[] { SetVolume(65535); }, 400},  // the low word alone: left only
                                {[] { SetVolume(0xFFFFFFFFu); }, 400}});
    // 'S' silence, 'B' both channels at the file's level (0.5), 'L' left at it, right silent.
    const std::string runs = r.Runs([&](double a, double b) {
        auto full = [&](int ch) { return std::abs(r.Tone(ch, 440, a, b) - 0.5) < 0.02; };
        auto silent = [&](int ch) { return r.Rms(ch, a, b) < 1e-4; };
        if (silent(0) && silent(1)) return 'S';
        if (full(0) && full(1)) return 'B';
        return full(0) && silent(1) ? 'L' : '?';
    });
    EXPECT_TRUE(std::regex_match(runs, std::regex("S?BSLB"))) << runs;
}

TEST_F(MediaPlayback, DeviceStatusCodes) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    NDX_Sound none;
    EXPECT_EQ(none.Create(), NDX_Sound::kNoDevice);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir_ / "no_such_folder" / "out.raw").c_str(), 1);
    NDX_Sound refused;
    EXPECT_EQ(refused.Create(), NDX_Sound::kCannotSetUp);
}

}  // namespace
}  // namespace tam
