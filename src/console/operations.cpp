// The operation table's one instance, wired to the real subsystems.
#include "console/operations.h"

#include "app/players.h"
#include "images/texture.h"
#include "media/display.h"
#include "media/sound.h"
#include "platform/platform.h"
#include "render/opengl.h"
#include "world/map.h"

namespace tam {
namespace {

CommandOperations RealOperations() {
    CommandOperations ops;
    ops.LoadMap = [](const std::string& path) { return tam::LoadMap(path); };
    ops.SpawnPlayer = [](int index) { tam::SpawnPlayer(index); };
    ops.FogOn = [] { tam::FogOn(); };
    ops.FogOff = [] { tam::FogOff(); };
    ops.FogMode = [](int entry) { tam::FogMode(entry); };
    ops.FogDensity = [](float density) { tam::FogDensity(density); };
    ops.CreateMap = [] { return tam::CreateMap(); };
    ops.LoadTexture = [](std::string_view name) { return tam::LoadTexture(name); };
    ops.PlayMidi = [](const std::string& name) { tam::PlayMidi(name); };
    ops.PlayWav = [](const std::string& name) { tam::PlayWav(name); };
    ops.PlayMp3 = [](const std::string& name) { tam::PlayMp3(name); };
    ops.SetVolume = [](uint32_t volume) { tam::SetVolume(volume); };
    ops.SetBorderNone = [] { tam::SetBorderNone(); };
    ops.SetBorderSizeable = [] { tam::SetBorderSizeable(); };
    ops.NewScreen = [] { tam::NewScreen(); };
    ops.ScreenSetFullScreen = [](int w, int h, int bits) {
        return tam::ScreenSetFullScreen(w, h, bits);
    };
    ops.ScreenSetWindowed = [](int w, int h) { return tam::ScreenSetWindowed(w, h); };
    ops.InitOpenGL = [] { return tam::InitOpenGL(); };
    ops.ApplyProjection = [](int fov) { tam::ApplyProjection(fov); };
    ops.RequestQuit = [] { platform::RequestQuit(); };
    return ops;
}

}  // namespace

CommandOperations& Ops() {
    static CommandOperations ops = RealOperations();
    return ops;
}

void ResetOperations() {
    Ops() = RealOperations();
}

}  // namespace tam
