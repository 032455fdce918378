// The TGA, BMP and PCX readers on small hand-made files: the cases the comparison with an
// independent decoder (images_reference_test) does not reach, and the status codes with the size
// each delivers.
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using namespace test;

const SpanReader tga = &LoadTGA, bmp = &LoadBMP, pcx = &LoadPCX;
Px G(int v) { return {v, v, v, 255}; }

// The reference files hold plain 24- and 32-bit and colour-mapped TGAs (their true-colour
// run-length files hold raw packets only); 1-, 4-, 8-, 24- and 32-bit BMPs (their RLE8 files hold
// no absolute runs) and plain PCXs.
TEST(ImagesReaders, PixelFormatsPacketsMapsAndRuns) {
    const Px o321 = {3, 2, 1, 255}, red = {248, 0, 0, 255}, k = {0, 0, 0, 255}, r = {255, 0, 0, 255};
    const Px none = {0, 0, 0, 0};
    const std::vector<Px> table = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};
    // The 12-byte BMP header, whose data sits where the long header keeps its compression field.
    Bytes core;
    core.raw({'B', 'M'}).u32(0).u32(0).u32(14 + 12 + 2 * 3).u32(12).u16(8).u16(1).u16(1).u16(8);
    core.raw({0, 0, 0, 0, 0, 255}).raw({0, 0, 0, 0, 1, 1, 1, 1});  // entries black, red
    const auto E = &PcxEntry;
    ExpectPictures({
        {"TGA 16-bit keeps five bits", tga, Tga(2, 3, 1, 16).u16(0x7FFF).u16(0x8000).u16(0x7C01), 3,
         {{248, 248, 248, 255}, {0, 0, 0, 255}, {248, 0, 8, 255}}},
        {"TGA ID field skipped", tga, Tga(2, 1, 1, 24, 5).raw({9, 9, 9, 9, 9, 1, 2, 3}), 1, {o321}},
        {"TGA map skipped for true colour", tga, Tga(2, 1, 1, 24, 0, 1, 2, 24).fill(6, 0xEE).raw({1, 2, 3}),
         1, {o321}},
        {"TGA 24-bit run of 4 then 4 raw", tga,
         Tga(10, 8, 1, 24).u8(0x83).raw({10, 20, 30}).u8(0x03).raw({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}), 8,
         {{30, 20, 10, 255}, {30, 20, 10, 255}, {30, 20, 10, 255}, {30, 20, 10, 255},
          {1, 1, 1, 255}, {2, 2, 2, 255}, {3, 3, 3, 255}, {4, 4, 4, 255}}},
        {"TGA type 3 map", tga, Tga(3, 2, 1, 8, 0, 1, 3, 24).raw({0, 0, 1, 0, 2, 0, 3, 0, 0, 2, 1}), 2,
         {{0, 0, 3, 255}, {0, 2, 0, 255}}},
        {"TGA type 9, 16-bit map", tga,
         Tga(9, 3, 1, 8, 0, 1, 2, 16).u16(0x001F).u16(0x7C00).raw({0x81, 1, 0x00, 0}), 3,
         {red, red, {0, 0, 248, 255}}},
        {"TGA 32-bit map", tga, Tga(1, 1, 1, 8, 0, 1, 2, 32).raw({1, 2, 3, 4, 5, 6, 7, 8, 1}), 1,
         {{7, 6, 5, 255}}},
        {"TGA index past the map is zero", tga, Tga(1, 2, 1, 8, 0, 1, 2, 24).raw({1, 1, 1, 2, 2, 2, 1, 200}),
         2, {{2, 2, 2, 255}, none}},
        // 2 x 2 in file order: a run of 3 crosses a row; a run of 100 stops at the picture's end.
        {"TGA packets across rows", tga, Tga(10, 2, 2, 24).u8(0x82).raw({9, 0, 0}).u8(0x80 | 99).raw({7, 0, 0}),
         2, {{0, 0, 9, 255}, {0, 0, 7, 255}, {0, 0, 9, 255}, {0, 0, 9, 255}}},
        {"TGA raw packets of one pixel and across rows", tga,
         Tga(10, 2, 2, 24).u8(0x00).raw({1, 0, 0}).u8(0x02).raw({2, 0, 0, 3, 0, 0, 4, 0, 0}), 2,
         {{0, 0, 3, 255}, {0, 0, 4, 255}, {0, 0, 1, 255}, {0, 0, 2, 255}}},
        // Width 10 at 1 bit: one whole byte a row; the partial byte's pixels stay zero.
        {"BMP partial byte", bmp, Bmp(10, 2, 1, 0, table, {0xFF, 0xFF, 0, 0, 0x00, 0xFF, 0, 0}), 10,
         {G(10), G(10), G(10), G(10), G(10), G(10), G(10), G(10), none, none,
          G(20), G(20), G(20), G(20), G(20), G(20), G(20), G(20), none, none}},
        // Row 0: run of 2 of entry 1, absolute run of 3 (one pad byte), end of line; row 1: run
        // of 5 of entry 3, end of picture.
        {"BMP RLE8", bmp, Bmp(5, 2, 8, 1, table, {2, 1, 0, 3, 2, 0, 3, 0xEE, 0, 0, 5, 3, 0, 1}), 5,
         {G(40), G(40), G(40), G(40), G(40), G(20), G(20), G(30), G(10), G(40)}},
        // Row 0: run of 3 alternating 1, 2; absolute run of 2 from one byte plus a pad byte.
        // Row 1: absolute run of 5 nibbles 3, 2, 1, 0, 3.
        {"BMP RLE4", bmp, Bmp(5, 2, 4, 2, table, {3, 0x12, 0, 2, 0x30, 0xEE, 0, 5, 0x32, 0x10, 0x30, 0xEE}),
         5, {G(40), G(30), G(20), G(10), G(40), G(20), G(30), G(20), G(40), G(10)}},
        {"BMP 12-byte header", bmp, core, 8, {k, k, k, k, r, r, r, r}},
        // 0xC3 0x05: three of 5; 0x05: one 5; 0xBF: one 191; 0xC0 0x07: none; 0xC1 0xC8: one 200.
        {"PCX runs", pcx, Pcx(0, 0, 5, 0, {0xC3, 5, 5, 0xBF, 0xC0, 7, 0xC1, 200}), 6,
         {E(5), E(5), E(5), E(5), E(191), E(200)}},
        {"PCX run across lines", pcx, Pcx(0, 0, 1, 2, {0xC3, 9, 4, 0xC2, 6}), 2,
         {E(9), E(9), E(9), E(4), E(6), E(6)}},
        {"PCX wide lines drop extra bytes", pcx, Pcx(0, 0, 2, 1, {1, 2, 3, 99, 4, 5, 6, 99}, 4), 3,
         {E(1), E(2), E(3), E(4), E(5), E(6)}},
        {"PCX window away from 0", pcx, Pcx(10, 20, 12, 20, {1, 2, 3}), 3, {E(1), E(2), E(3)}},
    });
}

// Status 1 reads the pixels, -1 only the size (no pixel buffer given), 0 refuses; the size is
// delivered whenever the header could be read (-2: left as it was).
TEST(ImagesReaders, StatusCodesAndTheSizeDelivered) {
    const std::vector<uint8_t> zeros(16);
    const struct {
        const char* what;
        SpanReader read;
        Bytes file;
        bool pixels;
        int status, w, h;
        std::vector<uint8_t> px = {};
    } cases[] = {
        {"TGA type 7", tga, Tga(7, 4, 3, 24).fill(36), true, 0, 4, 3},
        {"TGA size only", tga, Tga(2, 4, 3, 24).fill(36), false, -1, 4, 3},
        {"TGA type 0 reads zeros", tga, Tga(0, 2, 2, 24).fill(16, 0xAB), true, 1, 2, 2, zeros},
        {"TGA 8-bit true colour reads zeros", tga, Tga(2, 2, 2, 8).fill(16, 0xAB), true, 1, 2, 2, zeros},
        {"TGA height 0xFFFF is negative", tga, Tga(2, 2, 0xFFFF, 24).fill(64), true, 0, 2, -1},
        {"BMP signature BA", bmp, Patched(Bmp(1, 1, 24, 0, {}, {1, 2, 3, 0}), 1, 'A'), true, 0, -2, -2},
        {"BMP size only", bmp, Bmp(3, 2, 24, 0, {}, std::vector<uint8_t>(24)), false, -1, 3, 2},
        {"BMP 16-bit reads zeros", bmp, Bmp(1, 1, 16, 0, {}, {1, 2, 3, 4}), true, 1, 1, 1, {0, 0, 0, 0}},
        {"BMP bit fields read zeros", bmp, Bmp(1, 1, 32, 3, {}, {1, 2, 3, 4}), true, 1, 1, 1, {0, 0, 0, 0}},
        {"BMP top-down refused", bmp, Bmp(1, -1, 24, 0, {}, {1, 2, 3, 0}), true, 0, 1, -1},
        {"PCX size only", pcx, Pcx(0, 0, 63, 31, std::vector<uint8_t>(32, 0xFF)), false, -1, 64, 32},
        {"PCX no palette marker", pcx, Pcx(0, 0, 1, 0, {1, 2}, 0, 5, 11), true, 0, 2, 1},
        // Xmax below Xmin wraps in 16 bits to a huge width.
        {"PCX Xmax below Xmin", pcx, Pcx(5, 0, 3, 0, {1}), true, 0, 65535, 1},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> px;
        int32_t w = -2, h = -2;
        EXPECT_EQ(c.read(c.file.v, c.pixels ? &px : nullptr, &w, &h, true, nullptr), c.status) << c.what;
        EXPECT_EQ(std::pair(w, h), std::pair(c.w, c.h)) << c.what;
        EXPECT_EQ(px, c.px) << c.what;
    }
}

}  // namespace
}  // namespace tam
