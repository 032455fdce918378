// Music and sound: MIDI under one alias, asynchronous WAV, overlapping MP3 streams, the output
// volume, and the sound-device and music-file holders made at start-up. Every operation takes
// the name as the command received it (CP1251, resolved beside the program, backslashes
// allowed) and returns at once; a file the mixer cannot load or play gets one console line with
// the mixer's reason. Without an open sound device they do nothing. Window thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/commands.h"
#include "media/audio.h"

namespace tam {

// Standard MIDI files only ("MThd"); anything else fails to open.
void PlayMidi(const std::string& file);
// RIFF WAVE files only; anything else, like a file that cannot be read, gives the default sound.
void PlayWav(const std::string& file);
void PlayMp3(const std::string& file);
void SetVolume(uint32_t volume);  // low 16 bits left level, high 16 bits right level

// The commands play_midi, play_wav, play_mp3 and set_volume.
namespace commands {
void PlayMidi(const Words& w);
void PlayWav(const Words& w);
void PlayMp3(const Words& w);
void SetVolume(const Words& w);
}  // namespace commands

// Channel plan of the mixer: the WAV sound has its own channel, MP3 streams take the rest. With
// kMaxMp3Streams streams playing, a new one stops the oldest.
inline constexpr int kWavChannel = 0;
inline constexpr int kMaxMp3Streams = 32;
inline constexpr int kMixChannels = 1 + kMaxMp3Streams;

// What is playing or held. Reset when the sound device closes, and by tests.
struct SoundState {
    // The MIDI alias: once a file has opened under it, it stays held for the run (until the
    // device closes) and later opens fail.
    audio::MusicHandle alias = 0;
    std::string aliasFile;                // the name it was opened with
    audio::ChunkHandle wav = 0;           // the last sound given to PlayWav, if it loaded
    audio::ChunkHandle defaultSound = 0;  // made on first need
    struct Mp3Stream {
        int channel = 0;
        audio::ChunkHandle chunk = 0;
    };
    std::vector<Mp3Stream> mp3;  // oldest first; finished ones are freed by the next play call
    uint32_t volume = 0xFFFFFFFFu;
};
SoundState& Snd();
// Frees every handle through the audio backend and starts from a fresh state.
void ResetSound();

// The program's own default sound (a short two-note chime): interleaved stereo 16-bit samples
// at audio::kSampleRate. Played by PlayWav for a file that is no WAV file or cannot be played.
const std::vector<int16_t>& DefaultSoundSamples();

// The sound-device holder: Create opens the output device; the destructor closes it (after
// freeing every sound). One per process.
class NDX_Sound {
public:
    static constexpr int kNoDevice = audio::kNoDevice;        // 16
    static constexpr int kCannotSetUp = audio::kCannotSetUp;  // 17

    NDX_Sound() = default;
    NDX_Sound(const NDX_Sound&) = delete;
    NDX_Sound& operator=(const NDX_Sound&) = delete;
    virtual ~NDX_Sound();
    int Create();  // 0, kNoDevice or kCannotSetUp
    bool Ready() const { return opened_; }

private:
    bool opened_ = false;
};

// The music-file holder: remembers a file name and whether it is there. Never plays.
class NDX_Midi {
public:
    static constexpr int kCannotOpen = 12;
    // Keeps `path` (a file-system path) and checks that it is a file; 0 or kCannotOpen.
    int SetFile(const std::string& path);
    const std::string& File() const { return file_; }
    bool Opened() const { return opened_; }

private:
    std::string file_;
    bool opened_ = false;
};

}  // namespace tam
