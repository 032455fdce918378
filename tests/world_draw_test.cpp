// Drawing the arena and the fog through the recording GL seam: panel quads with their texture
// extents, the floor, unknown texture indices, the island's list in place of the panels, the
// scroll offsets, and the fog set-up and command effects.
#include <gtest/gtest.h>

#include "gl_recorder.h"
#include "images/texture.h"
#include "render/opengl.h"
#include "world/map.h"

namespace tam {
namespace {

using test::GlCall;
using test::GlRecorder;

std::vector<double> Args(std::initializer_list<double> a) { return a; }

// The recorded calls start with (or, if `exact`, are) `want`, name and arguments alike.
void ExpectCalls(const GlRecorder& rec, const std::vector<GlCall>& want, bool exact) {
    ASSERT_TRUE(exact ? rec.calls.size() == want.size() : rec.calls.size() >= want.size())
        << rec.calls.size();
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(rec.calls[i].name + testing::PrintToString(rec.calls[i].args),
                  want[i].name + testing::PrintToString(want[i].args)) << i;
}

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
    {
        gl::ScopedBackend sb(&rec);
        DrawMap(0.02f);
    }
    ASSERT_EQ(rec.Count("Begin"), 3u);
    std::vector<double> binds;
    for (const auto& c : rec.Named("BindTexture")) binds.push_back(c.args[1]);
    EXPECT_EQ(binds, Args({104, 108, 106}));

    // First panel: bind, begin, white, normal, four corners with texture extents.
    const std::vector<GlCall> want = {
        {"BindTexture", {GL_TEXTURE_2D, 104}}, {"Begin", {GL_QUADS}},
        {"Color3f", {1, 1, 1}},                {"Normal3f", {0, -1, 0}},
        {"TexCoord2f", {0, 0}},                {"Vertex3f", {-10, 10, -2}},
        {"TexCoord2f", {7.5, 0}},              {"Vertex3f", {10, 10, -2}},
        {"TexCoord2f", {7.5, 4}},              {"Vertex3f", {10, 10, 2}},
        {"TexCoord2f", {0, 4}},                {"Vertex3f", {-10, 10, 2}},
        {"End", {}}};
    ExpectCalls(rec, want, false);

    // The floor: an unsigned half-width of 200 spans -200..200 with texture 0..400.
    const auto verts = rec.Named("Vertex3f");
    const auto tcs = rec.Named("TexCoord2f");
    ASSERT_EQ(verts.size(), 12u);
    const std::vector<double> floor[4][2] = {{{-200, 5, -2}, {0, 0}}, {{200, 5, -2}, {400, 0}},
                                             {{200, -5, -2}, {400, 10}}, {{-200, -5, -2}, {0, 10}}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(verts[8 + k].args, floor[k][0]) << k;
        EXPECT_EQ(tcs[8 + k].args, floor[k][1]) << k;
    }
    EXPECT_EQ(rec.Named("Normal3f").back().args, Args({0, 0, 1}));
    EXPECT_EQ(rec.calls.back().name, "Flush");
}

TEST_F(WorldDraw, FloorOnlyIsDrawnWhiteWhenNoPanelPrecedesIt) {
    Map().boxCount = -3;  // a negative count draws no panel
    Map().floorHalfWidth = Map().floorHalfDepth = 4;
    gl::ScopedBackend sb(&rec);
    DrawMap(0);
    ASSERT_EQ(rec.Count("Begin"), 1u);
    bool white = false;
    for (const auto& c : rec.calls) {
        white |= c.name == "Color3f" && c.args == Args({1, 1, 1});
        EXPECT_TRUE(white || c.name != "Begin");
    }
}

TEST_F(WorldDraw, UnknownTextureIndicesBindTheDefaultTexture) {
    gl::ScopedBackend sb(&rec);
    const uint32_t fallback = LoadTexture("default");
    rec.Clear();
    Map().boxes[0] = Panel(0, 0, 0, 1, 1, 1, 8);
    Map().boxes[1] = Panel(0, 0, 0, 1, 1, 1, -1);
    Map().boxCount = 2, Map().floorTexture = 100;
    DrawMap(0);
    ASSERT_EQ(rec.Count("BindTexture"), 3u);
    for (const auto& b : rec.Named("BindTexture"))
        EXPECT_EQ(b.args, Args({GL_TEXTURE_2D, static_cast<double>(fallback)}));
    EXPECT_EQ(WorldTextureName(7), 108u);
    EXPECT_EQ(WorldTextureName(0), 101u);
}

TEST_F(WorldDraw, TerrainModeCallsTheIslandListInsteadOfPanels) {
    Map().boxes[0] = Panel(0, 0, 0, 1, 1, 1, 1), Map().boxCount = 1;
    World().terrainMode = true, World().terrainList = 42;
    gl::ScopedBackend sb(&rec);
    DrawMap(0);
    ASSERT_EQ(rec.Count("CallList"), 1u);
    EXPECT_EQ(rec.Named("CallList")[0].args, Args({42}));  // and the panel is not drawn
    EXPECT_EQ(rec.Count("Begin"), 1u);  // the floor only
    EXPECT_EQ(rec.Named("BindTexture")[0].args, Args({GL_TEXTURE_2D, 101}));
    // White before the list, so the island is not tinted by the HUD's red.
    EXPECT_EQ(rec.calls[0].name, "Color3f");
}

TEST_F(WorldDraw, ScrollOffsetsAdvanceInThousandthsPerSecond) {
    Map().scrollSpeedX = 100, Map().scrollSpeedY = -20;
    gl::ScopedBackend sb(&rec);
    DrawMap(0.5f);
    DrawMap(0.5f);
    EXPECT_FLOAT_EQ(Map().scrollOffsetX, 0.1f);
    EXPECT_FLOAT_EQ(Map().scrollOffsetY, -0.02f);
}

TEST_F(WorldDraw, FogSetupAndCommands) {
    gl::ScopedBackend sb(&rec);
    FogSetup();
    const std::vector<GlCall> want = {
        {"Enable", {GL_FOG}},          {"Fogi", {GL_FOG_MODE, GL_EXP}},
        {"Fogfv", {GL_FOG_COLOR, 0.7f, 0.7f, 0.5f, 1.0f}},
        {"Fogf", {GL_FOG_DENSITY, 0.12f}}, {"Hint", {GL_FOG_HINT, GL_DONT_CARE}},
        {"Fogf", {GL_FOG_START, 2}},   {"Fogf", {GL_FOG_END, 5}}};
    ExpectCalls(rec, want, true);
    rec.Clear();
    FogOff();
    FogOn();
    for (int mode = 1; mode <= 4; ++mode) FogMode(mode);  // 4 is not a mode: nothing
    FogDensity(0.5f);
    const std::vector<GlCall> cmds = {
        {"Disable", {GL_FOG}},  {"Enable", {GL_FOG}}, {"Fogi", {GL_FOG_MODE, GL_EXP}},
        {"Fogi", {GL_FOG_MODE, GL_EXP2}}, {"Fogi", {GL_FOG_MODE, GL_LINEAR}},
        {"Fogf", {GL_FOG_DENSITY, 0.5}}};
    ExpectCalls(rec, cmds, true);
}

}  // namespace
}  // namespace tam
