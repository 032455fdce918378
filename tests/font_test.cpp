// The texture font through the GL recorder: glyph list geometry, and PrintText's state handling,
// glyph choice by set, dropped characters and cut lines.
#include <gtest/gtest.h>

#include "gl_recorder.h"
#include "render/font.h"
#include "render/opengl.h"

namespace tam {
namespace {

class Font : public ::testing::Test {
protected:
    void SetUp() override {
        tam::Font() = FontState{};
        tam::Font().texture = 7;
        Gl().viewportW = 800;
        Gl().viewportH = 600;
    }
    void TearDown() override {
        tam::Font() = FontState{};
        Gl() = GlState{};
    }
    // The lists a CallLists call runs: the list base plus each byte.
    std::vector<int> ListsCalled() const {
        const auto base = rec.Named("ListBase");
        const auto calls = rec.Named("CallLists");
        EXPECT_EQ(base.size(), 1u);
        EXPECT_EQ(calls.size(), 1u);
        std::vector<int> lists;
        for (size_t i = 2; i < calls[0].args.size(); ++i)
            lists.push_back(static_cast<int>(base[0].args[0] + calls[0].args[i]));
        EXPECT_EQ(calls[0].args[0], static_cast<double>(lists.size()));
        return lists;
    }
    test::GlRecorder rec;
    gl::ScopedBackend backend{&rec};
};

TEST_F(Font, GlyphListsDrawOneCellEachAndAdvanceTenUnits) {
    rec.nextList = 1000;
    tam::Font() = FontState{};
    BuildFontLists(7);
    EXPECT_EQ(tam::Font().base, 1000u);
    ASSERT_EQ(rec.Count("NewList"), 256u);
    ASSERT_EQ(rec.calls[0].name, "GenLists");
    EXPECT_EQ(rec.calls[0].args[0], 256);
    ASSERT_EQ(rec.calls[1].name, "BindTexture");
    EXPECT_EQ(rec.calls[1].args[1], 7);
    EXPECT_EQ(rec.Count("BindTexture"), 1u);

    // Glyph 33 (column 1, row 2): the calls between its NewList and EndList.
    size_t i = 0;
    while (!(rec.calls[i].name == "NewList" && rec.calls[i].args[0] == 1033)) ++i;
    std::vector<std::string> names;
    for (size_t k = i; k < i + 14; ++k) names.push_back(rec.calls[k].name);
    EXPECT_EQ(names, (std::vector<std::string>{"NewList", "Begin", "TexCoord2f", "Vertex2i", "TexCoord2f",
                                               "Vertex2i", "TexCoord2f", "Vertex2i", "TexCoord2f", "Vertex2i",
                                               "End", "Translated", "EndList", "NewList"}));
    // Texture window 0.075 wide and 1/16 high from the cell's corner; quad 16 units; pen moves 10.
    const float s0 = 0.0625f, s1 = 0.0625f + 0.075f, t0 = 0.8125f, t1 = 0.875f;
    const std::vector<std::vector<float>> want = {{s0, t0}, {0, 0}, {s1, t0}, {16, 0}, {s1, t1}, {16, 16},
                                                  {s0, t1}, {0, 16}};
    for (size_t k = 0; k < want.size(); ++k)
        for (size_t a = 0; a < 2; ++a) EXPECT_FLOAT_EQ(float(rec.calls[i + 2 + k].args[a]), want[k][a]) << k;
    EXPECT_EQ(rec.calls[i + 11].args, (std::vector<double>{10, 0, 0}));

    rec.Clear();
    FreeFontLists();
    ASSERT_EQ(rec.Count("DeleteLists"), 1u);
    EXPECT_EQ(rec.calls[0].args, (std::vector<double>{1000, 256}));
}

TEST_F(Font, PrintTextSetsAndRestoresStateAroundTheLine) {
    tam::Font().base = 500;
    PrintText(10, 30, 0, "%s", "");
    using Call = std::pair<std::string, std::vector<double>>;
    std::vector<Call> calls;
    for (const auto& c : rec.calls) calls.emplace_back(c.name, c.args);
    const Call push = {"PushMatrix", {}}, identity = {"LoadIdentity", {}}, pop = {"PopMatrix", {}};
    const Call projection = {"MatrixMode", {GL_PROJECTION}}, modelview = {"MatrixMode", {GL_MODELVIEW}};
    EXPECT_EQ(calls, (std::vector<Call>{{"Enable", {GL_BLEND}}, {"BlendFunc", {GL_ONE, GL_ONE}},
                                        {"BindTexture", {GL_TEXTURE_2D, 7}}, {"Disable", {GL_DEPTH_TEST}},
                                        projection, push, identity, {"Ortho", {0, 800, 0, 600, -1, 1}},
                                        modelview, push, identity, {"Translated", {10, 30, 0}},
                                        {"ListBase", {500}}, {"CallLists", {0, GL_UNSIGNED_BYTE}},
                                        projection, pop, modelview, pop, {"Enable", {GL_DEPTH_TEST}},
                                        {"Disable", {GL_BLEND}}}));
    rec.Clear();
    PrintText(1, 1, 0, nullptr);
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(Font, CharactersSelectGlyphsOfTheirSetOrNothing) {
    tam::Font().base = 500;
    // Set 0 starts at glyph 0 for code 32, codes below 32 have none and 255 is glyph 223; set 1
    // (and any set above it) starts at glyph 128, its last glyph is code 159 and 160 up have none.
    const struct {
        int set;
        const char* text;
        std::vector<int> lists;
    } cases[] = {{0, " A", {500, 533}},          {1, " A", {628, 661}},   {5, " A", {628, 661}},
                 {0, "\x01" "A\x1f\xff", {533, 723}}, {1, "\x9f\xa0\xe9Z", {755, 686}}};
    for (const auto& c : cases) {
        rec.Clear();
        PrintText(0, 0, c.set, c.text);
        EXPECT_EQ(ListsCalled(), c.lists) << c.set << " " << c.text;
    }
}

TEST_F(Font, LinesAreFormattedAndCutAt255Characters) {
    tam::Font().base = 1;
    PrintText(10, 10, 0, "FPS     : %0.1f", 1.0 / 0.02f);
    const auto lists = ListsCalled();
    std::string text;
    for (int l : lists) text.push_back(static_cast<char>(l - 1 + 32));
    EXPECT_EQ(text, "FPS     : 50.0");
    rec.Clear();
    const std::string longLine(300, 'x');
    PrintText(0, 0, 0, "%s", longLine.c_str());
    EXPECT_EQ(ListsCalled().size(), 255u);
    rec.Clear();
    PrintText(0, 0, 0, "0123456789");
    EXPECT_EQ(ListsCalled().size(), 10u);  // ten glyphs of 10 units each: the pen moves 100
}

}  // namespace
}  // namespace tam
