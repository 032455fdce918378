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
    gl::ScopedBackend backend{&rec};
};

TEST_F(WorldDraw, PanelsThenFloorThenFlush) {
    MapState& m = Map();
    m.boxes[0] = Panel(-10, 10, -2, 10, 10, 2, 3);
    m.boxes[1] = Panel(1, 2, 3, 4, 5, 6, 7);
    m.boxes[2] = Panel(9, 9, 9, 9, 9, 9, 0);  // beyond the count: not drawn
    m.boxCount = 2;
    m.floorHalfWidth = 200, m.floorHalfDepth = 5, m.floorTexture = 5;
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
// per second; a negative count draws no panel; in terrain mode the island's list is drawn in
// place of the panels, after white (so the HUD's red does not tint it).
TEST_F(WorldDraw, UnknownTexturesScrollingANegativeCountAndTerrainMode) {
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
    rec.Clear();
    World().terrainMode = true, World().terrainList = 42, Map().boxCount = 2;
    DrawMap(0);
    EXPECT_EQ(rec.Seq(0, 2), (Calls{{"Color3f", {1, 1, 1}}, {"CallList", {42}}}));
    EXPECT_EQ(std::pair(rec.Count("CallList"), rec.Count("Begin")), std::pair(size_t{1}, size_t{1}));
}

// The faces are a table: the front one is checked whole, every corner to lie 90 from the point on
// each axis, and the extra texture to repeat the top face's quad (there is no bottom face).
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
    // White, then for each face: bind, begin, normal, four corners, end.
    ASSERT_EQ(rec.calls.size(), 1 + 6 * 12u);
    EXPECT_EQ(rec.Seq(0, 13),
              (Calls{{"Color3f", {1, 1, 1}}, {"BindTexture", {GL_TEXTURE_2D, 11}}, {"Begin", {GL_QUADS}},
                     {"Normal3f", {0, -1, 0}}, {"TexCoord2f", {0, 1}}, {"Vertex3f", {95, 83, 92}},
                     {"TexCoord2f", {0, 0}}, {"Vertex3f", {95, 83, -88}}, {"TexCoord2f", {1, 0}},
                     {"Vertex3f", {-85, 83, -88}}, {"TexCoord2f", {1, 1}}, {"Vertex3f", {-85, 83, 92}},
                     {"End", {}}}));
    D textures;
    for (const auto& c : rec.Named("BindTexture")) textures.push_back(c.args[1]);
    EXPECT_EQ(textures, D({11, 12, 13, 14, 15, 1}));
    for (const auto& v : rec.Named("Vertex3f"))
        EXPECT_EQ(std::tuple(std::fabs(v.args[0] - 5), std::fabs(v.args[1] + 7), std::fabs(v.args[2] - 2)),
                  std::tuple(90.0, 90.0, 90.0));
    EXPECT_EQ(rec.Seq(50, 11), rec.Seq(62, 11));
    EXPECT_EQ(rec.Seq(51, 1), (Calls{{"Normal3f", {0, 0, -1}}}));
}

}  // namespace
}  // namespace tam
