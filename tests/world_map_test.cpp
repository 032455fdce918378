// The map file and its text form: the loader (the map in force survives a missing or truncated
// file) and the text form (round trips, errors naming line and field, files it cannot describe).

#include <algorithm>
#include <cmath>

#include "asset/byte_writer.h"
#include "asset/tool.h"
#include "command_fixture.h"
#include "world/map_text.h"

namespace tam {
namespace {

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = ::testing::TempDir() + "/world_" + name;
    EXPECT_TRUE(asset::WriteFileBytes(path, bytes)) << path;
    return path;
}

// A map file: name, header bytes in file order, start points, boxes of ten bytes each.
std::vector<uint8_t> MapBytes(const std::string& name, std::vector<uint8_t> header,
                              const std::vector<std::pair<int, int>>& starts, const std::vector<std::vector<int>>& boxes) {
    asset::ByteWriter b;
    b.Text(name).U8(0).Append(header).U8(uint32_t(starts.size()));
    for (auto [x, y] : starts) b.U8(uint32_t(x)).U8(uint32_t(y));
    b.U8(uint32_t(boxes.size()));
    for (const auto& box : boxes)
        for (int v : box) b.U8(uint32_t(v));
    return b.bytes;
}

std::vector<std::vector<int>> Walls(int count, int base) {
    std::vector<std::vector<int>> boxes;
    for (int i = 0; i < count; ++i) boxes.push_back({base + i, -i, -2, base + i + 5, -i, 6, 0, 1, 0, i % 8});
    return boxes;
}

// A box's fields, and a map's header and counts, as comparable (and printable) tuples.
auto Fields(const MapBox& b) {
    return std::tuple(+b.x1, +b.y1, +b.z1, +b.x2, +b.y2, +b.z2, b.nx, b.ny, b.nz, b.length, b.height, +b.texture);
}
auto Header(const MapState& m) {
    return std::tuple(m.name, +m.floorHalfWidth, +m.floorHalfDepth, +m.reservedA, +m.gravity, +m.reservedB,
                      +m.floorTexture, +m.scrollSpeedX, +m.scrollSpeedY, +m.startPointCount, +m.boxCount);
}

// Field-by-field equality of two whole map records, stale entries included.
bool SameMap(const MapState& a, const MapState& b) {
    auto point = [](StartPoint p, StartPoint q) { return p.x == q.x && p.y == q.y; };
    auto box = [](const MapBox& p, const MapBox& q) { return Fields(p) == Fields(q); };
    return Header(a) == Header(b) && a.scrollOffsetX == b.scrollOffsetX && a.scrollOffsetY == b.scrollOffsetY &&
           std::equal(a.startPoints.begin(), a.startPoints.end(), b.startPoints.begin(), point) &&
           std::equal(a.boxes.begin(), a.boxes.end(), b.boxes.begin(), b.boxes.end(), box);
}

// The compiled bytes of `text`, which must compile.
std::vector<uint8_t> Compile(const std::string& text) {
    MapTextError e;
    const auto bytes = CompileMapText(text, e);
    EXPECT_TRUE(bytes.has_value()) << e.line << ": " << e.message << "\n" << text;
    return bytes.value_or(std::vector<uint8_t>{});
}

class WorldMap : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetConsole();
    }
};

TEST_F(WorldMap, TheSmallExampleCompilesToTheFileLayout) {
    const auto bytes = Compile("# comment\nname \"t\"  # trailing comment\nfloor 10 10\ngravity 1\r\nstart 0 0\n"
                               "box -10 10 -2 10 10 2 0 -1 0 0\n");
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x74, 0x00, 0x0A, 0x0A, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
                                           0x00, 0x01, 0xF6, 0x0A, 0xFE, 0x0A, 0x0A, 0x02, 0x00, 0xFF, 0x00, 0x00}));
}

TEST_F(WorldMap, NormalsExtentsHeaderOrderEmptyNameNegativeCountsAndStaleEntries) {
    // Gravity sits between the two reserved bytes.
    const auto file = MapBytes("", {200, 7, 11, 0xF0, 22, 5, 0x81, 3}, {},
                               {{0, 0, 10, 3, 4, -6, 3, 0, 4, 1}, {1, 1, 0, 1, 1, 5, 0, 0, 0, 2},
                                {0, 0, 0, -128, 127, 1, -128, -128, -128, 3}});
    ASSERT_TRUE(LoadMap(WriteTemp("normals.map", file)));
    const MapState& m = Map();
    EXPECT_EQ(Header(m), std::tuple("", 200, 7, 11, -16, 22, 5, -127, 3, 0, 3));
    EXPECT_EQ(Con().log[3], "Map Name - ");
    EXPECT_EQ(std::tuple(m.boxes[0].nx, m.boxes[0].ny, m.boxes[0].nz, m.boxes[0].length, m.boxes[0].height),
              std::tuple(0.6f, 0.f, 0.8f, 5.f, 16.f));
    // A zero normal stays zero (no division by zero).
    EXPECT_EQ(Fields(m.boxes[1]), std::tuple(1, 1, 0, 1, 1, 5, 0.f, 0.f, 0.f, 0.f, 5.f, 2));
    // Extreme corners: the squares must not overflow.
    EXPECT_FLOAT_EQ(m.boxes[2].length, static_cast<float>(std::sqrt(128.0 * 128 + 127.0 * 127)));
    EXPECT_FLOAT_EQ(m.boxes[2].nx, static_cast<float>(-1 / std::sqrt(3.0)));
    // Start point count 0x80 (-128): the very next byte is the box count, here 0xFF (-1).
    Map().scrollOffsetX = 3.0f;
    ASSERT_TRUE(LoadMap(WriteTemp("negative.map", {'n', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF})));
    EXPECT_EQ(std::tuple(+Map().startPointCount, +Map().boxCount, Map().scrollOffsetX), std::tuple(-128, -1, 0.0f));
    ASSERT_TRUE(LoadMap(WriteTemp("twenty.map", MapBytes("a", {9, 9, 0, 1, 0, 0, 0, 0}, {{1, 2}, {3, 4}}, Walls(20, 0)))));
    ASSERT_TRUE(LoadMap(WriteTemp("three.map", MapBytes("b", {9, 9, 0, 1, 0, 0, 0, 0}, {{7, 8}}, Walls(3, 50)))));
    // Entries beyond the counts are stale, left from the bigger map.
    EXPECT_EQ(std::tuple(+Map().boxCount, +Map().boxes[0].x1, +Map().boxes[3].x1), std::tuple(3, 50, 3));
    EXPECT_EQ(std::tuple(+Map().startPointCount, +Map().startPoints[1].x), std::tuple(1, 3));
}

TEST_F(WorldMap, MissingTruncatedAtEveryByteOrBadTextKeepsThePreviousMap) {
    ASSERT_TRUE(LoadMap(WriteTemp("prev.map", MapBytes("prev", {30, 40, 1, 2, 3, 4, 5, 6},
                                                        {{9, 9}, {8, 8}, {7, 7}}, Walls(6, 0)))));
    Map().scrollOffsetX = 0.25f;  // as left by drawing; a failed load must not reset it
    const MapState before = Map();
    ResetConsole();
    EXPECT_FALSE(LoadMap(::testing::TempDir() + "/world_no_such.map"));
    EXPECT_TRUE(SameMap(Map(), before));
    const auto next = MapBytes("next", {1, 2, 0, 3, 0, 1, 0, 0}, {{-1, -2}, {-3, -4}}, Walls(4, 20));
    // The log stops at the stage reached: cut inside the boxes, the earlier stages are named.
    for (size_t len = 0; len < next.size(); ++len) {
        SCOPED_TRACE("file length " + std::to_string(len));
        ResetConsole();
        EXPECT_FALSE(LoadMap(WriteTemp("cut.map", {next.begin(), next.begin() + static_cast<long>(len)})));
        EXPECT_TRUE(SameMap(Map(), before));
        const auto lines = test::ConsoleLog();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], "Map file is truncated");
        for (const auto& l : lines) EXPECT_NE(l, "Load Ok");
        if (len == next.size() - 3) {
            ASSERT_GE(lines.size(), 5u);
            EXPECT_EQ(std::vector(lines.end() - 5, lines.end() - 1),
                      (std::vector<std::string>{"Map Name - next", "Load Start Points", "Load Object",
                                                "Map file is truncated"}));
        }
    }
    // A text file that does not compile names file and line, and keeps the map (the models'
    // whole-program test loads a good one).
    const std::string bad = "# mine\nname \"x\"\nbox 1 2 3\n";
    ResetConsole();
    EXPECT_FALSE(LoadMap(WriteTemp("bad.txt", {bad.begin(), bad.end()})));
    EXPECT_TRUE(SameMap(Map(), before));
    EXPECT_EQ(test::ConsoleLog().back(), "world_bad.txt:3: box: expects 10 values, found 3");
    // Bytes after the last box are ignored.
    auto padded = next;
    padded.push_back(0x55);
    ASSERT_TRUE(LoadMap(WriteTemp("padded.map", padded)));
    EXPECT_EQ(Map().boxCount, 4);
}

// The start-up arena's text is compiled, decompiled and compiled again by map_tool.sh.
TEST(WorldMapText, OddBytesRoundTripErrorsNameLineAndFieldAndUndescribableFilesAreRefused) {
    MapTextError e;
    // A name with quotes, backslashes, CP1251 bytes and '#'; every header field non-zero.
    const std::vector<uint8_t> odd = {'a', '"', '\\', 0xC0, '#', 0x01, 0, 255, 1, 0x80, 0x7F, 0xFF, 7, 0x81, 0x7F,
                                      1, 0x80, 0x7F, 1, 0x80, 0x7F, 0x80, 0x7F, 0x80, 0x7F, 0x80, 0x7F, 0x80, 7};
    const auto text = DecompileMap(odd, e);
    ASSERT_TRUE(text.has_value()) << e.message;
    EXPECT_EQ(Compile(*text), odd);
    EXPECT_NE(text->find("name \"a\\\"\\\\\\xC0#\\x01\""), std::string::npos) << *text;
    EXPECT_NE(text->find("start -128 127"), std::string::npos) << *text;

    std::string starts, boxes;  // the 128th start point or box is one too many
    for (int i = 0; i < 128; ++i) starts += "start 1 1\n", boxes += "box 0 0 0 1 0 0 0 1 0 0\n";
    const struct {
        std::string text;
        int line;
        const char* says;
    } cases[] = {{"name \"x\"\n\nbox 0 0 0 128 0 0 0 1 0 0\n", 3, "'x2'"},
                 {"box 0 0 0 128 0 0 0 1 0 0\n", 1, "-128..127"},    {"start 0 -129\n", 1, "'y'"},
                 {"box 0 0 0 1 0 0 0 1 0 8\n", 1, "unknown texture index 8"},
                 {"\nfloor_texture -1\n", 2, "unknown texture index"}, {"floor 256 0\n", 1, "floor half-width"},
                 {"gravity 99999999999999\n", 1, "outside"},          {"gravity ten\n", 1, "not a whole number"},
                 {"gravity 1\ngravity 2\n", 2, "given twice"},                   {"box 1 2 3\n", 1, "expects 10"},
                 {"wall 1 2\n", 1, "unknown directive"},              {"name \"open\n", 1, "unterminated"},
                 {"name \"a\\x00b\"\n", 1, "zero byte"},             {starts, 128, "127"},
                 {boxes, 128, "127 boxes"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(CompileMapText(c.text, e).has_value()) << c.text;
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_NE(e.message.find(c.says), std::string::npos) << c.text << " -> " << e.message;
    }
    EXPECT_FALSE(Compile(boxes.substr(boxes.find('\n') + 1)).empty());  // 127 boxes

    // Files the text form cannot describe are refused.
    const std::vector<uint8_t> good = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2};
    ASSERT_TRUE(DecompileMap(good, e).has_value()) << e.message;
    auto cut = good, extra = good, badTexture = good;
    cut.pop_back();
    extra.push_back(9);
    badTexture.back() = 8;
    const std::vector<uint8_t> negative = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0xFF, 0};
    for (const auto& [bytes, says] : {std::pair{cut, "truncated"}, {extra, "after the last box"},
                                      {badTexture, "texture"}, {negative, "negative"}}) {
        EXPECT_FALSE(DecompileMap(bytes, e).has_value()) << says;
        EXPECT_NE(e.message.find(says), std::string::npos) << e.message;
    }
}

}  // namespace
}  // namespace tam
