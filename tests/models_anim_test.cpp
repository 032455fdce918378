// Animation and drawing checks: frame stepping and blend, looping ranges, the one-frame animation,
// drawing without advancing, and the strips and fans the command list turns into, with their
// blended positions, texture coordinates, normals and lit colours; and the normal and shade
// tables those colours come from.
#include "models/md2.h"
#include "models/md2_tables.h"

#include "gl_recorder.h"
#include "models_md2_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace tam {
namespace {

using test::Call;
using test::GlRecorder;
using test::Md2Builder;
using test::RampModel;

// The animation clock and position, for before-and-after comparisons.
auto Clock(const CMD2Model& m) {
    return std::tuple(m.currentFrame, m.nextFrame, m.currentTime, m.previousTime, m.blend, m.animation);
}

CMD2Model Loaded(const Md2Builder& b) {
    CMD2Model m;
    EXPECT_TRUE(m.LoadMd2(std::span<const uint8_t>(b.Build())));
    return m;
}

TEST(ModelsAnimation, StepBlendDrawWithoutTimeAndUnknownRanges) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model m = Loaded(RampModel(199));
    m.Draw(0.1f);  // 0.1 is not past 1/9 of a second
    EXPECT_EQ(Clock(m), std::tuple(0, 1, 0.1f, 0.0f, 9 * 0.1f, 0));
    m.Draw(0.12f);
    EXPECT_EQ(Clock(m), std::tuple(1, 2, 0.12f, 0.12f, 0.0f, 0));
    const auto before = Clock(m);
    for (float t : {0.0f, -5.0f}) {
        rec.Clear();
        m.Draw(t);
        EXPECT_EQ(rec.Count("Begin"), 1u);
        EXPECT_EQ(Clock(m), before);
    }
    // However long the pause, one call makes one step.
    m.Advance(100.0f);
    EXPECT_EQ(std::pair(m.currentFrame, m.nextFrame), std::pair(2, 3));
    // An unknown range falls back to standing, 0..39 at 9 frames a second, and keeps the clock.
    const auto [frame, next, now, prev, blend, animation] = Clock(m);
    for (int index : {21, -1, 1000, -1000}) {
        m.SelectAnimation(5);
        m.SelectAnimation(index);
        EXPECT_EQ(std::tuple(m.animation, m.startFrame, m.endFrame, m.nextFrame, m.frameRate), std::tuple(0, 0, 39, 1, 9));
    }
    EXPECT_EQ(std::tuple(m.currentFrame, m.currentTime, m.previousTime, m.blend), std::tuple(frame, now, prev, blend));
}

TEST(ModelsAnimation, RangesLoopAndMissingFramesFallBack) {
    const struct {
        int frames, animation, then;  // `then`: the range selected after two steps, or -1
        std::vector<int> shown;
        int next;                     // -1: not checked
    } cases[] = {
        {199, 1, -1, {41, 42, 43, 44, 45, 40, 41, 42}, -1},
        {199, 20, -1, {0, 198, 198, 198}, 198},  // the one-frame range: there is no frame 199
        {200, 20, -1, {199, 198}, -1},
        // Frames 40 to 45 beyond a 10-frame model: 41 and 42 are replaced by 0, and from there
        // the frames count up and wrap at the model's end.
        {10, 1, -1, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}, 1},
        // A new range takes effect at the next step: 42 -> 96.
        {199, 1, 9, {41, 42, 96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 95, 96}, -1},
    };
    for (const auto& c : cases) {
        CMD2Model m = Loaded(RampModel(c.frames, 3));
        m.SelectAnimation(c.animation);
        std::vector<int> shown;
        for (int i = 0; i < int(c.shown.size()); ++i) {
            if (i == 2 && c.then >= 0) m.SelectAnimation(c.then);
            m.Advance(float(i + 1));  // a full second per step
            shown.push_back(m.currentFrame);
        }
        EXPECT_EQ(shown, c.shown) << c.frames << " frames, animation " << c.animation;
        EXPECT_TRUE(c.next < 0 || m.nextFrame == c.next) << m.nextFrame;
    }
}

TEST(ModelsDraw, FanThenStripWithBlendedLitVertices) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    ResetModelDraw();
    // Frame 0: vertex i at (i, 2i, 3i) with normal i; frame 1: every coordinate 10 higher, with
    // normals that drawing must ignore.
    Md2Builder b;
    b.frames = {test::RampFrame(5), test::RampFrame(5, 10)};
    for (auto& v : b.frames[1].vertices) v.normal = 100;
    b.Fan({{0.0f, 0.5f, 4}, {0.25f, 0.0f, 0}, {1.0f, 1.0f, 1}, {0.5f, 0.75f, 2}});
    b.Strip({{0.1f, 0.2f, 3}, {0.3f, 0.4f, 2}, {0.5f, 0.6f, 1}}).End();
    CMD2Model m = Loaded(b);
    m.skin = 42;
    m.SetScale(0.25f);
    m.Draw(0.05f);  // frame 0 toward frame 1, blend 9 x 0.05 = 0.45
    ASSERT_FLOAT_EQ(m.blend, 0.45f);

    // The frame around the drawing, and each vertex: colour (lit by shade row 0), texture
    // coordinate, frame 0's normal, and the position blended 0.45 toward frame 1 and scaled by
    // 0.25, in that order.
    const int indices[] = {4, 0, 1, 2, 3, 2, 1};
    const float st[][2] = {{0, 0.5f}, {0.25f, 0}, {1, 1}, {0.5f, 0.75f}, {0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}};
    std::vector<Call> want = {{"PushMatrix", {}}, {"Rotatef", {-90, 0, 0, 1}}, {"PushAttrib", {GL_POLYGON_BIT}},
                              {"FrontFace", {GL_CW}}, {"Enable", {GL_CULL_FACE}}, {"CullFace", {GL_BACK}},
                              {"BindTexture", {GL_TEXTURE_2D, 42}}};
    for (int v = 0; v < 7; ++v) {
        if (v == 0 || v == 4) want.push_back({"Begin", {double(v ? GL_TRIANGLE_STRIP : GL_TRIANGLE_FAN)}});
        const int k = indices[v];  // vertex k has normal index k in frame 0
        const double shade = 0.625 * ShadeTable[0][k];
        const float* n = NormalTable[k];
        want.insert(want.end(), {{"Color3f", {shade, shade, shade}}, {"TexCoord2f", {st[v][0], st[v][1]}},
                                 {"Normal3f", {n[0], n[1], n[2]}}, {"Vertex3f", {}}});
        for (int c = 1; c <= 3; ++c) want.back().second.push_back((c * k + 10 * 0.45) * 0.25);
        if (v == 3 || v == 6) want.push_back({"End", {}});
    }
    want.insert(want.end(), {{"Disable", {GL_CULL_FACE}}, {"PopAttrib", {}}, {"PopMatrix", {}}});
    const auto got = rec.Seq();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, want[i].first) << i;
        ASSERT_EQ(got[i].second.size(), want[i].second.size()) << i;
        for (size_t a = 0; a < got[i].second.size(); ++a) EXPECT_NEAR(got[i].second[a], want[i].second[a], 1e-5) << i;
    }
}

TEST(ModelsDraw, OneFrameModelsDrawFrameZeroAndOverwriteTheSharedBuffer) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model unloaded;
    unloaded.Draw(0.5f);
    unloaded.Draw(0);
    EXPECT_TRUE(rec.calls.empty());
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

// Every normal has unit length and is distinct, and every shade factor, in whole hundredths,
// follows the lighting rule from its row's light direction and its normal: this ties the two
// tables together index by index.
TEST(ModelsTables, NormalsAreDistinctUnitsAndShadesFollowTheLightingRule) {
    std::set<std::tuple<float, float, float>> distinct;
    for (const float* n : NormalTable) {
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-5) << distinct.size();
        distinct.insert({n[0], n[1], n[2]});
    }
    EXPECT_EQ(distinct.size(), size_t(kNormalCount));
    const double pi = std::acos(-1.0), c = 1 / std::sqrt(2.0);
    for (int r = 0; r < 16; ++r)
        for (int k = 0; k < 256; ++k) {
            const float v = ShadeTable[r][k];
            const float* n = NormalTable[k % kNormalCount];
            const double d = c * (n[0] * std::cos(r * pi / 8) - n[1] * std::sin(r * pi / 8) + n[2]);
            const double expected = k >= kNormalCount ? 1.0 : d > 0 ? 1.0 + d : 1.0 + 0.3 * d;
            EXPECT_NEAR(v, expected, k >= kNormalCount ? 0 : 0.0051) << "row " << r << " column " << k;
            EXPECT_NEAR(std::round(v * 100.0) / 100.0, v, 1e-5);
        }
}

}  // namespace
}  // namespace tam
