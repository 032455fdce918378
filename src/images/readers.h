// The image readers: TGA, BMP and PCX files decoded into 8-bit RGBA, optionally top row first.
// Each reads only through a bounded cursor over the file's bytes; bad data gives status 0, and a
// picture larger than 4096 x 4096 pixels is refused the same way before anything is allocated.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tam {

// Status: 1 read, 0 not read, -1 no pixel destination given (width and height still delivered
// when the header could be read). `pixels` receives width x height x 4 bytes, R G B A. With
// status 0, `*why` (when given) receives the reason: a short phrase in static storage.
int LoadTGA(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why = nullptr);
int LoadBMP(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why = nullptr);
int LoadPCX(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why = nullptr);

// Path forms: read the file (a CP1251 name resolved against the program folder), then decode; 0
// when the file is missing or cannot be read.
int LoadTGA(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why = nullptr);
int LoadBMP(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why = nullptr);
int LoadPCX(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width, int32_t* height,
            bool topRowFirst, const char** why = nullptr);

// The reader a path selects by the extension it contains anywhere (".bmp"/".BMP", then
// ".tga"/".TGA", then ".pcx"/".PCX", each tried when present, the last one tried deciding).
// Case counts: ".Tga" selects nothing. Status 0 when no reader is selected.
int LoadImageFile(const std::string& path, std::vector<uint8_t>* pixels, int32_t* width,
                  int32_t* height, bool topRowFirst, const char** why = nullptr);
bool HasImageReader(std::string_view path);

}  // namespace tam
