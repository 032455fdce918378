// The readers' path forms and the choice of reader by the extension in a path.
#include "images/readers.h"

#include "base/files.h"
#include "images/image_local.h"

namespace tam {
namespace {

using SpanReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*,
                          bool, const char**);

int LoadFromPath(SpanReader reader, const std::string& path, std::vector<uint8_t>* pixels,
                 int32_t* width, int32_t* height, bool topRowFirst, const char** why) {
    const std::string fsPath = ResolvePath(path);
    if (!FileExists(fsPath)) return img::Refuse(why, img::why::kFileMissing);
    const auto bytes = ReadWholeFile(fsPath);
    if (!bytes) return img::Refuse(why, img::why::kFileUnreadable);
    return reader(*bytes, pixels, width, height, topRowFirst, why);
}

bool Contains(std::string_view path, std::string_view lower, std::string_view upper) {
    return path.find(lower) != std::string_view::npos || path.find(upper) != std::string_view::npos;
}

}  // namespace

int LoadTGA(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why) {
    return LoadFromPath(&LoadTGA, path, pixels, width, height, topRowFirst, why);
}
int LoadBMP(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why) {
    return LoadFromPath(&LoadBMP, path, pixels, width, height, topRowFirst, why);
}
int LoadPCX(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why) {
    return LoadFromPath(&LoadPCX, path, pixels, width, height, topRowFirst, why);
}

int LoadImageFile(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width,
                  int32_t* height, bool topRowFirst, const char** why) {
    if (!HasImageReader(path)) return img::Refuse(why, img::why::kNoReader);
    int status = 0;
    if (Contains(path, ".bmp", ".BMP")) status = LoadBMP(path, pixels, width, height, topRowFirst, why);
    if (Contains(path, ".tga", ".TGA")) status = LoadTGA(path, pixels, width, height, topRowFirst, why);
    if (Contains(path, ".pcx", ".PCX")) status = LoadPCX(path, pixels, width, height, topRowFirst, why);
    return status;
}

bool HasImageReader(std::string_view path) {
    return Contains(path, ".bmp", ".BMP") || Contains(path, ".tga", ".TGA") ||
           Contains(path, ".pcx", ".PCX");
}

}  // namespace tam
