// The TGA reader on small hand-made files: pixel conversions, packets, ID fields, colour maps,
// status codes (row order is checked against an independent decoder in images_reference_test).
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using namespace test;

Bytes Hdr(int type, int w, int h, int depth, int idLength = 0, int mapType = 0, int mapLength = 0,
          int mapBits = 0) {
    Bytes b;
    b.u8(idLength).u8(mapType).u8(type).u16(0).u16(mapLength).u8(mapBits).u32(0).u16(w).u16(h).u8(depth).u8(0);
    return b;
}

// Plain 24- and 32-bit and colour-mapped files are compared whole with an independent decoder in
// images_reference_test.cpp; these are the cases it does not reach (its true-colour run-length
// files hold raw packets only).
TEST(ImagesTga, PixelFormatsPacketsAndMaps) {
    const Px o321 = {3, 2, 1, 255}, red = {248, 0, 0, 255};
    ExpectPictures(&LoadTGA, {
        {"16-bit keeps five bits", Hdr(2, 3, 1, 16).u16(0x7FFF).u16(0x8000).u16(0x7C01), 3,
         {{248, 248, 248, 255}, {0, 0, 0, 255}, {248, 0, 8, 255}}},
        {"ID field skipped", Hdr(2, 1, 1, 24, 5).raw({9, 9, 9, 9, 9, 1, 2, 3}), 1, {o321}},
        {"map skipped for true colour", Hdr(2, 1, 1, 24, 0, 1, 2, 24).fill(6, 0xEE).raw({1, 2, 3}), 1, {o321}},
        {"24-bit run of 4 then 4 raw", Hdr(10, 8, 1, 24).u8(0x83).raw({10, 20, 30}).u8(0x03).raw({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}), 8,
         {{30, 20, 10, 255}, {30, 20, 10, 255}, {30, 20, 10, 255}, {30, 20, 10, 255},
          {1, 1, 1, 255}, {2, 2, 2, 255}, {3, 3, 3, 255}, {4, 4, 4, 255}}},
        {"type 3 map", Hdr(3, 2, 1, 8, 0, 1, 3, 24).raw({0, 0, 1, 0, 2, 0, 3, 0, 0, 2, 1}), 2,
         {{0, 0, 3, 255}, {0, 2, 0, 255}}},
        {"type 9, 16-bit map", Hdr(9, 3, 1, 8, 0, 1, 2, 16).u16(0x001F).u16(0x7C00).raw({0x81, 1, 0x00, 0}), 3,
         {red, red, {0, 0, 248, 255}}},
        {"32-bit map", Hdr(1, 1, 1, 8, 0, 1, 2, 32).raw({1, 2, 3, 4, 5, 6, 7, 8, 1}), 1, {{7, 6, 5, 255}}},
        {"index past the map is zero", Hdr(1, 2, 1, 8, 0, 1, 2, 24).raw({1, 1, 1, 2, 2, 2, 1, 200}), 2,
         {{2, 2, 2, 255}, {0, 0, 0, 0}}},
        // 2 x 2 in file order: a run of 3 crosses a row; a run of 100 stops at the picture's end.
        {"packets across rows", Hdr(10, 2, 2, 24).u8(0x82).raw({9, 0, 0}).u8(0x80 | 99).raw({7, 0, 0}), 2,
         {{0, 0, 9, 255}, {0, 0, 7, 255}, {0, 0, 9, 255}, {0, 0, 9, 255}}},
        {"raw packets of one pixel and across rows", Hdr(10, 2, 2, 24).u8(0x00).raw({1, 0, 0}).u8(0x02).raw({2, 0, 0, 3, 0, 0, 4, 0, 0}), 2,
         {{0, 0, 3, 255}, {0, 0, 4, 255}, {0, 0, 1, 255}, {0, 0, 2, 255}}},
    });
}

TEST(ImagesTga, StatusCodesAndDeliveredSize) {
    const Decoded type7 = Decode(&LoadTGA, Hdr(7, 4, 3, 24).fill(36));
    EXPECT_EQ(type7.status, 0);
    EXPECT_EQ(std::pair(type7.w, type7.h), std::pair(4, 3));
    const Bytes ok = Hdr(2, 4, 3, 24).fill(36);
    int32_t w = 0, h = 0;
    EXPECT_EQ(LoadTGA(ok.v, nullptr, &w, &h, true), -1);
    EXPECT_EQ(std::pair(w, h), std::pair(4, 3));
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadTGA(ok.v, &px, nullptr, nullptr, true), 1);
    EXPECT_EQ(px.size(), 48u);
    // Type 0 and unsupported true-colour depths give zero pixels.
    for (Bytes zero : {Hdr(0, 2, 2, 24), Hdr(2, 2, 2, 8)}) {
        const Decoded d = Decode(&LoadTGA, zero.fill(16, 0xAB));
        EXPECT_EQ(d.status, 1);
        EXPECT_EQ(d.px, std::vector<uint8_t>(16, 0));
    }
    // Widths of 0 and negative heights are not pictures.
    EXPECT_EQ(Decode(&LoadTGA, Hdr(2, 0, 3, 24)).status, 0);
    const Decoded negative = Decode(&LoadTGA, Hdr(2, 2, 0xFFFF, 24).fill(64));
    EXPECT_EQ(negative.status, 0);
    EXPECT_EQ(negative.h, -1);
}

TEST(ImagesTga, PathFormsReadTheFileAndFailForAMissingOne) {
    std::vector<uint8_t> px;
    int32_t w = 0, h = 0;
    const std::string dir = std::string(TAM_TEST_DATA_DIR) + "/images/";
    EXPECT_EQ(LoadTGA(dir + "tga_24.tga", &px, &w, &h, true), 1);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(LoadTGA(dir + "missing.tga", &px, &w, &h, true), 0);
    for (const char* name : {"tga_24.tga", "bmp_24.bmp", "pcx_8.pcx"})
        EXPECT_EQ(LoadImageFile(dir + name, &px, &w, &h, true), 1) << name;
}

}  // namespace
}  // namespace tam
