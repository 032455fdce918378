// The HUD font picture and the software model of the HUD drawing it: cells keep their reserved
// borders dark, every printable character has ink, glyphs stand the right way up on screen, no
// neighbouring cell shows inside a drawn glyph, and the built file is this picture.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "art_font.h"
#include "console/files.h"
#include "image_write.h"
#include "platform/font_lookup.h"

namespace tam::asset {
namespace {

// The font picture, made once for the whole suite from the faces fontconfig finds; `error` says
// why when it could not be made.
struct Made {
    std::string regular, bold;
    Picture pic;
    std::string error;
    bool ok = false;
};
const Made& MadeFont() {
    static const Made made = [] {
        Made m;
        const auto regular = FindFontFile(kMonoRegular, &m.error);
        const auto bold = FindFontFile(kMonoBold, &m.error);
        if (!regular || !bold) return m;
        m.regular = *regular;
        m.bold = *bold;
        m.ok = MakeFontPicture(m.regular, m.bold, &m.pic, &m.error);
        return m;
    }();
    return made;
}

class ArtFont : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MadeFont().ok) << MadeFont().error; }
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

// White HUD lines of one character each, 20 pixels apart, glyph g of `glyphs` on line g.
Picture Column(const Picture& font, const std::vector<int>& glyphs, int width) {
    std::vector<HudLine> lines;
    for (int g : glyphs) lines.push_back(HudLine{0.f, 20.f * lines.size(), g / 128, std::string(1, char(32 + g % 128))});
    return SimulateHudText(font, lines, width, 20 * int(glyphs.size()), Rgb{1.f, 1.f, 1.f});
}

// Centre of the ink of a HUD rendering, in screen pixels from the bottom-left; false if none.
bool InkCentre(const Picture& screen, float* cx, float* cy) {
    double sum = 0.0, sx = 0.0, sy = 0.0;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            const double v = screen.At(x, y)[0];
            sum += v, sx += v * (x + 0.5), sy += v * (screen.height - y - 0.5);
        }
    if (sum == 0.0) return false;
    *cx = static_cast<float>(sx / sum), *cy = static_cast<float>(sy / sum);
    return true;
}

TEST_F(ArtFont, GridOfWhiteOnBlackCellsWithDarkBordersAndBolderSecondSet) {
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
        EXPECT_TRUE(g >= 128 || !std::isalpha(code) || CellInk(*font_, 128 + g) > ink * 11 / 10)
            << "bold " << char(code) << " is not bolder";
    }
    // The game's file holds this picture: the build's own run of the tool made the same bytes.
    const std::string built = std::string(TAM_GAME_DIR) + "/Data/Font/Font.tga";
    EXPECT_TRUE(ReadWholeFile(built) == EncodeTga(*font_, 24, true)) << built;
}

TEST_F(ArtFont, GlyphsStandUprightAndUnmirroredOnScreen) {
    // Quad at (0, 0) to (16, 16). The underscore lies low, the caret high; "L" leans left and
    // "J" right in both sets.
    for (int set = 0; set < 2; ++set) {
        float x[4], y[4];
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(InkCentre(Column(*font_, {set * 128 + "_^LJ"[i] - 32}, 16), &x[i], &y[i])) << i;
        EXPECT_LT(y[0], 5.f) << "set " << set;
        EXPECT_GT(y[1], 9.f) << "set " << set;
        EXPECT_LT(x[2] + 1.f, x[3]) << "set " << set;
    }
}

TEST_F(ArtFont, NoNeighbouringCellShowsInsideAGlyphAndConsecutiveCharactersDoNotTouch) {
    // The HUD's texture window reaches into the next cell only: with just the first 3 columns of
    // glyph 1's cell lit, glyph 0 shows them at its right end, glyph 1 itself at its left end,
    // and glyph 2 not at all.
    Picture lit = MakePicture(256, 256);
    for (int y = 240; y < 256; ++y)
        for (int x = 16; x < 19; ++x) std::fill_n(lit.At(x, y), 3, uint8_t{255});
    float cx[3] = {-1, -1, -1}, cy;
    for (int g = 0; g < 3; ++g) InkCentre(Column(lit, {g}, 16), &cx[g], &cy);
    EXPECT_GT(cx[0], 13.f);
    EXPECT_TRUE(cx[1] > 0.f && cx[1] < 3.f) << cx[1];
    EXPECT_EQ(cx[2], -1.f);
    // Draw glyphs from a picture with their own cells blanked: whatever still shows came from
    // other cells. Side neighbours must contribute nothing; cells above and below reach only the
    // quad's outermost pixel rows, faintly. Blanked cells are three apart, so every drawn glyph
    // keeps its neighbours.
    for (int phase = 0; phase < 9; ++phase) {
        Picture blank = *font_;
        std::vector<int> glyphs;
        for (int g = 0; g < 256; ++g) {
            if ((g % 16) % 3 != phase % 3 || (g / 16) % 3 != phase / 3) continue;
            const int left = (g % 16) * 16, top = 256 - 16 * (g / 16 + 1);
            for (int y = top; y < top + 16; ++y)
                for (int x = left; x < left + 16; ++x) std::fill_n(blank.At(x, y), 3, uint8_t{0});
            glyphs.push_back(g);
        }
        const Picture s = Column(blank, glyphs, 16);
        for (size_t i = 0; i < glyphs.size(); ++i)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    EXPECT_LE(s.At(x, s.height - 1 - (20 * int(i) + y))[0], y == 0 || y == 15 ? 10 : 0)
                        << "glyph " << glyphs[i] << " at " << x << "," << y;
    }
    // At the 10-pixel advance, the ink of one character ends before the next one's begins: every
    // glyph's ink spans less than the advance on screen.
    std::vector<int> all(256);
    std::iota(all.begin(), all.end(), 0);
    const Picture s = Column(*font_, all, 32);
    for (int g = 0; g < 256; ++g) {
        int first = 32, last = -1;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                if (s.At(x, s.height - 1 - (20 * g + y))[0] > 24) first = std::min(first, x), last = std::max(last, x);
        if (last < 0) continue;
        EXPECT_TRUE(last - first + 1 < 10 && first >= 2 && last <= 13) << "glyph " << g << ": " << first << ".." << last;
    }
}

TEST_F(ArtFont, FacesComeFromFontconfigAndAMissingOneIsNamedNotACrash) {
    // Each face of the named family is exactly that face, found without complaint; a family
    // fontconfig lacks is refused (its nearest substitute does not count) with the face and the
    // package named.
    EXPECT_TRUE(MadeFont().regular.ends_with("/DejaVuSansMono.ttf")) << MadeFont().regular;
    EXPECT_TRUE(MadeFont().bold.ends_with("/DejaVuSansMono-Bold.ttf")) << MadeFont().bold;
    EXPECT_EQ(MadeFont().error, "");
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
