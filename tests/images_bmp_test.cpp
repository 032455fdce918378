// The BMP reader on small hand-made files: row order, depths, partial bytes, RLE8 and RLE4 with
// their escapes, the 12-byte header, status codes.
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::Bytes;
using test::PixelAt;
using Px = std::vector<int>;

// A file with the 40-byte header: colour table entries given as (r, g, b), then `data`.
Bytes Bmp40(int32_t w, int32_t h, int bpp, int compression, const std::vector<Px>& table,
            const std::vector<uint8_t>& data) {
    Bytes b;
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size()) * 4;
    b.raw({'B', 'M'}).u32(offset + static_cast<uint32_t>(data.size())).u32(0).u32(offset);
    b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
    b.u32(0).u32(0).u32(0).u32(0).u32(0);
    for (const Px& e : table) b.u8(e[2]).u8(e[1]).u8(e[0]).u8(0);
    b.v.insert(b.v.end(), data.begin(), data.end());
    return b;
}

struct Decoded {
    int status = 0;
    int32_t w = -1, h = -1;
    std::vector<uint8_t> px;
    Px at(int x, int y) const { return PixelAt(px, w, x, y); }
};

Decoded Bmp(const Bytes& b, bool top = true) {
    Decoded d;
    d.status = LoadBMP(b.v, &d.px, &d.w, &d.h, top);
    return d;
}

const std::vector<Px> kTable = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};

TEST(ImagesBmp, FirstFileRowIsTheBottomRow) {
    std::vector<uint8_t> data;
    for (int i = 0; i < 4; ++i) data.insert(data.end(), {0, 0, 255});  // file row 0: red
    for (int i = 0; i < 4; ++i) data.insert(data.end(), {255, 0, 0});  // file row 1: blue
    const Bytes b = Bmp40(4, 2, 24, 0, {}, data);
    const Decoded top = Bmp(b, true);
    ASSERT_EQ(top.status, 1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(top.at(x, 1), (Px{255, 0, 0, 255}));
    EXPECT_EQ(top.at(0, 0), (Px{0, 0, 255, 255}));
    EXPECT_EQ(Bmp(b, false).at(0, 0), (Px{255, 0, 0, 255}));
}

TEST(ImagesBmp, ThirtyTwoBitAlphaIsAlwaysOpaque) {
    const Decoded d = Bmp(Bmp40(1, 1, 32, 0, {}, {1, 2, 3, 0}));
    EXPECT_EQ(d.at(0, 0), (Px{3, 2, 1, 255}));
}

TEST(ImagesBmp, OneAndFourBitPixelsAndPartialBytes) {
    const Decoded one = Bmp(Bmp40(8, 1, 1, 0, kTable, {0x80, 0, 0, 0}));
    ASSERT_EQ(one.status, 1);
    EXPECT_EQ(one.at(0, 0), (Px{20, 20, 20, 255}));
    for (int x = 1; x < 8; ++x) EXPECT_EQ(one.at(x, 0), (Px{10, 10, 10, 255}));

    const Decoded four = Bmp(Bmp40(4, 1, 4, 0, kTable, {0x12, 0x30, 0, 0}));
    EXPECT_EQ(four.at(0, 0), (Px{20, 20, 20, 255}));
    EXPECT_EQ(four.at(1, 0), (Px{30, 30, 30, 255}));
    EXPECT_EQ(four.at(2, 0), (Px{40, 40, 40, 255}));

    // Width 10 at 1 bit: one whole byte per row; the two pixels of the partial byte stay zero.
    const Decoded partial = Bmp(Bmp40(10, 2, 1, 0, kTable, {0xFF, 0xFF, 0, 0, 0x00, 0xFF, 0, 0}));
    ASSERT_EQ(partial.status, 1);
    EXPECT_EQ(partial.at(7, 1), (Px{20, 20, 20, 255}));
    EXPECT_EQ(partial.at(8, 1), (Px{0, 0, 0, 0}));
    EXPECT_EQ(partial.at(0, 0), (Px{10, 10, 10, 255}));  // second file row: 0x00
    EXPECT_EQ(partial.at(9, 0), (Px{0, 0, 0, 0}));
}

TEST(ImagesBmp, Rle8RowEndsAndAbsoluteRuns) {
    // Row 0: run of 2 of entry 1, absolute run of 3 (one pad byte), end of line.
    // Row 1: run of 5 of entry 3, end of picture.
    const Decoded d = Bmp(Bmp40(5, 2, 8, 1, kTable, {2, 1, 0, 3, 2, 0, 3, 0xEE, 0, 0, 5, 3, 0, 1}));
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.at(0, 1), (Px{20, 20, 20, 255}));
    EXPECT_EQ(d.at(2, 1), (Px{30, 30, 30, 255}));
    EXPECT_EQ(d.at(3, 1), (Px{10, 10, 10, 255}));
    EXPECT_EQ(d.at(4, 1), (Px{40, 40, 40, 255}));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(d.at(x, 0), (Px{40, 40, 40, 255}));
}

TEST(ImagesBmp, Rle4NibblesAndPadding) {
    // Row 0 (width 5): run of 3 alternating 1,2; absolute run of 2 from byte 0x30 (1 byte, then
    // one pad byte to keep the count even). Row 1: absolute run of 5 nibbles 3,2,1,0,3.
    const Decoded d = Bmp(Bmp40(5, 2, 4, 2, kTable, {3, 0x12, 0, 2, 0x30, 0xEE, 0, 5, 0x32, 0x10, 0x30, 0xEE}));
    ASSERT_EQ(d.status, 1);
    const int want0[5] = {20, 30, 20, 40, 10};
    const int want1[5] = {40, 30, 20, 10, 40};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(d.at(x, 1)[0], want0[x]) << x;
        EXPECT_EQ(d.at(x, 0)[0], want1[x]) << x;
    }
}

TEST(ImagesBmp, TwelveByteHeaderEvenWhenItsDataLooksLikeACompressionField) {
    // 8 x 1 at 8 bits with a 3-byte colour table; the bytes where the long header would keep
    // its compression field are 0 here.
    Bytes b;
    b.raw({'B', 'M'}).u32(0).u32(0).u32(14 + 12 + 2 * 3);
    b.u32(12).u16(8).u16(1).u16(1).u16(8);
    b.raw({0, 0, 0, 0, 0, 255});  // entries: black, red
    b.raw({0, 0, 0, 0, 1, 1, 1, 1});
    const Decoded d = Bmp(b);
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.w, 8);
    EXPECT_EQ(d.at(0, 0), (Px{0, 0, 0, 255}));
    EXPECT_EQ(d.at(7, 0), (Px{255, 0, 0, 255}));
}

TEST(ImagesBmp, StatusCodes) {
    Bytes ba = Bmp40(1, 1, 24, 0, {}, {1, 2, 3, 0});
    ba.v[1] = 'A';
    int32_t w = 77;
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadBMP(ba.v, &px, &w, nullptr, true), 0);
    EXPECT_EQ(w, 77);
    const Bytes ok = Bmp40(3, 2, 24, 0, {}, std::vector<uint8_t>(24));
    int32_t h = 0;
    EXPECT_EQ(LoadBMP(ok.v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    // Unsupported depths and bit-field compression read as zero pixels.
    const Decoded d16 = Bmp(Bmp40(2, 1, 16, 0, {}, {1, 2, 3, 4}));
    EXPECT_EQ(d16.status, 1);
    EXPECT_EQ(d16.px, std::vector<uint8_t>(8, 0));
    const Decoded d3 = Bmp(Bmp40(1, 1, 32, 3, {}, {1, 2, 3, 4}));
    EXPECT_EQ(d3.status, 1);
    EXPECT_EQ(d3.px, std::vector<uint8_t>(4, 0));
    // Top-down bitmaps (negative height) are refused.
    EXPECT_EQ(Bmp(Bmp40(1, -1, 24, 0, {}, {1, 2, 3, 0})).status, 0);
}

}  // namespace
}  // namespace tam
