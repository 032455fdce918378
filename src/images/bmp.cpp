// The BMP reader: 40-byte (and longer) and 12-byte information headers; uncompressed 1, 4, 8, 24
// and 32 bits per pixel with rows padded to 4 bytes; RLE8 and RLE4 with the end-of-line pair read
// as an empty absolute run. Rows are bottom row first in the file.
#include <algorithm>
#include <array>

#include "images/image_local.h"
#include "images/readers.h"

namespace tam {
namespace {

using img::ByteCursor;
using img::PackRgba;
using img::RowWriter;

constexpr size_t kFileHeaderSize = 14;
// An RLE pair gives at most 255 pixels for two bytes of file. No file holds a picture larger
// than this many pixels per byte of its size, also when its pixels are not decoded (unknown
// depths, bit fields), so a few bytes never make a huge picture.
constexpr uint64_t kMaxPixelsPerByte = 128;

enum Compression : uint32_t { kNone = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct BmpHeader {
    uint32_t dataOffset = 0;
    bool longForm = true;  // the 40-byte header (or a longer one); false: the 12-byte one
    int64_t width = 0;
    int64_t height = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = kNone;
    uint64_t tableStart = 0;
    unsigned entryBytes = 4;
};

// False when the file is too short for its header.
bool ReadHeader(std::span<const uint8_t> file, BmpHeader& h) {
    ByteCursor c(file, 10);
    h.dataOffset = c.U32();
    const uint32_t headerSize = c.U32();
    if (headerSize == 12) {
        h.longForm = false;
    } else {
        // Files that do not say 12 choose by the compression field of the long form.
        ByteCursor probe(file, kFileHeaderSize + 16);
        const uint32_t compression = probe.U32();
        if (!probe.ok()) return false;
        h.longForm = compression <= kBitFields;
    }
    if (h.longForm) {
        h.width = static_cast<int32_t>(c.U32());
        h.height = static_cast<int32_t>(c.U32());
        c.U16();  // planes
        h.bitsPerPixel = c.U16();
        h.compression = c.U32();
        h.tableStart = kFileHeaderSize + std::max<uint64_t>(40, headerSize);
        h.entryBytes = 4;
    } else {
        h.width = c.U16();
        h.height = c.U16();
        c.U16();  // planes
        h.bitsPerPixel = c.U16();
        h.compression = kNone;
        h.tableStart = kFileHeaderSize + 12;
        h.entryBytes = 3;
    }
    return c.ok();
}

// The colour table as RGBA: the whole entries between the table's start and the pixel data (or
// the end of the file), at most `cap`. Entries past the table stay 0.
std::array<uint32_t, 256> ReadColourTable(std::span<const uint8_t> file, const BmpHeader& h, unsigned cap) {
    std::array<uint32_t, 256> lut{};
    const uint64_t end = std::min<uint64_t>(h.dataOffset, file.size());
    if (end <= h.tableStart) return lut;
    const uint64_t count = std::min<uint64_t>(cap, (end - h.tableStart) / h.entryBytes);
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* e = file.data() + h.tableStart + i * h.entryBytes;
        lut[i] = PackRgba(e[2], e[1], e[0], 255);
    }
    return lut;
}

void DecodeRow(const uint8_t* src, uint8_t* dst, int64_t width, unsigned bits,
               const std::array<uint32_t, 256>& lut) {
    switch (bits) {
    case 1:
        for (int64_t x = 0; x + 8 <= width; x += 8, ++src)
            for (int b = 7; b >= 0; --b, dst += 4) std::memcpy(dst, &lut[(*src >> b) & 1], 4);
        break;
    case 4:
        for (int64_t x = 0; x + 2 <= width; x += 2, ++src) {
            std::memcpy(dst, &lut[*src >> 4], 4);
            std::memcpy(dst + 4, &lut[*src & 15], 4);
            dst += 8;
        }
        break;
    case 8:
        for (int64_t x = 0; x < width; ++x, dst += 4) std::memcpy(dst, &lut[*src++], 4);
        break;
    case 24:
        for (int64_t x = 0; x < width; ++x, src += 3, dst += 4) {
            const uint32_t px = PackRgba(src[2], src[1], src[0], 255);
            std::memcpy(dst, &px, 4);
        }
        break;
    case 32:
        for (int64_t x = 0; x < width; ++x, src += 4, dst += 4) {
            const uint32_t px = PackRgba(src[2], src[1], src[0], 255);
            std::memcpy(dst, &px, 4);
        }
        break;
    }
}

// Uncompressed rows; false when the file is too short for them. Depths other than 1, 4, 8, 24
// and 32 write nothing, as do the pixels of a partial last byte at 1 and 4 bits.
bool DecodeUncompressed(std::span<const uint8_t> file, const BmpHeader& h, const RowWriter& out) {
    const unsigned bits = h.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return true;
    const uint64_t rowBytes = static_cast<uint64_t>(h.width) * bits / 8;  // whole bytes used
    if (rowBytes == 0) return true;
    const uint64_t stride = (static_cast<uint64_t>(h.width) * bits + 31) / 32 * 4;
    const uint64_t need = stride * static_cast<uint64_t>(h.height - 1) + rowBytes;
    ByteCursor c(file, h.dataOffset);
    if (h.dataOffset > file.size() || !c.Has(need)) return false;
    const unsigned cap = bits == 1 ? 2 : bits == 4 ? 16 : 256;
    const auto lut = bits <= 8 ? ReadColourTable(file, h, cap) : std::array<uint32_t, 256>{};
    const uint8_t* src = file.data() + h.dataOffset;
    for (int64_t k = 0; k < h.height; ++k, src += stride)
        DecodeRow(src, out.FileRow(static_cast<int32_t>(k)), h.width, bits, lut);
    return true;
}

// RLE8 and RLE4 pairs until the picture is full; false when the file ends first.
bool DecodeRle(ByteCursor& c, RowWriter& out, bool rle4, const std::array<uint32_t, 256>& lut) {
    const size_t dataStart = c.pos();
    while (!out.Full()) {
        const uint8_t a = c.U8();
        const uint8_t b = c.U8();
        if (!c.ok()) return false;
        if (a != 0) {
            if (!rle4) {
                out.Fill(lut[b], a);
                continue;
            }
            const uint32_t even = lut[b >> 4];
            const uint32_t odd = lut[b & 15];
            const uint64_t n = std::min<uint64_t>(a, out.Left());
            for (uint64_t i = 0; i < n; ++i) out.Put(i & 1 ? odd : even);
            continue;
        }
        // Absolute run of b pixels, padded to an even number of bytes.
        const uint64_t n = std::min<uint64_t>(b, out.Left());
        const uint8_t* p = c.Take(rle4 ? (n + 1) / 2 : n);
        if (n > 0 && !p) return false;
        for (uint64_t i = 0; i < n; ++i)
            out.Put(rle4 ? lut[i & 1 ? p[i / 2] & 15 : p[i / 2] >> 4] : lut[p[i]]);
        if (!out.Full() && ((c.pos() - dataStart) & 1)) c.Skip(1);
    }
    return true;
}

}  // namespace

int LoadBMP(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why) {
    namespace w = img::why;
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return img::Refuse(why, w::kSignature);
    BmpHeader h;
    if (!ReadHeader(file, h)) return img::Refuse(why, w::kShortHeader);
    img::DeliverSize(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), width, height);
    if (const char* problem = img::SizeProblem(h.width, h.height)) return img::Refuse(why, problem);
    if (!pixels) return -1;
    pixels->clear();

    const uint64_t count = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    if (count > kMaxPixelsPerByte * file.size()) return img::Refuse(why, w::kMoreThanFileHolds);
    ByteCursor data(file, h.dataOffset);
    if (rle && h.dataOffset > file.size()) return img::Refuse(why, w::kDataOffset);
    if (rle && count > kMaxPixelsPerByte * data.remaining()) return img::Refuse(why, w::kMoreThanFileHolds);

    std::vector<uint8_t> out(count * 4, 0);
    RowWriter writer(out, static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), topRowFirst);
    if (rle) {
        const bool rle4 = h.compression == kRle4;
        if (!DecodeRle(data, writer, rle4, ReadColourTable(file, h, rle4 ? 16 : 256)))
            return img::Refuse(why, w::kTruncated);
    } else if (h.compression == kNone) {
        if (!DecodeUncompressed(file, h, writer)) return img::Refuse(why, w::kTruncated);
    }
    // Bit-field images (compression 3) are not decoded: their pixels stay zero.
    *pixels = std::move(out);
    return 1;
}

}  // namespace tam
