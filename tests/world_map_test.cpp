// The map loader: the file layout, normals and extents, negative counts, stale entries after a
// smaller map, missing and truncated files (the map in force must survive both), the log lines,
// and the unseeded pseudo-random source.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/cp1251.h"
#include "platform/files.h"
#include "world/map.h"

namespace tam {
namespace {

using namespace tam::literals;

std::string TempPath(const std::string& name) { return ::testing::TempDir() + "/world_" + name; }

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = TempPath(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << path;
    return path;
}

std::vector<std::string> LogLines() {
    std::vector<std::string> out;
    for (int i = 1; i <= Con().lineCount; ++i) out.push_back(Con().log[i]);
    return out;
}

// A map file: name, header bytes in file order, start points, boxes of ten bytes each.
std::vector<uint8_t> MapBytes(const std::string& name, std::vector<uint8_t> header,
                              const std::vector<std::pair<int, int>>& starts,
                              const std::vector<std::vector<int>>& boxes) {
    std::vector<uint8_t> b(name.begin(), name.end());
    b.push_back(0);
    b.insert(b.end(), header.begin(), header.end());
    b.push_back(static_cast<uint8_t>(starts.size()));
    for (auto [x, y] : starts) {
        b.push_back(static_cast<uint8_t>(x));
        b.push_back(static_cast<uint8_t>(y));
    }
    b.push_back(static_cast<uint8_t>(boxes.size()));
    for (const auto& box : boxes)
        for (int v : box) b.push_back(static_cast<uint8_t>(v));
    return b;
}

std::vector<std::vector<int>> Walls(int count, int base) {
    std::vector<std::vector<int>> boxes;
    for (int i = 0; i < count; ++i)
        boxes.push_back({base + i, -i, -2, base + i + 5, -i, 6, 0, 1, 0, i % 8});
    return boxes;
}

// A box's fields, and a map's header and counts, as comparable (and printable) tuples.
auto Fields(const MapBox& b) {
    return std::tuple(+b.x1, +b.y1, +b.z1, +b.x2, +b.y2, +b.z2, b.nx, b.ny, b.nz, b.length,
                      b.height, +b.texture);
}
auto Header(const MapState& m) {
    return std::tuple(m.name, +m.floorHalfWidth, +m.floorHalfDepth, +m.reservedA, +m.gravity,
                      +m.reservedB, +m.floorTexture, +m.scrollSpeedX, +m.scrollSpeedY,
                      +m.startPointCount, +m.boxCount);
}

// Field-by-field equality of two whole map records, stale entries included.
bool SameMap(const MapState& a, const MapState& b) {
    auto point = [](StartPoint p, StartPoint q) { return p.x == q.x && p.y == q.y; };
    auto box = [](const MapBox& p, const MapBox& q) { return Fields(p) == Fields(q); };
    return Header(a) == Header(b) && a.scrollOffsetX == b.scrollOffsetX &&
           a.scrollOffsetY == b.scrollOffsetY &&
           std::equal(a.startPoints.begin(), a.startPoints.end(), b.startPoints.begin(), point) &&
           std::equal(a.boxes.begin(), a.boxes.end(), b.boxes.begin(), b.boxes.end(), box);
}

class WorldMap : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetConsole();
    }
};

TEST_F(WorldMap, LoadsTheSmallExampleFileWithItsLogLines) {
    const std::vector<uint8_t> file = {0x74, 0x00, 0x0A, 0x0A, 0x00, 0x01, 0x00, 0x00,
                                       0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0xF6, 0x0A,
                                       0xFE, 0x0A, 0x0A, 0x02, 0x00, 0xFF, 0x00, 0x00};
    // A Cyrillic name: CP1251 in the program, UTF-8 on the file system, CP1251 in the log.
    WriteTemp("пример.map", file);
    const std::string saved = ProgramDir();
    SetProgramDir(::testing::TempDir() + "/");
    ASSERT_TRUE(LoadMap(ResolvePath("world_пример.map"_cp)));
    SetProgramDir(saved);
    const MapState& m = Map();
    EXPECT_EQ(Header(m), std::tuple("t", 10, 10, 0, 1, 0, 0, 0, 0, 1, 1));
    EXPECT_EQ(std::tuple(+m.startPoints[0].x, +m.startPoints[0].y), std::tuple(0, 0));
    EXPECT_EQ(Fields(m.boxes[0]), std::tuple(-10, 10, -2, 10, 10, 2, 0.f, -1.f, 0.f, 20.f, 4.f, 0));

    const std::string sep(60, '=');
    const std::string shown = ::testing::TempDir() + "/world_" + "пример.map"_cp;
    const std::vector<std::string> want = {"Loading " + shown + "...", sep, "Map Name - t",
                                           "Load Start Points", "Load Object", "Load Ok", sep};
    std::vector<std::string> got = LogLines();
    // The loading line may wrap at 60 bytes; join wrapped pieces back for the comparison.
    ASSERT_GE(got.size(), want.size());
    const size_t wrapped = got.size() - want.size();
    for (size_t i = 0; i < wrapped; ++i) got[0] += got[1 + i];
    got.erase(got.begin() + 1, got.begin() + 1 + static_cast<long>(wrapped));
    EXPECT_EQ(got, want);
}

TEST_F(WorldMap, NormalsExtentsHeaderOrderAndEmptyName) {
    // Gravity sits between the two reserved bytes.
    const auto file = MapBytes("", {200, 7, 11, 0xF0, 22, 5, 0x81, 3}, {},
                               {{0, 0, 10, 3, 4, -6, 3, 0, 4, 1},
                                {1, 1, 0, 1, 1, 5, 0, 0, 0, 2},
                                {0, 0, 0, -128, 127, 1, -128, -128, -128, 3}});
    ASSERT_TRUE(LoadMap(WriteTemp("normals.map", file)));
    const MapState& m = Map();
    EXPECT_EQ(Header(m), std::tuple("", 200, 7, 11, -16, 22, 5, -127, 3, 0, 3));
    EXPECT_EQ(Con().log[3], "Map Name - ");
    EXPECT_FLOAT_EQ(m.boxes[0].nx, 0.6f);
    EXPECT_FLOAT_EQ(m.boxes[0].nz, 0.8f);
    EXPECT_EQ(std::tuple(m.boxes[0].ny, m.boxes[0].length, m.boxes[0].height),
              std::tuple(0.f, 5.f, 16.f));
    // A zero normal stays zero (no division by zero).
    EXPECT_EQ(Fields(m.boxes[1]), std::tuple(1, 1, 0, 1, 1, 5, 0.f, 0.f, 0.f, 0.f, 5.f, 2));
    // Extreme corners: the squares must not overflow.
    EXPECT_FLOAT_EQ(m.boxes[2].length, static_cast<float>(std::sqrt(128.0 * 128 + 127.0 * 127)));
    EXPECT_FLOAT_EQ(m.boxes[2].nx, static_cast<float>(-1 / std::sqrt(3.0)));
}

TEST_F(WorldMap, NegativeCountsReadNothingAndTheNextFieldFollowsAtOnce) {
    // Start point count 0x80 (-128): the very next byte is the box count, here 0xFF (-1).
    std::vector<uint8_t> file = {'n', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF};
    Map().scrollOffsetX = 3.0f;
    ASSERT_TRUE(LoadMap(WriteTemp("negative.map", file)));
    EXPECT_EQ(std::tuple(+Map().startPointCount, +Map().boxCount, Map().scrollOffsetX),
              std::tuple(-128, -1, 0.0f));
}

TEST_F(WorldMap, ASmallerMapLeavesStaleEntriesUnused) {
    ASSERT_TRUE(LoadMap(WriteTemp("twenty.map", MapBytes("a", {9, 9, 0, 1, 0, 0, 0, 0},
                                                          {{1, 2}, {3, 4}}, Walls(20, 0)))));
    ASSERT_EQ(Map().boxCount, 20);
    ASSERT_TRUE(LoadMap(WriteTemp("three.map", MapBytes("b", {9, 9, 0, 1, 0, 0, 0, 0},
                                                         {{7, 8}}, Walls(3, 50)))));
    // Entries beyond the counts are stale, left from the bigger map.
    EXPECT_EQ(std::tuple(+Map().boxCount, +Map().boxes[0].x1, +Map().boxes[3].x1),
              std::tuple(3, 50, 3));
    EXPECT_EQ(std::tuple(+Map().startPointCount, +Map().startPoints[1].x), std::tuple(1, 3));
}

TEST_F(WorldMap, MissingFileAfterAGoodOneChangesNothing) {
    ASSERT_TRUE(LoadMap(WriteTemp("good.map", MapBytes("good", {20, 20, 0, 4, 0, 2, 0, 0},
                                                        {{1, 2}}, Walls(5, 0)))));
    const MapState before = Map();
    ResetConsole();
    EXPECT_FALSE(LoadMap(TempPath("no_such.map")));
    EXPECT_TRUE(SameMap(Map(), before));
    EXPECT_EQ(LogLines(), std::vector<std::string>{"File Map not exist ... Loading error"});
}

TEST_F(WorldMap, TruncatedAtEveryBytePositionKeepsThePreviousMap) {
    ASSERT_TRUE(LoadMap(WriteTemp("prev.map", MapBytes("prev", {30, 40, 1, 2, 3, 4, 5, 6},
                                                        {{9, 9}, {8, 8}, {7, 7}}, Walls(6, 0)))));
    Map().scrollOffsetX = 0.25f;  // as left by drawing; a failed load must not reset it
    const MapState before = Map();
    const auto next = MapBytes("next", {1, 2, 0, 3, 0, 1, 0, 0}, {{-1, -2}, {-3, -4}},
                               Walls(4, 20));
    // The log stops at the stage reached: cut inside the boxes, the earlier stages are named.
    const std::vector<std::string> stages = {"Map Name - next", "Load Start Points", "Load Object",
                                             "Map file is truncated"};
    for (size_t len = 0; len < next.size(); ++len) {
        SCOPED_TRACE("file length " + std::to_string(len));
        ResetConsole();
        const std::string path = WriteTemp("cut.map", {next.begin(), next.begin() +
                                                                     static_cast<long>(len)});
        EXPECT_FALSE(LoadMap(path));
        EXPECT_TRUE(SameMap(Map(), before));
        const auto lines = LogLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], "Map file is truncated");
        for (const auto& l : lines) EXPECT_NE(l, "Load Ok");
        if (len == next.size() - 3) {
            ASSERT_GE(lines.size(), 5u);
            EXPECT_EQ(std::vector(lines.end() - 5, lines.end() - 1), stages);
        }
    }
    // The whole file, and the whole file with bytes after the last box, load.
    ASSERT_TRUE(LoadMap(WriteTemp("whole.map", next)));
    EXPECT_EQ(Map().name, "next");
    auto padded = next;
    padded.push_back(0x55);
    ASSERT_TRUE(LoadMap(WriteTemp("padded.map", padded)));
    EXPECT_EQ(Map().boxCount, 4);
}


TEST(WorldRandom, SameSequenceEveryRunWithinRange) {
    ResetWorld();
    std::vector<int32_t> first;
    for (int i = 0; i < 50; ++i) first.push_back(RandomDraw());
    ResetWorld();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomDraw(), first[static_cast<size_t>(i)]);
    EXPECT_EQ(std::set<int32_t>(first.begin(), first.end()).size(), first.size());

    EXPECT_EQ(RandomBelow(0), 0);
    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int32_t d = RandomDraw(), r = RandomBelow(62), neg = RandomBelow(-5);
        ASSERT_TRUE(d >= 0 && d <= 32767) << d;
        ASSERT_TRUE(r >= 0 && r < 62) << r;
        ASSERT_TRUE(neg >= 0 && neg < 5) << neg;  // signed remainder
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 62u);
}

}  // namespace
}  // namespace tam
