// The texture font through the GL recorder: where PrintText's glyphs land and which cells they
// show. (The arena's whole-program test reads the glyphs and the HUD's lines back.)
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "gl_matrix.h"
#include "gl_recorder.h"
#include "render/font.h"
#include "render/opengl.h"

namespace tam {
namespace {

class Font : public ::testing::Test {
protected:
    void TearDown() override {
        tam::Font() = FontState{};
        RenderState() = GlState{};
    }
};

// One glyph as drawn: its corners in window pixels and texture coordinates, counter-clockwise
// from the lower left.
struct Quad { std::array<std::array<double, 2>, 4> px, st; };

// The glyphs PrintText draws for `text` at (x, y) in a w x h window, replayed under its matrices;
// also checks the state they are drawn in and that matrices and switches are left as found.
std::vector<Quad> Printed(float x, float y, int set, const char* text, int w, int h) {
    test::GlRecorder rec;
    gl::ScopedBackend backend{&rec};
    RenderState().viewportW = w, RenderState().viewportH = h;
    BuildFontLists(7);
    std::map<double, std::vector<test::GlCall>> lists;
    for (size_t i = 0, open = 0; i < rec.calls.size(); ++i) {
        if (rec.calls[i].name == "NewList") open = i;
        if (rec.calls[i].name == "EndList")
            lists[rec.calls[open].args[0]].assign(rec.calls.begin() + long(open) + 1, rec.calls.begin() + long(i));
    }
    rec.Clear();
    PrintText(x, y, set, "%s", text);
    test::MatrixReplay m;
    std::vector<Quad> quads;
    bool blend = false, depth = true;
    double texture = 0, base = 0, s = 0, t = 0;
    size_t n = 0;  // the vertex's index in its quad
    for (const auto& c : rec.calls) {
        m.Step(c);
        if (c.name == "Enable" || c.name == "Disable") (c.args[0] == GL_BLEND ? blend : depth) = c.name == "Enable";
        if (c.name == "BindTexture") texture = c.args[1];
        if (c.name == "ListBase") base = c.args[0];
        if (c.name != "CallLists") continue;
        EXPECT_EQ(std::tuple(blend, depth, texture), std::tuple(true, false, 7.0));
        for (size_t k = 2; k < c.args.size(); ++k)
            for (const auto& g : lists.at(base + c.args[k])) {
                m.Step(g);
                if (g.name == "Begin") quads.emplace_back(), n = 0;
                if (g.name == "TexCoord2f") s = g.args[0], t = g.args[1];
                if (g.name != "Vertex2i") continue;
                const auto clip = m.projection.back() * (m.modelview.back() * test::Vec4{g.args[0], g.args[1], 0, 1});
                quads.back().px.at(n) = {(clip[0] / clip[3] + 1) * w / 2, (clip[1] / clip[3] + 1) * h / 2};
                quads.back().st.at(n++) = {s, t};
            }
    }
    EXPECT_EQ(std::tuple(m.projection.size(), m.modelview.size(), m.inModelview), std::tuple(1u, 1u, true));
    EXPECT_EQ(std::tuple(m.projection.back(), m.modelview.back()), std::tuple(test::Mat{}, test::Mat{}));
    EXPECT_EQ(std::tuple(blend, depth), std::tuple(false, true));
    return quads;
}

// Each character is a 16-pixel square from the pen, the pen moving 10 pixels a glyph; it shows its
// glyph's cell of the 16 x 16 font texture (row 0 at the top), reaching a little into the next.
// Set 0 starts at glyph 0 for code 32, codes below 32 have none and 255 is glyph 223; set 1 (and
// any set above it) starts at glyph 128, its last glyph is code 159 and 160 up have none. Dropped
// characters do not move the pen. A line is cut at 255 characters.
TEST_F(Font, GlyphsLandOnTheirPixelsShowingTheirCells) {
    const struct {
        float x, y;
        int set, w, h;
        std::string text;
        std::vector<int> glyphs;
    } cases[] = {{10, 30, 0, 800, 600, "AB", {33, 34}}, {0, 0, 1, 640, 480, "A!", {161, 129}},
                 {301.5f, 2, 0, 320, 200, "\xff\x1f ", {223, 0}}, {5, 5, 5, 800, 600, " A", {128, 161}},
                 {5, 5, 1, 800, 600, "\x9f\xa0\xe9Z", {255, 186}},
                 {0, 0, 0, 800, 600, std::string(300, 'x'), std::vector<int>(255, 'x' - 32)}};
    for (const auto& c : cases) {
        const auto quads = Printed(c.x, c.y, c.set, c.text.c_str(), c.w, c.h);
        ASSERT_EQ(quads.size(), c.glyphs.size()) << c.text;
        for (size_t k = 0; k < quads.size(); ++k) {
            const double x0 = c.x + 10.0 * double(k), s0 = c.glyphs[k] % 16 / 16.0, t1 = 1 - c.glyphs[k] / 16 / 16.0;
            const auto& [px, st] = quads[k];
            for (size_t v = 0; v < 4; ++v) {
                const bool right = v == 1 || v == 2, top = v >= 2;
                EXPECT_NEAR(px[v][0], x0 + 16 * right, 1e-4) << c.text << k << v;
                EXPECT_NEAR(px[v][1], c.y + 16 * top, 1e-4) << c.text << k << v;
                EXPECT_NEAR(st[v][1], top ? t1 : t1 - 1 / 16.0, 1e-6) << c.text << k << v;
                if (right) EXPECT_TRUE(st[v][0] > s0 + 1 / 16.0 && st[v][0] < s0 + 2 / 16.0) << st[v][0];
                else EXPECT_NEAR(st[v][0], s0, 1e-6) << c.text << k << v;
            }
        }
    }
    test::GlRecorder none;
    gl::ScopedBackend backend{&none};
    PrintText(1, 1, 0, nullptr);
    EXPECT_TRUE(none.calls.empty());
}

}  // namespace
}  // namespace tam
