// The world textures of Data/textures: procedural, tileable pictures (each repeats seamlessly
// once per world unit on walls, floor, island and water). Deterministic: the same build makes
// the same bytes.
#pragma once

#include <span>
#include <string>

#include "asset/images/image_write.h"

namespace tam::asset {

struct WorldTextureSpec {
    const char* name;           // file name without ".tga"
    int size;                   // width = height, a power of two
    bool rle;                   // written as run-length encoded TGA (type 10) when set
    Picture (*make)(int size);  // the generator; pixels are opaque RGB
};

// The eight world textures in the order of the engine's WorldTextures table.
std::span<const WorldTextureSpec> WorldTextureList();

// Writes every world texture as 24-bit TGA into `dir`; false (with a message) on a write error.
bool WriteWorldTextures(const std::string& dir);

}  // namespace tam::asset
