// Each reader against files written by ImageMagick's convert (an independent encoder), compared
// pixel for pixel with the picture as convert decodes the same file.
#include <gtest/gtest.h>

#include <string>

#include "images/readers.h"
#include "images_test_util.h"

namespace tam {
namespace {

using namespace test;

class ImagesReference : public ::testing::TestWithParam<const char*> {};

TEST_P(ImagesReference, MatchesIndependentDecoderInBothRowOrders) {
    const std::string name = GetParam();
    const SpanReader read = name.ends_with(".tga") ? SpanReader(&LoadTGA) : name.ends_with(".bmp") ? SpanReader(&LoadBMP) : SpanReader(&LoadPCX);
    const bool compareAlpha = name.starts_with("tga_32");        // else our alpha must be 255
    const uint8_t mask = name == "tga_16.tga" ? 0xF8 : 0xFF;     // the bits a channel keeps
    Bytes file;
    file.v = ReadTestFile(name);
    const auto ref = ParsePam(ReadTestFile(name + ".pam"));
    ASSERT_FALSE(file.v.empty());
    ASSERT_EQ(ref.status, 1);
    for (bool top : {true, false}) {
        const Decoded d = Decode(read, file, top);
        ASSERT_EQ(d.status, 1);
        ASSERT_EQ(std::pair(d.w, d.h), std::pair(ref.w, ref.h));
        ASSERT_EQ(d.px.size(), static_cast<size_t>(d.w) * d.h * 4);
        int mismatches = 0;
        for (int y = 0; y < d.h; ++y)
            for (int x = 0; x < d.w; ++x) {
                const Px want = ref.at(x, top ? y : d.h - 1 - y);
                const Px expected = {want[0] & mask, want[1] & mask, want[2] & mask, compareAlpha ? want[3] : 255};
                if (d.at(x, y) != expected && ++mismatches <= 3)
                    ADD_FAILURE() << name << (top ? " top" : " bottom") << " at (" << x << "," << y << "): got "
                                  << ::testing::PrintToString(d.at(x, y)) << ", want " << ::testing::PrintToString(expected);
            }
        EXPECT_EQ(mismatches, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImagesReference,
    ::testing::Values("tga_16.tga", "tga_24.tga", "tga_24_rle.tga", "tga_32.tga", "tga_32_rle.tga", "tga_map.tga",
                      "tga_map_rle.tga", "tga_grey.tga", "bmp_1.bmp", "bmp_4.bmp", "bmp_8.bmp", "bmp_8_w5.bmp",
                      "bmp_rle8.bmp", "bmp_rle8_runs.bmp", "bmp_24.bmp", "bmp_24_w5.bmp", "bmp_32.bmp",
                      "bmp_8_v5.bmp", "bmp_rle8_v5.bmp", "bmp_os2_24.bmp", "bmp_os2_8.bmp", "pcx_8.pcx",
                      "pcx_8_w5.pcx"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        std::string name = info.param;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

}  // namespace
}  // namespace tam
