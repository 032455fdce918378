// The TGA, BMP and PCX readers: the picture corpus against its sources, hand-made files for what
// its encoders do not write, damaged files (read within bounds: the sanitizer build checks that).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/files.h"
#include "images/image_local.h"
#include "images/readers.h"

namespace tam {
namespace {

std::vector<uint8_t> ReadTestFile(const std::string& name) {
    return ReadWholeFile(std::string(TAM_TEST_DATA_DIR) + "/" + name).value_or(std::vector<uint8_t>{});
}

// Little-endian byte building.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(unsigned x) { return v.push_back(static_cast<uint8_t>(x)), *this; }
    Bytes& u16(unsigned x) { return u8(x & 0xFF).u8((x >> 8) & 0xFF); }
    Bytes& u32(uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
    Bytes& fill(size_t n, uint8_t x = 0) { return v.insert(v.end(), n, x), *this; }
    Bytes& raw(std::initializer_list<uint8_t> xs) { return v.insert(v.end(), xs), *this; }
};

using Px = std::vector<int>;  // R, G, B, A
using SpanReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool,
                          const char**);
const SpanReader tga = &LoadTGA, bmp = &LoadBMP, pcx = &LoadPCX;

SpanReader ReaderFor(const std::string& name) {
    return name.ends_with(".tga") ? tga : name.ends_with(".bmp") ? bmp : name.ends_with(".pcx") ? pcx : nullptr;
}

// One reader's answer for a byte buffer.
struct Decoded { int status = 0; int32_t w = -1, h = -1; std::vector<uint8_t> px; };
Decoded Decode(SpanReader read, std::span<const uint8_t> file, bool top = true) {
    Decoded d;
    d.status = read(file, &d.px, &d.w, &d.h, top, nullptr);
    return d;
}

// A PAM picture as the corpus script writes it (RGBA, top row first); status 0 when it is not one.
Decoded ParsePam(const std::vector<uint8_t>& bytes) {
    Decoded pic;
    const std::string text(bytes.begin(), bytes.end());
    const size_t start = text.find("ENDHDR\n") + 7;
    int fields = 0;
    std::sscanf(text.c_str(), "P7 WIDTH %d HEIGHT %d DEPTH 4 MAXVAL 255%n", &pic.w, &pic.h, &fields);
    if (fields == 0 || start < 7 || bytes.size() != start + static_cast<size_t>(pic.w) * pic.h * 4) return pic;
    pic.px.assign(bytes.begin() + static_cast<ptrdiff_t>(start), bytes.end());
    pic.status = 1;
    return pic;
}

// Hand-made files; header fields not given are zero.
Bytes Tga(int type, int w, int h, int depth, int idLength = 0, int mapType = 0, int mapLength = 0,
          int mapBits = 0, int descriptor = 0, int firstIndex = 0) {
    Bytes b;
    b.u8(idLength).u8(mapType).u8(type).u16(firstIndex).u16(mapLength).u8(mapBits).u32(0).u16(w).u16(h);
    b.u8(depth).u8(descriptor);
    return b;
}
// A BMP with an information header of `form` bytes: 12 and 16 hold size and depth only; the
// others also compression and `used` colours, and from 52 bytes on the masks, which the 40-byte
// form has after it (when given). Colour-table entries are given as (r, g, b); `data` starts
// `gap` bytes after the table, or at `offset` when that is given.
struct BmpForm {
    uint32_t form = 40;
    std::vector<uint32_t> masks = {};
    uint32_t used = 0;
    uint32_t gap = 0;
    uint32_t offset = 0;
};
Bytes Bmp(int32_t w, int32_t h, int bpp, int compression, const std::vector<Px>& table = {},
          const std::vector<uint8_t>& data = {}, BmpForm f = {}) {
    Bytes info;
    info.u32(f.form);
    if (f.form == 12) info.u16(static_cast<unsigned>(w)).u16(static_cast<unsigned>(h));
    else info.u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h));
    info.u16(1).u16(bpp);
    if (f.form >= 40) info.u32(compression).fill(12).u32(f.used).fill(4);
    for (uint32_t m : f.masks) info.u32(m);  // inside the longer headers, after the 40-byte one
    if (f.form > 40) info.fill(f.form - 40 - 4 * f.masks.size());
    for (const Px& e : table) {
        info.u8(e[2]).u8(e[1]).u8(e[0]);
        if (f.form != 12) info.u8(0);
    }
    info.fill(f.gap);
    const uint32_t offset = f.offset ? f.offset : 14 + static_cast<uint32_t>(info.v.size());
    Bytes b;
    b.raw({'B', 'M'}).u32(offset + static_cast<uint32_t>(data.size())).u32(0).u32(offset);
    b.v.insert(b.v.end(), info.v.begin(), info.v.end());
    b.v.insert(b.v.end(), data.begin(), data.end());
    return b;
}
// A 1 x 1 BMP without a colour table.
Bytes Bmp1(int bpp, int compression, BmpForm f = {}, const std::vector<uint8_t>& data = {0, 0, 0, 0}) {
    return Bmp(1, 1, bpp, compression, {}, data, f);
}
// Header, `data`, marker and a palette whose entry i is PcxEntry(i).
Bytes Pcx(int xMin, int yMin, int xMax, int yMax, const std::vector<uint8_t>& data, int bytesPerLine = 0,
          int version = 5, uint8_t marker = 12, int bits = 8, int planes = 1) {
    Bytes b;
    b.u8(10).u8(version).u8(1).u8(bits).u16(xMin).u16(yMin).u16(xMax).u16(yMax);
    b.fill(65 - b.v.size()).u8(planes).u16(bytesPerLine).fill(128 - 68);
    b.v.insert(b.v.end(), data.begin(), data.end());
    b.u8(marker);
    for (int i = 0; i < 256; ++i) b.u8(i).u8(255 - i).u8(i / 2);
    return b;
}
// A 2 x 2 24-bit TGA with the given descriptor whose pixels in file order are grey 1, 2, 3, 4.
Bytes Abcd(int descriptor) {
    return Tga(2, 2, 2, 24, 0, 0, 0, 0, descriptor).fill(3, 1).fill(3, 2).fill(3, 3).fill(3, 4);
}
Px PcxEntry(int i) { return {i, 255 - i, i / 2, 255}; }

// The corpus's manifest: one line a file (see scripts/make-picture-corpus.py).
struct CorpusEntry {
    std::string file, reference, rule;  // reference "-": refused, and `rule` is the reason
};
std::vector<CorpusEntry> Manifest() {
    std::vector<CorpusEntry> entries;
    const auto text = ReadTestFile("pictures/manifest.txt");
    std::istringstream lines(std::string(text.begin(), text.end()));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        CorpusEntry e;
        std::istringstream words(line);
        words >> e.file >> e.reference >> std::ws;
        std::getline(words, e.rule);
        entries.push_back(e);
    }
    return entries;
}

// Every picture the encoders wrote decodes, in both row orders, to the source picture it was
// made from, seen through its rule; or is refused with the reason the manifest gives.
TEST(ImagesReaders, EveryCorpusPictureDecodesToItsSourceOrIsRefusedWithItsReason) {
    const auto entries = Manifest();
    ASSERT_GE(entries.size(), 70u);
    for (const CorpusEntry& e : entries) {
        SCOPED_TRACE(e.file);
        const auto file = ReadTestFile("pictures/" + e.file);
        ASSERT_FALSE(file.empty());
        const SpanReader read = ReaderFor(e.file);
        if (e.reference == "-") {
            const char* why = nullptr;
            std::vector<uint8_t> px;
            EXPECT_EQ(read(file, &px, nullptr, nullptr, true, &why), 0);
            EXPECT_STREQ(why, e.rule.c_str());
            continue;
        }
        const Decoded ref = ParsePam(ReadTestFile("pictures/" + e.reference + ".pam"));
        ASSERT_EQ(ref.status, 1);
        ASSERT_TRUE(e.rule == "exact" || e.rule == "opaque" || e.rule == "top5") << e.rule;
        const uint8_t keep = e.rule == "top5" ? 0xF8 : 0xFF;
        for (bool top : {true, false}) {
            std::vector<uint8_t> want;
            for (int y = 0; y < ref.h; ++y) {
                const uint8_t* row = &ref.px[static_cast<size_t>(top ? y : ref.h - 1 - y) * ref.w * 4];
                for (const uint8_t* p = row; p < row + ref.w * 4; p += 4)
                    want.insert(want.end(), {uint8_t(p[0] & keep), uint8_t(p[1] & keep), uint8_t(p[2] & keep),
                                             e.rule == "exact" ? p[3] : uint8_t(255)});
            }
            const Decoded d = Decode(read, file, top);
            EXPECT_EQ(std::tuple(d.status, d.w, d.h), std::tuple(1, ref.w, ref.h));
            EXPECT_TRUE(d.px == want) << (top ? "top" : "bottom") << " row first";
        }
        // Cut in half, an uncompressed picture is refused: it needs all its pixel bytes. That
        // every other cut gives a reason or a whole picture is checked by the fuzz targets.
        if (e.file.find("rle") == std::string::npos && !e.file.ends_with(".pcx")) {
            EXPECT_EQ(Decode(read, std::span(file).first(file.size() / 2)).status, 0);
        }
    }
}

Px G(int v) { return {v, v, v, 255}; }
Px B(int v) { return {0, 0, v, 255}; }

// What the corpus lacks. It holds 13-pixel-wide pictures (part bytes in 1- and 4-bit rows, padded
// PCX lines), TGAs with an ID field and 15-bit map entries, and 4-4-4-4 and 1-5-5-5 BMPs; but no
// absolute RLE8 runs, and its true-colour run-length TGAs hold raw packets only.
TEST(ImagesReaders, PixelFormatsPacketsMapsAndRuns) {
    const Px o321 = {3, 2, 1, 255}, red = {248, 0, 0, 255}, none = {0, 0, 0, 0};
    const std::vector<Px> table = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};
    const auto E = &PcxEntry;
    // Each file decodes to a picture `w` wide holding `want`, top row first.
    const struct { const char* what; SpanReader read; Bytes file; int w; std::vector<Px> want; } cases[] = {
        {"TGA 16-bit keeps five bits", tga, Tga(2, 3, 1, 16).u16(0x7FFF).u16(0x8000).u16(0x7C01), 3,
         {{248, 248, 248, 255}, {0, 0, 0, 255}, {248, 0, 8, 255}}},
        {"TGA map skipped for true colour", tga, Tga(2, 1, 1, 24, 0, 1, 2, 24).fill(6, 0xEE).raw({1, 2, 3}),
         1, {o321}},
        {"TGA type 3 map", tga, Tga(3, 2, 1, 8, 0, 1, 3, 24).raw({0, 0, 1, 0, 2, 0, 3, 0, 0, 2, 1}), 2,
         {{0, 0, 3, 255}, {0, 2, 0, 255}}},
        {"TGA type 9, 16-bit map", tga,
         Tga(9, 3, 1, 8, 0, 1, 2, 16).u16(0x001F).u16(0x7C00).raw({0x81, 1, 0x00, 0}), 3,
         {red, red, {0, 0, 248, 255}}},
        {"TGA 32-bit map keeps alpha", tga, Tga(1, 1, 1, 8, 0, 1, 2, 32).raw({1, 2, 3, 4, 5, 6, 7, 8, 1}), 1,
         {{7, 6, 5, 8}}},
        {"TGA index past the map is zero", tga, Tga(1, 2, 1, 8, 0, 1, 2, 24).raw({1, 1, 1, 2, 2, 2, 1, 200}),
         2, {{2, 2, 2, 255}, none}},
        // 2 x 3, bottom row first in the file: raw packets of one and of two pixels (across a row), a
        // run of 2 across a row, a run of 100 that stops at the picture's end.
        {"TGA packets across rows", tga,
         Tga(10, 2, 3, 24).u8(0x00).raw({1, 0, 0}).u8(0x01).raw({2, 0, 0, 3, 0, 0}).u8(0x81).raw({4, 0, 0})
             .u8(0x80 | 99).raw({5, 0, 0}), 2, {B(4), B(5), B(3), B(4), B(1), B(2)}},
        // Row 0: run of 2 of entry 1, absolute run of 3 (one pad byte), end of line; row 1: run
        // of 5 of entry 3, end of picture.
        {"BMP RLE8", bmp, Bmp(5, 2, 8, 1, table, {2, 1, 0, 3, 2, 0, 3, 0xEE, 0, 0, 5, 3, 0, 1}), 5,
         {G(40), G(40), G(40), G(40), G(40), G(20), G(20), G(30), G(10), G(40)}},
        // A line ends at its (0, 0): a pixel past the width is dropped (row 0), a line that ends
        // early leaves the rest of its row unwritten (row 1).
        {"BMP RLE8 lines", bmp, Bmp(3, 2, 8, 1, table, {3, 1, 1, 2, 0, 0, 1, 3, 0, 0}), 3,
         {G(40), none, none, G(20), G(20), G(20)}},
        // Row 0: run of 3 alternating 1, 2; absolute run of 2 from one byte plus a pad byte; end
        // of line. Row 1: absolute run of 5 nibbles 3, 2, 1, 0, 3.
        {"BMP RLE4", bmp,
         Bmp(5, 2, 4, 2, table, {3, 0x12, 0, 2, 0x30, 0xEE, 0, 0, 0, 5, 0x32, 0x10, 0x30, 0xEE}), 5,
         {G(40), G(30), G(20), G(10), G(40), G(20), G(30), G(20), G(40), G(10)}},
        {"BMP top-down rows", bmp, Bmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), 1, {o321, {6, 5, 4, 255}}},
        {"BMP used colours end the table", bmp, Bmp(2, 1, 8, 0, table, {1, 2, 0, 0}, {.used = 2}), 2,
         {G(20), none}},
        {"BMP data offset honoured", bmp, Bmp(2, 1, 8, 0, table, {3, 0, 0, 0}, {.gap = 6}), 2, {G(40), G(10)}},
        {"BMP 16-byte form", bmp, Bmp1(24, 0, {.form = 16}, {1, 2, 3, 0}), 1, {o321}},
        {"BMP 64-byte form, 4-byte entries", bmp, Bmp(1, 1, 8, 0, table, {2, 0, 0, 0}, {.form = 64}), 1, {G(30)}},
        // 16 bits without masks are 5-5-5, each channel's bits repeated into 8.
        {"BMP 16-bit 5-5-5", bmp, Bmp(3, 1, 16, 0, {}, {0xFF, 0x7F, 0x21, 0x04, 0x00, 0x7C, 0, 0}), 3,
         {{255, 255, 255, 255}, {8, 8, 8, 255}, {255, 0, 0, 255}}},
        {"BMP 5-6-5 after the 40-byte header", bmp,
         Bmp(2, 1, 16, 3, {}, {0xE0, 0x07, 0x41, 0x08}, {.masks = {0xF800, 0x07E0, 0x001F}}), 2,
         {{0, 255, 0, 255}, {8, 8, 8, 255}}},
        {"BMP 1-5-5-5 alpha bit in the 108-byte header", bmp,
         Bmp(2, 1, 16, 3, {}, {0x1F, 0x80, 0x1F, 0x00},
             {.form = 108, .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}}),
         2, {{0, 0, 255, 255}, {0, 0, 255, 0}}},
        // 10 bits a channel keep their top 8; 2 alpha bits are repeated.
        {"BMP 10-10-10-2 in the 124-byte header", bmp,
         Bmp1(32, 3, {.form = 124, .masks = {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}}, {0x03, 0x00, 0xF8, 0x7F}), 1,
         {{255, 0x80, 0, 0x55}}},
        {"BMP R G B x masks, no alpha mask", bmp, Bmp1(32, 3, {.masks = {0xFF, 0xFF00, 0xFF0000}}, {1, 2, 3, 4}), 1,
         {{1, 2, 3, 255}}},
        {"BMP B G R x masks in the 52-byte header", bmp,
         Bmp1(32, 3, {.form = 52, .masks = {0xFF0000, 0xFF00, 0xFF}}, {1, 2, 3, 4}), 1, {o321}},
        {"BMP alpha bit fields after the 40-byte header", bmp,
         Bmp1(32, 6, {.masks = {0xFF00, 0xFF0000, 0xFF000000, 0xFF}}, {1, 2, 3, 4}), 1, {{2, 3, 4, 1}}},
        {"BMP 124-byte header, no bit fields: fourth byte not alpha", bmp,
         Bmp1(32, 0, {.form = 124, .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, {1, 2, 3, 4}), 1, {o321}},
        // The image descriptor's origin: files of pixels A B / C D in file order.
        {"TGA origin bottom right", tga, Abcd(0x10), 2, {G(4), G(3), G(2), G(1)}},
        {"TGA origin top right, run-length", tga,
         Tga(10, 2, 2, 24, 0, 0, 0, 0, 0x30).u8(0x81).fill(3, 1).u8(0x01).fill(3, 3).fill(3, 4), 2,
         {G(1), G(1), G(4), G(3)}},
        {"TGA 15-bit true colour", tga, Tga(2, 1, 1, 15).u16(0x03E0), 1, {{0, 248, 0, 255}}},
        {"TGA map from index 2", tga, Tga(1, 2, 1, 8, 0, 1, 1, 24, 0, 2).raw({1, 2, 3, 2, 1}), 2, {o321, none}},
        // 0xC3 0x05: three of 5; 0x05: one 5; 0xBF: one 191; 0xC0 0x07: none; 0xC1 0xC8: one 200.
        {"PCX runs", pcx, Pcx(0, 0, 5, 0, {0xC3, 5, 5, 0xBF, 0xC0, 7, 0xC1, 200}), 6,
         {E(5), E(5), E(5), E(5), E(191), E(200)}},
        {"PCX run across lines", pcx, Pcx(0, 0, 1, 2, {0xC3, 9, 4, 0xC2, 6}), 2,
         {E(9), E(9), E(9), E(4), E(6), E(6)}},
        {"PCX window away from 0", pcx, Pcx(10, 20, 12, 20, {1, 2, 3}), 3, {E(1), E(2), E(3)}},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(c.read, c.file.v);
        std::vector<Px> got;
        for (size_t i = 0; i < d.px.size(); i += 4)
            got.push_back({d.px[i], d.px[i + 1], d.px[i + 2], d.px[i + 3]});
        EXPECT_EQ(std::tuple(d.status, d.w, got), std::tuple(1, c.w, c.want)) << c.what;
    }
}

// A colour-mapped RLE TGA of side x side pixels in maximal runs.
Bytes RunsTga(int side) {
    Bytes b = Tga(11, side, side, 8);
    for (uint64_t n = uint64_t(side) * side; n > 0; n -= std::min<uint64_t>(n, 128)) b.raw({0xFF, 0x80});
    return b;
}

// Each file is refused with `why` or, when `why` is null, read to exactly `want` (whose length is
// then that of the size delivered); the size delivered, when given, is checked too (-2: left as
// it was).
struct Case {
    const char* what;
    SpanReader read;
    Bytes file;
    const char* why;
    std::vector<uint8_t> want = {};
    std::optional<std::pair<int32_t, int32_t>> size = {};
};

TEST(ImagesMalformed, SizesRunsOffsetsAndTablesBeyondTheFile) {
    namespace why = img::why;
    const Case cases[] = {
        // Headers and variants.
        {"TGA short header", tga, Bytes().fill(17), why::kShortHeader},
        {"TGA type 7", tga, Tga(7, 4, 3, 24).fill(36), why::kUnsupported, {}, {{4, 3}}},
        {"BMP signature BA", bmp, Bytes().raw({'B', 'A'}).fill(60), why::kSignature, {}, {{-2, -2}}},
        {"BMP short header", bmp, Bytes().raw({'B', 'M'}).fill(12).u32(40).fill(20), why::kShortHeader},
        {"PCX version 3", pcx, Pcx(0, 0, 0, 0, {}, 0, 3), why::kUnsupported},
        {"PCX palette marker 11", pcx, Pcx(0, 0, 1, 0, {1, 2}, 0, 5, 11), why::kNoPalette, {}, {{2, 1}}},
        {"TGA zero width", tga, Tga(2, 0, 1, 24), why::kEmpty},
        {"TGA height 0xFFFF is negative", tga, Tga(2, 2, 0xFFFF, 24).fill(64), why::kEmpty, {}, {{2, -1}}},
        {"BMP zero width", bmp, Bmp(0, -1, 24, 0, {}, {1, 2, 3, 0}), why::kEmpty, {}, {{0, 1}}},
        // Xmax below Xmin wraps in 16 bits to a huge width.
        {"PCX Xmax below Xmin", pcx, Pcx(5, 0, 3, 0, {1}), why::kMoreThanFileHolds, {}, {{65535, 1}}},
        // Variants read as zeros.
        {"TGA type 0", tga, Tga(0, 2, 2, 24).fill(16, 0xAB), nullptr, std::vector<uint8_t>(16)},
        // What is not decoded is named.
        {"BMP JPEG", bmp, Bmp(1, 1, 24, 4, {}, {0xFF, 0xD8}), why::kBmpJpeg, {}, {{1, 1}}},
        {"BMP PNG", bmp, Bmp(1, 1, 24, 5, {}, {0x89, 'P'}), why::kBmpPng},
        {"BMP OS/2 Huffman", bmp, Bmp(8, 1, 1, 3, {}, {0}, {.form = 64}), why::kBmpHuffman},
        {"BMP OS/2 RLE24", bmp, Bmp(1, 1, 24, 4, {}, {0}, {.form = 64}), why::kBmpRle24},
        {"BMP compression 7", bmp, Bmp(1, 1, 24, 7, {}, {0}), why::kBmpCompression},
        {"BMP header of 20 bytes", bmp, Bmp1(24, 0, {.form = 20}), why::kBmpHeaderSize},
        {"BMP 2 bits", bmp, Bmp1(2, 0), why::kBmpTwoBit},
        {"BMP 64 bits", bmp, Bmp(1, 1, 64, 0, {}, std::vector<uint8_t>(8)), why::kBmpSixtyFourBit},
        {"BMP 7 bits", bmp, Bmp1(7, 0), why::kBmpDepth},
        {"BMP bit fields at 24 bits", bmp, Bmp1(24, 3, {.masks = {0xFF, 0xFF00, 0xFF0000}}), why::kBmpFieldsDepth},
        {"BMP mask with a gap", bmp, Bmp1(16, 3, {.masks = {0x7C00, 0x0360, 0x1F}}), why::kBmpMaskGaps},
        {"BMP masks overlap", bmp, Bmp1(16, 3, {.masks = {0x7C00, 0x07E0, 0x1F}}), why::kBmpMaskOverlap},
        {"BMP alpha mask overlaps", bmp, Bmp1(32, 3, {.form = 56, .masks = {0xFF0000, 0xFF00, 0xFF, 0x1FF}}),
         why::kBmpMaskOverlap},
        {"BMP mask beyond 16 bits", bmp, Bmp1(16, 3, {.masks = {0x1F0000, 0x3E0, 0x1F}}), why::kBmpMaskWide},
        {"BMP top-down RLE8", bmp, Bmp(1, -1, 8, 1, {}, {1, 0, 0, 1}), why::kBmpTopDownRle},
        {"TGA type 1 without a map", tga, Tga(1, 1, 1, 8).raw({0}), why::kTgaNoMap},
        {"TGA 16-bit indices", tga, Tga(1, 1, 1, 16, 0, 1, 1, 24).raw({1, 2, 3, 0, 0}), why::kTgaIndexDepth},
        {"TGA 8-bit true colour", tga, Tga(2, 2, 2, 8).fill(16, 0xAB), why::kTgaTrueColourDepth},
        {"TGA RLE at 8-bit true colour", tga, Tga(10, 1, 1, 8).fill(3), why::kTgaTrueColourDepth},
        {"TGA 24-bit grey", tga, Tga(3, 1, 1, 24).fill(3), why::kTgaGreyDepth},
        {"PCX no planes", pcx, Pcx(0, 0, 0, 0, {1}, 1, 5, 12, 8, 0), why::kPcxPlanes},
        // Sizes beyond what the file holds.
        {"TGA RLE 4000 squared", tga, Tga(10, 4000, 4000, 24).raw({0xFF, 1, 2, 3}), why::kMoreThanFileHolds},
        {"TGA type 0 undecoded", tga, Tga(0, 4096, 4096, 8), why::kMoreThanFileHolds},
        {"BMP 16-bit", bmp, Bmp(4000, 4000, 16, 0), why::kMoreThanFileHolds},
        {"BMP RLE8 4000 squared", bmp, Bmp(4000, 4000, 8, 1, {}, {255, 0}), why::kMoreThanFileHolds},
        {"BMP 24-bit far short", bmp, Bmp(1000, 1000, 24, 0, {}, std::vector<uint8_t>(100)),
         why::kMoreThanFileHolds},
        {"PCX 4000 squared", pcx, Pcx(0, 0, 3999, 3999, {0xFF, 1}), why::kMoreThanFileHolds},
        // Beyond 4096 x 4096: refused before the file's size is weighed, so no run-length file,
        // however many pixels its runs legitimately fill, gets past the cap.
        {"BMP 100000 squared", bmp, Bmp(100000, 100000, 8, 1, {}, {255, 0}), why::kTooLarge},
        {"TGA 4096 x 4097", tga, Tga(2, 4096, 4097, 24), why::kTooLarge},
        {"PCX 4096 x 4097", pcx, Pcx(0, 0, 4095, 4096, {}), why::kTooLarge},
        // Runs past the end of the picture are cut.
        {"TGA run of 128", tga, Tga(10, 2, 1, 24).raw({0xFF, 1, 2, 3}), nullptr, {3, 2, 1, 255, 3, 2, 1, 255}},
        {"TGA raw packet of 128", tga, Tga(10, 2, 1, 24).raw({0x7F, 1, 2, 3, 4, 5, 6}), nullptr,
         {3, 2, 1, 255, 6, 5, 4, 255}},
        {"BMP RLE8 run of 255", bmp, Bmp(3, 1, 8, 1, {{7, 8, 9}}, {255, 0}), nullptr,
         {7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}},
        {"BMP absolute run past the file", bmp, Bmp(3, 1, 8, 1, {{7, 8, 9}}, {0, 200, 0}), why::kTruncated},
        {"TGA RLE short", tga, Tga(10, 3, 1, 24).raw({0x81, 1, 2, 3}), why::kTruncated},
        {"PCX run of 63", pcx, Pcx(0, 0, 1, 0, {0xFF, 3}), nullptr, {3, 252, 1, 255, 3, 252, 1, 255}},
        // Offsets and tables past the file.
        {"BMP data offset", bmp, Bmp1(24, 0, {.offset = 5000}), why::kTruncated},
        {"BMP RLE data offset", bmp, Bmp1(8, 1, {.offset = 5000}), why::kDataOffset},
        {"BMP index past a 2-entry table", bmp, Bmp(2, 1, 8, 0, {{3, 2, 1}, {6, 5, 4}}, {1, 200, 0, 0}), nullptr,
         {6, 5, 4, 255, 0, 0, 0, 0}},
        {"TGA ID field", tga, Tga(2, 1, 1, 24, 200).raw({1, 2, 3}), why::kDataOffset},
        {"TGA colour map", tga, Tga(1, 1, 1, 8, 0, 1, 300, 24).raw({1, 2, 3, 0}), why::kColourMap},
        {"TGA 12-bit map entries", tga, Tga(1, 1, 1, 8, 0, 1, 1, 12).raw({1, 2, 0}), why::kColourMap},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> px;
        int32_t w = -2, h = -2;
        const char* why = nullptr;
        EXPECT_EQ(c.read(c.file.v, &px, &w, &h, true, &why), c.why ? 0 : 1) << c.what;
        EXPECT_STREQ(why, c.why) << c.what;
        EXPECT_EQ(px, c.want) << c.what;
        if (c.size) {
            EXPECT_EQ(std::pair(w, h), *c.size) << c.what;
        } else if (!c.why) {
            EXPECT_EQ(int64_t(w) * h * 4, int64_t(c.want.size())) << c.what;
        }
    }
    // Without a pixel buffer only the size is read (status -1).
    for (auto [read, file, w, h] : {std::tuple{tga, Tga(2, 4, 3, 24).fill(36), 4, 3},
                                    {bmp, Bmp(3, 2, 24, 0, {}, std::vector<uint8_t>(24)), 3, 2},
                                    {pcx, Pcx(0, 0, 63, 31, std::vector<uint8_t>(32, 0xFF)), 64, 32}}) {
        int32_t gotW = 0, gotH = 0;
        EXPECT_EQ(read(file.v, nullptr, &gotW, &gotH, true, nullptr), -1) << w;
        EXPECT_EQ(std::pair(gotW, gotH), std::pair(w, h));
    }
    // A picture of exactly 4096 x 4096 pixels is read.
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadTGA(RunsTga(4096).v, &px, nullptr, nullptr, true), 1);
    EXPECT_EQ(px.size(), size_t(4096) * 4096 * 4);
}

}  // namespace
}  // namespace tam
