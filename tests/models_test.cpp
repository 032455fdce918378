// The MD2 model: the loader and its refusals, the animation clock, the strips and fans drawn,
// and the normal and shade tables, on files built in memory.

#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <tuple>

#include "asset/byte_writer.h"
#include "command_fixture.h"
#include "models/md2.h"
#include "models/md2_format.h"
#include "models/md2_tables.h"

namespace tam {
namespace {

using test::Call;
using test::GlRecorder;

using Md2Vertex = std::array<uint8_t, 4>;  // x, y, z, normal index

struct Md2Frame {
    float scale[3] = {1, 1, 1}, translate[3] = {0, 0, 0};
    std::string name = "frame";
    std::vector<Md2Vertex> vertices;
};

using Md2CommandVertex = std::tuple<float, float, int32_t>;  // s, t, vertex index

class Md2Builder {
public:
    std::vector<Md2Frame> frames;
    std::vector<int32_t> commands;  // raw words; use Strip/Fan/End to fill
    bool commandsFirst = false;     // command list before the frames instead of after them
    int32_t extraFrameBytes = 0;    // padding after each frame's vertices

    Md2Builder& Strip(const std::vector<Md2CommandVertex>& v) { return Group(int32_t(v.size()), v); }
    Md2Builder& Fan(const std::vector<Md2CommandVertex>& v) { return Group(-int32_t(v.size()), v); }
    Md2Builder& End() { return commands.push_back(0), *this; }

    // Header field offsets, for tampering with Put().
    enum Field {
        kMagic = 0, kVersion = 4, kFrameSize = 16, kVertexCount = 24, kCommandCount = 36,
        kFrameCount = 40, kFramesOffset = 56, kCommandsOffset = 60
    };

    std::vector<uint8_t> Build() const {
        asset::ByteWriter head, body, list;
        for (const Md2Frame& f : frames) {
            for (float v : f.scale) body.LeFloat(v);
            for (float v : f.translate) body.LeFloat(v);
            body.Name(f.name, 16);
            for (const Md2Vertex& v : f.vertices) body.U8(v[0]).U8(v[1]).U8(v[2]).U8(v[3]);
            body.Zeros(size_t(extraFrameBytes));
        }
        for (int32_t w : commands) list.Le32(uint32_t(w));
        const int32_t vertexCount = frames.empty() ? 0 : int32_t(frames[0].vertices.size());
        const int32_t framesBytes = int32_t(body.bytes.size()), commandBytes = int32_t(list.bytes.size());
        const int32_t header[16] = {8, 64, 64, 40 + 4 * vertexCount + extraFrameBytes, 0, vertexCount, 0, 0,
                                    int32_t(commands.size()), int32_t(frames.size()), 68, 68, 68,
                                    commandsFirst ? 68 + commandBytes : 68, commandsFirst ? 68 : 68 + framesBytes,
                                    68 + framesBytes + commandBytes};
        head.Text("IDP2");
        for (int32_t v : header) head.Le32(uint32_t(v));
        if (commandsFirst) return head.Append(list.bytes).Append(body.bytes).bytes;
        return head.Append(body.bytes).Append(list.bytes).bytes;
    }

    static void Put(std::vector<uint8_t>& b, size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
    }

private:
    Md2Builder& Group(int32_t count, const std::vector<Md2CommandVertex>& v) {
        commands.push_back(count);
        for (const auto& [s, t, index] : v)
            commands.insert(commands.end(), {std::bit_cast<int32_t>(s), std::bit_cast<int32_t>(t), index});
        return *this;
    }
};

// A frame of `n` vertices at (i, 2i, 3i) + offset with normal index i % 162.
Md2Frame RampFrame(int n, uint8_t offset = 0) {
    Md2Frame f;
    for (int i = 0; i < n; ++i)
        f.vertices.push_back({uint8_t(i + offset), uint8_t(2 * i + offset), uint8_t(3 * i + offset), uint8_t(i % 162)});
    return f;
}

// `frames` ramp frames (frame f offset by f) and one strip over the first three vertices.
Md2Builder RampModel(int frames, int vertices = 4) {
    Md2Builder b;
    for (int f = 0; f < frames; ++f) b.frames.push_back(RampFrame(vertices, uint8_t(f)));
    b.Strip({{0, 0, 0}, {1, 0, 1}, {0, 1, 2}}).End();
    return b;
}

TEST(ModelsLoad, UnpacksScaleTranslateAndNormal) {
    Md2Builder b;
    b.frames = {{{0.5f, 0.5f, 0.5f}, {-10, 0, 5}, "a", {{20, 40, 255, 7}, {0, 1, 2, 161}}},
                {{0.5f, 0.5f, 2.0f}, {-10, 0, 5}, "b", {{1, 2, 3, 0}, {4, 5, 6, 9}}}};
    b.Fan({{0, 0, 0}, {1, 1, 1}, {0, 1, 0}}).End();
    b.extraFrameBytes = 8;  // frame records may be longer than their vertices
    CMD2Model m;
    ASSERT_TRUE(m.LoadMd2(b.Build()));
    EXPECT_EQ(std::tuple(m.frameCount, m.vertexCount, m.commandCount), std::tuple(2, 2, 11));
    // Second frame follows the first, with its own scale (all values exact in binary).
    EXPECT_EQ(m.vertices, (std::vector<float>{0, 20, 132.5f, -10, 0.5f, 6, -9.5f, 1, 11, -8, 2.5f, 17}));
    EXPECT_EQ(m.normalIndex, (std::vector<int32_t>{7, 161, 0, 9}));
    EXPECT_EQ(m.commands, b.commands);
    // The largest vertex count is accepted.
    Md2Builder big = RampModel(1, 2048);
    big.commands.clear();
    big.Strip({{0, 0, 2047}, {0, 0, 0}, {0, 0, 1024}}).End();
    EXPECT_TRUE(m.LoadMd2(big.Build()));
    EXPECT_EQ(m.vertexCount, 2048);
}

TEST(ModelsLoad, SecondFileReplacesFirstAndAMissingOneChangesNothing) {
    ResetConsole();
    CMD2Model m;
    ASSERT_TRUE(m.LoadMd2(RampModel(3, 5).Build()));
    m.SelectAnimation(9);
    m.Advance(0.5f);
    auto second = RampModel(1, 2);
    second.commands.clear();
    second.Fan({{0, 0, 1}, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}}).End();
    ASSERT_TRUE(m.LoadMd2(second.Build()));
    const std::string absent = ::testing::TempDir() + "/absent.md2";
    EXPECT_FALSE(m.LoadMd2(absent));
    EXPECT_EQ(test::ConsoleText(), "Model " + absent + " not loaded: file not found");
    EXPECT_EQ(std::pair(m.frameCount, m.vertexCount), std::pair(1, 2));
    EXPECT_EQ(m.commands, second.commands);
    EXPECT_EQ(m.animation, 9);  // the animation state is the model's, not the file's
}

// Each malformed file is refused for the expected reason.
void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& reason, const std::string& label) {
    const std::string why = md2::Problem(bytes);
    EXPECT_NE(why.find(reason), std::string::npos) << label << " got: " << why;
    EXPECT_FALSE(CMD2Model().LoadMd2(bytes)) << label;
}

TEST(ModelsMalformed, TruncatedAnywhereHeaderFieldsAndOffsetsOutOfLimits) {
    for (bool commandsFirst : {false, true}) {
        auto b = RampModel(3, 4);
        b.commandsFirst = commandsFirst;
        const auto full = b.Build();
        ASSERT_TRUE(CMD2Model().LoadMd2(full));
        for (size_t n = 0; n < full.size(); ++n) {
            const std::vector<uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
            EXPECT_FALSE(CMD2Model().LoadMd2(cut)) << "length " << n << " commandsFirst " << commandsFirst;
            EXPECT_NE(md2::Problem(cut), "");
        }
    }
    using B = Md2Builder;
    const auto good = RampModel(2, 4).Build();
    const int32_t size = int32_t(good.size());
    struct Case { B::Field field; int32_t value; const char* reason; } cases[] = {
        {B::kMagic, 0x33504449, "magic"},  // "IDP3"
        {B::kVersion, 7, "version 7"},
        {B::kVertexCount, 0, "vertex count 0"}, {B::kVertexCount, -1, "vertex count -1"},
        {B::kVertexCount, 2049, "vertex count 2049"}, {B::kVertexCount, INT_MAX, "vertex count"},
        {B::kFrameCount, 0, "frame count 0"}, {B::kFrameCount, -5, "frame count -5"},
        {B::kFrameCount, INT_MAX, "frame count"},
        {B::kFrameCount, 3, "frames ("},  // one frame more than the file holds
        {B::kCommandCount, 0, "command count 0"}, {B::kCommandCount, INT_MIN, "command count"},
        {B::kCommandCount, INT_MAX, "command list ("}, {B::kFrameSize, 40 + 4 * 4 - 1, "frame size 55"},
        {B::kFrameSize, -1, "frame size -1"}, {B::kFrameSize, INT_MAX, "frames ("},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        B::Put(bytes, c.field, c.value);
        ExpectRefused(bytes, c.reason, "field " + std::to_string(c.field) + " = " + std::to_string(c.value));
    }
    for (auto field : {B::kFramesOffset, B::kCommandsOffset}) {
        const char* name = field == B::kFramesOffset ? "frames" : "command list";
        for (int32_t value : {-1, INT_MIN, size, size - 3, INT_MAX}) {
            auto bytes = good;
            B::Put(bytes, field, value);
            ExpectRefused(bytes, name, std::string(name) + " at " + std::to_string(value));
        }
    }
}

TEST(ModelsMalformed, CommandListFaultsAndNormalIndices) {
    auto group = [](int32_t count, std::vector<int32_t> indices, std::vector<int32_t> after = {}) {
        std::vector<int32_t> w = {count};
        for (int32_t i : indices) w.insert(w.end(), {0, 0, i});
        w.insert(w.end(), after.begin(), after.end());
        return w;
    };
    const std::pair<std::vector<int32_t>, const char*> cases[] = {
        {group(3, {0, 1, 2}), "no terminating 0"}, {{}, "command count 0"},
        {group(3, {0, 1, 4}, {0}), "vertex index 4"}, {group(-3, {0, -1, 2}, {0}), "vertex index -1"},
        {group(3, {0, 1, 2}, {5, 0}), "runs past the list"},
        {group(-3, {0, 1, 2}, {-1000000, 0}), "runs past the list"},
        {{INT_MIN, 0}, "group count"}, {{INT_MAX, 0}, "runs past the list"},
        {group(2, {0, 1}, {1, 0, 0, 3}), "no terminating 0"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Md2Builder b = RampModel(2, 4);
        b.commands = cases[i].first;
        ExpectRefused(b.Build(), cases[i].second, "case " + std::to_string(i));
    }
    // Words after the terminating 0 are not part of the list.
    Md2Builder b = RampModel(3, 4);
    b.commands = group(3, {0, 1, 2}, {0, 99, 12345});
    EXPECT_EQ(md2::Problem(b.Build()), "");
    for (int normal : {162, 255}) {
        b.frames[2].vertices[1][3] = uint8_t(normal);
        ExpectRefused(b.Build(), "frame 2 vertex 1 has normal index " + std::to_string(normal), "normal");
    }
}

// The animation clock and position, for before-and-after comparisons.
auto Clock(const CMD2Model& m) {
    return std::tuple(m.currentFrame, m.nextFrame, m.currentTime, m.previousTime, m.blend, m.animation);
}

CMD2Model Loaded(const Md2Builder& b) {
    CMD2Model m;
    EXPECT_TRUE(m.LoadMd2(b.Build()));
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
            m.Advance(float(i + 1));  // a full second per call, yet one step each
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
    b.frames = {RampFrame(5), RampFrame(5, 10)};
    for (auto& v : b.frames[1].vertices) v[3] = 100;
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
    const auto rounded = [](std::vector<Call> calls) {  // to five decimals
        for (auto& [name, args] : calls)
            for (double& a : args) a = std::round(a * 1e5) / 1e5;
        return calls;
    };
    EXPECT_EQ(rounded(rec.Seq()), rounded(want));
}

TEST(ModelsDraw, OneFrameModelsDrawFrameZeroAndOverwriteTheSharedBuffer) {
    GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    CMD2Model().Draw(0.5f);
    EXPECT_TRUE(rec.calls.empty());  // nothing loaded
    // A fresh model points at frame 1; a one-frame file drawn before any step, even half blended,
    // shows frame 0.
    CMD2Model a = Loaded(RampModel(1, 3));
    ASSERT_EQ(a.nextFrame, 1);
    a.blend = 0.5f;
    Md2Builder bb = RampModel(1, 3);
    bb.frames[0] = RampFrame(3, 50);
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

// Every normal has unit length, and every shade factor, in whole hundredths, follows the lighting
// rule from its row's light direction and its normal: this ties the two tables together index by
// index (a normal out of place no longer fits its shades).
TEST(ModelsTables, NormalsAreUnitsAndShadesFollowTheLightingRule) {
    for (const float* n : NormalTable)
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-5) << n[0] << " " << n[1];
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
