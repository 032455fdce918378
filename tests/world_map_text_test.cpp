// The map text form: byte-exact round trips, errors that name the line and the field, the files
// the text form refuses to describe, and the start-up arena itself (size, start points clear of
// the walls, openings that let a player walk from the courtyard to the tower).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/players.h"
#include "console/commands.h"
#include "console/settings.h"
#include "world/map.h"
#include "world/map_text.h"

namespace tam {
namespace {

std::string ArenaText() {
    // The source tree's root is two levels above the tests' data folder.
    const auto root = std::filesystem::path(TAM_TEST_DATA_DIR).parent_path().parent_path();
    std::ifstream in(root / "data/maps/isengard.txt", std::ios::binary);
    EXPECT_TRUE(in.good());
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

MapTextError CompileError(const std::string& text) {
    MapTextError e;
    EXPECT_FALSE(CompileMapText(text, e).has_value()) << text;
    return e;
}

TEST(WorldMapText, CompilesToTheFileLayout) {
    MapTextError e;
    const auto bytes = CompileMapText(
        "# comment\nname \"t\"  # trailing comment\nfloor 10 10\ngravity 1\r\nstart 0 0\n"
        "box -10 10 -2 10 10 2 0 -1 0 0\n",
        e);
    ASSERT_TRUE(bytes.has_value()) << e.line << ": " << e.message;
    const std::vector<uint8_t> want = {0x74, 0x00, 0x0A, 0x0A, 0x00, 0x01, 0x00, 0x00,
                                       0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0xF6, 0x0A,
                                       0xFE, 0x0A, 0x0A, 0x02, 0x00, 0xFF, 0x00, 0x00};
    EXPECT_EQ(*bytes, want);
}

TEST(WorldMapText, RoundTripsByteForByte) {
    MapTextError e;
    const auto arena = CompileMapText(ArenaText(), e);
    ASSERT_TRUE(arena.has_value()) << e.line << ": " << e.message;
    // A name with quotes, backslashes, CP1251 bytes and '#'; every header field non-zero.
    std::vector<uint8_t> odd = {'a', '"', '\\', 0xC0, '#', 0x01, 0, 255, 1, 0x80, 0x7F, 0xFF, 7,
                                0x81, 0x7F, 1, 0x80, 0x7F, 1, 0x80, 0x7F, 0x80, 0x7F, 0x80,
                                0x7F, 0x80, 0x7F, 0x80, 7};
    for (const auto& bytes : {*arena, odd}) {
        const auto text = DecompileMap(bytes, e);
        ASSERT_TRUE(text.has_value()) << e.message;
        const auto again = CompileMapText(*text, e);
        ASSERT_TRUE(again.has_value()) << e.line << ": " << e.message << "\n" << *text;
        EXPECT_EQ(*again, bytes);
    }
    const auto oddText = DecompileMap(odd, e);
    ASSERT_TRUE(oddText.has_value());
    EXPECT_NE(oddText->find("name \"a\\\"\\\\\\xC0#\\x01\""), std::string::npos) << *oddText;
    EXPECT_NE(oddText->find("start -128 127"), std::string::npos) << *oddText;
}

TEST(WorldMapText, ErrorsNameTheLineAndTheField) {
    MapTextError e = CompileError("name \"x\"\n\nbox 0 0 0 128 0 0 0 1 0 0\n");
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.message.find("'x2'"), std::string::npos) << e.message;
    EXPECT_NE(e.message.find("-128..127"), std::string::npos) << e.message;

    e = CompileError("start 0 -129\n");
    EXPECT_EQ(e.line, 1);
    EXPECT_NE(e.message.find("'y'"), std::string::npos) << e.message;

    e = CompileError("box 0 0 0 1 0 0 0 1 0 8\n");
    EXPECT_NE(e.message.find("unknown texture index 8"), std::string::npos) << e.message;
    e = CompileError("\nfloor_texture -1\n");
    EXPECT_EQ(e.line, 2);
    EXPECT_NE(e.message.find("unknown texture index"), std::string::npos) << e.message;

    e = CompileError("floor 256 0\n");
    EXPECT_NE(e.message.find("floor half-width"), std::string::npos) << e.message;
    e = CompileError("gravity 99999999999999\n");
    EXPECT_NE(e.message.find("outside"), std::string::npos) << e.message;
    e = CompileError("gravity ten\n");
    EXPECT_NE(e.message.find("not a whole number"), std::string::npos) << e.message;
    e = CompileError("gravity 1\ngravity 2\n");
    EXPECT_EQ(e.line, 2);
    e = CompileError("box 1 2 3\n");
    EXPECT_NE(e.message.find("expects 10"), std::string::npos) << e.message;
    e = CompileError("wall 1 2\n");
    EXPECT_NE(e.message.find("unknown directive"), std::string::npos) << e.message;
    e = CompileError("name \"open\n");
    EXPECT_NE(e.message.find("unterminated"), std::string::npos) << e.message;
    e = CompileError("name \"a\\x00b\"\n");
    EXPECT_NE(e.message.find("zero byte"), std::string::npos) << e.message;

    // The 128th start point or box is one too many.
    std::string text;
    for (int i = 0; i < 128; ++i) text += "start 1 1\n";
    e = CompileError(text);
    EXPECT_EQ(e.line, 128);
    EXPECT_NE(e.message.find("127"), std::string::npos) << e.message;
    text.clear();
    for (int i = 0; i < 127; ++i) text += "box 0 0 0 1 0 0 0 1 0 0\n";
    MapTextError ok;
    EXPECT_TRUE(CompileMapText(text, ok).has_value());
    e = CompileError(text + "box 0 0 0 1 0 0 0 1 0 0\n");
    EXPECT_EQ(e.line, 128);
}

TEST(WorldMapText, RefusesFilesItCannotDescribe) {
    MapTextError e;
    const std::vector<uint8_t> good = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1,
                                       0, 0, 0, 1, 0, 0, 0, 1, 0, 2};
    ASSERT_TRUE(DecompileMap(good, e).has_value()) << e.message;
    auto cut = good;
    cut.pop_back();
    EXPECT_FALSE(DecompileMap(cut, e).has_value());
    EXPECT_NE(e.message.find("truncated"), std::string::npos);
    auto extra = good;
    extra.push_back(9);
    EXPECT_FALSE(DecompileMap(extra, e).has_value());
    EXPECT_NE(e.message.find("after the last box"), std::string::npos);
    auto badTexture = good;
    badTexture.back() = 8;
    EXPECT_FALSE(DecompileMap(badTexture, e).has_value());
    EXPECT_NE(e.message.find("texture"), std::string::npos);
    const std::vector<uint8_t> negative = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0xFF, 0};
    EXPECT_FALSE(DecompileMap(negative, e).has_value());
}

class WorldArena : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetPlayers();
        ResetSettings();
        ResetInterpreter();
        MapTextError e;
        const auto bytes = CompileMapText(ArenaText(), e);
        ASSERT_TRUE(bytes.has_value()) << e.line << ": " << e.message;
        ASSERT_TRUE(ParseMap(*bytes, Map()));
    }
};

// Distance from (x, y) to the panel's foot segment.
double DistanceToPanel(const MapBox& b, double x, double y) {
    const double dx = b.x2 - b.x1, dy = b.y2 - b.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - b.x1) * dx + (y - b.y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (b.x1 + t * dx), y - (b.y1 + t * dy));
}

TEST_F(WorldArena, SizeStartPointsAndJump) {
    const MapState& m = Map();
    EXPECT_GE(m.boxCount, 60);
    EXPECT_LE(m.boxCount, 127);
    EXPECT_GE(m.startPointCount, 3);
    EXPECT_GT(m.gravity, 0);
    const double airtime = M_PI / std::sqrt(static_cast<double>(m.gravity));
    EXPECT_GT(airtime, 0.6);
    EXPECT_LT(airtime, 1.3);
    for (int i = 0; i < m.boxCount; ++i) {
        EXPECT_GE(m.boxes[i].texture, 0);
        EXPECT_LT(m.boxes[i].texture, 8);
        EXPECT_NEAR(std::hypot(m.boxes[i].nx, m.boxes[i].ny), 1.0, 1e-5) << "box " << i;
        EXPECT_EQ(m.boxes[i].nz, 0.0f);
        // Every panel reaches from the floor past eye height.
        EXPECT_EQ(std::min(m.boxes[i].z1, m.boxes[i].z2), -2);
        EXPECT_GE(std::max(m.boxes[i].z1, m.boxes[i].z2), 6);
    }
    for (int s = 0; s < m.startPointCount; ++s)
        for (int i = 0; i < m.boxCount; ++i)
            EXPECT_GT(DistanceToPanel(m.boxes[i], m.startPoints[s].x, m.startPoints[s].y), 6)
                << "start point " << s << " box " << i;
}

TEST_F(WorldArena, WalkingInFromEveryStartPointReachesTheTowerAndStopsThere) {
    const MapState& m = Map();
    for (int s = 0; s < m.startPointCount; ++s) {
        SCOPED_TRACE("start point " + std::to_string(s));
        PlayerRecord& p = Plr().Players[0];
        p = PlayerRecord{};
        p.x = m.startPoints[s].x;
        p.y = m.startPoints[s].y;
        p.yaw = static_cast<float>(std::atan2(-p.x, -p.y) * 180 / M_PI);  // face the centre
        if (p.yaw < 0) p.yaw += 360;
        p.moveForward = 1;
        for (int f = 0; f < 1500; ++f) MovePlayer(0, 0.01f);  // 15 s of walking
        const double r = std::hypot(p.x, p.y);
        EXPECT_LT(r, 20) << "did not pass the ring";
        EXPECT_GT(r, 8) << "walked into the tower";
    }
}

TEST_F(WorldArena, TheCourtyardWallHoldsAndTheGatesOpenOntoCorridors) {
    PlayerRecord& p = Plr().Players[0];
    // Diagonally into a corner wall segment: held inside the courtyard.
    p.x = 30;
    p.y = -44;
    p.yaw = 90;  // +X, toward the east wall
    p.moveForward = 1;
    for (int f = 0; f < 1000; ++f) MovePlayer(0, 0.01f);
    EXPECT_LT(p.x, 56 - 2.9);
    EXPECT_GT(p.x, 50);
    // Through the south gate into its corridor, stopped by the end panel.
    p = PlayerRecord{};
    p.x = 0;
    p.y = -44;
    p.yaw = 180;  // -Y
    p.moveForward = 1;
    for (int f = 0; f < 1000; ++f) MovePlayer(0, 0.01f);
    EXPECT_LT(p.y, -70);
    EXPECT_GT(p.y, -88 + 2.9);
}

}  // namespace
}  // namespace tam
