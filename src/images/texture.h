// The texture registry: turns a file path into an OpenGL texture name, reading each file once
// with the reader its extension selects, and hands out the built-in "default" checkerboard for
// anything that cannot be read. Window thread only; needs a current OpenGL context.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/commands.h"

namespace tam {

class CTexture {
public:
    CTexture(uint32_t name, std::string fileName);
    ~CTexture();  // deletes the OpenGL texture
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;
    uint32_t name() const { return name_; }
    const std::string& fileName() const { return fileName_; }

private:
    friend void ResetTextures();
    uint32_t name_;  // 0 once forgotten by ResetTextures: nothing to delete then
    std::string fileName_;
};

class CTextureManager {
public:
    virtual ~CTextureManager() = default;
    std::vector<std::unique_ptr<CTexture>> list;  // creation order; entry 0 is "default"
};

struct TextureState {
    std::unique_ptr<CTextureManager> registry;  // made by the first LoadTexture
    uint32_t LastLoadedTexture = 0;
    std::array<uint32_t, 8> WorldTextures{};  // Wall, out, Texture11, In, Texture12, map, sky1, sky2
    uint32_t FontTexture = 0;
};
TextureState& Tex();
void ResetTextures();  // drops the registry without touching OpenGL (tests)

// The texture name for `path` (CP1251, byte-exact lookup, as typed); the default texture's name
// when the file cannot be read, after a console line naming the file and the reason.
uint32_t LoadTexture(std::string_view path);

// Loads the world textures and the font through load_texture commands; returns true.
bool LoadDefaultTextures();

// The command load_texture: the named file beside the program becomes LastLoadedTexture.
namespace commands {
void LoadTexture(const Words& w);
}  // namespace commands

}  // namespace tam
