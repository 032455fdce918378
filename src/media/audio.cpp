// The audio seam's backend in force, and the silent one that stands in until the platform's is
// installed: it has no output device, so the sound unit does nothing.
#include "media/audio.h"

namespace tam::audio {
namespace {

class SilentBackend final : public Backend {
public:
    int OpenDevice(int) override { return kNoDevice; }
    void CloseDevice() override {}
    bool DeviceOpen() const override { return false; }
    MusicHandle LoadMusic(const std::string&) override { return 0; }
    void PlayMusicFromStart(MusicHandle) override {}
    void FreeMusic(MusicHandle) override {}
    ChunkHandle LoadChunk(const std::string&) override { return 0; }
    ChunkHandle ChunkFromSamples(const int16_t*, size_t) override { return 0; }
    void FreeChunk(ChunkHandle) override {}
    bool PlayChunk(ChunkHandle, int) override { return false; }
    void HaltChannel(int) override {}
    bool ChannelPlaying(int) const override { return false; }
    void SetOutputLevels(uint16_t, uint16_t) override {}
    std::string LastError() const override { return "no sound device"; }
};

Backend* g_current = nullptr;

}  // namespace

Backend& Api() {
    static SilentBackend silent;
    return g_current ? *g_current : silent;
}

Backend* SetBackend(Backend* backend) {
    Backend* prev = g_current;
    g_current = backend;
    return prev;
}

}  // namespace tam::audio
