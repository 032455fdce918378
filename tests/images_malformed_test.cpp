// The readers on damaged files: every truncation of the test pictures, sizes far beyond what a
// file can hold or beyond the 4096 x 4096 cap, runs past the end, data offsets past the end.
// Nothing may read or write outside its buffers (the sanitizer build checks that); the results
// are refusals, each with its reason, or cut pictures.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

#include "images/image_local.h"
#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::Bytes;
using test::ReadTestFile;

using test::SpanReader;

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
            const char* why = nullptr;
            const int status = read(cut, &px, &w, &h, true, &why);
            if (status == 1) {
                EXPECT_EQ(px.size(), static_cast<size_t>(w) * h * 4) << name << " cut at " << n;
                if (raw && n + padding < file.size()) ADD_FAILURE() << name << " read although cut at " << n << " of " << file.size();
            } else {
                EXPECT_EQ(status, 0) << name << " cut at " << n;
                EXPECT_TRUE(px.empty()) << name << " cut at " << n;
                EXPECT_NE(why, nullptr) << name << " cut at " << n;
            }
        }
    }
}

// Headers with every field we do not vary left zero.
Bytes Tga(int idLength, int mapType, int type, int mapLength, int mapBits, int w, int h, int depth) {
    Bytes b;
    b.u8(idLength).u8(mapType).u8(type).u16(0).u16(mapLength).u8(mapBits).fill(4).u16(w).u16(h).u8(depth).u8(0);
    return b;
}
Bytes Bmp(uint32_t offset, int32_t w, int32_t h, int bpp, int compression) {
    Bytes b;
    b.raw({'B', 'M'}).u32(0).u32(0).u32(offset).u32(40).u32(uint32_t(w)).u32(uint32_t(h)).u16(1).u16(bpp);
    b.u32(compression).fill(20);
    return b;
}
Bytes Pcx(int xMax, int yMax, std::initializer_list<uint8_t> data, uint8_t paletteByte = 0) {
    Bytes b;
    b.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(xMax).u16(yMax).fill(116).raw(data).u8(12);
    return b.fill(768, paletteByte);
}

// `b` with byte `at` (from the end when negative) set to `value`.
Bytes Patched(Bytes b, ptrdiff_t at, uint8_t value) {
    b.v[static_cast<size_t>(at < 0 ? static_cast<ptrdiff_t>(b.v.size()) + at : at)] = value;
    return b;
}

// Pictures of side x side pixels that the file legitimately describes with maximal runs: a
// colour-mapped RLE TGA, an RLE8 BMP and a PCX (a few megabytes each for 16384 squared).
Bytes RunsTga(int side) {
    Bytes b = Tga(0, 0, 11, 0, 0, side, side, 8);
    for (uint64_t n = uint64_t(side) * side; n > 0; n -= std::min<uint64_t>(n, 128)) b.raw({0xFF, 0x80});
    return b;
}
Bytes RunsBmp(int side) {
    Bytes b = Bmp(54, side, side, 8, 1);
    for (int row = 0; row < side; ++row) {
        for (int left = side; left > 0; left -= std::min(left, 255)) b.u8(std::min(left, 255)).u8(0);
        b.raw({0, 0});
    }
    return b;
}
Bytes RunsPcx(int side) {
    Bytes b;
    b.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(side - 1).u16(side - 1).fill(116);
    for (uint64_t n = uint64_t(side) * side; n > 0; n -= std::min<uint64_t>(n, 63)) b.raw({0xFF, 1});
    return b.u8(12).fill(768);
}

// Each file is refused with `why` or, when `why` is null, read to exactly `want`.
struct Case {
    const char* what;
    SpanReader read;
    Bytes file;
    const char* why;
    std::vector<uint8_t> want = {};
};

TEST(ImagesMalformed, SizesRunsOffsetsAndTablesBeyondTheFile) {
    namespace why = img::why;
    const Case cases[] = {
        // Headers and variants.
        {"TGA short header", &LoadTGA, Bytes().fill(17), why::kShortHeader},
        {"TGA type 7", &LoadTGA, Tga(0, 0, 7, 0, 0, 1, 1, 24).fill(3), why::kUnsupported},
        {"TGA RLE at 8-bit true colour", &LoadTGA, Tga(0, 0, 10, 0, 0, 1, 1, 8).fill(3), why::kUnsupportedDepth},
        {"BMP signature BA", &LoadBMP, Patched(Bmp(54, 1, 1, 24, 0).raw({1, 2, 3, 0}), 1, 'A'), why::kSignature},
        {"BMP short header", &LoadBMP, Bytes().raw({'B', 'M'}).fill(20), why::kShortHeader},
        {"PCX version 3", &LoadPCX, Bytes().u8(10).u8(3).u8(1).u8(8).fill(124 + 769), why::kUnsupported},
        {"PCX palette marker 11", &LoadPCX, Patched(Pcx(0, 0, {1}), -769, 11), why::kNoPalette},
        {"TGA zero width", &LoadTGA, Tga(0, 0, 2, 0, 0, 0, 1, 24), why::kEmpty},
        // Sizes beyond what the file holds.
        {"TGA RLE 4000 squared", &LoadTGA, Tga(0, 0, 10, 0, 0, 4000, 4000, 24).raw({0xFF, 1, 2, 3}), why::kMoreThanFileHolds},
        {"TGA type 0 undecoded", &LoadTGA, Tga(0, 0, 0, 0, 0, 4096, 4096, 8), why::kMoreThanFileHolds},
        {"TGA 8-bit true colour undecoded", &LoadTGA, Tga(0, 0, 2, 0, 0, 4096, 4096, 8), why::kMoreThanFileHolds},
        {"BMP 16-bit undecoded", &LoadBMP, Bmp(54, 4000, 4000, 16, 0), why::kMoreThanFileHolds},
        {"BMP RLE8 4000 squared", &LoadBMP, Bmp(54, 4000, 4000, 8, 1).raw({255, 0}), why::kMoreThanFileHolds},
        {"BMP 24-bit far short", &LoadBMP, Bmp(54, 1000, 1000, 24, 0).fill(100), why::kMoreThanFileHolds},
        {"PCX 4000 squared", &LoadPCX, Pcx(3999, 3999, {0xFF, 1}), why::kMoreThanFileHolds},
        // Beyond 4096 x 4096, also when runs fill the picture legitimately.
        {"TGA raw 32767 squared", &LoadTGA, Tga(0, 0, 2, 0, 0, 32767, 32767, 24).raw({0xFF, 1, 2, 3}), why::kTooLarge},
        {"BMP 100000 squared", &LoadBMP, Bmp(54, 100000, 100000, 8, 1).raw({255, 0}), why::kTooLarge},
        {"TGA runs 16384 squared", &LoadTGA, RunsTga(16384), why::kTooLarge},
        {"BMP runs 16384 squared", &LoadBMP, RunsBmp(16384), why::kTooLarge},
        {"PCX runs 16384 squared", &LoadPCX, RunsPcx(16384), why::kTooLarge},
        {"TGA 4096 x 4097", &LoadTGA, Tga(0, 0, 2, 0, 0, 4096, 4097, 24), why::kTooLarge},
        // Runs past the end of the picture are cut.
        {"TGA run of 128", &LoadTGA, Tga(0, 0, 10, 0, 0, 2, 1, 24).raw({0xFF, 1, 2, 3}), nullptr, {3, 2, 1, 255, 3, 2, 1, 255}},
        {"TGA raw packet of 128", &LoadTGA, Tga(0, 0, 10, 0, 0, 2, 1, 24).raw({0x7F, 1, 2, 3, 4, 5, 6}), nullptr,
         {3, 2, 1, 255, 6, 5, 4, 255}},
        {"BMP RLE8 run of 255", &LoadBMP, Bmp(58, 3, 1, 8, 1).raw({9, 8, 7, 0, 255, 0}), nullptr,
         {7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}},
        {"BMP absolute run past the file", &LoadBMP, Bmp(58, 3, 1, 8, 1).raw({9, 8, 7, 0, 0, 200, 0}), why::kTruncated},
        {"TGA RLE short", &LoadTGA, Tga(0, 0, 10, 0, 0, 3, 1, 24).raw({0x81, 1, 2, 3}), why::kTruncated},
        {"PCX run of 63", &LoadPCX, Pcx(1, 0, {0xFF, 3}, 4), nullptr, {4, 4, 4, 255, 4, 4, 4, 255}},
        // Offsets and tables past the file.
        {"BMP data offset", &LoadBMP, Bmp(5000, 1, 1, 24, 0).fill(4), why::kTruncated},
        {"BMP RLE data offset", &LoadBMP, Bmp(5000, 1, 1, 8, 1).fill(4), why::kDataOffset},
        {"BMP index past a 2-entry table", &LoadBMP, Bmp(62, 2, 1, 8, 0).raw({1, 2, 3, 0, 4, 5, 6, 0, 1, 200, 0, 0}), nullptr,
         {6, 5, 4, 255, 0, 0, 0, 0}},
        {"TGA ID field", &LoadTGA, Tga(200, 0, 2, 0, 0, 1, 1, 24).raw({1, 2, 3}), why::kDataOffset},
        {"TGA colour map", &LoadTGA, Tga(0, 1, 1, 300, 24, 1, 1, 8).raw({1, 2, 3, 0}), why::kColourMap},
        {"TGA 12-bit map entries", &LoadTGA, Tga(0, 1, 1, 1, 12, 1, 1, 8).raw({1, 2, 0}), why::kColourMap},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> px;
        int32_t w = 0, h = 0;
        const char* why = nullptr;
        EXPECT_EQ(c.read(c.file.v, &px, &w, &h, true, &why), c.why ? 0 : 1) << c.what;
        EXPECT_STREQ(why, c.why) << c.what;
        EXPECT_EQ(px, c.want) << c.what;
    }
    // A picture of exactly 4096 x 4096 pixels is read.
    std::vector<uint8_t> px;
    EXPECT_EQ(LoadTGA(RunsTga(4096).v, &px, nullptr, nullptr, true), 1);
    EXPECT_EQ(px.size(), size_t(4096) * 4096 * 4);
}

}  // namespace
}  // namespace tam
