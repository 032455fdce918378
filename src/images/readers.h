// The image readers: TGA, BMP and PCX files decoded into 8-bit RGBA, optionally top row first.
// Each reads only through a bounded cursor over the file's bytes; bad data gives status 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <string_view>
#include <vector>

namespace tam {

// Status: 1 read, 0 not read, -1 no pixel destination given (width and height still delivered
// when the header could be read). `pixels` receives width x height x 4 bytes, R G B A.
int LoadTGA(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst);
int LoadBMP(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst);
int LoadPCX(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst);

// Path forms: read the file (resolved against the program folder), then decode; 0 when the file
// cannot be read.
int LoadTGA(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst);
int LoadBMP(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst);
int LoadPCX(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst);

// The reader a path selects by the extension it contains anywhere (".bmp"/".BMP", then
// ".tga"/".TGA", then ".pcx"/".PCX", each tried when present, the last one tried deciding).
// Case counts: ".Tga" selects nothing. Status 0 when no reader is selected.
int LoadImageFile(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width,
                  int32_t* height, bool topRowFirst);
bool HasImageReader(std::string_view path);

}  // namespace tam
