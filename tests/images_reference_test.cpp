// Each reader against files written by ImageMagick's convert (an independent encoder), compared
// pixel for pixel with the picture as convert decodes the same file.
#include <gtest/gtest.h>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using test::ParsePam;
using test::ReadTestFile;

enum class Reader { Tga, Bmp, Pcx };

struct ReferenceCase {
    const char* file;
    Reader reader;
    bool compareAlpha;    // else our alpha must be 255
    uint8_t channelMask;  // bits of each colour channel the format keeps
};

int Decode(Reader r, const std::vector<uint8_t>& file, std::vector<uint8_t>* px, int32_t* w, int32_t* h,
           bool top) {
    switch (r) {
    case Reader::Tga: return LoadTGA(file, px, w, h, top);
    case Reader::Bmp: return LoadBMP(file, px, w, h, top);
    case Reader::Pcx: return LoadPCX(file, px, w, h, top);
    }
    return 0;
}

class ImagesReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ImagesReference, MatchesIndependentDecoderInBothRowOrders) {
    const ReferenceCase& c = GetParam();
    const auto file = ReadTestFile(c.file);
    const auto ref = ParsePam(ReadTestFile(std::string(c.file) + ".pam"));
    ASSERT_FALSE(file.empty()) << c.file;
    ASSERT_GT(ref.width, 0) << c.file;

    for (bool top : {true, false}) {
        std::vector<uint8_t> px;
        int32_t w = -1, h = -1;
        ASSERT_EQ(Decode(c.reader, file, &px, &w, &h, top), 1) << c.file;
        ASSERT_EQ(w, ref.width);
        ASSERT_EQ(h, ref.height);
        ASSERT_EQ(px.size(), static_cast<size_t>(w) * h * 4);
        int mismatches = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* want = ref.At(x, top ? y : h - 1 - y);
                const uint8_t* got = &px[(static_cast<size_t>(y) * w + x) * 4];
                bool same = true;
                for (int k = 0; k < 3; ++k) same &= got[k] == (want[k] & c.channelMask);
                same &= got[3] == (c.compareAlpha ? want[3] : 255);
                if (!same && ++mismatches <= 3)
                    ADD_FAILURE() << c.file << (top ? " top" : " bottom") << " first at (" << x << "," << y
                                  << "): got " << int(got[0]) << " " << int(got[1]) << " " << int(got[2])
                                  << " " << int(got[3]) << ", want " << int(want[0]) << " " << int(want[1])
                                  << " " << int(want[2]) << " " << int(want[3]);
            }
        EXPECT_EQ(mismatches, 0) << c.file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImagesReference,
    ::testing::Values(ReferenceCase{"tga_16.tga", Reader::Tga, false, 0xF8},
                      ReferenceCase{"tga_24.tga", Reader::Tga, false, 0xFF},
                      ReferenceCase{"tga_24_rle.tga", Reader::Tga, false, 0xFF},
                      ReferenceCase{"tga_32.tga", Reader::Tga, true, 0xFF},
                      ReferenceCase{"tga_32_rle.tga", Reader::Tga, true, 0xFF},
                      ReferenceCase{"tga_map.tga", Reader::Tga, false, 0xFF},
                      ReferenceCase{"tga_map_rle.tga", Reader::Tga, false, 0xFF},
                      ReferenceCase{"tga_grey.tga", Reader::Tga, false, 0xFF},
                      ReferenceCase{"bmp_1.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_4.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_8.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_8_w5.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_rle8.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_rle8_runs.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_24.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_24_w5.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_32.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_8_v5.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_rle8_v5.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_os2_24.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"bmp_os2_8.bmp", Reader::Bmp, false, 0xFF},
                      ReferenceCase{"pcx_8.pcx", Reader::Pcx, false, 0xFF},
                      ReferenceCase{"pcx_8_w5.pcx", Reader::Pcx, false, 0xFF}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

}  // namespace
}  // namespace tam
