// "tamasset decode IN OUT": reads a TGA, BMP or PCX file exactly as the engine does (reader
// chosen by the extension in IN, top row first) and writes the picture as PNG or PAM, chosen by
// OUT's extension; prints the size. Lets people check how the engine sees their textures.
#include <cstdio>
#include <string>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/images/images.h"
#include "asset/tool.h"
#include "base/cp1251.h"
#include "images/readers.h"

namespace tam::asset {
namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

int DecodeMain(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tamasset decode IN.tga|IN.bmp|IN.pcx OUT.png|OUT.pam\n");
        return 2;
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    const bool png = EndsWith(out, ".png") || EndsWith(out, ".PNG");
    if (!png && !EndsWith(out, ".pam") && !EndsWith(out, ".PAM")) {
        std::fprintf(stderr, "tamasset decode: %s: write .png or .pam\n", out.c_str());
        return 2;
    }
    if (!HasImageReader(in)) {
        std::fprintf(stderr,
                     "tamasset decode: %s: the engine reads only paths containing .tga, .TGA, "
                     ".bmp, .BMP, .pcx or .PCX\n",
                     in.c_str());
        return 1;
    }
    Picture pic;
    int32_t width = 0;
    int32_t height = 0;
    // The engine takes CP1251 names; the shell gives UTF-8. A file that cannot be read is named
    // with the system's reason; one that can, with the reader's.
    const char* why = "";
    if (LoadImageFile(Utf8ToCp1251(in), &pic.rgba, &width, &height, true, &why) <= 0) {
        if (ReadInputFile(in))
            std::fprintf(stderr, "tamasset decode: %s: not read: %s\n", in.c_str(), why);
        return 1;
    }
    pic.width = width;
    pic.height = height;
    if (!WriteFileBytes(out, png ? EncodePng(pic) : EncodePam(pic))) return 1;
    std::printf("%s: %d x %d\n", in.c_str(), width, height);
    return 0;
}

}  // namespace tam::asset
