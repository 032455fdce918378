// The PCX reader: version 5, run-length encoded, 8 bits per pixel, one plane, with the 256-colour
// palette after a 12 marker at the end of the file; files of fewer bits or more planes are
// refused by name. Rows are top row first in the file; the
// encoded data is one stream that may run from one line into the next.
#include <algorithm>
#include <array>

#include "images/image_local.h"
#include "images/readers.h"

namespace tam {
namespace {

using img::ByteCursor;
using img::PackRgba;
using img::RowWriter;

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 769;  // marker byte and 256 entries of R, G, B
constexpr uint8_t kPaletteMarker = 12;
// A run of two bytes gives at most 63 pixels.
constexpr uint64_t kMaxPixelsPerByte = 32;

std::array<uint32_t, 256> ReadPalette(const uint8_t* entries) {
    std::array<uint32_t, 256> lut;
    for (size_t i = 0; i < 256; ++i, entries += 3) lut[i] = PackRgba(entries[0], entries[1], entries[2], 255);
    return lut;
}

// Decodes `stride` x height indices from [p, end) and writes the first `width` of each line
// through the palette. False when the data ends first.
bool DecodeStream(const uint8_t* p, const uint8_t* end, const RowWriter& out, uint32_t width,
                  uint32_t stride, uint32_t height, const std::array<uint32_t, 256>& lut) {
    uint64_t left = static_cast<uint64_t>(stride) * height;
    uint32_t row = 0;
    uint32_t col = 0;
    uint8_t* dst = out.FileRow(0);
    while (left > 0) {
        if (p == end) return false;
        uint8_t index = *p++;
        uint64_t n = 1;
        if (index > 0xBF) {
            n = index & 0x3F;
            if (p == end) return false;
            index = *p++;
        }
        n = std::min(n, left);
        left -= n;
        const uint32_t px = lut[index];
        while (n > 0) {
            const uint32_t k = static_cast<uint32_t>(std::min<uint64_t>(n, stride - col));
            const uint32_t visibleEnd = std::min(col + k, width);
            for (uint32_t x = col; x < visibleEnd; ++x) std::memcpy(dst + x * 4, &px, 4);
            col += k;
            n -= k;
            if (col == stride) {
                col = 0;
                if (++row < height) dst = out.FileRow(static_cast<int32_t>(row));
            }
        }
    }
    return true;
}

}  // namespace

int LoadPCX(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why) {
    namespace wy = img::why;
    if (file.size() < kHeaderSize) return img::Refuse(why, wy::kShortHeader);
    if (file[0] != 10) return img::Refuse(why, wy::kUnsupported);
    // Only one plane of 8-bit indices is read; other layouts are named.
    const uint8_t bits = file[3];
    const uint8_t planes = file[65];
    if (bits == 1 || bits == 2 || bits == 4) return img::Refuse(why, wy::kPcxFewBits);
    if (bits == 8 && planes == 3) return img::Refuse(why, wy::kPcxThreePlanes);
    if (bits != 8 || planes != 1) return img::Refuse(why, wy::kPcxPlanes);
    if (file[1] != 5 || file[2] != 1) return img::Refuse(why, wy::kUnsupported);
    ByteCursor c(file, 4);
    const uint16_t xMin = c.U16();
    const uint16_t yMin = c.U16();
    const uint16_t xMax = c.U16();
    const uint16_t yMax = c.U16();
    const uint16_t w = static_cast<uint16_t>(xMax - xMin + 1);
    const uint16_t h = static_cast<uint16_t>(yMax - yMin + 1);
    img::DeliverSize(w, h, width, height);
    if (const char* problem = img::SizeProblem(w, h)) return img::Refuse(why, problem);
    if (!pixels) return -1;
    pixels->clear();

    // Lines may carry more bytes than the width (an even count for an odd width); the extra
    // indices are decoded and dropped.
    ByteCursor lineField(file, 66);
    const uint16_t bytesPerLine = lineField.U16();
    const uint32_t stride = std::max<uint32_t>(w, bytesPerLine);

    if (file.size() < kHeaderSize + kPaletteSize) return img::Refuse(why, wy::kNoPalette);
    const size_t paletteAt = file.size() - kPaletteSize;
    if (file[paletteAt] != kPaletteMarker) return img::Refuse(why, wy::kNoPalette);
    const uint64_t dataBytes = paletteAt - kHeaderSize;
    if (static_cast<uint64_t>(stride) * h > kMaxPixelsPerByte * dataBytes)
        return img::Refuse(why, wy::kMoreThanFileHolds);

    const auto lut = ReadPalette(file.data() + paletteAt + 1);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4, 0);
    const RowWriter writer(out, w, h, !topRowFirst);
    if (!DecodeStream(file.data() + kHeaderSize, file.data() + paletteAt, writer, w, stride, h, lut))
        return img::Refuse(why, wy::kTruncated);
    *pixels = std::move(out);
    return 1;
}

}  // namespace tam
