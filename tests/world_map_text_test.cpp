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

// The compiled bytes of `text`, which must compile.
std::vector<uint8_t> Compile(const std::string& text) {
    MapTextError e;
    const auto bytes = CompileMapText(text, e);
    EXPECT_TRUE(bytes.has_value()) << e.line << ": " << e.message << "\n" << text;
    return bytes.value_or(std::vector<uint8_t>{});
}

TEST(WorldMapText, CompilesToTheFileLayout) {
    const auto bytes = Compile(
        "# comment\nname \"t\"  # trailing comment\nfloor 10 10\ngravity 1\r\nstart 0 0\n"
        "box -10 10 -2 10 10 2 0 -1 0 0\n");
    const std::vector<uint8_t> want = {0x74, 0x00, 0x0A, 0x0A, 0x00, 0x01, 0x00, 0x00,
                                       0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0xF6, 0x0A,
                                       0xFE, 0x0A, 0x0A, 0x02, 0x00, 0xFF, 0x00, 0x00};
    EXPECT_EQ(bytes, want);
}

TEST(WorldMapText, RoundTripsByteForByte) {
    MapTextError e;
    // A name with quotes, backslashes, CP1251 bytes and '#'; every header field non-zero.
    std::vector<uint8_t> odd = {'a', '"', '\\', 0xC0, '#', 0x01, 0, 255, 1, 0x80, 0x7F, 0xFF, 7,
                                0x81, 0x7F, 1, 0x80, 0x7F, 1, 0x80, 0x7F, 0x80, 0x7F, 0x80,
                                0x7F, 0x80, 0x7F, 0x80, 7};
    std::string oddText;
    for (const auto& bytes : {Compile(ArenaText()), odd}) {
        const auto text = DecompileMap(bytes, e);
        ASSERT_TRUE(text.has_value()) << e.message;
        EXPECT_EQ(Compile(*text), bytes);
        oddText = *text;
    }
    EXPECT_NE(oddText.find("name \"a\\\"\\\\\\xC0#\\x01\""), std::string::npos) << oddText;
    EXPECT_NE(oddText.find("start -128 127"), std::string::npos) << oddText;
}

TEST(WorldMapText, ErrorsNameTheLineAndTheField) {
    std::string starts, boxes;  // the 128th start point or box is one too many
    for (int i = 0; i < 128; ++i) starts += "start 1 1\n", boxes += "box 0 0 0 1 0 0 0 1 0 0\n";
    const struct {
        std::string text;
        int line;
        const char* says;
    } cases[] = {{"name \"x\"\n\nbox 0 0 0 128 0 0 0 1 0 0\n", 3, "'x2'"},
                 {"box 0 0 0 128 0 0 0 1 0 0\n", 1, "-128..127"},
                 {"start 0 -129\n", 1, "'y'"},
                 {"box 0 0 0 1 0 0 0 1 0 8\n", 1, "unknown texture index 8"},
                 {"\nfloor_texture -1\n", 2, "unknown texture index"},
                 {"floor 256 0\n", 1, "floor half-width"},
                 {"gravity 99999999999999\n", 1, "outside"},
                 {"gravity ten\n", 1, "not a whole number"},
                 {"gravity 1\ngravity 2\n", 2, ""},
                 {"box 1 2 3\n", 1, "expects 10"},
                 {"wall 1 2\n", 1, "unknown directive"},
                 {"name \"open\n", 1, "unterminated"},
                 {"name \"a\\x00b\"\n", 1, "zero byte"},
                 {starts, 128, "127"},
                 {boxes, 128, ""}};
    for (const auto& c : cases) {
        MapTextError e;
        EXPECT_FALSE(CompileMapText(c.text, e).has_value()) << c.text;
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_NE(e.message.find(c.says), std::string::npos) << c.text << " -> " << e.message;
    }
    EXPECT_FALSE(Compile(boxes.substr(boxes.find('\n') + 1)).empty());  // 127 boxes
}

TEST(WorldMapText, RefusesFilesItCannotDescribe) {
    MapTextError e;
    const std::vector<uint8_t> good = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1,
                                       0, 0, 0, 1, 0, 0, 0, 1, 0, 2};
    ASSERT_TRUE(DecompileMap(good, e).has_value()) << e.message;
    auto cut = good, extra = good, badTexture = good;
    cut.pop_back();
    extra.push_back(9);
    badTexture.back() = 8;
    const std::vector<uint8_t> negative = {'m', 0, 1, 1, 0, 0, 0, 0, 0, 0, 0xFF, 0};
    for (const auto& [bytes, says] : {std::pair{cut, "truncated"}, {extra, "after the last box"},
                                      {badTexture, "texture"}, {negative, ""}}) {
        EXPECT_FALSE(DecompileMap(bytes, e).has_value()) << says;
        EXPECT_NE(e.message.find(says), std::string::npos) << e.message;
    }
}

class WorldArena : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorld();
        ResetPlayers();
        ResetSettings();
        ResetInterpreter();
        ASSERT_TRUE(ParseMap(Compile(ArenaText()), Map()));
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
    EXPECT_TRUE(m.boxCount >= 60 && m.boxCount <= 127) << +m.boxCount;
    EXPECT_GE(m.startPointCount, 3);
    ASSERT_GT(m.gravity, 0);
    const double airtime = M_PI / std::sqrt(static_cast<double>(m.gravity));
    EXPECT_TRUE(airtime > 0.6 && airtime < 1.3) << airtime;
    for (int i = 0; i < m.boxCount; ++i) {
        const MapBox& b = m.boxes[i];
        EXPECT_TRUE(b.texture >= 0 && b.texture < 8) << "box " << i;
        EXPECT_NEAR(std::hypot(b.nx, b.ny), 1.0, 1e-5) << "box " << i;
        EXPECT_EQ(b.nz, 0.0f);
        // Every panel reaches from the floor past eye height.
        EXPECT_TRUE(std::min(b.z1, b.z2) == -2 && std::max(b.z1, b.z2) >= 6) << "box " << i;
    }
    for (int s = 0; s < m.startPointCount; ++s)
        for (int i = 0; i < m.boxCount; ++i)
            EXPECT_GT(DistanceToPanel(m.boxes[i], m.startPoints[s].x, m.startPoints[s].y), 6)
                << "start point " << s << " box " << i;
}

// Walks player 0 forward from (x, y) facing `yaw` for `frames` hundredths of a second.
PlayerRecord& Walk(double x, double y, double yaw, int frames) {
    PlayerRecord& p = Plr().Players[0];
    p = PlayerRecord{};
    p.x = static_cast<float>(x), p.y = static_cast<float>(y), p.yaw = static_cast<float>(yaw);
    p.moveForward = 1;
    for (int f = 0; f < frames; ++f) MovePlayer(0, 0.01f);
    return p;
}

TEST_F(WorldArena, WalkingInFromEveryStartPointReachesTheTowerAndStopsThere) {
    const MapState& m = Map();
    for (int s = 0; s < m.startPointCount; ++s) {
        const double x = m.startPoints[s].x, y = m.startPoints[s].y;
        const double yaw = std::fmod(std::atan2(-x, -y) * 180 / M_PI + 360, 360);  // the centre
        const PlayerRecord& p = Walk(x, y, yaw, 1500);
        const double r = std::hypot(p.x, p.y);
        EXPECT_TRUE(r > 8 && r < 20) << "start point " << s << " ends at radius " << r;
    }
}

TEST_F(WorldArena, TheCourtyardWallHoldsAndTheGatesOpenOntoCorridors) {
    // Diagonally into a corner wall segment (+X, toward the east wall): held inside the courtyard.
    const float x = Walk(30, -44, 90, 1000).x;
    EXPECT_TRUE(x > 50 && x < 56 - 2.9) << x;
    // Through the south gate (-Y) into its corridor, stopped by the end panel.
    const float y = Walk(0, -44, 180, 1000).y;
    EXPECT_TRUE(y > -88 + 2.9 && y < -70) << y;
}

}  // namespace
}  // namespace tam
