// The BMP reader on small hand-made files: depths, partial bytes, RLE8 and RLE4 with their
// escapes, the 12-byte header, status codes (row order: see images_reference_test).
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using namespace test;

// A file with the 40-byte header: colour table entries given as (r, g, b), then `data`.
Bytes Bmp40(int32_t w, int32_t h, int bpp, int compression, const std::vector<Px>& table,
            const std::vector<uint8_t>& data) {
    Bytes b;
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size()) * 4;
    b.raw({'B', 'M'}).u32(offset + static_cast<uint32_t>(data.size())).u32(0).u32(offset);
    b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
    b.fill(20);
    for (const Px& e : table) b.u8(e[2]).u8(e[1]).u8(e[0]).u8(0);
    b.v.insert(b.v.end(), data.begin(), data.end());
    return b;
}

const std::vector<Px> kTable = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};
Px G(int v) { return {v, v, v, 255}; }
const Px kNone = {0, 0, 0, 0};

// 1-, 4-, 8-, 24- and 32-bit files are compared whole with an independent decoder in
// images_reference_test.cpp; these are the cases it does not reach (its RLE8 files hold no
// absolute runs).
TEST(ImagesBmp, PartialBytesRunLengthsAndTheShortHeader) {
    // The 12-byte header, whose data sits where the long header keeps its compression field.
    Bytes core;
    core.raw({'B', 'M'}).u32(0).u32(0).u32(14 + 12 + 2 * 3).u32(12).u16(8).u16(1).u16(1).u16(8);
    core.raw({0, 0, 0, 0, 0, 255}).raw({0, 0, 0, 0, 1, 1, 1, 1});  // entries black, red
    const Px k = {0, 0, 0, 255}, r = {255, 0, 0, 255};
    ExpectPictures(&LoadBMP, {
        // Width 10 at 1 bit: one whole byte a row; the partial byte's pixels stay zero.
        {"partial byte", Bmp40(10, 2, 1, 0, kTable, {0xFF, 0xFF, 0, 0, 0x00, 0xFF, 0, 0}), 10,
         {G(10), G(10), G(10), G(10), G(10), G(10), G(10), G(10), kNone, kNone,
          G(20), G(20), G(20), G(20), G(20), G(20), G(20), G(20), kNone, kNone}},
        // Row 0: run of 2 of entry 1, absolute run of 3 (one pad byte), end of line; row 1: run
        // of 5 of entry 3, end of picture.
        {"RLE8", Bmp40(5, 2, 8, 1, kTable, {2, 1, 0, 3, 2, 0, 3, 0xEE, 0, 0, 5, 3, 0, 1}), 5,
         {G(40), G(40), G(40), G(40), G(40), G(20), G(20), G(30), G(10), G(40)}},
        // Row 0: run of 3 alternating 1, 2; absolute run of 2 from one byte plus a pad byte.
        // Row 1: absolute run of 5 nibbles 3, 2, 1, 0, 3.
        {"RLE4", Bmp40(5, 2, 4, 2, kTable, {3, 0x12, 0, 2, 0x30, 0xEE, 0, 5, 0x32, 0x10, 0x30, 0xEE}), 5,
         {G(40), G(30), G(20), G(10), G(40), G(20), G(30), G(20), G(40), G(10)}},
        {"12-byte header", core, 8, {k, k, k, k, r, r, r, r}},
    });
}

TEST(ImagesBmp, StatusCodes) {
    Bytes ba = Bmp40(1, 1, 24, 0, {}, {1, 2, 3, 0});
    ba.v[1] = 'A';
    int32_t w = 77, h = 0;
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadBMP(ba.v, &px, &w, nullptr, true), 0);
    EXPECT_EQ(w, 77);
    EXPECT_EQ(LoadBMP(Bmp40(3, 2, 24, 0, {}, std::vector<uint8_t>(24)).v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(std::pair(w, h), std::pair(3, 2));
    // Unsupported depths and bit-field compression read as zero pixels.
    for (const auto& [bpp, compression] : {std::pair{16, 0}, std::pair{32, 3}}) {
        const Decoded d = Decode(&LoadBMP, Bmp40(1, 1, bpp, compression, {}, {1, 2, 3, 4}));
        EXPECT_EQ(d.status, 1);
        EXPECT_EQ(d.px, std::vector<uint8_t>(4, 0)) << bpp;
    }
    // Top-down bitmaps (negative height) are refused.
    EXPECT_EQ(Decode(&LoadBMP, Bmp40(1, -1, 24, 0, {}, {1, 2, 3, 0})).status, 0);
}

}  // namespace
}  // namespace tam
