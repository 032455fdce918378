// The TGA reader: uncompressed and run-length encoded true-colour (15, 16, 24, 32 bits),
// colour-mapped (one index byte per pixel, maps of 15, 16, 24 or 32 bits an entry) and grey
// (8 bits, or 16 bits of grey and alpha) images, in the row and column order the image
// descriptor gives (bottom row first and left to right unless it says otherwise).
#include <algorithm>
#include <array>

#include "images/image_local.h"
#include "images/readers.h"

namespace tam {
namespace {

using img::ByteCursor;
using img::PackRgba;
using img::RowWriter;
namespace w = img::why;

constexpr size_t kBmpHeaderSize = 18;
// A run packet of one index byte gives at most 128 pixels for two bytes of file. No file holds
// a picture larger than this many pixels per byte of its size, also when its pixels are not
// decoded (type 0, unknown depths), so a few bytes never make a huge picture.
constexpr uint64_t kMaxPixelsPerByte = 64;

inline uint32_t From16(const uint8_t* p) {
    const unsigned v = p[0] | (p[1] << 8);
    return PackRgba(static_cast<uint8_t>((v & 0x7C00) >> 7), static_cast<uint8_t>((v & 0x03E0) >> 2),
                    static_cast<uint8_t>((v & 0x001F) << 3), 255);
}
inline uint32_t From24(const uint8_t* p) { return PackRgba(p[2], p[1], p[0], 255); }
inline uint32_t From32(const uint8_t* p) { return PackRgba(p[2], p[1], p[0], p[3]); }
inline uint32_t FromGreyAlpha(const uint8_t* p) { return PackRgba(p[0], p[0], p[0], p[1]); }


// Image descriptor bits: where the file's first pixel sits.
constexpr uint8_t kRightToLeft = 0x10;
constexpr uint8_t kTopToBottom = 0x20;

// Converts one file pixel of `bytes` bytes (2, 3 or 4).
inline uint32_t FromTrueColour(const uint8_t* p, unsigned bytes) {
    return bytes == 2 ? From16(p) : bytes == 3 ? From24(p) : From32(p);
}

struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t mapType = 0;
    uint8_t imageType = 0;
    uint16_t firstIndex = 0;
    int16_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

TgaHeader ReadHeader(ByteCursor& c) {
    TgaHeader h;
    h.idLength = c.U8();
    h.mapType = c.U8();
    h.imageType = c.U8();
    h.firstIndex = c.U16();
    h.mapLength = static_cast<int16_t>(c.U16());
    h.mapEntryBits = c.U8();
    c.U32();  // origin
    h.width = static_cast<int16_t>(c.U16());
    h.height = static_cast<int16_t>(c.U16());
    h.depth = c.U8();
    h.descriptor = c.U8();
    return h;
}

// The colour map as RGBA for index bytes 0..255: map entry i serves index firstIndex + i, and
// is converted as a true-colour pixel of its size (32-bit entries keep their alpha). Indices
// outside the map stay 0, so their pixels come out as transparent black. False when the map's
// entry size is not one we can read.
bool ReadColourMap(const uint8_t* map, const TgaHeader& h, std::array<uint32_t, 256>& lut) {
    unsigned bytes = 0;
    if (h.mapEntryBits == 15 || h.mapEntryBits == 16) bytes = 2;
    else if (h.mapEntryBits == 24) bytes = 3;
    else if (h.mapEntryBits == 32) bytes = 4;
    else return false;
    for (int i = 0; i < h.mapLength && h.firstIndex + i < 256; ++i)
        lut[h.firstIndex + i] = FromTrueColour(map + static_cast<size_t>(i) * bytes, bytes);
    return true;
}

template <unsigned Bytes, typename Convert>
void DecodeRawTrueColour(const uint8_t* src, const RowWriter& out, int32_t width, int32_t height,
                         Convert pixel) {
    for (int32_t k = 0; k < height; ++k) {
        uint8_t* dst = out.FileRow(k);
        for (int32_t x = 0; x < width; ++x, src += Bytes, dst += 4) {
            const uint32_t px = pixel(src);
            std::memcpy(dst, &px, 4);
        }
    }
}

// Reverses the pixels of every row, for files stored right to left.
void MirrorRows(std::vector<uint8_t>& pixels, int32_t width) {
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (size_t row = 0; row < pixels.size(); row += rowBytes) {
        uint8_t* left = pixels.data() + row;
        uint8_t* right = left + rowBytes - 4;
        for (; left < right; left += 4, right -= 4) std::swap_ranges(left, left + 4, right);
    }
}

void DecodeRawIndexed(const uint8_t* src, const RowWriter& out, int32_t width, int32_t height,
                      const std::array<uint32_t, 256>& lut) {
    for (int32_t k = 0; k < height; ++k) {
        uint8_t* dst = out.FileRow(k);
        for (int32_t x = 0; x < width; ++x, dst += 4) std::memcpy(dst, &lut[*src++], 4);
    }
}

// Run-length packets until the picture is full; false when the file ends first. Pixels are
// `Bytes` bytes each, converted by `pixel`. A packet may run on into the next row. The packets
// are walked with plain pointers, each checked against the end of the file before it is read,
// and a row is filled through a local pointer.
template <unsigned Bytes, typename Convert>
bool DecodeRle(ByteCursor& c, RowWriter& out, Convert pixel) {
    const uint64_t size = c.remaining();
    const uint8_t* p = c.Take(size);
    const uint8_t* const end = p + size;
    uint64_t pending = 0;  // pixels of the current packet still to write
    bool run = false;
    uint32_t runValue = 0;
    while (!out.Full()) {
        uint64_t room = 0;
        uint8_t* dst = out.Here(room);
        uint8_t* const stop = dst + room * 4;
        const uint64_t leftAtRowStart = out.Left();
        while (dst != stop) {
            // A raw packet of one pixel, the usual packet of detailed pictures: taken on its own,
            // so that finding the next packet does not wait on reading this one's header.
            if (pending == 0 && static_cast<uint64_t>(end - p) > Bytes && *p == 0) {
                const uint32_t px = pixel(p + 1);
                std::memcpy(dst, &px, 4);
                p += 1 + Bytes;
                dst += 4;
                continue;
            }
            const uint64_t space = static_cast<uint64_t>(stop - dst) / 4;
            if (pending == 0) {
                if (p == end) return false;
                const uint8_t packet = *p++;
                pending = (packet & 0x7Fu) + 1;
                run = (packet & 0x80) != 0;
                const uint64_t left = leftAtRowStart - room + space;
                const uint64_t need = run ? 1 : (pending < left ? pending : left);
                if (static_cast<uint64_t>(end - p) < need * Bytes) return false;
                if (run) {
                    runValue = pixel(p);
                    p += Bytes;
                }
            }
            const uint64_t k = pending < space ? pending : space;
            if (run) {
                for (uint64_t i = 0; i < k; ++i, dst += 4) std::memcpy(dst, &runValue, 4);
            } else {
                for (uint64_t i = 0; i < k; ++i, p += Bytes, dst += 4) {
                    const uint32_t px = pixel(p);
                    std::memcpy(dst, &px, 4);
                }
            }
            pending -= k;
        }
        out.Advance(room);
    }
    return true;
}

bool DecodeRleTrueColour(ByteCursor& c, RowWriter& out, unsigned bytes) {
    if (bytes == 2) return DecodeRle<2>(c, out, From16);
    if (bytes == 3) return DecodeRle<3>(c, out, From24);
    return DecodeRle<4>(c, out, From32);
}

}  // namespace

int LoadTGA(std::span<const uint8_t> file, std::vector<uint8_t>* pixels, int32_t* width,
            int32_t* height, bool topRowFirst, const char** why) {
    if (file.size() < kBmpHeaderSize) return img::Refuse(why, w::kShortHeader);
    ByteCursor c(file);
    const TgaHeader h = ReadHeader(c);
    img::DeliverSize(h.width, h.height, width, height);
    if (const char* problem = img::SizeProblem(h.width, h.height)) return img::Refuse(why, problem);
    if (!pixels) return -1;
    pixels->clear();

    const unsigned type = h.imageType;
    const bool rle = type >= 9;
    // Types 3 and 11 with a colour map are looked up in it like types 1 and 9; without one
    // they are grey levels.
    const bool grey = (type == 3 || type == 11) && h.mapType == 0;
    const bool indexed = !grey && (type == 1 || type == 3 || type == 9 || type == 11);
    const bool trueColour = type == 2 || type == 10;
    if (type != 0 && !indexed && !grey && !trueColour) return img::Refuse(why, w::kUnsupported);

    if (!c.Skip(h.idLength)) return img::Refuse(why, w::kDataOffset);
    const uint8_t* map = nullptr;
    if (h.mapType != 0) {
        if (h.mapLength < 0) return img::Refuse(why, w::kColourMap);
        // Entries occupy whole bytes: a 15-bit entry takes two.
        map = c.Take(static_cast<uint64_t>(h.mapLength) * ((h.mapEntryBits + 7u) / 8));
        if (!map) return img::Refuse(why, w::kColourMap);
    }
    std::array<uint32_t, 256> lut{};
    if (indexed) {
        if (!map) return img::Refuse(why, w::kTgaNoMap);
        if (h.depth != 8) return img::Refuse(why, w::kTgaIndexDepth);
        if (!ReadColourMap(map, h, lut)) return img::Refuse(why, w::kColourMap);
    }
    if (grey) {
        if (h.depth != 8 && h.depth != 16) return img::Refuse(why, w::kTgaGreyDepth);
        for (unsigned i = 0; i < 256; ++i) lut[i] = PackRgba(uint8_t(i), uint8_t(i), uint8_t(i), 255);
    }
    if (trueColour && h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32)
        return img::Refuse(why, w::kTgaTrueColourDepth);

    const unsigned bytes = type == 0 ? 0 : indexed ? 1 : (h.depth + 7u) / 8;
    const bool greyAlpha = grey && bytes == 2;
    const uint64_t count = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    if (count > kMaxPixelsPerByte * file.size()) return img::Refuse(why, w::kMoreThanFileHolds);
    if (rle && count > kMaxPixelsPerByte * c.remaining()) return img::Refuse(why, w::kMoreThanFileHolds);
    if (!rle && !c.Has(count * bytes)) return img::Refuse(why, w::kTruncated);

    std::vector<uint8_t> out(count * 4, 0);
    const bool topToBottom = (h.descriptor & kTopToBottom) != 0;
    RowWriter writer(out, h.width, h.height, topRowFirst != topToBottom);
    const auto lookUp = [&lut](const uint8_t* p) { return lut[*p]; };
    if (type == 0) {
        // No image data: all pixels stay zero.
    } else if (rle) {
        const bool read = greyAlpha ? DecodeRle<2>(c, writer, FromGreyAlpha)
                          : bytes == 1 ? DecodeRle<1>(c, writer, lookUp)
                                       : DecodeRleTrueColour(c, writer, bytes);
        if (!read) return img::Refuse(why, w::kTruncated);
    } else {
        const uint8_t* src = c.Take(count * bytes);
        if (greyAlpha) DecodeRawTrueColour<2>(src, writer, h.width, h.height, FromGreyAlpha);
        else if (bytes == 1) DecodeRawIndexed(src, writer, h.width, h.height, lut);
        else if (bytes == 2) DecodeRawTrueColour<2>(src, writer, h.width, h.height, From16);
        else if (bytes == 3) DecodeRawTrueColour<3>(src, writer, h.width, h.height, From24);
        else DecodeRawTrueColour<4>(src, writer, h.width, h.height, From32);
    }
    if (h.descriptor & kRightToLeft) MirrorRows(out, h.width);
    *pixels = std::move(out);
    return 1;
}

}  // namespace tam
