// Placeholder: sound playback is being written.
#include "media/sound.h"

namespace tam {

void PlayMidi(const std::string&) {}
void PlayWav(const std::string&) {}
void PlayMp3(const std::string&) {}
void SetVolume(uint32_t) {}

}  // namespace tam
