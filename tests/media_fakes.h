// Stand-ins for the media unit's seams: an audio backend that keeps its handles, channels and
// levels in plain fields, and a display device that records what it was asked.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "media/audio.h"
#include "media/display.h"

namespace tam::test {

class FakeAudio : public audio::Backend {
public:
    int openResult = audio::kOpened;
    bool open = false;
    int channels = 0, closes = 0;
    std::set<std::string> readable;  // paths that load as music or chunks
    std::vector<std::string> loads;  // every path asked for, in order
    std::map<uintptr_t, std::string> live;  // handle -> what it holds
    std::map<int, uintptr_t> playing;       // channel -> chunk
    uintptr_t music = 0;                    // the music playing
    uint16_t left = 0xFFFF, right = 0xFFFF;
    int levelCalls = 0;

    int OpenDevice(int ch) override {
        if (openResult == audio::kOpened) open = true, channels = ch;
        return openResult;
    }
    void CloseDevice() override { open = false, ++closes; }
    bool DeviceOpen() const override { return open; }
    audio::MusicHandle LoadMusic(const std::string& path) override { return Load(path); }
    void PlayMusicFromStart(audio::MusicHandle m) override { music = m; }
    void FreeMusic(audio::MusicHandle m) override { Free(m); }
    audio::ChunkHandle LoadChunk(const std::string& path) override { return Load(path); }
    audio::ChunkHandle ChunkFromSamples(const int16_t*, size_t frames) override {
        live[next_] = "samples:" + std::to_string(frames);
        return next_++;
    }
    void FreeChunk(audio::ChunkHandle c) override { Free(c); }
    bool PlayChunk(audio::ChunkHandle c, int channel) override {
        if (!open || !live.count(c) || channel < 0 || channel >= channels) return false;
        playing[channel] = c;
        return true;
    }
    void HaltChannel(int channel) override { playing.erase(channel); }
    bool ChannelPlaying(int channel) const override { return playing.count(channel) != 0; }
    void SetOutputLevels(uint16_t l, uint16_t r) override { left = l, right = r, ++levelCalls; }
    std::string LastError() const override { return "unreadable"; }

    // What the chunk on `channel` holds, or "" when the channel is quiet.
    std::string On(int channel) const {
        const auto it = playing.find(channel);
        return it == playing.end() ? "" : live.at(it->second);
    }

private:
    uintptr_t Load(const std::string& path) {
        loads.push_back(path);
        if (!open || !readable.count(path)) return 0;
        live[next_] = path;
        return next_++;
    }
    void Free(uintptr_t h) {
        if (!h) return;
        live.erase(h);
        if (music == h) music = 0;
        for (auto it = playing.begin(); it != playing.end();)
            it = it->second == h ? playing.erase(it) : std::next(it);
    }
    uintptr_t next_ = 100;
};

class FakeDisplay : public DisplayDevice {
public:
    bool window = true, fullScreen = false;
    int enterResult = 0, leaveResult = 0;
    std::vector<std::string> calls;

    bool HasWindow() override { return window; }
    void SetBorder(Border b) override {
        calls.push_back(b == Border::None ? "border none" : "border sizeable");
    }
    int EnterFullScreen(int w, int h, int bits) override {
        calls.push_back("enter " + std::to_string(w) + "x" + std::to_string(h) + "x" +
                        std::to_string(bits));
        fullScreen = fullScreen || enterResult == 0;
        return enterResult;
    }
    bool InFullScreen() override { return fullScreen; }
    int LeaveFullScreen() override {
        calls.push_back("leave");
        fullScreen = fullScreen && leaveResult != 0;
        return leaveResult;
    }
};

}  // namespace tam::test
