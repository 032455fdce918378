// "tamasset decode": reads a TGA, BMP or PCX file with the engine's own readers, choosing the
// reader from the file name the way the texture registry does, and writes the picture as PNG or
// PAM so people can check what the engine will see in their textures.
#include <cstdio>
#include <string>
#include <vector>

#include "image_write.h"
#include "images/readers.h"
#include "platform/files.h"
#include "tool.h"

namespace tam::asset {
namespace {

bool Contains(const std::string& s, const char* part) {
    return s.find(part) != std::string::npos;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int DecodeMain(const std::vector<std::string>& args) {
    if (args.size() != 2 || !(EndsWith(args[1], ".png") || EndsWith(args[1], ".pam"))) {
        std::fprintf(stderr, "usage: tamasset decode IMAGE.tga|.bmp|.pcx OUT.png|OUT.pam\n");
        return 2;
    }
    const std::string& path = args[0];
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        std::fprintf(stderr, "tamasset decode: cannot read %s\n", path.c_str());
        return 1;
    }
    // Every matching reader runs; the last one decides, as in the texture registry.
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0;
    int status = 0;
    bool matched = false;
    if (Contains(path, ".bmp") || Contains(path, ".BMP")) {
        status = LoadBMP(*bytes, &pixels, &width, &height, true);
        matched = true;
    }
    if (Contains(path, ".tga") || Contains(path, ".TGA")) {
        status = LoadTGA(*bytes, &pixels, &width, &height, true);
        matched = true;
    }
    if (Contains(path, ".pcx") || Contains(path, ".PCX")) {
        status = LoadPCX(*bytes, &pixels, &width, &height, true);
        matched = true;
    }
    if (!matched) {
        std::fprintf(stderr,
                     "tamasset decode: %s: the engine reads only names containing .tga, .TGA, "
                     ".bmp, .BMP, .pcx or .PCX\n",
                     path.c_str());
        return 1;
    }
    const size_t expected = static_cast<size_t>(width > 0 ? width : 0) *
                            static_cast<size_t>(height > 0 ? height : 0) * 4;
    if (status != 1 || width <= 0 || height <= 0 || pixels.size() != expected) {
        std::fprintf(stderr, "tamasset decode: %s is not readable by the engine (status %d)\n",
                     path.c_str(), status);
        return 1;
    }
    Picture pic;
    pic.width = width;
    pic.height = height;
    pic.rgba = std::move(pixels);
    const auto out = EndsWith(args[1], ".png") ? EncodePng(pic) : EncodePam(pic);
    if (!WriteFileBytes(args[1], out)) return 1;
    std::printf("%s: %d x %d\n", path.c_str(), width, height);
    return 0;
}

const AssetCommand kDecode("decode",
                           "decode IMAGE OUT.png|OUT.pam   (an image as the engine reads it)",
                           DecodeMain);

}  // namespace
}  // namespace tam::asset
