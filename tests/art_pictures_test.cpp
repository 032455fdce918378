// The procedural world textures, sky faces and icon: made again byte for byte, and a side face's
// hidden bottom row repeats its top row, so repeat wrapping leaves no line at the top edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/pictures/art_icon.h"
#include "asset/pictures/art_sky.h"
#include "asset/pictures/art_textures.h"
#include "base/files.h"

namespace tam::asset {
namespace {

// A determinism check: the makers make the build's pictures again byte for byte.
TEST(ArtDeterminism, TheBuildsPicturesAreMadeAgainByteForByte) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> want;
    for (const WorldTextureSpec& e : WorldTextureList())
        want.emplace_back(std::string("textures/") + e.name + ".tga", EncodeTga(e.make(e.size), 24, e.rle));
    for (const SkyFaceSpec& e : SkyFaceList())
        want.emplace_back(std::string("Sky/") + e.name + ".tga",
                          EncodeTga(MakeSkyFace(e.face, kSkyFaceSize), 24, e.rle));
    want.emplace_back("Icon/tamberlo.tga", EncodeTga(MakeIcon(64), 32, true));
    for (const auto& [name, bytes] : want)
        EXPECT_TRUE(ReadWholeFile(std::string(TAM_GAME_DIR) + "/Data/" + name) == bytes) << name;
}

TEST(ArtSky, SideFacesRepeatTheirTopRowInTheHiddenBottomRow) {
    constexpr int kSize = 64;
    for (const SkyFace face : {SkyFace::kFront, SkyFace::kLeft, SkyFace::kBack, SkyFace::kRight}) {
        const Picture p = MakeSkyFace(face, kSize);
        for (int x = 0; x < kSize; ++x)
            ASSERT_TRUE(std::equal(p.At(x, 0), p.At(x, 0) + 3, p.At(x, kSize - 1)))
                << "face " << int(face) << " column " << x;
    }
}

}  // namespace
}  // namespace tam::asset
