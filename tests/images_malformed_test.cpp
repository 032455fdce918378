// The readers on damaged files: every truncation of the test pictures, sizes far beyond what a
// file can hold, runs past the end, data offsets past the end. Nothing may read or write outside
// its buffers (the sanitizer build checks that); the results are refusals or cut pictures.
#include <gtest/gtest.h>

#include <dirent.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::Bytes;
using test::ReadTestFile;

using SpanReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool);

SpanReader ReaderFor(const std::string& name) {
    if (name.ends_with(".tga")) return &LoadTGA;
    if (name.ends_with(".bmp")) return &LoadBMP;
    if (name.ends_with(".pcx")) return &LoadPCX;
    return nullptr;
}

std::vector<std::string> TestPictures() {
    std::vector<std::string> names;
    const std::string dir = std::string(TAM_TEST_DATA_DIR) + "/images";
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (ReaderFor(e->d_name)) names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

TEST(ImagesMalformed, EveryTruncationIsRefusedOrComplete) {
    const auto names = TestPictures();
    ASSERT_GE(names.size(), 20u);
    for (const std::string& name : names) {
        const auto file = ReadTestFile(name);
        const SpanReader read = ReaderFor(name);
        // Raw pictures need all their pixel bytes (a BMP may lose its last row's padding);
        // compressed ones may lose a trailing end marker.
        const bool raw = name.find("rle") == std::string::npos;
        const size_t padding = name.ends_with(".bmp") ? 3 : 0;
        for (size_t n = 0; n < file.size(); ++n) {
            std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(n));
            std::vector<uint8_t> px;
            int32_t w = 0, h = 0;
            const int status = read(cut, &px, &w, &h, true);
            if (status == 1) {
                EXPECT_EQ(px.size(), static_cast<size_t>(w) * h * 4) << name << " cut at " << n;
                if (raw && n + padding < file.size()) ADD_FAILURE() << name << " read although cut at " << n << " of " << file.size();
            } else {
                EXPECT_EQ(status, 0) << name << " cut at " << n;
                EXPECT_TRUE(px.empty()) << name << " cut at " << n;
            }
        }
    }
}

TEST(ImagesMalformed, HugeSizesInTinyFilesAreRefused) {
    std::vector<uint8_t> px;
    int32_t w = 0, h = 0;
    // TGA: run-length 16000 x 16000 in a few bytes; raw 32767 x 32767.
    Bytes tga;
    tga.u8(0).u8(0).u8(10).fill(9).u16(16000).u16(16000).u8(24).u8(0).raw({0xFF, 1, 2, 3});
    EXPECT_EQ(LoadTGA(tga.v, &px, &w, &h, true), 0);
    EXPECT_EQ(w, 16000);
    tga.v[2] = 2;
    tga.v[12] = tga.v[14] = 0xFF;
    tga.v[13] = tga.v[15] = 0x7F;
    EXPECT_EQ(LoadTGA(tga.v, &px, &w, &h, true), 0);
    // Pictures whose pixels are not decoded still need a file of a fitting size.
    for (int type : {0, 2}) {
        Bytes none;
        none.u8(0).u8(0).u8(type).fill(9).u16(16384).u16(16384).u8(8).u8(0);
        EXPECT_EQ(LoadTGA(none.v, &px, &w, &h, true), 0) << type;
    }
    Bytes bmp16;
    bmp16.raw({'B', 'M'}).u32(0).u32(0).u32(54).u32(40).u32(16000).u32(16000).u16(1).u16(16).u32(0).fill(20);
    EXPECT_EQ(LoadBMP(bmp16.v, &px, &w, &h, true), 0);
    // BMP: 100000 x 100000 (over the limit), and 16000 x 16000 RLE8 in two bytes.
    for (int32_t side : {100000, 16000}) {
        Bytes bmp;
        bmp.raw({'B', 'M'}).u32(0).u32(0).u32(54).u32(40).u32(side).u32(side).u16(1).u16(8).u32(1).fill(20);
        bmp.raw({255, 0});
        EXPECT_EQ(LoadBMP(bmp.v, &px, &w, &h, true), 0) << side;
    }
    // BMP: 24-bit 1000 x 1000 with the width's multiplication overflowing nothing but far short.
    Bytes bmp24;
    bmp24.raw({'B', 'M'}).u32(0).u32(0).u32(54).u32(40).u32(1000).u32(1000).u16(1).u16(24).u32(0).fill(20);
    bmp24.fill(100);
    EXPECT_EQ(LoadBMP(bmp24.v, &px, &w, &h, true), 0);
    // PCX: 16000 x 16000 with a short stream.
    Bytes pcx;
    pcx.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(15999).u16(15999).fill(116).raw({0xFF, 1}).u8(12).fill(768);
    EXPECT_EQ(LoadPCX(pcx.v, &px, &w, &h, true), 0);
    EXPECT_TRUE(px.empty());
}

TEST(ImagesMalformed, RunsPastTheEndAreCut) {
    std::vector<uint8_t> px;
    int32_t w = 0, h = 0;
    Bytes tga;
    tga.u8(0).u8(0).u8(10).fill(9).u16(2).u16(1).u8(24).u8(0).raw({0xFF, 1, 2, 3});
    ASSERT_EQ(LoadTGA(tga.v, &px, &w, &h, true), 1);
    EXPECT_EQ(px, (std::vector<uint8_t>{3, 2, 1, 255, 3, 2, 1, 255}));
    // A raw TGA packet of 128 pixels with only the picture's 2 present.
    Bytes raw;
    raw.u8(0).u8(0).u8(10).fill(9).u16(2).u16(1).u8(24).u8(0).raw({0x7F, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(LoadTGA(raw.v, &px, &w, &h, true), 1);

    Bytes bmp;
    bmp.raw({'B', 'M'}).u32(0).u32(0).u32(58).u32(40).u32(3).u32(1).u16(1).u16(8).u32(1).fill(20);
    bmp.raw({9, 8, 7, 0}).raw({255, 0});
    ASSERT_EQ(LoadBMP(bmp.v, &px, &w, &h, true), 1);
    EXPECT_EQ(px, (std::vector<uint8_t>{7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}));
    // An absolute run longer than the file.
    bmp.v.resize(bmp.v.size() - 2);
    bmp.raw({0, 200, 0});
    EXPECT_EQ(LoadBMP(bmp.v, &px, &w, &h, true), 0);

    Bytes pcx;
    pcx.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(1).u16(0).fill(116).raw({0xFF, 3}).u8(12).fill(768, 4);
    ASSERT_EQ(LoadPCX(pcx.v, &px, &w, &h, true), 1);
    EXPECT_EQ(px, (std::vector<uint8_t>{4, 4, 4, 255, 4, 4, 4, 255}));
}

TEST(ImagesMalformed, OffsetsAndTablesPastTheFile) {
    std::vector<uint8_t> px;
    int32_t w = 0, h = 0;
    // BMP pixel data offset past the end.
    Bytes far;
    far.raw({'B', 'M'}).u32(0).u32(0).u32(5000).u32(40).u32(1).u32(1).u16(1).u16(24).u32(0).fill(20).fill(4);
    EXPECT_EQ(LoadBMP(far.v, &px, &w, &h, true), 0);
    // BMP 8-bit whose colour table holds 2 entries: index 200 selects nothing.
    Bytes table;
    table.raw({'B', 'M'}).u32(0).u32(0).u32(62).u32(40).u32(2).u32(1).u16(1).u16(8).u32(0).fill(20);
    table.raw({1, 2, 3, 0, 4, 5, 6, 0}).raw({1, 200, 0, 0});
    ASSERT_EQ(LoadBMP(table.v, &px, &w, &h, true), 1);
    EXPECT_EQ(px, (std::vector<uint8_t>{6, 5, 4, 255, 0, 0, 0, 0}));
    // TGA whose ID field or colour map runs past the file.
    Bytes id;
    id.u8(200).u8(0).u8(2).fill(9).u16(1).u16(1).u8(24).u8(0).raw({1, 2, 3});
    EXPECT_EQ(LoadTGA(id.v, &px, &w, &h, true), 0);
    Bytes map;
    map.u8(0).u8(1).u8(1).u16(0).u16(300).u8(24).fill(4).u16(1).u16(1).u8(8).u8(0).raw({1, 2, 3, 0});
    EXPECT_EQ(LoadTGA(map.v, &px, &w, &h, true), 0);
    // Colour map with an entry size we cannot read.
    Bytes odd;
    odd.u8(0).u8(1).u8(1).u16(0).u16(1).u8(12).fill(4).u16(1).u16(1).u8(8).u8(0).raw({1, 2, 0});
    EXPECT_EQ(LoadTGA(odd.v, &px, &w, &h, true), 0);
}

}  // namespace
}  // namespace tam
