// The TGA reader on small hand-made files: row order, pixel conversions, packets, ID fields,
// colour maps, status codes.
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::Bytes;
using test::PixelAt;
using Px = std::vector<int>;

Bytes TgaHeader(int type, int w, int h, int depth, int idLength = 0, int mapType = 0, int mapLength = 0,
                int mapBits = 0) {
    Bytes b;
    b.u8(idLength).u8(mapType).u8(type).u16(0).u16(mapLength).u8(mapBits).u32(0).u16(w).u16(h).u8(depth).u8(0);
    return b;
}

struct Decoded {
    int status = 0;
    int32_t w = -1, h = -1;
    std::vector<uint8_t> px;
    Px at(int x, int y) const { return PixelAt(px, w, x, y); }
};

Decoded Tga(const Bytes& b, bool top = true) {
    Decoded d;
    d.status = LoadTGA(b.v, &d.px, &d.w, &d.h, top);
    return d;
}

TEST(ImagesTga, FirstFileRowIsTheBottomRow) {
    // 1 x 2, 24-bit: the first file row blue, the second red.
    Bytes b = TgaHeader(2, 1, 2, 24);
    b.raw({255, 0, 0}).raw({0, 0, 255});
    const Decoded top = Tga(b, true);
    ASSERT_EQ(top.status, 1);
    EXPECT_EQ(top.at(0, 1), (Px{0, 0, 255, 255}));
    EXPECT_EQ(top.at(0, 0), (Px{255, 0, 0, 255}));
    const Decoded fileOrder = Tga(b, false);
    EXPECT_EQ(fileOrder.at(0, 0), (Px{0, 0, 255, 255}));
}

TEST(ImagesTga, SixteenBitPixelsKeepFiveBitsPerChannel) {
    Bytes b = TgaHeader(2, 3, 1, 16);
    b.u16(0x7FFF).u16(0x8000).u16(0x7C00 | 0x0001);
    const Decoded d = Tga(b);
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.at(0, 0), (Px{248, 248, 248, 255}));
    EXPECT_EQ(d.at(1, 0), (Px{0, 0, 0, 255}));
    EXPECT_EQ(d.at(2, 0), (Px{248, 0, 8, 255}));
}

TEST(ImagesTga, AlphaOnlyFromThirtyTwoBitPixels) {
    Bytes b32 = TgaHeader(2, 1, 1, 32);
    b32.raw({1, 2, 3, 77});
    EXPECT_EQ(Tga(b32).at(0, 0), (Px{3, 2, 1, 77}));
    Bytes b24 = TgaHeader(2, 1, 1, 24);
    b24.raw({1, 2, 3});
    EXPECT_EQ(Tga(b24).at(0, 0), (Px{3, 2, 1, 255}));
}

TEST(ImagesTga, RunAndRawPackets) {
    Bytes b = TgaHeader(10, 8, 1, 24);
    b.u8(0x83).raw({10, 20, 30});                                        // run of 4
    b.u8(0x03).raw({1, 1, 1}).raw({2, 2, 2}).raw({3, 3, 3}).raw({4, 4, 4});  // 4 raw
    const Decoded d = Tga(b);
    ASSERT_EQ(d.status, 1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.at(x, 0), (Px{30, 20, 10, 255}));
    for (int x = 4; x < 8; ++x) EXPECT_EQ(d.at(x, 0), (Px{x - 3, x - 3, x - 3, 255}));
}

TEST(ImagesTga, PacketCrossingARowContinuesOnTheNextAndStopsAtTheEnd) {
    // 2 x 2; one run of 3 then a run of 100 that passes the end of the picture.
    Bytes b = TgaHeader(10, 2, 2, 24);
    b.u8(0x82).raw({0, 0, 9}).u8(0x80 | 99).raw({0, 0, 7});
    const Decoded d = Tga(b, false);
    ASSERT_EQ(d.status, 1);
    ASSERT_EQ(d.px.size(), 16u);
    EXPECT_EQ(d.at(0, 0)[0], 9);
    EXPECT_EQ(d.at(1, 0)[0], 9);
    EXPECT_EQ(d.at(0, 1)[0], 9);
    EXPECT_EQ(d.at(1, 1)[0], 7);
}

TEST(ImagesTga, IdFieldIsSkipped) {
    Bytes b = TgaHeader(2, 1, 1, 24, 5);
    b.raw({9, 9, 9, 9, 9}).raw({1, 2, 3});
    EXPECT_EQ(Tga(b).at(0, 0), (Px{3, 2, 1, 255}));
}

TEST(ImagesTga, ColourMappedTypesLookUpTheMap) {
    for (int type : {1, 3}) {
        Bytes b = TgaHeader(type, 2, 1, 8, 0, 1, 3, 24);
        b.raw({0, 0, 1}).raw({0, 2, 0}).raw({3, 0, 0});  // map: B G R
        b.raw({2, 1});
        const Decoded d = Tga(b);
        ASSERT_EQ(d.status, 1) << type;
        EXPECT_EQ(d.at(0, 0), (Px{0, 0, 3, 255})) << type;
        EXPECT_EQ(d.at(1, 0), (Px{0, 2, 0, 255})) << type;
    }
    // Run-length colour-mapped, with 16-bit and 32-bit map entries.
    Bytes b16 = TgaHeader(9, 3, 1, 8, 0, 1, 2, 16);
    b16.u16(0x001F).u16(0x7C00).u8(0x81).u8(1).u8(0x00).u8(0);
    const Decoded d16 = Tga(b16);
    ASSERT_EQ(d16.status, 1);
    EXPECT_EQ(d16.at(0, 0), (Px{248, 0, 0, 255}));
    EXPECT_EQ(d16.at(2, 0), (Px{0, 0, 248, 255}));
    Bytes b32 = TgaHeader(1, 1, 1, 8, 0, 1, 2, 32);
    b32.raw({1, 2, 3, 4, 5, 6, 7, 8}).u8(1);
    EXPECT_EQ(Tga(b32).at(0, 0), (Px{7, 6, 5, 255}));
}

TEST(ImagesTga, MapIsSkippedForTrueColourAndIndicesPastItAreZero) {
    Bytes b = TgaHeader(2, 1, 1, 24, 0, 1, 2, 24);
    b.fill(6, 0xEE).raw({1, 2, 3});
    EXPECT_EQ(Tga(b).at(0, 0), (Px{3, 2, 1, 255}));
    Bytes past = TgaHeader(1, 2, 1, 8, 0, 1, 2, 24);
    past.raw({1, 1, 1, 2, 2, 2}).raw({1, 200});
    const Decoded d = Tga(past);
    ASSERT_EQ(d.status, 1);
    EXPECT_EQ(d.at(0, 0), (Px{2, 2, 2, 255}));
    EXPECT_EQ(d.at(1, 0), (Px{0, 0, 0, 0}));
}

TEST(ImagesTga, StatusCodesAndDeliveredSize) {
    Bytes type7 = TgaHeader(7, 4, 3, 24);
    type7.fill(36);
    Decoded d = Tga(type7);
    EXPECT_EQ(d.status, 0);
    EXPECT_EQ(d.w, 4);
    EXPECT_EQ(d.h, 3);

    Bytes ok = TgaHeader(2, 4, 3, 24);
    ok.fill(36);
    int32_t w = 0, h = 0;
    EXPECT_EQ(LoadTGA(ok.v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadTGA(ok.v, &px, nullptr, nullptr, true), 1);
    EXPECT_EQ(px.size(), 48u);

    // Type 0 and unsupported true-colour depths give zero pixels.
    for (const Bytes& zero : {TgaHeader(0, 2, 2, 24), TgaHeader(2, 2, 2, 8)}) {
        Bytes z = zero;
        z.fill(16, 0xAB);
        const Decoded dz = Tga(z);
        EXPECT_EQ(dz.status, 1);
        EXPECT_EQ(dz.px, std::vector<uint8_t>(16, 0));
    }
    // Widths of 0 and negative heights are not pictures.
    EXPECT_EQ(Tga(TgaHeader(2, 0, 3, 24)).status, 0);
    Bytes negative = TgaHeader(2, 2, 0xFFFF, 24);
    negative.fill(64);
    const Decoded dn = Tga(negative);
    EXPECT_EQ(dn.status, 0);
    EXPECT_EQ(dn.h, -1);
}

TEST(ImagesTga, PathFormReadsTheFileAndFailsForAMissingOne) {
    std::vector<uint8_t> px;
    int32_t w = 0, h = 0;
    const std::string dir = std::string(TAM_TEST_DATA_DIR) + "/images/";
    EXPECT_EQ(LoadTGA(dir + "tga_24.tga", &px, &w, &h, true), 1);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(LoadTGA(dir + "missing.tga", &px, &w, &h, true), 0);
    EXPECT_EQ(LoadImageFile(dir + "tga_24.tga", &px, &w, &h, true), 1);
    EXPECT_EQ(LoadImageFile(dir + "bmp_24.bmp", &px, &w, &h, true), 1);
    EXPECT_EQ(LoadImageFile(dir + "pcx_8.pcx", &px, &w, &h, true), 1);
}

}  // namespace
}  // namespace tam
