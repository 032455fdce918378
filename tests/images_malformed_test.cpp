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

// Each file is refused (status 0) or read to exactly `want` (status 1).
struct Case {
    const char* what;
    SpanReader read;
    Bytes file;
    int status;
    std::vector<uint8_t> want = {};
};

TEST(ImagesMalformed, SizesRunsOffsetsAndTablesBeyondTheFile) {
    const Case cases[] = {
        // Sizes far beyond what the file holds.
        {"TGA RLE 16000 squared", &LoadTGA, Tga(0, 0, 10, 0, 0, 16000, 16000, 24).raw({0xFF, 1, 2, 3}), 0},
        {"TGA raw 32767 squared", &LoadTGA, Tga(0, 0, 2, 0, 0, 32767, 32767, 24).raw({0xFF, 1, 2, 3}), 0},
        {"TGA type 0 undecoded", &LoadTGA, Tga(0, 0, 0, 0, 0, 16384, 16384, 8), 0},
        {"TGA 8-bit true colour undecoded", &LoadTGA, Tga(0, 0, 2, 0, 0, 16384, 16384, 8), 0},
        {"BMP 16-bit undecoded", &LoadBMP, Bmp(54, 16000, 16000, 16, 0), 0},
        {"BMP over the limit", &LoadBMP, Bmp(54, 100000, 100000, 8, 1).raw({255, 0}), 0},
        {"BMP RLE8 16000 squared", &LoadBMP, Bmp(54, 16000, 16000, 8, 1).raw({255, 0}), 0},
        {"BMP 24-bit far short", &LoadBMP, Bmp(54, 1000, 1000, 24, 0).fill(100), 0},
        {"PCX 16000 squared", &LoadPCX, Pcx(15999, 15999, {0xFF, 1}), 0},
        // Runs past the end of the picture are cut.
        {"TGA run of 128", &LoadTGA, Tga(0, 0, 10, 0, 0, 2, 1, 24).raw({0xFF, 1, 2, 3}), 1, {3, 2, 1, 255, 3, 2, 1, 255}},
        {"TGA raw packet of 128", &LoadTGA, Tga(0, 0, 10, 0, 0, 2, 1, 24).raw({0x7F, 1, 2, 3, 4, 5, 6}), 1,
         {3, 2, 1, 255, 6, 5, 4, 255}},
        {"BMP RLE8 run of 255", &LoadBMP, Bmp(58, 3, 1, 8, 1).raw({9, 8, 7, 0, 255, 0}), 1,
         {7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}},
        {"BMP absolute run past the file", &LoadBMP, Bmp(58, 3, 1, 8, 1).raw({9, 8, 7, 0, 0, 200, 0}), 0},
        {"PCX run of 63", &LoadPCX, Pcx(1, 0, {0xFF, 3}, 4), 1, {4, 4, 4, 255, 4, 4, 4, 255}},
        // Offsets and tables past the file.
        {"BMP data offset", &LoadBMP, Bmp(5000, 1, 1, 24, 0).fill(4), 0},
        {"BMP index past a 2-entry table", &LoadBMP, Bmp(62, 2, 1, 8, 0).raw({1, 2, 3, 0, 4, 5, 6, 0, 1, 200, 0, 0}), 1,
         {6, 5, 4, 255, 0, 0, 0, 0}},
        {"TGA ID field", &LoadTGA, Tga(200, 0, 2, 0, 0, 1, 1, 24).raw({1, 2, 3}), 0},
        {"TGA colour map", &LoadTGA, Tga(0, 1, 1, 300, 24, 1, 1, 8).raw({1, 2, 3, 0}), 0},
        {"TGA 12-bit map entries", &LoadTGA, Tga(0, 1, 1, 1, 12, 1, 1, 8).raw({1, 2, 0}), 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> px;
        int32_t w = 0, h = 0;
        EXPECT_EQ(c.read(c.file.v, &px, &w, &h, true), c.status) << c.what;
        EXPECT_EQ(px, c.want) << c.what;
    }
}

}  // namespace
}  // namespace tam
