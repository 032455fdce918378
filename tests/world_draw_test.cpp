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
using test::Face;
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
    rec.calls.push_back({"Color3f", {1, 0, 0}});  // the HUD's red, left from the frame before
    DrawMap(0.02f);
    // Each panel in white with its texture extents; then the floor: an unsigned half-width of 200
    // spans -200..200 with texture 0..400; then a flush.
    const auto faces = test::Faces(rec);
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(faces[0], (Face{GL_QUADS, 104, {0, -1, 0},
                              {{0, 0, -10, 10, -2}, {7.5, 0, 10, 10, -2}, {7.5, 4, 10, 10, 2}, {0, 4, -10, 10, 2}}}));
    EXPECT_EQ(faces[1].texture, 108);
    EXPECT_EQ(faces[2], (Face{GL_QUADS, 106, {0, 0, 1},
                              {{0, 0, -200, 5, -2}, {400, 0, 200, 5, -2}, {400, 10, 200, -5, -2}, {0, 10, -200, -5, -2}}}));
    EXPECT_EQ(rec.calls.back().name, "Flush");
}

// Unknown textures bind the default; scroll offsets advance in thousandths a second; the floor
// and (in terrain mode, in place of the panels) the island's list are drawn white.
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
    rec.calls.push_back({"Color3f", {1, 0, 0}});  // the HUD's red, left from the frame before
    DrawMap(0.5f);
    ASSERT_EQ(test::Faces(rec).size(), 1u);  // the floor, white
    EXPECT_EQ(test::Faces(rec)[0].color, (test::N3{1, 1, 1}));
    EXPECT_FLOAT_EQ(Map().scrollOffsetX, 0.1f);
    EXPECT_FLOAT_EQ(Map().scrollOffsetY, -0.02f);
    rec.Clear();
    World().terrainMode = true, World().terrainList = 42, Map().boxCount = 2;
    DrawMap(0);
    EXPECT_EQ(rec.Seq(0, 2), (Calls{{"Color3f", {1, 1, 1}}, {"CallList", {42}}}));
    EXPECT_EQ(std::pair(rec.Count("CallList"), rec.Count("Begin")), std::pair(size_t{1}, size_t{1}));
}

// Six faces 90 from the point each way, the front one checked whole; the extra texture on top.
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
    rec.calls.push_back({"Color3f", {1, 0, 0}});
    sky.Draw(5, -7, 2);
    const auto faces = test::Faces(rec);
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_EQ(faces[0], (Face{GL_QUADS, 11, {0, -1, 0},
                              {{0, 1, 95, 83, 92}, {0, 0, 95, 83, -88}, {1, 0, -85, 83, -88}, {1, 1, -85, 83, 92}}}));
    const double textures[] = {11, 12, 13, 14, 15, 1};  // the extra texture repeats the top face
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(std::tuple(faces[k].texture, faces[k].color), std::tuple(textures[k], test::N3{1, 1, 1}));
        for (const auto& v : faces[k].v)  // every corner 90 from the point on each axis
            EXPECT_EQ(std::tuple(std::fabs(v[2] - 5), std::fabs(v[3] + 7), std::fabs(v[4] - 2)),
                      std::tuple(90.f, 90.f, 90.f));
    }
    EXPECT_EQ(std::tie(faces[5].n, faces[5].v), std::tie(faces[4].n, faces[4].v));
    EXPECT_EQ(faces[4].n, (test::N3{0, 0, -1}));
}

}  // namespace
}  // namespace tam
