// Internals of the texture registry, shared with its tests: the start-up list of texture
// command lines and the built-in checkerboard.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tam::textures {

inline constexpr int kDefaultSize = 64;  // the checkerboard's side in pixels

// The 64 x 64 RGBA checkerboard: 8 x 8-pixel squares, black at row 0, column 0.
std::vector<uint8_t> MakeCheckerboard();

// Destination of a start-up line: an index into WorldTextures, or kFontSlot for FontTexture.
inline constexpr int kFontSlot = -1;
struct StartupLine {
    const char* command;
    int slot;
};
inline constexpr StartupLine kStartupLines[] = {
    {"load_texture Data/textures/Wall.tga", 0},
    {"load_texture Data/textures/out.tga", 1},
    {"load_texture Data/textures/Texture11.tga", 2},
    {"load_texture Data/textures/In.tga", 3},
    {"load_texture Data/textures/Texture12.tga", 4},
    {"load_texture Data/textures/map.tga", 5},
    {"load_texture Data/textures/sky1.tga", 6},
    {"load_texture Data/textures/sky2.tga", 7},
    {"load_texture Data/Font/Font.tga", kFontSlot},
};

// LoadDefaultTextures with the command interpreter replaced by `run` (tests).
using CommandRunner = void (*)(std::string_view line);
bool LoadDefaultTexturesWith(CommandRunner run);

}  // namespace tam::textures
