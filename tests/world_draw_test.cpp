// Drawing the arena and the sky through the recording GL seam: panel quads with their
// texture extents, the floor, unknown texture indices, the island's list in place of the panels,
// the scroll offsets, and the sky box's six quads and setter rules.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_recorder.h"
#include "images/texture.h"
#include "render/skybox.h"
#include "world/map.h"

namespace tam {
namespace {

using test::Call;
using test::GlRecorder;
using Calls = std::vector<Call>;
using D = std::vector<double>;

class WorldDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetTextures();
        Tex().WorldTextures = {101, 102, 103, 104, 105, 106, 107, 108};
    }
    // Length and height are any values: drawing uses them as given.
    MapBox Panel(int8_t x1, int8_t y1, int8_t z1, int8_t x2, int8_t y2, int8_t z2, int8_t tex) {
        return {x1, y1, z1, x2, y2, z2, 0, -1, 0, 7.5f, 4.0f, tex};
    }
    GlRecorder rec;
};

TEST_F(WorldDraw, PanelsThenFloorThenFlush) {
    MapState& m = Map();
    m.boxes[0] = Panel(-10, 10, -2, 10, 10, 2, 3);
    m.boxes[1] = Panel(1, 2, 3, 4, 5, 6, 7);
    m.boxes[2] = Panel(9, 9, 9, 9, 9, 9, 0);  // beyond the count: not drawn
    m.boxCount = 2;
    m.floorHalfWidth = 200, m.floorHalfDepth = 5, m.floorTexture = 5;
    gl::ScopedBackend sb(&rec);
    DrawMap(0.02f);
    ASSERT_EQ(rec.Count("Begin"), 3u);
    D binds;
    for (const auto& c : rec.Named("BindTexture")) binds.push_back(c.args[1]);
    EXPECT_EQ(binds, D({104, 108, 106}));
    // First panel: bind, begin, white, normal, four corners with texture extents.
    EXPECT_EQ(rec.Seq(0, 13), (Calls{{"BindTexture", {GL_TEXTURE_2D, 104}}, {"Begin", {GL_QUADS}}, {"Color3f", {1, 1, 1}},
                                     {"Normal3f", {0, -1, 0}}, {"TexCoord2f", {0, 0}}, {"Vertex3f", {-10, 10, -2}},
                                     {"TexCoord2f", {7.5, 0}}, {"Vertex3f", {10, 10, -2}}, {"TexCoord2f", {7.5, 4}},
                                     {"Vertex3f", {10, 10, 2}}, {"TexCoord2f", {0, 4}}, {"Vertex3f", {-10, 10, 2}},
                                     {"End", {}}}));
    // The floor, white whatever came before: an unsigned half-width of 200 spans -200..200 with
    // texture 0..400; then a flush.
    EXPECT_EQ(rec.Seq(rec.calls.size() - 14),
              (Calls{{"BindTexture", {GL_TEXTURE_2D, 106}}, {"Color3f", {1, 1, 1}}, {"Begin", {GL_QUADS}},
                     {"Normal3f", {0, 0, 1}}, {"TexCoord2f", {0, 0}}, {"Vertex3f", {-200, 5, -2}},
                     {"TexCoord2f", {400, 0}}, {"Vertex3f", {200, 5, -2}}, {"TexCoord2f", {400, 10}},
                     {"Vertex3f", {200, -5, -2}}, {"TexCoord2f", {0, 10}}, {"Vertex3f", {-200, -5, -2}}, {"End", {}},
                     {"Flush", {}}}));
}

// Unknown texture indices bind the default texture; the scroll offsets advance in thousandths
// per second; a negative count draws no panel.
TEST_F(WorldDraw, UnknownTexturesScrollingAndANegativeCount) {
    gl::ScopedBackend sb(&rec);
    const uint32_t fallback = LoadTexture("default");
    rec.Clear();
    Map().boxes[0] = Panel(0, 0, 0, 1, 1, 1, 8);
    Map().boxes[1] = Panel(0, 0, 0, 1, 1, 1, -1);
    Map().boxCount = 2, Map().floorTexture = 100;
    Map().scrollSpeedX = 100, Map().scrollSpeedY = -20;
    DrawMap(0.5f);
    ASSERT_EQ(rec.Count("BindTexture"), 3u);
    for (const auto& b : rec.Named("BindTexture")) EXPECT_EQ(b.args, D({GL_TEXTURE_2D, double(fallback)}));
    rec.Clear();
    Map().boxCount = -3;
    DrawMap(0.5f);
    EXPECT_EQ(rec.Count("Begin"), 1u);  // the floor
    EXPECT_FLOAT_EQ(Map().scrollOffsetX, 0.1f);
    EXPECT_FLOAT_EQ(Map().scrollOffsetY, -0.02f);
}

TEST_F(WorldDraw, TerrainModeCallsTheIslandListInsteadOfPanels) {
    Map().boxes[0] = Panel(0, 0, 0, 1, 1, 1, 1), Map().boxCount = 1;
    World().terrainMode = true, World().terrainList = 42;
    gl::ScopedBackend sb(&rec);
    DrawMap(0);
    // White before the list, so the island is not tinted by the HUD's red; the panel is not drawn.
    EXPECT_EQ(rec.Seq(0, 3), (Calls{{"Color3f", {1, 1, 1}}, {"CallList", {42}}, {"BindTexture", {GL_TEXTURE_2D, 101}}}));
    EXPECT_EQ(std::pair(rec.Count("CallList"), rec.Count("Begin")), std::pair(size_t{1}, size_t{1}));
}

struct Quad {
    double texture;
    D normal;
    std::vector<D> texCoords, vertices;
};

std::vector<Quad> Quads(const GlRecorder& rec) {
    std::vector<Quad> quads;
    double bound = -1;
    for (const auto& c : rec.calls) {
        if (c.name == "BindTexture") bound = c.args[1];
        else if (c.name == "Begin") quads.push_back({bound, {}, {}, {}});
        else if (c.name == "Normal3f") quads.back().normal = c.args;
        else if (c.name == "TexCoord2f") quads.back().texCoords.push_back(c.args);
        else if (c.name == "Vertex3f") quads.back().vertices.push_back(c.args);
    }
    return quads;
}

// The faces are a table: each is checked to lie 90 from the point, the front face exactly, and the
// extra texture on the top plane again (there is no bottom face).
TEST(SkyBox, SixQuadsAroundThePointAndTheSetterRules) {
    GlRecorder rec;
    gl::ScopedBackend backend(&rec);
    TSkyBox sky;
    sky.SetSize(90);
    sky.SetSize(0);  // ignored
    EXPECT_FALSE(sky.SetTextures(1, 2, 3, 4, 5, 0));  // any name 0 refuses the whole set
    EXPECT_EQ(sky.textures(), (std::array<uint32_t, 6>{}));
    EXPECT_TRUE(sky.SetTextures(11, 12, 13, 14, 15, 1));
    EXPECT_FALSE(sky.SetTextures(0, 9, 9, 9, 9, 9));
    sky.Draw(5, -7, 2);
    EXPECT_EQ(rec.Seq(0, 1), (Calls{{"Color3f", {1, 1, 1}}}));
    for (const auto& begin : rec.Named("Begin")) EXPECT_EQ(begin.args[0], GL_QUADS);
    const auto quads = Quads(rec);
    ASSERT_EQ(quads.size(), 6u);
    const double textures[6] = {11, 12, 13, 14, 15, 1}, centre[3] = {5, -7, 2};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(quads[i].texture, textures[i]) << i;
        ASSERT_EQ(std::pair(quads[i].vertices.size(), quads[i].texCoords.size()), std::pair(size_t{4}, size_t{4}));
        for (const auto& v : quads[i].vertices)
            for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(std::fabs(v[k] - centre[k]), 90) << i;
    }
    EXPECT_EQ(std::tuple(quads[0].normal, quads[0].vertices[0], quads[0].texCoords[0], quads[0].vertices[2],
                         quads[0].texCoords[2]),
              std::tuple(D{0, -1, 0}, D{95, 83, 92}, D{0, 1}, D{-85, 83, -88}, D{1, 0}));
    EXPECT_EQ(std::tuple(quads[5].vertices, quads[5].texCoords), std::tuple(quads[4].vertices, quads[4].texCoords));
    EXPECT_EQ(quads[4].normal, D({0, 0, -1}));
}

}  // namespace
}  // namespace tam
