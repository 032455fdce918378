// Music and sound: MIDI under one alias, asynchronous WAV, overlapping MP3 streams, the output
// volume, and the sound-device and music-file holders made at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace tam {

void PlayMidi(const std::string& file);
void PlayWav(const std::string& file);
void PlayMp3(const std::string& file);
void SetVolume(uint32_t volume);  // low 16 bits left level, high 16 bits right level

}  // namespace tam
