// The HUD font picture and the software model of the HUD drawing it: dark cell borders, ink for
// every printable character, a texture window reaching into the next cell only; the built file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/pictures/art_font.h"
#include "base/files.h"
#include "platform/font_lookup.h"

namespace tam::asset {
namespace {

// The font picture, made once for the whole suite from the faces fontconfig finds; `error` says
// why when it could not be made.
struct Made { std::string regular, bold; Picture pic; std::string error; };
const Made& MadeFont() {
    static const Made made = [] {
        Made m;
        const auto regular = FindFontFile(kMonoRegular, &m.error);
        const auto bold = FindFontFile(kMonoBold, &m.error);
        if (!regular || !bold) return m;
        m.regular = *regular;
        m.bold = *bold;
        MakeFontPicture(m.regular, m.bold, &m.pic, &m.error);  // false with `error` set
        return m;
    }();
    return made;
}

class ArtFont : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(MadeFont().error, ""); }
    const Picture* const font_ = &MadeFont().pic;
};

// Sum of ink over glyph g's whole cell (the cell is found from the grid alone, without regard to
// which way up the glyph is stored).
int CellInk(const Picture& p, int g, int x0 = 0, int x1 = 16, int y0 = 0, int y1 = 16) {
    const int left = (g % 16) * 16, top = 256 - 16 * (g / 16 + 1);
    int sum = 0;
    for (int y = top + y0; y < top + y1; ++y)
        for (int x = left + x0; x < left + x1; ++x) sum += p.At(x, y)[0];
    return sum;
}

// Where the HUD model draws glyph g (of the regular set) of `font` on a 16 x 20 screen: the
// centre of its ink in pixels from the left, or -1 if nothing shows.
float InkCentre(const Picture& font, int g) {
    const Picture screen = SimulateHudText(font, {HudLine{0.f, 0.f, 0, std::string(1, char(32 + g))}}, 16,
                                           20, Rgb{1.f, 1.f, 1.f});
    double sum = 0.0, sx = 0.0;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            sum += screen.At(x, y)[0];
            sx += screen.At(x, y)[0] * (x + 0.5);
        }
    return sum == 0.0 ? -1.f : static_cast<float>(sx / sum);
}

TEST_F(ArtFont, GridOfWhiteOnBlackCellsWithDarkBordersAndInkForEveryPrintable) {
    ASSERT_EQ(std::pair(font_->width, font_->height), std::pair(256, 256));
    for (size_t i = 0; i < font_->rgba.size(); i += 4)
        ASSERT_EQ(std::tuple(font_->rgba[i + 1], font_->rgba[i + 2], font_->rgba[i + 3]),
                  std::tuple(font_->rgba[i], font_->rgba[i], 255));
    for (int g = 0; g < 256; ++g) {
        // Reserved: the 4 left and 2 right columns, the first and last rows.
        EXPECT_EQ(CellInk(*font_, g, 0, 4) + CellInk(*font_, g, 14, 16) + CellInk(*font_, g, 0, 16, 0, 1) +
                      CellInk(*font_, g, 0, 16, 15, 16), 0) << "borders of glyph " << g;
        const int code = 32 + g % 128, ink = CellInk(*font_, g);
        const bool printable = code > 32 && code != 127 && code != 0x98;
        EXPECT_TRUE(printable ? ink > 255 * 3 : ink == 0) << "glyph " << g << " ink " << ink;
    }
    // A determinism check: the build's own run of the tool made this picture's bytes.
    const std::string built = std::string(TAM_GAME_DIR) + "/Data/Font/Font.tga";
    EXPECT_TRUE(ReadWholeFile(built) == EncodeTga(*font_, 24, true)) << built;
}

TEST(ArtFontHud, TextureWindowReachesIntoTheNextCellOnly) {
    // With just the first 3 columns of glyph 1's cell lit, glyph 0 shows them at its right end,
    // glyph 1 itself at its left end, and glyph 2 not at all.
    Picture lit = MakePicture(256, 256);
    for (int y = 240; y < 256; ++y)
        for (int x = 16; x < 19; ++x) std::fill_n(lit.At(x, y), 3, uint8_t{255});
    EXPECT_GT(InkCentre(lit, 0), 13.f);
    EXPECT_TRUE(InkCentre(lit, 1) > 0.f && InkCentre(lit, 1) < 3.f) << InkCentre(lit, 1);
    EXPECT_EQ(InkCentre(lit, 2), -1.f);
}

TEST_F(ArtFont, FacesComeFromFontconfigAndAMissingOneIsNamedNotACrash) {
    // Each face of the named family is exactly that face, found without complaint; a family
    // fontconfig lacks is refused (its nearest substitute does not count) with the face and the
    // package named.
    EXPECT_TRUE(MadeFont().regular.ends_with("/DejaVuSansMono.ttf")) << MadeFont().regular;
    EXPECT_TRUE(MadeFont().bold.ends_with("/DejaVuSansMono-Bold.ttf")) << MadeFont().bold;
    std::string error;
    EXPECT_FALSE(FindFontFile({"No Such Family", true, "fonts-none"}, &error).has_value());
    EXPECT_EQ(error, "font No Such Family Bold is not installed (Debian package fonts-none)");
    EXPECT_TRUE(FindFontFile(kAnyMono, nullptr).has_value());  // a generic family takes any face

    Picture pic;
    EXPECT_FALSE(MakeFontPicture("/nonexistent/face.ttf", MadeFont().bold, &pic, &error));
    EXPECT_NE(error.find("/nonexistent/face.ttf: No such file"), std::string::npos) << error;
    EXPECT_TRUE(pic.rgba.empty());
}

}  // namespace
}  // namespace tam::asset
