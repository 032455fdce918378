// The audio seam on SDL2_mixer: the output device, chunks on numbered channels, the music
// stream (MIDI through the mixer's Timidity with the system's patch set), and the per-channel
// output level applied to the final mix on the mixer's thread.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <string>

#include "base/cp1251.h"
#include "base/files.h"
#include "media/audio.h"
#include "platform/platform.h"

namespace tam::audio {
namespace {

// Patch-set configurations tried, in order, when neither TIMIDITY_CFG nor the program chose one.
constexpr const char* kTimidityConfigs[] = {
    "/etc/timidity.cfg",
    "/etc/timidity/timidity.cfg",
    "/etc/timidity/freepats.cfg",
    "/usr/share/timidity/timidity.cfg",
};

constexpr int kBufferFrames = 1024;

// A music handle: the mixer's song and where it came from. The mixer's MIDI player does not
// start a song again once it was stopped part-way (it stays silent), so every later start plays
// a fresh copy read from `path`.
struct HeldMusic {
    Mix_Music* music = nullptr;
    std::string path;
    bool started = false;
};

Mix_Chunk* AsChunk(ChunkHandle h) { return reinterpret_cast<Mix_Chunk*>(h); }
HeldMusic* AsMusic(MusicHandle h) { return reinterpret_cast<HeldMusic*>(h); }

class SdlBackend final : public Backend {
public:
    int OpenDevice(int channels) override {
        if (open_) return kOpened;
        if (heldAfterFailure_) {  // a new attempt starts afresh, with the driver asked for now
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            heldAfterFailure_ = false;
        }
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return kNoDevice;
        ChooseTimidityConfig();
        Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
        // No format changes allowed: the mixer converts, so chunks made from samples and the
        // level filter can rely on 16-bit stereo at kSampleRate.
        if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, kOutputChannels, kBufferFrames, nullptr,
                                0) != 0) {
            const int devices = SDL_GetNumAudioDevices(0);
            Mix_Quit();
            // SDL's audio stays up: taking it down waits for its device-watching thread to wake
            // (up to a tenth of a second with ALSA), which would hold up start-up on a machine
            // without sound. The next attempt or SDL_Quit takes it down.
            heldAfterFailure_ = true;
            return devices == 0 ? kNoDevice : kCannotSetUp;
        }
        Mix_AllocateChannels(channels);
        Mix_SetPostMix(ApplyLevels, &levels_);
        open_ = true;
        return kOpened;
    }

    void CloseDevice() override {
        if (!open_) return;
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open_ = false;
    }

    bool DeviceOpen() const override { return open_; }

    MusicHandle LoadMusic(const std::string& path) override {
        if (!open_) return 0;
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        if (!music) return 0;
        return reinterpret_cast<MusicHandle>(new HeldMusic{music, path, false});
    }
    void PlayMusicFromStart(MusicHandle handle) override {
        HeldMusic* held = AsMusic(handle);
        if (!open_ || !held) return;
        if (held->started) {
            Mix_HaltMusic();
            if (held->music) Mix_FreeMusic(held->music);
            held->music = Mix_LoadMUS(held->path.c_str());
        }
        if (held->music) Mix_PlayMusic(held->music, 0);
        held->started = true;
    }
    void FreeMusic(MusicHandle handle) override {
        HeldMusic* held = AsMusic(handle);
        if (!held) return;
        if (held->music) Mix_FreeMusic(held->music);
        delete held;
    }

    ChunkHandle LoadChunk(const std::string& path) override {
        if (!open_) return 0;
        return reinterpret_cast<ChunkHandle>(Mix_LoadWAV(path.c_str()));
    }

    ChunkHandle ChunkFromSamples(const int16_t* samples, size_t frames) override {
        if (!open_ || frames == 0) return 0;
        int freq = 0, channels = 0;
        Uint16 format = 0;
        if (!Mix_QuerySpec(&freq, &format, &channels) || freq != kSampleRate ||
            format != AUDIO_S16SYS || channels != kOutputChannels)
            return 0;
        constexpr size_t kFrameBytes = sizeof(int16_t) * kOutputChannels;
        if (frames > std::numeric_limits<Uint32>::max() / kFrameBytes) return 0;
        const size_t bytes = frames * kFrameBytes;
        auto* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
        auto* buffer = static_cast<Uint8*>(SDL_malloc(bytes));
        if (!chunk || !buffer) {
            SDL_free(chunk);
            SDL_free(buffer);
            return 0;
        }
        std::memcpy(buffer, samples, bytes);
        chunk->allocated = 1;  // Mix_FreeChunk frees the buffer with SDL_free
        chunk->abuf = buffer;
        chunk->alen = static_cast<Uint32>(bytes);
        chunk->volume = MIX_MAX_VOLUME;
        return reinterpret_cast<ChunkHandle>(chunk);
    }

    void FreeChunk(ChunkHandle chunk) override {
        if (chunk) Mix_FreeChunk(AsChunk(chunk));
    }
    bool PlayChunk(ChunkHandle chunk, int channel) override {
        if (!open_ || !chunk) return false;
        return Mix_PlayChannel(channel, AsChunk(chunk), 0) == channel;
    }
    void HaltChannel(int channel) override {
        if (open_) Mix_HaltChannel(channel);
    }
    bool ChannelPlaying(int channel) const override { return open_ && Mix_Playing(channel) != 0; }

    void SetOutputLevels(uint16_t left, uint16_t right) override {
        levels_.store(uint32_t{left} | (uint32_t{right} << 16));
    }

    // The mixer's messages are UTF-8 and may quote the file's path.
    std::string LastError() const override { return Utf8ToCp1251(Mix_GetError()); }

private:
    // Runs on the mixer's thread after every mix: scales each channel by its level / 65535.
    static void ApplyLevels(void* udata, Uint8* stream, int len) {
        const uint32_t packed = static_cast<std::atomic<uint32_t>*>(udata)->load();
        if (packed == 0xFFFFFFFFu) return;
        const int32_t level[2] = {static_cast<int32_t>(packed & 0xFFFF),
                                  static_cast<int32_t>(packed >> 16)};
        auto* samples = reinterpret_cast<int16_t*>(stream);
        const int count = len / static_cast<int>(sizeof(int16_t));
        for (int i = 0; i < count; ++i)
            samples[i] = static_cast<int16_t>(samples[i] * level[i & 1] / 65535);
    }

    static void ChooseTimidityConfig() {
        if (SDL_getenv("TIMIDITY_CFG") || Mix_GetTimidityCfg()) return;
        for (const char* cfg : kTimidityConfigs) {
            if (FileExists(cfg)) {
                Mix_SetTimidityCfg(cfg);
                return;
            }
        }
    }

    bool open_ = false;
    bool heldAfterFailure_ = false;  // SDL audio left up by a failed OpenDevice
    std::atomic<uint32_t> levels_{0xFFFFFFFFu};
};

}  // namespace
}  // namespace tam::audio

namespace tam::platform {

audio::Backend& SdlAudio() {
    static audio::SdlBackend backend;
    return backend;
}

}  // namespace tam::platform
