// The readers' path forms and the choice of reader by the extension in a path.
#include "images/readers.h"

#include "console/files.h"

namespace tam {
namespace {

using SpanReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool);

int LoadFromPath(SpanReader reader, const std::string& path, std::vector<uint8_t>* pixels,
                 int32_t* width, int32_t* height, bool topRowFirst) {
    const auto bytes = ReadWholeFile(ResolvePath(path));
    if (!bytes) return 0;
    return reader(*bytes, pixels, width, height, topRowFirst);
}

bool Contains(std::string_view path, std::string_view lower, std::string_view upper) {
    return path.find(lower) != std::string_view::npos || path.find(upper) != std::string_view::npos;
}

}  // namespace

int LoadTGA(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst) {
    return LoadFromPath(&LoadTGA, path, pixels, width, height, topRowFirst);
}
int LoadBMP(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst) {
    return LoadFromPath(&LoadBMP, path, pixels, width, height, topRowFirst);
}
int LoadPCX(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst) {
    return LoadFromPath(&LoadPCX, path, pixels, width, height, topRowFirst);
}

int LoadImageFile(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width,
                  int32_t* height, bool topRowFirst) {
    int status = 0;
    if (Contains(path, ".bmp", ".BMP")) status = LoadBMP(path, pixels, width, height, topRowFirst);
    if (Contains(path, ".tga", ".TGA")) status = LoadTGA(path, pixels, width, height, topRowFirst);
    if (Contains(path, ".pcx", ".PCX")) status = LoadPCX(path, pixels, width, height, topRowFirst);
    return status;
}

bool HasImageReader(std::string_view path) {
    return Contains(path, ".bmp", ".BMP") || Contains(path, ".tga", ".TGA") ||
           Contains(path, ".pcx", ".PCX");
}

}  // namespace tam
