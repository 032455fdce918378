// The audio seam: what the sound unit needs of the mixer (an output device, decoded sounds played
// on numbered channels, one music stream, and the output level of each channel). The platform
// layer's backend drives SDL2_mixer and is installed at start-up; tests install a recording
// stand-in. Window thread only; playback itself runs on the mixer's own thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/seam.h"

namespace tam::audio {

// Opaque handles owned by the backend; 0 means none.
using MusicHandle = uintptr_t;
using ChunkHandle = uintptr_t;

// The output format every chunk made from samples must have.
inline constexpr int kSampleRate = 44100;
inline constexpr int kOutputChannels = 2;  // interleaved left, right

// Results of OpenDevice.
inline constexpr int kOpened = 0;
inline constexpr int kNoDevice = 16;      // no audio driver or no output device
inline constexpr int kCannotSetUp = 17;   // a device exists but could not be opened as asked

class Backend {
public:
    virtual ~Backend() = default;

    // Opens the output device (16-bit stereo at kSampleRate) with `channels` mixing channels
    // numbered from 0. kOpened, kNoDevice or kCannotSetUp. Opening an open device does nothing.
    virtual int OpenDevice(int channels) = 0;
    // Stops everything and closes the device; handles still held become invalid, so free them
    // first.
    virtual void CloseDevice() = 0;
    virtual bool DeviceOpen() const = 0;

    // The music stream (MIDI files): one plays at a time. `path` is a file-system path.
    virtual MusicHandle LoadMusic(const std::string& path) = 0;
    virtual void PlayMusicFromStart(MusicHandle music) = 0;  // replaces whatever music plays
    virtual void FreeMusic(MusicHandle music) = 0;            // stops it first if it plays

    // Chunks: whole sounds decoded into memory (WAV, MP3 and whatever else the mixer reads).
    virtual ChunkHandle LoadChunk(const std::string& path) = 0;
    // A chunk from interleaved stereo 16-bit samples at kSampleRate (copied).
    virtual ChunkHandle ChunkFromSamples(const int16_t* samples, size_t frames) = 0;
    virtual void FreeChunk(ChunkHandle chunk) = 0;  // stops every channel playing it
    // Starts `chunk` once on `channel`, replacing what plays there; false when it did not start.
    virtual bool PlayChunk(ChunkHandle chunk, int channel) = 0;
    virtual void HaltChannel(int channel) = 0;
    virtual bool ChannelPlaying(int channel) const = 0;

    // Output level of each channel of the final mix, 0 (silent) to 65535 (unchanged).
    virtual void SetOutputLevels(uint16_t left, uint16_t right) = 0;

    // Why the last load or play failed, in CP1251 for the console.
    virtual std::string LastError() const = 0;
};

// The backend in force; until one is installed, a silent one that has no output device.
Backend& Api();
// Installs `backend` (not owned; must outlive its use) and returns the previous one; nullptr
// restores the silent backend.
Backend* SetBackend(Backend* backend);

// Installs a backend for a scope (tests).
using ScopedBackend = ScopedInstall<Backend, SetBackend>;

}  // namespace tam::audio
