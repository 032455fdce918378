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

using namespace test;

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

// Pictures of side x side pixels that the file legitimately describes with maximal runs: a
// colour-mapped RLE TGA, an RLE8 BMP and a PCX (a few megabytes each for 16384 squared).
Bytes RunsTga(int side) {
    Bytes b = Tga(11, side, side, 8);
    for (uint64_t n = uint64_t(side) * side; n > 0; n -= std::min<uint64_t>(n, 128)) b.raw({0xFF, 0x80});
    return b;
}
Bytes RunsBmp(int side) {
    std::vector<uint8_t> data;
    for (int row = 0; row < side; ++row) {
        for (int left = side; left > 0; left -= std::min(left, 255))
            data.insert(data.end(), {uint8_t(std::min(left, 255)), 0});
        data.insert(data.end(), {0, 0});
    }
    return Bmp(side, side, 8, 1, {}, data);
}
Bytes RunsPcx(int side) {
    std::vector<uint8_t> data;
    for (uint64_t n = uint64_t(side) * side; n > 0; n -= std::min<uint64_t>(n, 63))
        data.insert(data.end(), {0xFF, 1});
    return Pcx(0, 0, side - 1, side - 1, data);
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
    const SpanReader tga = &LoadTGA, bmp = &LoadBMP, pcx = &LoadPCX;
    const Case cases[] = {
        // Headers and variants.
        {"TGA short header", tga, Bytes().fill(17), why::kShortHeader},
        {"TGA type 7", tga, Tga(7, 1, 1, 24).fill(3), why::kUnsupported},
        {"TGA RLE at 8-bit true colour", tga, Tga(10, 1, 1, 8).fill(3), why::kUnsupportedDepth},
        {"BMP signature BA", bmp, Patched(Bmp(1, 1, 24, 0, {}, {1, 2, 3, 0}), 1, 'A'), why::kSignature},
        {"BMP short header", bmp, Bytes().raw({'B', 'M'}).fill(20), why::kShortHeader},
        {"PCX version 3", pcx, Pcx(0, 0, 0, 0, {}, 0, 3), why::kUnsupported},
        {"PCX palette marker 11", pcx, Pcx(0, 0, 0, 0, {1}, 0, 5, 11), why::kNoPalette},
        {"TGA zero width", tga, Tga(2, 0, 1, 24), why::kEmpty},
        // Sizes beyond what the file holds.
        {"TGA RLE 4000 squared", tga, Tga(10, 4000, 4000, 24).raw({0xFF, 1, 2, 3}), why::kMoreThanFileHolds},
        {"TGA type 0 undecoded", tga, Tga(0, 4096, 4096, 8), why::kMoreThanFileHolds},
        {"TGA 8-bit true colour undecoded", tga, Tga(2, 4096, 4096, 8), why::kMoreThanFileHolds},
        {"BMP 16-bit undecoded", bmp, Bmp(4000, 4000, 16, 0), why::kMoreThanFileHolds},
        {"BMP RLE8 4000 squared", bmp, Bmp(4000, 4000, 8, 1, {}, {255, 0}), why::kMoreThanFileHolds},
        {"BMP 24-bit far short", bmp, Bmp(1000, 1000, 24, 0, {}, std::vector<uint8_t>(100)),
         why::kMoreThanFileHolds},
        {"PCX 4000 squared", pcx, Pcx(0, 0, 3999, 3999, {0xFF, 1}), why::kMoreThanFileHolds},
        // Beyond 4096 x 4096, also when runs fill the picture legitimately.
        {"TGA raw 32767 squared", tga, Tga(2, 32767, 32767, 24).raw({0xFF, 1, 2, 3}), why::kTooLarge},
        {"BMP 100000 squared", bmp, Bmp(100000, 100000, 8, 1, {}, {255, 0}), why::kTooLarge},
        {"TGA runs 16384 squared", tga, RunsTga(16384), why::kTooLarge},
        {"BMP runs 16384 squared", bmp, RunsBmp(16384), why::kTooLarge},
        {"PCX runs 16384 squared", pcx, RunsPcx(16384), why::kTooLarge},
        {"TGA 4096 x 4097", tga, Tga(2, 4096, 4097, 24), why::kTooLarge},
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
        {"BMP data offset", bmp, Bmp(1, 1, 24, 0, {}, {0, 0, 0, 0}, 5000), why::kTruncated},
        {"BMP RLE data offset", bmp, Bmp(1, 1, 8, 1, {}, {0, 0, 0, 0}, 5000), why::kDataOffset},
        {"BMP index past a 2-entry table", bmp, Bmp(2, 1, 8, 0, {{3, 2, 1}, {6, 5, 4}}, {1, 200, 0, 0}), nullptr,
         {6, 5, 4, 255, 0, 0, 0, 0}},
        {"TGA ID field", tga, Tga(2, 1, 1, 24, 200).raw({1, 2, 3}), why::kDataOffset},
        {"TGA colour map", tga, Tga(1, 1, 1, 8, 0, 1, 300, 24).raw({1, 2, 3, 0}), why::kColourMap},
        {"TGA 12-bit map entries", tga, Tga(1, 1, 1, 8, 0, 1, 1, 12).raw({1, 2, 0}), why::kColourMap},
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
