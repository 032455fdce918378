// The operations of other subsystems that commands, settings and key dispatch reach: map, fog,
// generator, textures, sound, display mode, projection and the quit request. They are held in one
// table that starts out pointing at the real operations, so that tests can put recorders in their
// place and check what a command line asked for. Window thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tam {

struct CommandOperations {
    std::function<bool(const std::string& path)> LoadMap;  // path already joined with the folder
    std::function<void(int index)> SpawnPlayer;
    std::function<void()> FogOn;
    std::function<void()> FogOff;
    std::function<void(int entry)> FogMode;  // 1, 2 or 3
    std::function<void(float density)> FogDensity;
    std::function<bool()> CreateMap;
    std::function<uint32_t(std::string_view name)> LoadTexture;  // name as typed
    std::function<void(const std::string& name)> PlayMidi;       // name as typed
    std::function<void(const std::string& name)> PlayWav;
    std::function<void(const std::string& name)> PlayMp3;
    std::function<void(uint32_t volume)> SetVolume;  // low word left, high word right
    std::function<void()> SetBorderNone;
    std::function<void()> SetBorderSizeable;
    std::function<void()> NewScreen;
    std::function<int(int width, int height, int bits)> ScreenSetFullScreen;
    std::function<int(int width, int height)> ScreenSetWindowed;
    std::function<bool()> InitOpenGL;
    std::function<void(int fov)> ApplyProjection;
    std::function<void()> RequestQuit;
};

// The table in use; ResetOperations points every entry at the real operation again.
CommandOperations& Ops();
void ResetOperations();

}  // namespace tam
