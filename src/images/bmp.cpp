// The BMP reader: every information header in use (12 and 16/64 bytes of OS/2, 40, 52, 56, 108
// and 124 bytes of Windows); uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel with rows padded
// to 4 bytes, bottom row first or (negative height) top row first; bit-field masks at 16 and 32
// bits; RLE8 and RLE4, line by line. What it cannot decode (embedded JPEG or PNG, RLE24, Huffman,
// other depths, masks it cannot follow, headers of unknown size) it refuses by name.
#include <algorithm>
#include <array>
#include <bit>

#include "images/image_local.h"
#include "images/readers.h"

namespace tam {
namespace {

using img::ByteCursor;
using img::PackRgba;
using img::RowWriter;
namespace w = img::why;

constexpr size_t kFileHeaderSize = 14;
// An RLE pair gives at most 255 pixels for two bytes of file. No file holds a picture larger
// than this many pixels per byte of its size, so a few bytes never make a huge picture.
constexpr uint64_t kMaxPixelsPerByte = 128;

// Compression values of the Windows headers. OS/2 headers use 3 for Huffman and 4 for RLE24.
enum Compression : uint32_t {
    kNone = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

struct BmpHeader {
    uint32_t dataOffset = 0;
    int64_t width = 0;
    int64_t height = 0;  // rows; positive whatever the file's row order
    bool topDown = false;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = kNone;  // kNone, kRle8, kRle4 or kBitFields once accepted
    uint32_t coloursUsed = 0;      // 0: as many as the depth allows
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha; read only for bit fields
    uint64_t tableStart = 0;       // first colour-table byte: after the headers and any masks
    unsigned entryBytes = 4;
};

// Why the masks cannot be decoded at `bits` per pixel, or nullptr.
const char* MaskProblem(const std::array<uint32_t, 4>& masks, unsigned bits) {
    uint32_t seen = 0;
    for (const uint32_t m : masks) {
        if (m == 0) continue;
        const uint32_t run = m >> std::countr_zero(m);
        if ((run & (run + 1)) != 0) return w::kBmpMaskGaps;
        if (bits < 32 && (m >> bits) != 0) return w::kBmpMaskWide;
        if (seen & m) return w::kBmpMaskOverlap;
        seen |= m;
    }
    return nullptr;
}

// Reads the headers; the refusal's reason, or nullptr when the file is one we decode.
const char* ReadHeader(std::span<const uint8_t> file, BmpHeader& h) {
    ByteCursor c(file, 10);
    h.dataOffset = c.U32();
    const uint32_t headerSize = c.U32();
    if (!c.ok()) return w::kShortHeader;
    const bool core = headerSize == 12;
    const bool os2 = headerSize == 16 || headerSize == 64;
    const bool windows = headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
                         headerSize == 124;
    if (!core && !os2 && !windows) return w::kBmpHeaderSize;
    if (!c.Has(headerSize - 4)) return w::kShortHeader;
    if (core) {
        h.width = c.U16();
        h.height = c.U16();
    } else {
        h.width = static_cast<int32_t>(c.U32());
        h.height = static_cast<int32_t>(c.U32());
    }
    c.U16();  // planes
    h.bitsPerPixel = c.U16();
    h.entryBytes = core ? 3 : 4;
    h.tableStart = kFileHeaderSize + headerSize;
    if (headerSize >= 40) {
        h.compression = c.U32();
        c.Skip(12);  // image size, resolution
        h.coloursUsed = c.U32();
        c.Skip(4);  // important colours
    }
    if (os2 && h.compression == 3) return w::kBmpHuffman;
    if (os2 && h.compression == 4) return w::kBmpRle24;
    if (h.compression == kJpeg) return w::kBmpJpeg;
    if (h.compression == kPng) return w::kBmpPng;
    if (h.compression > kAlphaBitFields) return w::kBmpCompression;

    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        // Masks follow the 40-byte header (three, or four with alpha) or sit inside the longer
        // ones; the alpha mask counts only where there is one.
        const unsigned count = headerSize == 40 ? (h.compression == kAlphaBitFields ? 4 : 3)
                               : headerSize == 52                    ? 3
                                                                     : 4;
        ByteCursor m(file, kFileHeaderSize + 40);
        for (unsigned i = 0; i < count; ++i) h.masks[i] = m.U32();
        if (!m.ok()) return w::kShortHeader;
        if (headerSize == 40) h.tableStart += 4 * count;
        h.compression = kBitFields;
    }
    if (h.height < 0) {
        if (h.compression == kRle8 || h.compression == kRle4) return w::kBmpTopDownRle;
        h.height = -h.height;
        h.topDown = true;
    }
    if (h.dataOffset < h.tableStart) return w::kBmpDataInHeader;
    switch (h.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    case 2: return w::kBmpTwoBit;
    case 64: return w::kBmpSixtyFourBit;
    default: return w::kBmpDepth;
    }
    if (h.compression != kBitFields) return nullptr;
    if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) return w::kBmpFieldsDepth;
    return MaskProblem(h.masks, h.bitsPerPixel);
}

// The colour table as RGBA: its whole entries up to the count the header gives (or the depth
// allows) and no further than the pixel data, at most `cap`. Indices past the table give
// transparent black (0, 0, 0, 0).
std::array<uint32_t, 256> ReadColourTable(std::span<const uint8_t> file, const BmpHeader& h, unsigned cap) {
    std::array<uint32_t, 256> lut{};
    const uint64_t end = std::min<uint64_t>(h.dataOffset, file.size());
    if (end <= h.tableStart) return lut;
    uint64_t count = std::min<uint64_t>(cap, (end - h.tableStart) / h.entryBytes);
    if (h.coloursUsed != 0) count = std::min<uint64_t>(count, h.coloursUsed);
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* e = file.data() + h.tableStart + i * h.entryBytes;
        lut[i] = PackRgba(e[2], e[1], e[0], 255);
    }
    return lut;
}

// One channel of a bit-field pixel: (pixel >> shift) & mask is at most 8 bits, and `scale` takes
// it to 8 bits by repeating its bits (v * 255 / max to within rounding, exact at 0 and max). A
// mask wider than 8 bits keeps its top 8. An empty mask gives `absent`.
struct Channel {
    unsigned shift = 0;
    uint32_t mask = 0;
    std::array<uint8_t, 256> scale{};
};

Channel MakeChannel(uint32_t mask, uint8_t absent) {
    Channel ch;
    if (mask == 0) {
        ch.scale[0] = absent;
        return ch;
    }
    unsigned bits = static_cast<unsigned>(std::popcount(mask));
    ch.shift = static_cast<unsigned>(std::countr_zero(mask));
    if (bits > 8) {
        ch.shift += bits - 8;
        bits = 8;
    }
    ch.mask = (1u << bits) - 1;
    for (uint32_t v = 0; v <= ch.mask; ++v) {
        uint32_t out = 0;
        for (int at = 8 - static_cast<int>(bits); at > -static_cast<int>(bits); at -= static_cast<int>(bits))
            out |= at >= 0 ? v << at : v >> -at;
        ch.scale[v] = static_cast<uint8_t>(out);
    }
    return ch;
}

struct Fields {
    Channel r, g, b, a;
};

Fields MakeFields(const std::array<uint32_t, 4>& masks) {
    return {MakeChannel(masks[0], 0), MakeChannel(masks[1], 0), MakeChannel(masks[2], 0),
            MakeChannel(masks[3], 255)};
}

inline uint32_t FromFields(uint32_t v, const Fields& f) {
    return PackRgba(f.r.scale[(v >> f.r.shift) & f.r.mask], f.g.scale[(v >> f.g.shift) & f.g.mask],
                    f.b.scale[(v >> f.b.shift) & f.b.mask], f.a.scale[(v >> f.a.shift) & f.a.mask]);
}

// What a row of pixels needs besides its bytes.
struct RowFormat {
    unsigned bits = 0;
    bool fields = false;     // 16 and 32 bits: through `channels`
    bool alphaByte = false;  // 32 bits without `channels`: B G R A rather than B G R x
    const std::array<uint32_t, 256>* lut = nullptr;
    const Fields* channels = nullptr;
};

void DecodeRow(const uint8_t* src, uint8_t* dst, int64_t width, const RowFormat& f) {
    const std::array<uint32_t, 256>& lut = *f.lut;
    switch (f.bits) {
    case 1:
        for (int64_t x = 0; x < width; ++x, dst += 4)
            std::memcpy(dst, &lut[(src[x >> 3] >> (7 - (x & 7))) & 1], 4);
        break;
    case 4:
        for (int64_t x = 0; x < width; ++x, dst += 4)
            std::memcpy(dst, &lut[x & 1 ? src[x >> 1] & 15 : src[x >> 1] >> 4], 4);
        break;
    case 8:
        for (int64_t x = 0; x < width; ++x, dst += 4) std::memcpy(dst, &lut[*src++], 4);
        break;
    case 16:
        for (int64_t x = 0; x < width; ++x, src += 2, dst += 4) {
            const uint32_t px = FromFields(static_cast<uint32_t>(src[0] | (src[1] << 8)), *f.channels);
            std::memcpy(dst, &px, 4);
        }
        break;
    case 24:
        for (int64_t x = 0; x < width; ++x, src += 3, dst += 4) {
            const uint32_t px = PackRgba(src[2], src[1], src[0], 255);
            std::memcpy(dst, &px, 4);
        }
        break;
    case 32:
        if (f.fields) {
            for (int64_t x = 0; x < width; ++x, src += 4, dst += 4) {
                const uint32_t v = static_cast<uint32_t>(src[0]) |
                                   (static_cast<uint32_t>(src[1]) << 8) |
                                   (static_cast<uint32_t>(src[2]) << 16) |
                                   (static_cast<uint32_t>(src[3]) << 24);
                const uint32_t px = FromFields(v, *f.channels);
                std::memcpy(dst, &px, 4);
            }
            break;
        }
        if (f.alphaByte) {
            for (int64_t x = 0; x < width; ++x, src += 4, dst += 4) {
                const uint32_t px = PackRgba(src[2], src[1], src[0], src[3]);
                std::memcpy(dst, &px, 4);
            }
            break;
        }
        for (int64_t x = 0; x < width; ++x, src += 4, dst += 4) {
            const uint32_t px = PackRgba(src[2], src[1], src[0], 255);
            std::memcpy(dst, &px, 4);
        }
        break;
    }
}

// Uncompressed and bit-field rows; the refusal's reason, or nullptr. Rows are padded to 4 bytes
// except, possibly, the last one.
const char* DecodeUncompressed(std::span<const uint8_t> file, const BmpHeader& h, const RowWriter& out) {
    const unsigned bits = h.bitsPerPixel;
    const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * bits + 7) / 8;
    const uint64_t stride = (static_cast<uint64_t>(h.width) * bits + 31) / 32 * 4;
    const uint64_t need = stride * static_cast<uint64_t>(h.height - 1) + rowBytes;
    ByteCursor c(file, h.dataOffset);
    if (h.dataOffset > file.size() || !c.Has(need)) return w::kTruncated;

    RowFormat f;
    f.bits = bits;
    const auto lut = bits <= 8 ? ReadColourTable(file, h, 1u << bits) : std::array<uint32_t, 256>{};
    f.lut = &lut;
    // 16-bit pixels without masks are 5-5-5; 32-bit ones without masks are B G R and a fourth
    // byte that is not alpha. Masks of whole bytes in that order take the plain path.
    using Masks = std::array<uint32_t, 4>;
    Masks masks = h.masks;
    if (h.compression != kBitFields && bits == 16) masks = {0x7C00, 0x03E0, 0x001F, 0};
    const bool bgrx = masks == Masks{0xFF0000, 0xFF00, 0xFF, 0};
    f.alphaByte = masks == Masks{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    f.fields = bits == 16 || (h.compression == kBitFields && !bgrx && !f.alphaByte);
    const Fields channels = f.fields ? MakeFields(masks) : Fields{};
    f.channels = &channels;

    const uint8_t* src = file.data() + h.dataOffset;
    for (int64_t k = 0; k < h.height; ++k, src += stride)
        DecodeRow(src, out.FileRow(static_cast<int32_t>(k)), h.width, f);
    return nullptr;
}

// RLE8 and RLE4 pairs, line by line; false when the file ends before the picture is full. A
// line ends at its end-of-line pair (0, 0); pixels it carries past the width are dropped (some
// encoders pad odd widths to the row stride), and pixels it leaves unwritten stay 0. Other
// escapes, (0, 1) and (0, 2) included, are absolute runs. The last line needs no end pair.
bool DecodeRle(ByteCursor& c, const RowWriter& out, int64_t width, int64_t height, bool rle4,
               const std::array<uint32_t, 256>& lut) {
    const size_t dataStart = c.pos();
    for (int64_t k = 0; k < height; ++k) {
        uint8_t* const row = out.FileRow(static_cast<int32_t>(k));
        int64_t x = 0;
        while (x < width || k + 1 < height) {
            const uint8_t a = c.U8();
            const uint8_t b = c.U8();
            if (!c.ok()) return false;
            if (a == 0 && b == 0) break;
            const int64_t n = std::min<int64_t>(a != 0 ? a : b, std::max<int64_t>(width - x, 0));
            uint8_t* dst = n > 0 ? row + x * 4 : row;
            if (a != 0) {
                if (!rle4) {
                    for (int64_t i = 0; i < n; ++i, dst += 4) std::memcpy(dst, &lut[b], 4);
                } else {
                    const uint32_t even = lut[b >> 4];
                    const uint32_t odd = lut[b & 15];
                    for (int64_t i = 0; i < n; ++i, dst += 4) std::memcpy(dst, i & 1 ? &odd : &even, 4);
                }
                x += a;
                continue;
            }
            // Absolute run of b pixels, padded to an even number of bytes.
            const uint8_t* p = c.Take(rle4 ? (b + 1u) / 2 : b);
            if (!p) return false;
            for (int64_t i = 0; i < n; ++i, dst += 4)
                std::memcpy(dst, rle4 ? &lut[i & 1 ? p[i / 2] & 15 : p[i / 2] >> 4] : &lut[p[i]], 4);
            x += b;
            if ((c.pos() - dataStart) & 1) c.Skip(1);
        }
    }
    return true;
}

}  // namespace

int LoadBMP(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why) {
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return img::Refuse(why, w::kSignature);
    BmpHeader h;
    const char* problem = ReadHeader(file, h);
    if (problem == w::kShortHeader) return img::Refuse(why, problem);
    img::DeliverSize(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), width, height);
    if (!problem) problem = img::SizeProblem(h.width, h.height);
    if (problem) return img::Refuse(why, problem);
    if (!pixels) return -1;
    pixels->clear();

    const uint64_t count = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    if (count > kMaxPixelsPerByte * file.size()) return img::Refuse(why, w::kMoreThanFileHolds);
    ByteCursor data(file, h.dataOffset);
    if (rle && h.dataOffset > file.size()) return img::Refuse(why, w::kDataOffset);
    if (rle && count > kMaxPixelsPerByte * data.remaining()) return img::Refuse(why, w::kMoreThanFileHolds);

    std::vector<uint8_t> out(count * 4, 0);
    RowWriter writer(out, static_cast<int32_t>(h.width), static_cast<int32_t>(h.height),
                     topRowFirst != h.topDown);
    if (rle) {
        const bool rle4 = h.compression == kRle4;
        if (!DecodeRle(data, writer, h.width, h.height, rle4, ReadColourTable(file, h, rle4 ? 16 : 256)))
            return img::Refuse(why, w::kTruncated);
    } else if (const char* fault = DecodeUncompressed(file, h, writer)) {
        return img::Refuse(why, fault);
    }
    *pixels = std::move(out);
    return 1;
}

}  // namespace tam
