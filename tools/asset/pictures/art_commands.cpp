// The art commands of the asset tool: "textures", "sky" and "font" make the game's pictures
// into a data folder, "icon" the program's icon; "fontpreview" shows how the HUD will draw text
// with a font picture.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "asset/pictures/art_font.h"
#include "asset/pictures/art_icon.h"
#include "asset/pictures/art_sky.h"
#include "asset/pictures/art_textures.h"
#include "asset/pictures/pictures.h"
#include "asset/tool.h"
#include "base/cp1251.h"
#include "base/files.h"
#include "images/readers.h"
#include "platform/font_lookup.h"

namespace tam::asset {
namespace {

// The HUD font's faces as fontconfig finds them; false with a message naming the package when
// one is missing.
bool FindHudFaces(const char* command, std::string* regular, std::string* bold) {
    std::string error;
    const auto r = FindFontFile(kMonoRegular, &error);
    const auto b = r ? FindFontFile(kMonoBold, &error) : std::nullopt;
    if (!b) {
        std::fprintf(stderr, "tamasset %s: %s\n", command, error.c_str());
        return false;
    }
    *regular = *r;
    *bold = *b;
    return true;
}

// Reads a font picture the way the engine does (top row first).
bool LoadFontPicture(const std::string& path, Picture* pic) {
    const auto bytes = ReadInputFile(path);
    if (!bytes) return false;
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0;
    if (LoadTGA(*bytes, &pixels, &width, &height, true) != 1 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "tamasset fontpreview: %s is not a readable TGA picture\n",
                     path.c_str());
        return false;
    }
    pic->width = width;
    pic->height = height;
    pic->rgba = std::move(pixels);
    return true;
}

}  // namespace

int TexturesMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset textures OUTDIR\n");
        return 2;
    }
    return WriteWorldTextures(args[0]) ? 0 : 1;
}

int SkyMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset sky OUTDIR\n");
        return 2;
    }
    return WriteSkyFaces(args[0], kSkyFaceSize) ? 0 : 1;
}

int FontMain(const std::vector<std::string>& args) {
    if (args.size() != 1 && args.size() != 3) {
        std::fprintf(stderr, "usage: tamasset font OUT.tga [REGULAR.ttf BOLD.ttf]\n");
        return 2;
    }
    std::string regular, bold;
    if (args.size() == 3) {
        regular = args[1];
        bold = args[2];
    } else if (!FindHudFaces("font", &regular, &bold)) {
        return 1;
    }
    Picture pic;
    std::string error;
    if (!MakeFontPicture(regular, bold, &pic, &error)) {
        std::fprintf(stderr, "tamasset font: %s\n", error.c_str());
        return 1;
    }
    return WriteDataFile(args[0], EncodeTga(pic, 24, true)) ? 0 : 1;
}

int IconMain(const std::vector<std::string>& args) {
    const int size = args.size() == 2 ? std::atoi(args[0].c_str()) : 0;
    const std::string out = args.size() == 2 ? args[1] : "";
    const bool png = out.ends_with(".png");
    if (size < 16 || size > 1024 || !(png || out.ends_with(".tga"))) {
        std::fprintf(stderr, "usage: tamasset icon 16..1024 OUT.png|OUT.tga\n");
        return 2;
    }
    const Picture pic = MakeIcon(size);
    return WriteFileBytes(out, png ? EncodePng(pic) : EncodeTga(pic, 32, true)) ? 0 : 1;
}

int FontPreviewMain(const std::vector<std::string>& args) {
    std::string out, fontTga, regular, bold;
    int zoom = 4;
    std::vector<HudLine> lines;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--font" && hasValue) {
            fontTga = args[++i];
        } else if (a == "--ttf" && i + 2 < args.size()) {
            regular = args[++i];
            bold = args[++i];
        } else if (a == "--zoom" && hasValue) {
            zoom = std::atoi(args[++i].c_str());
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "tamasset fontpreview: bad option %s\n", a.c_str());
            return 2;
        } else if (out.empty()) {
            out = a;
        } else {
            HudLine line;
            std::string text = a;
            if (text.size() >= 2 && (text[0] == '0' || text[0] == '1') && text[1] == ':') {
                line.set = text[0] - '0';
                text = text.substr(2);
            }
            line.text = Utf8ToCp1251(text);
            lines.push_back(line);
        }
    }
    if (out.empty() || lines.empty() || zoom < 1 || zoom > 16) {
        std::fprintf(stderr,
                     "usage: tamasset fontpreview OUT.pam [--font FONT.tga | --ttf REGULAR BOLD] "
                     "[--zoom 1..16] [0:|1:]TEXT...\n");
        return 2;
    }
    if (fontTga.empty() && regular.empty() && !FindHudFaces("fontpreview", &regular, &bold))
        return 1;
    Picture font;
    std::string error;
    if (!fontTga.empty() ? !LoadFontPicture(fontTga, &font)
                         : !MakeFontPicture(regular, bold, &font, &error)) {
        if (!error.empty()) std::fprintf(stderr, "tamasset fontpreview: %s\n", error.c_str());
        return 1;
    }
    // Lines stack upwards from the bottom 20 pixels apart, like the HUD's x, y and FPS lines.
    size_t longest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].x = 10.f;
        lines[i].y = 10.f + 20.f * static_cast<float>(lines.size() - 1 - i);
        longest = std::max(longest, lines[i].text.size());
    }
    const int width = 26 + 10 * static_cast<int>(longest);
    const int height = 16 + 20 * static_cast<int>(lines.size());
    const Picture screen = SimulateHudText(font, lines, width, height, Rgb{1.f, 0.f, 0.f});
    Picture big = MakePicture(width * zoom, height * zoom);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            std::copy_n(screen.At(x / zoom, y / zoom), 4, big.At(x, y));
    return WriteFileBytes(out, EncodePam(big)) ? 0 : 1;
}

}  // namespace tam::asset
