// The PNG writer of the asset tool, checked by reading its files back with an independent
// decoder (ImageMagick's convert, when installed).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art_noise.h"
#include "image_write.h"
#include "tool.h"

namespace tam::asset {
namespace {

// Decodes a PNG with convert into raw RGBA bytes; empty when convert is unavailable.
std::string DecodeWithConvert(const std::string& png) {
    const std::string raw = png + ".rgba";
    const std::string cmd = "convert '" + png + "' -depth 8 'rgba:" + raw + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return {};
    std::ifstream in(raw, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(raw.c_str());
    return bytes;
}

TEST(ArtPng, IndependentDecoderReadsBackEveryPixel) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no convert";
    // 300 x 220 RGBA is more than one 64 KiB stored block, with odd widths and varied alpha.
    for (const auto& [w, h] : {std::pair{300, 220}, std::pair{1, 1}, std::pair{7, 3}}) {
        Picture pic = MakePicture(w, h);
        for (size_t i = 0; i < pic.rgba.size(); ++i)
            pic.rgba[i] = static_cast<uint8_t>(art::HashCell(5, static_cast<int>(i), w));
        const std::string path = ::testing::TempDir() + "art_png_" + std::to_string(w) + ".png";
        ASSERT_TRUE(WriteFileBytes(path, EncodePng(pic)));
        const std::string back = DecodeWithConvert(path);
        std::remove(path.c_str());
        ASSERT_EQ(back.size(), pic.rgba.size()) << w << "x" << h;
        EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), pic.rgba) << w << "x" << h;
    }
}

}  // namespace
}  // namespace tam::asset
