// The PCX reader on small hand-made files: size from the window fields, runs, runs across lines,
// wide lines, the palette marker (row order: see images_reference_test).
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using namespace test;

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

Px E(int i) { return {i, 255 - i, i / 2, 255}; }

TEST(ImagesPcx, RunsLinesAndWindow) {
    ExpectPictures(&LoadPCX, {
        // 0xC3 0x05: three of 5; 0x05: one 5; 0xBF: one 191; 0xC0 0x07: none; 0xC1 0xC8: one 200.
        {"runs", Pcx(0, 0, 5, 0, {0xC3, 5, 5, 0xBF, 0xC0, 7, 0xC1, 200}), 6,
         {E(5), E(5), E(5), E(5), E(191), E(200)}},
        {"run across lines", Pcx(0, 0, 1, 2, {0xC3, 9, 4, 0xC2, 6}), 2, {E(9), E(9), E(9), E(4), E(6), E(6)}},
        {"wide lines drop extra bytes", Pcx(0, 0, 2, 1, {1, 2, 3, 99, 4, 5, 6, 99}, 4), 3,
         {E(1), E(2), E(3), E(4), E(5), E(6)}},
        {"window away from 0", Pcx(10, 20, 12, 20, {1, 2, 3}), 3, {E(1), E(2), E(3)}},
    });
    int32_t w = 0, h = 0;
    EXPECT_EQ(LoadPCX(Pcx(0, 0, 63, 31, std::vector<uint8_t>(32, 0xFF)).v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(std::pair(w, h), std::pair(64, 32));
}

TEST(ImagesPcx, RefusedFiles) {
    EXPECT_EQ(Decode(&LoadPCX, Pcx(0, 0, 0, 0, {1}, 0, 3)).status, 0);
    const Decoded noMarker = Decode(&LoadPCX, Pcx(0, 0, 1, 0, {1, 2}, 0, 5, 11));
    EXPECT_EQ(noMarker.status, 0);
    EXPECT_EQ(noMarker.w, 2);  // size delivered before the palette is looked at
    // Xmax below Xmin wraps in 16 bits to a huge width.
    EXPECT_EQ(Decode(&LoadPCX, Pcx(5, 0, 3, 0, {1})).status, 0);
}

}  // namespace
}  // namespace tam
