// The texture font through the GL recorder: PrintText's state handling, glyph choice by set,
// dropped characters and cut lines. What the glyphs look like, and the HUD's formatted lines, are
// read back by the arena's whole-program test.
#include <gtest/gtest.h>

#include "gl_recorder.h"
#include "render/font.h"
#include "render/opengl.h"

namespace tam {
namespace {

using test::Call;
using Calls = std::vector<Call>;

class Font : public ::testing::Test {
protected:
    void SetUp() override {
        tam::Font() = FontState{};
        tam::Font().texture = 7;
        RenderState().viewportW = 800, RenderState().viewportH = 600;
    }
    void TearDown() override {
        tam::Font() = FontState{};
        RenderState() = GlState{};
    }
    // The lists one PrintText runs: the list base plus each byte.
    std::vector<int> ListsCalled() const {
        const auto base = rec.Named("ListBase"), calls = rec.Named("CallLists");
        EXPECT_EQ(std::pair(base.size(), calls.size()), std::pair(size_t{1}, size_t{1}));
        std::vector<int> lists;
        for (size_t i = 2; i < calls[0].args.size(); ++i) lists.push_back(int(base[0].args[0] + calls[0].args[i]));
        EXPECT_EQ(calls[0].args[0], double(lists.size()));
        return lists;
    }
    test::GlRecorder rec;
    gl::ScopedBackend backend{&rec};
};

TEST_F(Font, PrintTextSetsAndRestoresStateAroundTheLine) {
    tam::Font().base = 500;
    PrintText(10, 30, 0, "%s", "");
    const Call push = {"PushMatrix", {}}, identity = {"LoadIdentity", {}}, pop = {"PopMatrix", {}};
    const Call projection = {"MatrixMode", {GL_PROJECTION}}, modelview = {"MatrixMode", {GL_MODELVIEW}};
    EXPECT_EQ(rec.Seq(), (Calls{{"Enable", {GL_BLEND}}, {"BlendFunc", {GL_ONE, GL_ONE}},
                                {"BindTexture", {GL_TEXTURE_2D, 7}}, {"Disable", {GL_DEPTH_TEST}},
                                projection, push, identity, {"Ortho", {0, 800, 0, 600, -1, 1}},
                                modelview, push, identity, {"Translated", {10, 30, 0}},
                                {"ListBase", {500}}, {"CallLists", {0, GL_UNSIGNED_BYTE}},
                                projection, pop, modelview, pop, {"Enable", {GL_DEPTH_TEST}}, {"Disable", {GL_BLEND}}}));
    rec.Clear();
    PrintText(1, 1, 0, nullptr);
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(Font, CharactersSelectGlyphsOfTheirSetAndLinesAreFormattedAndCut) {
    // Set 0 starts at glyph 0 for code 32, codes below 32 have none and 255 is glyph 223; set 1
    // (and any set above it) starts at glyph 128, its last glyph is code 159 and 160 up have none.
    // A line is cut at 255 characters.
    const std::string longLine(300, 'x');
    std::vector<int> xs(255, 500 + 'x' - 32);
    const struct {
        int set;
        const char* format;
        const void* arg;
        std::vector<int> lists;
    } cases[] = {{0, " A", nullptr, {500, 533}},          {1, " A", nullptr, {628, 661}},
                 {5, " A", nullptr, {628, 661}},          {0, "\x01" "A\x1f\xff", nullptr, {533, 723}},
                 {1, "\x9f\xa0\xe9Z", nullptr, {755, 686}}, {0, "%s", longLine.c_str(), xs}};
    tam::Font().base = 500;
    for (const auto& c : cases) {
        rec.Clear();
        PrintText(0, 0, c.set, c.format, c.arg);
        EXPECT_EQ(ListsCalled(), c.lists) << c.set << " " << c.format;
    }
}

}  // namespace
}  // namespace tam
