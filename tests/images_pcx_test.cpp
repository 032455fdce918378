// The PCX reader on small hand-made files: size from the window fields, runs, runs across lines,
// row order, wide lines, the palette marker.
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::Bytes;
using test::PixelAt;
using Px = std::vector<int>;

// Header, `data`, marker and a palette whose entry i is (i, 255 - i, i / 2).
Bytes Pcx(int xMin, int yMin, int xMax, int yMax, const std::vector<uint8_t>& data, int bytesPerLine = 0,
          int version = 5, uint8_t marker = 12) {
    Bytes b;
    b.u8(10).u8(version).u8(1).u8(8).u16(xMin).u16(yMin).u16(xMax).u16(yMax);
    b.fill(66 - b.v.size()).u16(bytesPerLine).fill(128 - 68);
    b.v.insert(b.v.end(), data.begin(), data.end());
    b.u8(marker);
    for (int i = 0; i < 256; ++i) b.u8(i).u8(255 - i).u8(i / 2);
    return b;
}

Px Entry(int i) { return {i, 255 - i, i / 2, 255}; }

struct Decoded {
    int status = 0;
    int32_t w = -1, h = -1;
    std::vector<uint8_t> px;
    Px at(int x, int y) const { return PixelAt(px, w, x, y); }
};

Decoded Read(const Bytes& b, bool top = true) {
    Decoded d;
    d.status = LoadPCX(b.v, &d.px, &d.w, &d.h, top);
    return d;
}

TEST(ImagesPcx, SizeFromTheWindowFields) {
    int32_t w = 0, h = 0;
    const Bytes b = Pcx(0, 0, 63, 31, std::vector<uint8_t>(32, 0xFF));  // 32 runs of 63 zeros
    EXPECT_EQ(LoadPCX(b.v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    const Bytes shifted = Pcx(10, 20, 12, 20, {1, 2, 3});
    const Decoded d = Read(shifted);
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.w, 3);
    EXPECT_EQ(d.h, 1);
}

TEST(ImagesPcx, RunsSingleBytesAndEmptyRuns) {
    // 0xC3 0x05: three of 5; 0x05: one 5; 0xBF: one 191; 0xC0 0x07: none; 0xC1 0xC8: one 200.
    const Decoded d = Read(Pcx(0, 0, 5, 0, {0xC3, 5, 5, 0xBF, 0xC0, 7, 0xC1, 200}));
    ASSERT_EQ(d.status, 1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.at(x, 0), Entry(5)) << x;
    EXPECT_EQ(d.at(4, 0), Entry(191));
    EXPECT_EQ(d.at(5, 0), Entry(200));
}

TEST(ImagesPcx, RunAcrossLinesAndRowOrder) {
    // 2 x 3: a run of 3 of index 9 fills line 0 and starts line 1.
    const Bytes b = Pcx(0, 0, 1, 2, {0xC3, 9, 4, 0xC2, 6});
    const Decoded top = Read(b, true);
    ASSERT_EQ(top.status, 1);
    EXPECT_EQ(top.at(1, 0), Entry(9));
    EXPECT_EQ(top.at(0, 1), Entry(9));
    EXPECT_EQ(top.at(1, 1), Entry(4));
    EXPECT_EQ(top.at(0, 2), Entry(6));
    const Decoded bottom = Read(b, false);
    EXPECT_EQ(bottom.at(0, 0), Entry(6));
    EXPECT_EQ(bottom.at(0, 2), Entry(9));
}

TEST(ImagesPcx, WideLinesDropTheirExtraBytes) {
    // Width 3 with 4 bytes a line: the fourth index of each line is not a pixel.
    const Decoded d = Read(Pcx(0, 0, 2, 1, {1, 2, 3, 99, 4, 5, 6, 99}, 4));
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.at(0, 1), Entry(4));
    EXPECT_EQ(d.at(2, 1), Entry(6));
}

TEST(ImagesPcx, RefusedFiles) {
    EXPECT_EQ(Read(Pcx(0, 0, 0, 0, {1}, 0, 3)).status, 0);
    const Decoded noMarker = Read(Pcx(0, 0, 1, 0, {1, 2}, 0, 5, 11));
    EXPECT_EQ(noMarker.status, 0);
    EXPECT_EQ(noMarker.w, 2);  // size delivered before the palette is looked at
    // Xmax below Xmin wraps in 16 bits to a huge width.
    EXPECT_EQ(Read(Pcx(5, 0, 3, 0, {1})).status, 0);
}

}  // namespace
}  // namespace tam
