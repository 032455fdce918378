// Image file writers of the asset tool.
#include "asset/images/image_write.h"

#include <algorithm>
#include <string>

// stb's PNG writer (Debian's libstb-dev header); its one definition is the engine's, in
// src/render/screenshot.cpp.
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "asset/byte_writer.h"

namespace tam::asset {
namespace {

void PutPixel(ByteWriter& out, const uint8_t* p, int bits) {
    out.U8(p[2]).U8(p[1]).U8(p[0]);
    if (bits == 32) out.U8(p[3]);
}

}  // namespace

Picture MakePicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    return p;
}

std::vector<uint8_t> EncodeTga(const Picture& pic, int bits, bool rle) {
    ByteWriter out;
    out.U8(0).U8(0);                // no ID, no colour map
    out.U8(rle ? 10 : 2).Zeros(5);  // true colour; colour-map fields (none)
    out.Le16(0).Le16(0);            // origin
    out.Le16(pic.width).Le16(pic.height).U8(bits);
    out.U8(bits == 32 ? 8 : 0);  // alpha bits, bottom-left origin
    for (int y = pic.height - 1; y >= 0; --y) {
        if (!rle) {
            for (int x = 0; x < pic.width; ++x) PutPixel(out, pic.At(x, y), bits);
            continue;
        }
        int x = 0;
        while (x < pic.width) {
            // A run of equal pixels (2..128) becomes a run packet; otherwise a raw packet up to
            // the next run. Packets never cross a row end.
            int run = 1;
            while (x + run < pic.width && run < 128 &&
                   std::equal(pic.At(x, y), pic.At(x, y) + 4, pic.At(x + run, y)))
                ++run;
            if (run >= 2) {
                out.U8(0x80 | (run - 1));
                PutPixel(out, pic.At(x, y), bits);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < pic.width && raw < 128 &&
                   !(x + raw + 1 < pic.width &&
                     std::equal(pic.At(x + raw, y), pic.At(x + raw, y) + 4, pic.At(x + raw + 1, y))))
                ++raw;
            out.U8(raw - 1);
            for (int k = 0; k < raw; ++k) PutPixel(out, pic.At(x + k, y), bits);
            x += raw;
        }
    }
    return std::move(out.bytes);
}

std::vector<uint8_t> EncodePcx(int width, int height, const std::vector<uint8_t>& indices,
                               const std::array<uint8_t, 768>& palette) {
    // The 128-byte header: maker, version, RLE, bits; the window; dots per inch; an unused
    // 16-colour palette; planes, bytes per line (the engine reads one stream of width x height)
    // and palette type (colour).
    ByteWriter out;
    out.U8(10).U8(5).U8(1).U8(8);
    out.Le16(0).Le16(0).Le16(width - 1).Le16(height - 1);
    out.Le16(72).Le16(72).Zeros(48);
    out.U8(0).U8(1).Le16(width).Le16(1).Zeros(58);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &indices[static_cast<size_t>(y) * width];
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 0xC0) out.U8(0xC0 | run);
            out.U8(row[x]);
            x += run;
        }
    }
    out.U8(12).Append(palette);
    return std::move(out.bytes);
}

std::vector<uint8_t> EncodePam(const Picture& pic) {
    ByteWriter out;
    out.Text("P7\nWIDTH " + std::to_string(pic.width) + "\nHEIGHT " + std::to_string(pic.height) +
             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
    out.Append(pic.rgba);
    return std::move(out.bytes);
}

std::vector<uint8_t> EncodePng(const Picture& pic) {
    std::vector<uint8_t> out;
    const auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<uint8_t*>(data);
        static_cast<std::vector<uint8_t>*>(context)->insert(
            static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
    };
    if (pic.width <= 0 || pic.height <= 0 ||
        !stbi_write_png_to_func(append, &out, pic.width, pic.height, 4, pic.rgba.data(),
                                pic.width * 4))
        return {};
    return out;
}

}  // namespace tam::asset
