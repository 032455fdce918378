// Writers for the image files the asset tool makes: TGA (uncompressed or run-length encoded,
// 24 or 32 bits), 8-bit PCX with a 256-colour palette, and PAM. Pictures are RGBA, top row first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tam::asset {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width x height x 4, top row first
    uint8_t* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
Picture MakePicture(int width, int height);

// TGA bytes: type 2 (or 10 with rle), bottom row first as the format's default origin.
std::vector<uint8_t> EncodeTga(const Picture& pic, int bits, bool rle);
// PCX bytes: version 5, RLE, 8 bits, one plane, palette of 256 RGB entries after a 12 marker.
// `indices` holds width x height palette indices, top row first.
std::vector<uint8_t> EncodePcx(int width, int height, const std::vector<uint8_t>& indices,
                               const std::array<uint8_t, 768>& palette);
// PAM (P7, RGB_ALPHA) bytes.
std::vector<uint8_t> EncodePam(const Picture& pic);
// PNG bytes: 8-bit RGBA, compressed by stb_image_write; empty for an empty picture.
std::vector<uint8_t> EncodePng(const Picture& pic);

}  // namespace tam::asset
