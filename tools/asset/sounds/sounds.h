// Sounds: the shot (WAV), the tune (MIDI), and the demo and test tones (MP3), synthesised here.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int SoundTuneMain(const Args& args);
int SoundDemoMain(const Args& args);
int SoundToneMain(const Args& args);
int SoundShotMain(const Args& args);

}  // namespace tam::asset
