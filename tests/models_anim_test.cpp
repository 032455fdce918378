// Animation and drawing checks: frame stepping and blend, looping ranges, the one-frame animation,
// drawing without advancing, and the strips and fans the command list turns into, with their
// blended positions, texture coordinates, normals and lit colours.
#include "models/md2.h"
#include "models/md2_tables.h"

#include "gl_recorder.h"
#include "models_md2_builder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tam {
namespace {

using test::GlRecorder;
using test::Md2Builder;
using test::RampModel;

// The animation clock and position, for before-and-after comparisons.
auto Clock(const CMD2Model& m) {
    return std::tuple(m.currentFrame, m.nextFrame, m.currentTime, m.previousTime, m.blend, m.animation);
}

CMD2Model Loaded(const Md2Builder& b) {
    CMD2Model m;
    const auto bytes = b.Build();
    EXPECT_TRUE(m.LoadMd2(std::span<const uint8_t>(bytes)));
    return m;
}

TEST(ModelsAnimation, StepAndBlend) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model m = Loaded(RampModel(199));
    m.Draw(0.1f);  // 0.1 is not past 1/9 of a second
    EXPECT_EQ(m.currentFrame, 0);
    EXPECT_EQ(m.nextFrame, 1);
    EXPECT_FLOAT_EQ(m.currentTime, 0.1f);
    EXPECT_FLOAT_EQ(m.previousTime, 0.0f);
    EXPECT_FLOAT_EQ(m.blend, 0.9f);
    m.Draw(0.12f);
    EXPECT_EQ(m.currentFrame, 1);
    EXPECT_EQ(m.nextFrame, 2);
    EXPECT_FLOAT_EQ(m.previousTime, 0.12f);
    EXPECT_FLOAT_EQ(m.blend, 0.0f);
    // However long the pause, one call makes one step.
    m.Advance(100.0f);
    EXPECT_EQ(m.currentFrame, 2);
    EXPECT_EQ(m.nextFrame, 3);
}

// The current frames shown by `steps` successive steps, each a full second apart.
std::vector<int> Steps(CMD2Model& m, int steps, float& clock) {
    std::vector<int> shown;
    for (int i = 0; i < steps; ++i) {
        clock += 1.0f;
        m.Advance(clock);
        shown.push_back(m.currentFrame);
    }
    return shown;
}

TEST(ModelsAnimation, RangesLoopAndMissingFramesFallBack) {
    const struct {
        int frames, animation;
        std::vector<int> shown;
        int next;  // -1: not checked
    } cases[] = {
        {199, 1, {41, 42, 43, 44, 45, 40, 41, 42}, -1},
        {199, 20, {0, 198, 198, 198}, 198},  // the one-frame range: there is no frame 199
        {200, 20, {199, 198}, -1},
        // Frames 40 to 45 beyond a 10-frame model: 41 and 42 are replaced by 0, and from there
        // the frames count up and wrap at the model's end.
        {10, 1, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}, 1},
    };
    for (const auto& c : cases) {
        CMD2Model m = Loaded(RampModel(c.frames, 3));
        m.SelectAnimation(c.animation);
        float clock = 0;
        EXPECT_EQ(Steps(m, int(c.shown.size()), clock), c.shown) << c.frames << " frames, animation " << c.animation;
        EXPECT_TRUE(c.next < 0 || m.nextFrame == c.next) << m.nextFrame;
    }
    // A new range takes effect at the next step: 42 -> 96.
    CMD2Model m = Loaded(RampModel(199, 3));
    float clock = 0;
    m.SelectAnimation(1);
    Steps(m, 2, clock);
    m.SelectAnimation(9);
    std::vector<int> expected;
    for (int f = 96; f <= 111; ++f) expected.push_back(f);
    expected.insert(expected.end(), {95, 96, 97});
    EXPECT_EQ(Steps(m, 19, clock), expected);
}

TEST(ModelsAnimation, SelectOutOfRangeAndKeepsClock) {
    CMD2Model m = Loaded(RampModel(199, 3));
    m.Advance(0.05f);
    m.Advance(0.2f);
    const auto [frame, next, now, prev, blend, animation] = Clock(m);
    for (int index : {21, -1, 1000, -1000}) {
        m.SelectAnimation(5);
        m.SelectAnimation(index);  // falls back to the standing range 0..39 at 9 frames a second
        EXPECT_EQ(std::tuple(m.animation, m.startFrame, m.endFrame, m.nextFrame, m.frameRate),
                  std::tuple(0, 0, 39, 1, 9));
    }
    EXPECT_EQ(std::tuple(m.currentFrame, m.currentTime, m.previousTime, m.blend), std::tuple(frame, now, prev, blend));
}

TEST(ModelsAnimation, BlendStaysInUnitRange) {
    CMD2Model m = Loaded(RampModel(199, 3));
    m.SelectAnimation(9);
    int steps = 0;
    for (int ms = 1; ms <= 5000; ms += 7) {
        const int before = m.currentFrame;
        m.Draw(float(ms) / 1000.0f);
        if (m.currentFrame != before) ++steps;
        EXPECT_GE(m.blend, 0.0f);
        EXPECT_LE(m.blend, 1.0f + 7 * 10 / 1000.0f);  // one 7 ms tick past the interval at most
        if (steps > 0) {
            EXPECT_GE(m.currentFrame, 95);
            EXPECT_LE(m.currentFrame, 111);
        }
    }
    EXPECT_GT(steps, 40);  // about 10 a second for 5 seconds, less the overshoot per step
}

TEST(ModelsAnimation, DrawWithoutTimeKeepsState) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model m = Loaded(RampModel(40, 3));
    m.Draw(0.05f);
    m.Draw(0.2f);
    const auto before = Clock(m);
    for (float t : {0.0f, -5.0f}) {
        rec.Clear();
        m.Draw(t);
        EXPECT_EQ(rec.Count("Begin"), 1u);
        EXPECT_EQ(Clock(m), before);
    }
}

// Frame 0: vertex i at (i, 2i, 3i) with normal i; frame 1: every coordinate 10 higher, with
// normals that drawing must ignore.
Md2Builder TwoFrameModel() {
    Md2Builder b;
    b.frames.push_back(test::RampFrame(5));
    test::Md2Frame f1 = test::RampFrame(5, 10);
    for (auto& v : f1.vertices) v.normal = 100;
    b.frames.push_back(f1);
    b.Fan({{0.0f, 0.5f, 4}, {0.25f, 0.0f, 0}, {1.0f, 1.0f, 1}, {0.5f, 0.75f, 2}});
    b.Strip({{0.1f, 0.2f, 3}, {0.3f, 0.4f, 2}, {0.5f, 0.6f, 1}});
    b.End();
    return b;
}

TEST(ModelsDraw, FanThenStripWithBlendedLitVertices) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    ResetModelDraw();
    CMD2Model m = Loaded(TwoFrameModel());
    m.skin = 42;
    m.SetScale(0.25f);
    m.Draw(0.05f);  // frame 0 toward frame 1, blend 9 x 0.05 = 0.45
    ASSERT_FLOAT_EQ(m.blend, 0.45f);

    // The frame around the drawing, and the vertices of the fan and then the strip.
    std::vector<std::pair<std::string, std::vector<double>>> frame;
    for (const auto& c : rec.calls)
        if (c.name != "Color3f" && c.name != "TexCoord2f" && c.name != "Normal3f")
            frame.emplace_back(c.name, c.name == "Vertex3f" ? std::vector<double>{} : c.args);
    const std::pair<std::string, std::vector<double>> v3 = {"Vertex3f", {}}, end = {"End", {}};
    EXPECT_EQ(frame, (decltype(frame){{"PushMatrix", {}}, {"Rotatef", {-90, 0, 0, 1}},
                                      {"PushAttrib", {GL_POLYGON_BIT}}, {"FrontFace", {GL_CW}},
                                      {"Enable", {GL_CULL_FACE}}, {"CullFace", {GL_BACK}},
                                      {"BindTexture", {GL_TEXTURE_2D, 42}}, {"Begin", {GL_TRIANGLE_FAN}},
                                      v3, v3, v3, v3, end, {"Begin", {GL_TRIANGLE_STRIP}}, v3, v3, v3, end,
                                      {"Disable", {GL_CULL_FACE}}, {"PopAttrib", {}}, {"PopMatrix", {}}}));

    // Each vertex: colour (lit by shade row 0), texture coordinate, frame 0's normal, and the
    // position blended 0.45 toward frame 1 and scaled by 0.25, in that order.
    const int indices[] = {4, 0, 1, 2, 3, 2, 1};
    const float st[][2] = {{0, 0.5f}, {0.25f, 0}, {1, 1}, {0.5f, 0.75f}, {0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}};
    std::vector<std::string> order, wantOrder;
    std::vector<double> got, want;
    for (const auto& c : rec.calls)
        if (c.name == "Color3f" || c.name == "TexCoord2f" || c.name == "Normal3f" || c.name == "Vertex3f")
            order.push_back(c.name), got.insert(got.end(), c.args.begin(), c.args.end());
    for (int v = 0; v < 7; ++v) {
        const int k = indices[v];  // vertex k has normal index k in frame 0
        const double shade = 0.625 * ShadeTable[0][k];
        const float* n = NormalTable[k];
        want.insert(want.end(), {shade, shade, shade, st[v][0], st[v][1], n[0], n[1], n[2]});
        for (int c = 1; c <= 3; ++c) want.push_back((c * k + 10 * 0.45) * 0.25);
        wantOrder.insert(wantOrder.end(), {"Color3f", "TexCoord2f", "Normal3f", "Vertex3f"});
    }
    EXPECT_EQ(order, wantOrder);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "value " << i;
    EXPECT_FLOAT_EQ(ModelDraw().litColour[0], 0.625f);
    EXPECT_EQ(ModelDraw().shadeRow, 0);
}

TEST(ModelsDraw, UnloadedModelDrawsNothing) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model m;
    m.Draw(0.5f);
    m.Draw(0);
    EXPECT_TRUE(rec.calls.empty());
}

TEST(ModelsDraw, OneFrameModelsDrawFrameZeroAndOverwriteTheSharedBuffer) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    // A fresh model points at frame 1; a one-frame file drawn before any step, even half blended,
    // shows frame 0.
    CMD2Model a = Loaded(RampModel(1, 3));
    ASSERT_EQ(a.nextFrame, 1);
    a.blend = 0.5f;
    Md2Builder bb = RampModel(1, 3);
    bb.frames[0] = test::RampFrame(3, 50);
    CMD2Model b = Loaded(bb);
    a.Draw(0);
    b.Draw(0);
    a.Draw(0);
    const auto v = rec.Named("Vertex3f");
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(v[1].args, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(v[4].args, (std::vector<double>{51, 52, 53}));
    EXPECT_EQ(v[7].args, (std::vector<double>{1, 2, 3}));
}

}  // namespace
}  // namespace tam
