// The HUD font picture and the software model of the HUD drawing it: cells keep their reserved
// borders dark, every printable character has ink, glyphs stand the right way up on screen, no
// neighbouring cell shows inside a drawn glyph, and the picture is the same on every run.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "art_font.h"
#include "console/cp1251.h"
#include "image_write.h"

namespace tam::asset {
namespace {

// The font picture, made once for the whole suite; `error` says why when it could not be made.
struct Made {
    Picture pic;
    std::string error;
    bool ok = false;
};
const Made& MadeFont() {
    static const Made made = [] {
        Made m;
        m.ok = MakeFontPicture(TAM_FONT_REGULAR, TAM_FONT_BOLD, &m.pic, &m.error);
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

TEST_F(ArtFont, SameBytesOnEveryRunAndInTheBuiltFileAndAMissingFaceIsAnError) {
    Picture again;
    std::string error;
    ASSERT_TRUE(MakeFontPicture(TAM_FONT_REGULAR, TAM_FONT_BOLD, &again, &error)) << error;
    EXPECT_EQ(again.rgba, font_->rgba);
    Picture none;
    EXPECT_FALSE(MakeFontPicture("/nonexistent/face.ttf", TAM_FONT_BOLD, &none, &error));
    EXPECT_NE(error.find("/nonexistent/face.ttf"), std::string::npos) << error;
    EXPECT_TRUE(none.rgba.empty());
    std::ifstream in(std::string(TAM_GAME_DIR) + "/Data/Font/Font.tga", std::ios::binary);
    const std::string built{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (built.empty()) GTEST_SKIP() << "font not built yet";
    const auto fresh = EncodeTga(*font_, 24, true);
    EXPECT_EQ(built, std::string(fresh.begin(), fresh.end()));
}

TEST(ArtHudModel, QuadsAdvanceTenPixelsAndTheWindowReachesIntoTheNextCellOnly) {
    // A font whose every texel is white: each drawn glyph lights its full 16 x 16 quad, so ten
    // characters at x = 3 light columns 3 to 3 + 90 + 16; codes outside the glyph range draw
    // nothing and do not move the pen.
    Picture p = MakePicture(256, 256);
    std::fill(p.rgba.begin(), p.rgba.end(), uint8_t{255});
    const std::string text = std::string("ABCDE") + static_cast<char>(200) + "FGHIJ" + '\xFF';
    const Picture s = SimulateHudText(p, {HudLine{3.f, 2.f, 1, text}}, 128, 24, Rgb{1.f, 0.f, 0.f});
    for (int x = 0; x < 128; ++x)  // tinted red
        EXPECT_EQ(std::pair(+s.At(x, 24 - 1 - 10)[0], +s.At(x, 24 - 1 - 10)[1]), std::pair(x >= 3 && x < 109 ? 255 : 0, 0)) << x;
    for (int y = 0; y < 24; ++y) EXPECT_EQ(s.At(50, 24 - 1 - y)[0], y >= 2 && y < 18 ? 255 : 0) << "row " << y;
    // Light only the first 3 columns of glyph 1's cell: glyph 0 shows them at its right end,
    // glyph 1 itself at its left end, and glyph 2 not at all.
    p = MakePicture(256, 256);
    for (int y = 240; y < 256; ++y)
        for (int x = 16; x < 19; ++x) std::fill_n(p.At(x, y), 3, uint8_t{255});
    float x[3] = {-1, -1, -1}, y;
    for (int g = 0; g < 3; ++g) InkCentre(Column(p, {g}, 16), &x[g], &y);
    EXPECT_GT(x[0], 13.f);
    EXPECT_TRUE(x[1] > 0.f && x[1] < 3.f) << x[1];
    EXPECT_EQ(x[2], -1.f);
}

}  // namespace
}  // namespace tam::asset
