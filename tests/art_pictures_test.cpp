// The procedural world textures, sky faces and icon: tiling without seams, sky faces meeting
// without seams as the sky cube maps them, the sky's right way up, and the built files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "art_icon.h"
#include "art_sky.h"
#include "art_textures.h"
#include "console/files.h"
#include "image_write.h"

namespace tam::asset {
namespace {

int ChannelDiff(const uint8_t* a, const uint8_t* b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

// How much worse the seam between the last and the first column is than the seams just beside
// it, in 8-row bands: the largest band excess (mean seam step minus twice the mean of the two
// neighbouring steps). A continuous picture scores near 0; a cut one scores well above.
double WorstSeamExcess(const Picture& p) {
    const int n = p.width;
    double worst = -1e9;
    for (int band = 0; band < p.height; band += 8) {
        double seam = 0.0, beside = 0.0;
        for (int y = band; y < band + 8 && y < p.height; ++y) {
            seam += ChannelDiff(p.At(n - 1, y), p.At(0, y));
            beside += 0.5 * (ChannelDiff(p.At(n - 2, y), p.At(n - 1, y)) +
                             ChannelDiff(p.At(0, y), p.At(1, y)));
        }
        worst = std::max(worst, (seam - 2.0 * beside) / 8.0);
    }
    return worst;
}

// The first `keep` columns of a picture, turned on its diagonal when `transpose`.
Picture Copy(const Picture& p, int keep, bool transpose = false) {
    Picture c = transpose ? MakePicture(p.height, keep) : MakePicture(keep, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < keep; ++x) std::copy_n(p.At(x, y), 4, transpose ? c.At(y, x) : c.At(x, y));
    return c;
}

constexpr double kSeamTolerance = 8.0;

// The world textures, made once for the whole suite.
const std::vector<Picture>& Textures() {
    static const std::vector<Picture> pictures = [] {
        std::vector<Picture> all;
        for (const WorldTextureSpec& entry : WorldTextureList()) all.push_back(entry.make(entry.size));
        return all;
    }();
    return pictures;
}

// The file names and the faces' order are what the game loads; arena.sh sees the textured walls
// and the blue sky above them.
TEST(ArtTextures, OpaqueTexturesThatTileAndHaveStructure) {
    int cutFlagged = 0;
    for (size_t i = 0; i < WorldTextureList().size(); ++i) {
        const Picture& p = Textures()[i];
        const WorldTextureSpec& entry = WorldTextureList()[i];
        ASSERT_EQ(std::pair(p.width, p.height), std::pair(entry.size, entry.size));
        int lo = 765, hi = 0;  // channel-sum levels: a spread well beyond noise
        for (size_t k = 0; k < p.rgba.size(); k += 4) {
            ASSERT_EQ(p.rgba[k + 3], 255) << entry.name;
            lo = std::min(lo, p.rgba[k] + p.rgba[k + 1] + p.rgba[k + 2]);
            hi = std::max(hi, p.rgba[k] + p.rgba[k + 1] + p.rgba[k + 2]);
        }
        EXPECT_GT(hi - lo, 90) << entry.name;
        EXPECT_LT(WorstSeamExcess(p), kSeamTolerance) << entry.name << " left/right edge";
        EXPECT_LT(WorstSeamExcess(Copy(p, p.width, true)), kSeamTolerance) << entry.name << " top/bottom edge";
        // Cut short, the picture no longer continues across its new edge; the measure must see it.
        cutFlagged += WorstSeamExcess(Copy(p, entry.size - entry.size / 5)) >= kSeamTolerance;
    }
    EXPECT_GE(cutFlagged, 7);
}

// The sky cube's corners as the skybox draws them: for each face, the cube point at texture
// coordinates (0, 0), (1, 0), (1, 1) and (0, 1) in units of the half-size.
struct FaceCorners {
    SkyFace face;
    float at[4][3];
};
constexpr FaceCorners kCube[] = {
    {SkyFace::kFront, {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}},
    {SkyFace::kLeft, {{-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}}},
    {SkyFace::kBack, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
    {SkyFace::kRight, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},
    {SkyFace::kTop, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
};

// Cube point of texel (col, row) of a size x size face whose edge texels sit on the edges; the
// picture's top row is texture t = 0.
void CubePoint(const FaceCorners& f, int size, int col, int row, float out[3]) {
    const float s = static_cast<float>(col) / (size - 1), t = static_cast<float>(row) / (size - 1);
    for (int k = 0; k < 3; ++k)
        out[k] = (1 - s) * (1 - t) * f.at[0][k] + s * (1 - t) * f.at[1][k] + s * t * f.at[2][k] +
                 (1 - s) * t * f.at[3][k];
}

TEST(ArtSky, FacesAgreeWhereverTheyMeetAndSidesHaveTheSkyAbove) {
    constexpr int kSize = 64;
    Picture faces[5];
    for (int i = 0; i < 5; ++i) faces[i] = MakeSkyFace(kCube[i].face, kSize);
    // Every border texel of every face must find a border texel of another face at the same cube
    // point, with (nearly) the same colour.
    std::vector<std::pair<int, int>> border;  // (col, row); the corners twice
    for (int k = 0; k < kSize; ++k) border.insert(border.end(), {{k, 0}, {k, kSize - 1}, {0, k}, {kSize - 1, k}});
    int shared = 0;
    for (int a = 0; a < 5; ++a)
        for (const auto& [col, row] : border) {
            float pa[3], pb[3];
            CubePoint(kCube[a], kSize, col, row, pa);
            if (a != 4 && pa[2] < -0.999f) continue;  // the open bottom of the cube
            bool found = false;
            for (int b = 0; b < 5 && !found; ++b)
                for (const auto& [cc, rr] : border) {
                    CubePoint(kCube[b], kSize, cc, rr, pb);
                    if (b == a || std::fabs(pa[0] - pb[0]) + std::fabs(pa[1] - pb[1]) + std::fabs(pa[2] - pb[2]) > 1e-4f)
                        continue;
                    found = true;
                    EXPECT_LE(ChannelDiff(faces[a].At(col, row), faces[b].At(cc, rr)), 3)
                        << "faces " << a << " and " << b << " at " << col << "," << row;
                    break;
                }
            EXPECT_TRUE(found) << "face " << a << " border texel " << col << "," << row;
            shared += found;
        }
    EXPECT_GT(shared, 5 * 3 * (kSize - 1));
    for (int f = 0; f < 4; ++f) {
        // Texture t = 0 is a side face's bottom edge and the picture's top row: the pale haze
        // there, the deeper blue of the upper sky at the other end. Repeat wrapping makes
        // filtering at the top edge read the first row, so that row repeats the last one.
        const Picture& p = faces[f];
        double bottomBlue = 0.0, topBlue = 0.0;
        for (int x = 0; x < kSize; ++x) {
            bottomBlue += p.At(x, 1)[2] - p.At(x, 1)[0];
            topBlue += p.At(x, kSize - 1)[2] - p.At(x, kSize - 1)[0];
            EXPECT_EQ(ChannelDiff(p.At(x, 0), p.At(x, kSize - 1)), 0) << "face " << f << " column " << x;
        }
        EXPECT_GT(topBlue, bottomBlue + 20.0 * kSize) << "face " << f;
    }
}

// The game's files hold the pictures tested here: the build's own run of the tool made the same
// bytes.
TEST(ArtFiles, BuiltPicturesAreTheOnesMadeHere) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> want;
    for (size_t i = 0; i < WorldTextureList().size(); ++i) {
        const WorldTextureSpec& e = WorldTextureList()[i];
        want.emplace_back(std::string("textures/") + e.name + ".tga", EncodeTga(Textures()[i], 24, e.rle));
    }
    for (const SkyFaceSpec& e : SkyFaceList())
        want.emplace_back(std::string("Sky/") + e.name + ".tga",
                          EncodeTga(MakeSkyFace(e.face, kSkyFaceSize), 24, e.rle));
    want.emplace_back("Icon/tamberlo.tga", EncodeTga(MakeIcon(64), 32, true));
    for (const auto& [name, bytes] : want)
        EXPECT_TRUE(ReadWholeFile(std::string(TAM_GAME_DIR) + "/Data/" + name) == bytes) << name;
}

TEST(ArtIcon, GreyTowerBetweenSkyAndGrassOnATileWithTransparentCorners) {
    for (const int size : {48, 256}) {
        const Picture p = MakeIcon(size);
        ASSERT_EQ(std::pair(p.width, p.height), std::pair(size, size));
        const auto at = [&](float x, float y) { return p.At(int(x * size), int(y * size)); };
        EXPECT_EQ(at(0.f, 0.f)[3], 0) << size;  // corners cut round
        EXPECT_EQ(at(0.99f, 0.99f)[3], 0) << size;
        const uint8_t* sky = at(0.12f, 0.3f);
        const uint8_t* tower = at(0.5f, 0.55f);
        const uint8_t* grass = at(0.15f, 0.92f);
        EXPECT_EQ(sky[3] & tower[3] & grass[3], 255) << size;
        EXPECT_GT(sky[2], sky[0] + 40) << size;
        EXPECT_GT(grass[1], grass[0] + 20) << size;
        EXPECT_GT(grass[1], grass[2] + 20) << size;
        EXPECT_LT(std::max({tower[0], tower[1], tower[2]}) - std::min({tower[0], tower[1], tower[2]}),
                  40)
            << size << ": the rock is grey";
    }
}

}  // namespace
}  // namespace tam::asset
