// The procedural world textures and sky faces: tiling without seams, sky faces meeting without
// seams as the sky cube maps them, the sky's right way up, and byte-identical output per run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art_sky.h"
#include "art_textures.h"
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
    int shared = 0;
    for (int a = 0; a < 5; ++a)
        for (int i = 0; i < 4 * (kSize - 1); ++i) {
            const int side = i / (kSize - 1), k = i % (kSize - 1);
            const int col = side == 0 ? k : side == 1 ? kSize - 1 : side == 2 ? kSize - 1 - k : 0;
            const int row = side == 0 ? 0 : side == 1 ? k : side == 2 ? kSize - 1 : kSize - 1 - k;
            float pa[3], pb[3];
            CubePoint(kCube[a], kSize, col, row, pa);
            if (a != 4 && pa[2] < -0.999f) continue;  // the open bottom of the cube
            bool found = false;
            // Candidates: the first and last rows and columns of every other face.
            for (int b = 0; b < 5 && !found; ++b)
                for (int e = 0; e < 4 * kSize && !found && b != a; ++e) {
                    const int edge = (e / kSize) % 2 * (kSize - 1), along = e % kSize;
                    const int cc = e < 2 * kSize ? along : edge, rr = e < 2 * kSize ? edge : along;
                    CubePoint(kCube[b], kSize, cc, rr, pb);
                    if (std::fabs(pa[0] - pb[0]) + std::fabs(pa[1] - pb[1]) + std::fabs(pa[2] - pb[2]) > 1e-4f) continue;
                    found = true;
                    EXPECT_LE(ChannelDiff(faces[a].At(col, row), faces[b].At(cc, rr)), 3)
                        << "faces " << a << " and " << b << " at " << col << "," << row;
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ArtDeterminism, RepeatedRunsGiveTheSameBytesAsTheBuiltFiles) {
    const std::string data = std::string(TAM_GAME_DIR) + "/Data";
    int compared = 0;
    for (size_t i = 0; i < WorldTextureList().size(); ++i) {
        const WorldTextureSpec& entry = WorldTextureList()[i];
        const auto first = EncodeTga(Textures()[i], 24, entry.rle);
        const auto second = EncodeTga(entry.make(entry.size), 24, entry.rle);
        EXPECT_EQ(first, second) << entry.name;
        const std::string built = ReadFile(data + "/textures/" + entry.name + ".tga");
        if (built.empty()) continue;  // data not built yet
        EXPECT_EQ(built, std::string(first.begin(), first.end())) << entry.name;
        ++compared;
    }
    for (const SkyFaceSpec& entry : SkyFaceList()) {
        const std::string built = ReadFile(data + "/Sky/" + entry.name + ".tga");
        if (built.empty()) continue;
        const auto fresh = EncodeTga(MakeSkyFace(entry.face, kSkyFaceSize), 24, entry.rle);
        EXPECT_EQ(built, std::string(fresh.begin(), fresh.end())) << entry.name;
        ++compared;
    }
    if (compared == 0) GTEST_SKIP() << "no built data under " << data;
}

}  // namespace
}  // namespace tam::asset
