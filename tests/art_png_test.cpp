// The asset tool's PNG files, read back by an independent decoder (stb_image): every pixel and
// its alpha survive, and the files are compressed.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <vector>

#include "art_noise.h"
#include "image_write.h"

namespace tam::asset {
namespace {

TEST(ArtPng, IndependentDecoderReadsBackEveryPixelOfACompressedFile) {
    for (const auto& [w, h] : {std::pair{300, 220}, std::pair{1, 1}, std::pair{7, 3}}) {
        Picture pic = MakePicture(w, h);
        // Noise in the first half of the rows (varied alpha), a flat colour in the rest.
        for (size_t i = 0; i < pic.rgba.size(); ++i)
            pic.rgba[i] = i < pic.rgba.size() / 2
                              ? static_cast<uint8_t>(art::HashCell(5, static_cast<int>(i), w))
                              : static_cast<uint8_t>(i % 4 * 60);
        const std::vector<uint8_t> png = EncodePng(pic);
        int dw = 0, dh = 0, channels = 0;
        stbi_uc* back = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &dw, &dh,
                                              &channels, 4);
        ASSERT_NE(back, nullptr) << w << "x" << h << ": " << stbi_failure_reason();
        EXPECT_EQ(std::pair(dw, dh), std::pair(w, h));
        EXPECT_EQ(std::vector<uint8_t>(back, back + pic.rgba.size()), pic.rgba) << w << "x" << h;
        stbi_image_free(back);
        if (w > 100) {
            EXPECT_LT(png.size(), pic.rgba.size() * 3 / 4) << "not compressed";
        }
    }
    EXPECT_TRUE(EncodePng(Picture{}).empty());
}

}  // namespace
}  // namespace tam::asset
