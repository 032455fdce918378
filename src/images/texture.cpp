// The texture registry: one list of loaded textures, the built-in checkerboard first, looked up
// by the path exactly as it was passed; the start-up list of world and font textures; and the
// load_texture command.
#include "images/texture.h"

#include <GL/gl.h>

#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "images/readers.h"
#include "images/texture_local.h"
#include "render/gl_api.h"

namespace tam {
namespace {

// Filtering and wrapping every registry texture gets, on the texture bound to GL_TEXTURE_2D.
void SetTextureParameters() {
    auto& gl = gl::Api();
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

// Adds the checkerboard as "default". It gets a whole mipmap chain, so that a surface whose
// texture failed shows the checkerboard at every distance.
void AddDefaultTexture(CTextureManager& registry) {
    auto& gl = gl::Api();
    const uint32_t name = gl.GenTexture();
    gl.BindTexture(GL_TEXTURE_2D, name);
    SetTextureParameters();
    registry.list.push_back(std::make_unique<CTexture>(name, "default"));
    const auto image = textures::MakeCheckerboard();
    gl.Build2DMipmaps(GL_TEXTURE_2D, 4, textures::kDefaultSize, textures::kDefaultSize, GL_RGBA,
                      GL_UNSIGNED_BYTE, image.data());
}

CTextureManager& Registry() {
    auto& state = Tex();
    if (!state.registry) state.registry = std::make_unique<CTextureManager>();
    if (state.registry->list.empty()) AddDefaultTexture(*state.registry);
    return *state.registry;
}

}  // namespace

CTexture::CTexture(uint32_t name, std::string fileName) : name_(name), fileName_(std::move(fileName)) {}

CTexture::~CTexture() {
    if (name_ != 0) gl::Api().DeleteTexture(name_);
}

TextureState& Tex() {
    static TextureState t;
    return t;
}

void ResetTextures() {
    auto& state = Tex();
    if (state.registry)
        for (auto& t : state.registry->list) t->name_ = 0;
    state = TextureState{};
}

uint32_t LoadTexture(std::string_view path) {
    // Paths are zero-terminated byte strings: nothing after a NUL belongs to them.
    path = path.substr(0, path.find('\0'));
    CTextureManager& registry = Registry();
    for (const auto& t : registry.list)
        if (t->fileName() == path) return t->name();

    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    const char* why = "not read";
    if (LoadImageFile(std::string(path), &pixels, &width, &height, true, &why) <= 0) {
        ConsolePrint("Texture " + std::string(path) + " not loaded: " + why + " (default texture used)",
                     true);
        return registry.list.front()->name();
    }

    auto& gl = gl::Api();
    const uint32_t name = gl.GenTexture();
    gl.BindTexture(GL_TEXTURE_2D, name);
    SetTextureParameters();
    gl.Build2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    registry.list.push_back(std::make_unique<CTexture>(name, std::string(path)));
    return name;
}

namespace textures {

std::vector<uint8_t> MakeCheckerboard() {
    std::vector<uint8_t> image(static_cast<size_t>(kDefaultSize) * kDefaultSize * 4);
    for (int r = 0; r < kDefaultSize; ++r)
        for (int c = 0; c < kDefaultSize; ++c) {
            uint8_t* p = &image[(static_cast<size_t>(r) * kDefaultSize + c) * 4];
            const uint8_t v = ((r & 8) != 0) != ((c & 8) != 0) ? 255 : 0;
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    return image;
}

bool LoadDefaultTexturesWith(CommandRunner run) {
    auto& state = Tex();
    for (const StartupLine& line : kStartupLines) {
        run(line.command);
        if (line.slot == kFontSlot) state.FontTexture = state.LastLoadedTexture;
        else state.WorldTextures[static_cast<size_t>(line.slot)] = state.LastLoadedTexture;
    }
    gl::Api().Enable(GL_TEXTURE_2D);
    gl::Api().TexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    ConsolePrint("  Textures load ... Ok", true);
    return true;
}

}  // namespace textures

bool LoadDefaultTextures() {
    return textures::LoadDefaultTexturesWith([](std::string_view line) { ExecuteCommand(line); });
}

void commands::LoadTexture(const Words& w) {
    using namespace tam::literals;
    if (w[1] == "?") {
        ConsolePrint("load_texture [File Name(*.tga *.bmp *.pcx)]", false);
        ConsolePrint("   File Name - Имя файла в папке с игрой"_cp, false);
    } else if (w[1].empty()) {
        ConsolePrint("Файл не указан"_cp, true);
    } else if (ExistsBesideProgram(w[1])) {
        Tex().LastLoadedTexture = tam::LoadTexture(w[1]);
    } else {
        ConsolePrint("Файл с тектурой не наден"_cp, true);
    }
}

}  // namespace tam
