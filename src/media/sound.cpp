// Music and sound playback on the audio seam, and the two holders made at start-up.
#include "media/sound.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <string_view>

#include "console/console.h"
#include "base/files.h"

namespace tam {
namespace {

// The default chime: two notes, each with a short attack and an exponential decay.
struct ChimeNote {
    double hertz;
    double seconds;
};
constexpr ChimeNote kChime[] = {{987.77, 0.09}, {1318.51, 0.16}};
constexpr double kChimeLevel = 0.4;
constexpr double kChimeAttackSeconds = 0.004;
constexpr double kChimeDecaySeconds = 0.05;

// What a file is by its first bytes: the mixer decodes far more than PlaySound and the
// sequencer open, so its own format detection must not decide.
enum class SoundFile { Unreadable, Other, Wave, Midi };

SoundFile SoundFileAt(const std::string& path) {
    char head[12] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return SoundFile::Unreadable;
    in.read(head, sizeof head);
    const std::string_view h(head, static_cast<size_t>(in.gcount()));
    if (h.starts_with("MThd")) return SoundFile::Midi;
    // MIDI inside RIFF (RMID) is not MIDI here: the mixer takes it for a tracker module.
    if (h.size() == sizeof head && h.starts_with("RIFF") && h.substr(8) == "WAVE")
        return SoundFile::Wave;
    return SoundFile::Other;
}

// Why a file of kind `got` is not played as `want`; null when it is of that kind.
const char* KindProblem(SoundFile got, SoundFile want) {
    if (got == want) return nullptr;
    if (got == SoundFile::Unreadable) return "cannot be opened";
    return want == SoundFile::Wave ? "not a RIFF WAVE file" : "not a MIDI file (no MThd header)";
}

void FreeMp3Stream(const SoundState::Mp3Stream& stream) {
    audio::Api().HaltChannel(stream.channel);
    audio::Api().FreeChunk(stream.chunk);
}

// Frees the MP3 streams whose channel has gone quiet.
void ReapFinishedStreams() {
    auto& streams = Snd().mp3;
    std::erase_if(streams, [](const SoundState::Mp3Stream& s) {
        if (audio::Api().ChannelPlaying(s.channel)) return false;
        audio::Api().FreeChunk(s.chunk);
        return true;
    });
}

// A mixer channel no live MP3 stream uses; when all are taken the oldest stream gives way.
int TakeMp3Channel() {
    auto& streams = Snd().mp3;
    for (int ch = kWavChannel + 1; ch < kMixChannels; ++ch) {
        bool used = false;
        for (const auto& s : streams) used = used || s.channel == ch;
        if (!used) return ch;
    }
    const int channel = streams.front().channel;
    FreeMp3Stream(streams.front());
    streams.erase(streams.begin());
    return channel;
}

// The console line for a file that is not played: `file` as typed (CP1251), `why` the reason
// (the mixer's own, or one of the format texts above), `fallback` what happened instead.
void ReportUnplayable(const char* kind, const std::string& file, std::string_view why,
                      const char* fallback) {
    ConsolePrint(std::string(kind) + " " + file + " not played: " + std::string(why) + fallback,
                 true);
}

audio::ChunkHandle DefaultSound() {
    SoundState& s = Snd();
    if (!s.defaultSound) {
        const auto& samples = DefaultSoundSamples();
        s.defaultSound = audio::Api().ChunkFromSamples(samples.data(),
                                                       samples.size() / audio::kOutputChannels);
    }
    return s.defaultSound;
}

}  // namespace

SoundState& Snd() {
    static SoundState state;
    return state;
}

void ResetSound() {
    SoundState& s = Snd();
    audio::Backend& api = audio::Api();
    for (const auto& stream : s.mp3) FreeMp3Stream(stream);
    if (s.wav) api.HaltChannel(kWavChannel);
    api.FreeChunk(s.wav);
    api.FreeChunk(s.defaultSound);
    api.FreeMusic(s.alias);
    s = SoundState{};
}

const std::vector<int16_t>& DefaultSoundSamples() {
    static const std::vector<int16_t> samples = [] {
        std::vector<int16_t> out;
        for (const ChimeNote& note : kChime) {
            const int frames = static_cast<int>(note.seconds * audio::kSampleRate);
            for (int i = 0; i < frames; ++i) {
                const double t = static_cast<double>(i) / audio::kSampleRate;
                const double envelope = std::min(1.0, t / kChimeAttackSeconds) *
                                        std::exp(-t / kChimeDecaySeconds);
                const double v = kChimeLevel * envelope *
                                 std::sin(2.0 * std::numbers::pi * note.hertz * t);
                const auto sample = static_cast<int16_t>(std::lround(v * 32767.0));
                out.push_back(sample);  // left
                out.push_back(sample);  // right
            }
        }
        return out;
    }();
    return samples;
}

void PlayMidi(const std::string& file) {
    audio::Backend& api = audio::Api();
    if (!api.DeviceOpen()) return;
    SoundState& s = Snd();
    // Opening under the alias succeeds only while the alias is free and only for a MIDI file;
    // playing "from 0" then restarts whatever file holds it.
    if (!s.alias) {
        const std::string path = ResolvePath(file);
        const char* problem = KindProblem(SoundFileAt(path), SoundFile::Midi);
        if (!problem) s.alias = api.LoadMusic(path);
        if (s.alias) s.aliasFile = file;
        else ReportUnplayable("MIDI", file, problem ? problem : api.LastError(), "");
    }
    if (s.alias) api.PlayMusicFromStart(s.alias);
}

void PlayWav(const std::string& file) {
    audio::Backend& api = audio::Api();
    if (!api.DeviceOpen()) return;
    SoundState& s = Snd();
    ReapFinishedStreams();
    api.HaltChannel(kWavChannel);
    api.FreeChunk(s.wav);
    const std::string path = ResolvePath(file);
    const char* problem = KindProblem(SoundFileAt(path), SoundFile::Wave);
    s.wav = problem ? 0 : api.LoadChunk(path);
    if (!s.wav)
        ReportUnplayable("WAV", file, problem ? problem : api.LastError(), " (default sound played)");
    api.PlayChunk(s.wav ? s.wav : DefaultSound(), kWavChannel);
}

void PlayMp3(const std::string& file) {
    audio::Backend& api = audio::Api();
    if (!api.DeviceOpen()) return;
    ReapFinishedStreams();
    const audio::ChunkHandle chunk = api.LoadChunk(ResolvePath(file));
    if (!chunk) {
        ReportUnplayable("MP3", file, api.LastError(), "");
        return;
    }
    const int channel = TakeMp3Channel();
    if (!api.PlayChunk(chunk, channel)) {
        ReportUnplayable("MP3", file, api.LastError(), "");
        api.FreeChunk(chunk);
        return;
    }
    Snd().mp3.push_back({channel, chunk});
}

void SetVolume(uint32_t volume) {
    Snd().volume = volume;
    audio::Backend& api = audio::Api();
    if (api.DeviceOpen())
        api.SetOutputLevels(static_cast<uint16_t>(volume & 0xFFFF),
                            static_cast<uint16_t>(volume >> 16));
}

NDX_Sound::~NDX_Sound() {
    if (!opened_) return;
    ResetSound();
    audio::Api().CloseDevice();
}

int NDX_Sound::Create() {
    if (opened_) return 0;
    const int result = audio::Api().OpenDevice(kMixChannels);
    if (result != audio::kOpened) return result;
    opened_ = true;
    SetVolume(Snd().volume);
    return 0;
}

int NDX_Midi::SetFile(const std::string& path) {
    file_ = path;
    opened_ = FileExists(path);
    return opened_ ? 0 : kCannotOpen;
}

}  // namespace tam
