// Loader checks: header acceptance, unpacking of frames, replacement by a second file, and the
// refusal of malformed and missing files with the model left as it was.
#include "models/md2.h"
#include "models/md2_format.h"

#include "console/console.h"
#include "gl_recorder.h"
#include "images/texture.h"
#include "models_md2_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>

namespace tam {
namespace {

using test::Md2Builder;
using test::RampModel;

std::span<const uint8_t> Span(const std::vector<uint8_t>& b) { return {b.data(), b.size()}; }
// The log's lines joined, as they were before the log wrapped them at 60 bytes.
std::string Logged() {
    return std::accumulate(Con().log.begin() + 1, Con().log.begin() + 1 + Con().lineCount, std::string());
}

TEST(ModelsLoad, UnpacksScaleTranslateAndNormal) {
    Md2Builder b;
    b.frames = {{{0.5f, 0.5f, 0.5f}, {-10, 0, 5}, "a", {{20, 40, 255, 7}, {0, 1, 2, 161}}},
                {{0.5f, 0.5f, 2.0f}, {-10, 0, 5}, "b", {{1, 2, 3, 0}, {4, 5, 6, 9}}}};
    b.Fan({{0, 0, 0}, {1, 1, 1}, {0, 1, 0}}).End();
    b.extraFrameBytes = 8;  // frame records may be longer than their vertices
    CMD2Model m;
    ASSERT_TRUE(m.LoadMd2(Span(b.Build())));
    EXPECT_EQ(std::tuple(m.frameCount, m.vertexCount, m.commandCount), std::tuple(2, 2, 11));
    // Second frame follows the first, with its own scale (all values exact in binary).
    EXPECT_EQ(m.vertices, (std::vector<float>{0, 20, 132.5f, -10, 0.5f, 6, -9.5f, 1, 11, -8, 2.5f, 17}));
    EXPECT_EQ(m.normalIndex, (std::vector<int32_t>{7, 161, 0, 9}));
    EXPECT_EQ(m.commands, b.commands);
    // The largest vertex count is accepted.
    Md2Builder big = RampModel(1, 2048);
    big.commands.clear();
    big.Strip({{0, 0, 2047}, {0, 0, 0}, {0, 0, 1024}}).End();
    EXPECT_TRUE(m.LoadMd2(Span(big.Build())));
    EXPECT_EQ(m.vertexCount, 2048);
}

TEST(ModelsLoad, SecondFileReplacesFirstAndAMissingOneChangesNothing) {
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);
    ResetTextures();
    ResetConsole();
    CMD2Model m;
    ASSERT_TRUE(m.LoadMd2(Span(RampModel(3, 5).Build())));
    m.SelectAnimation(9);
    m.Advance(0.5f);
    auto second = RampModel(1, 2);
    second.commands.clear();
    second.Fan({{0, 0, 1}, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}}).End();
    ASSERT_TRUE(m.LoadMd2(Span(second.Build())));
    const std::string absent = ::testing::TempDir() + "/absent.md2";
    EXPECT_FALSE(m.LoadMd2(absent));
    EXPECT_EQ(Logged(), "Model " + absent + " not loaded: file not found");
    EXPECT_EQ(std::pair(m.frameCount, m.vertexCount), std::pair(1, 2));
    EXPECT_EQ(m.vertices.size() + m.normalIndex.size(), 6u + 2u);
    EXPECT_EQ(m.commands, second.commands);
    EXPECT_EQ(m.animation, 9);  // the animation state is the model's, not the file's
    EXPECT_FALSE(CMD2Model().LoadMd2(absent));
    // A missing skin gives the default texture.
    ResetConsole();
    EXPECT_FALSE(m.SetSkin("Data/Models/none/absent.pcx"));
    EXPECT_EQ(m.skin, LoadTexture("default"));
    EXPECT_EQ(Logged(),
              "Texture Data/Models/none/absent.pcx not loaded: file not found (default texture used)");
    ResetTextures();
    ResetConsole();
}

// Each malformed file is refused for the expected reason and leaves a loaded model untouched.
void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& reason, const std::string& label) {
    SCOPED_TRACE(label);
    const std::string why = md2::Problem(Span(bytes));
    EXPECT_NE(why.find(reason), std::string::npos) << "got: " << why;
    CMD2Model m;
    ASSERT_TRUE(m.LoadMd2(Span(RampModel(1, 3).Build())));
    EXPECT_FALSE(m.LoadMd2(Span(bytes)));
    EXPECT_EQ(std::pair(m.frameCount, m.vertexCount), std::pair(1, 3));
    EXPECT_EQ(m.vertices, (std::vector<float>{0, 0, 0, 1, 2, 3, 2, 4, 6}));
}

TEST(ModelsMalformed, TruncatedAnywhere) {
    for (bool commandsFirst : {false, true}) {
        auto b = RampModel(3, 4);
        b.commandsFirst = commandsFirst;
        const auto full = b.Build();
        ASSERT_TRUE(CMD2Model().LoadMd2(Span(full)));
        for (size_t n = 0; n < full.size(); ++n) {
            const std::vector<uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
            EXPECT_FALSE(CMD2Model().LoadMd2(Span(cut))) << "length " << n << " commandsFirst " << commandsFirst;
            EXPECT_NE(md2::Problem(Span(cut)), "");
        }
    }
}

TEST(ModelsMalformed, HeaderFieldsAndOffsetsOutOfLimits) {
    using B = Md2Builder;
    const auto good = RampModel(2, 4).Build();
    const int32_t size = int32_t(good.size());
    struct Case {
        B::Field field;
        int32_t value;
        const char* reason;
    } cases[] = {
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
        {group(3, {0, 1, 2}), "no terminating 0"},
        {{}, "command count 0"},
        {group(3, {0, 1, 4}, {0}), "vertex index 4"},
        {group(-3, {0, -1, 2}, {0}), "vertex index -1"},
        {group(3, {0, 1, 2}, {5, 0}), "runs past the list"},
        {group(-3, {0, 1, 2}, {-1000000, 0}), "runs past the list"},
        {{INT_MIN, 0}, "group count"},
        {{INT_MAX, 0}, "runs past the list"},
        {group(2, {0, 1}, {1, 0, 0, 3}), "no terminating 0"},
    };
    for (const auto& [words, reason] : cases) {
        Md2Builder b = RampModel(2, 4);
        b.commands = words;
        std::string label;
        for (int32_t w : words) label += std::to_string(w) + " ";
        ExpectRefused(b.Build(), reason, "words " + label);
    }
    // Words after the terminating 0 are not part of the list.
    Md2Builder b = RampModel(3, 4);
    b.commands = group(3, {0, 1, 2}, {0, 99, 12345});
    EXPECT_EQ(md2::Problem(Span(b.Build())), "");
    for (int normal : {162, 255}) {
        b.frames[2].vertices[1].normal = uint8_t(normal);
        ExpectRefused(b.Build(), "frame 2 vertex 1 has normal index " + std::to_string(normal), "normal");
    }
}

}  // namespace
}  // namespace tam
