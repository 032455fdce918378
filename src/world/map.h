// The world: the one map record (floor, gravity, start points, up to 127 wall panels), its loader
// and drawing, the fog, and the island generator. Map coordinates are whole numbers from -128 to
// 127; the floor lies at z = -2. Window thread only.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "console/commands.h"

namespace tam {

struct MapBox {
    int8_t x1 = 0, y1 = 0, z1 = 0;
    int8_t x2 = 0, y2 = 0, z2 = 0;
    float nx = 0, ny = 0, nz = 0;  // unit length, or zero when the file gave a zero vector
    float length = 0;              // horizontal extent
    float height = 0;              // |z2 - z1|
    int8_t texture = 0;            // index into WorldTextures
};

struct StartPoint {
    int8_t x = 0, y = 0;
};

inline constexpr int kMaxStartPoints = 128;
inline constexpr int kMaxBoxes = 10000;
inline constexpr int kMaxFileBoxes = 127;  // a file's box count is a signed byte

struct MapState {
    std::string name;
    uint8_t floorHalfWidth = 0;
    uint8_t floorHalfDepth = 0;
    int8_t reservedA = 0;
    int8_t reservedB = 0;
    int8_t floorTexture = 0;
    int8_t scrollSpeedX = 0;  // thousandths per second
    int8_t scrollSpeedY = 0;
    int8_t gravity = 0;
    float scrollOffsetX = 0;
    float scrollOffsetY = 0;
    int8_t startPointCount = 0;
    std::array<StartPoint, kMaxStartPoints> startPoints{};
    int8_t boxCount = 0;
    std::vector<MapBox> boxes = std::vector<MapBox>(kMaxBoxes);
};

// The world unit's state: the map, the drawing mode and the pseudo-random source.
struct WorldState {
    MapState map;
    bool terrainMode = false;  // set by the generator; nothing clears it
    uint32_t terrainList = 0;  // display list of the generated island
    uint32_t rngState = 1;     // the unseeded generator: same sequence every run
    uint8_t no_clip = 0;       // walking through the panels when non-zero; a new island clears it
    // The file the map in force came from, as load_map was given it (CP1251), and HashBytes of
    // its bytes; empty before the first load and after a new island.
    std::string mapFile;
    uint64_t mapHash = 0;
};
WorldState& World();
void ResetWorld();
inline MapState& Map() { return World().map; }

// A pseudo-random integer in 0..n-1 from the program's unseeded generator; 0 when n is 0.
int32_t RandomBelow(int32_t n);
// One raw draw of that generator (non-negative).
int32_t RandomDraw();

// How far a parse got: each stage names the part of the file read completely.
enum class MapStage { None, Name, Header, StartPoints, Boxes };

// Parses a map file from bytes into `out`, printing nothing. Overwrites the name, the header,
// the counts and the entries up to the counts; later entries keep what `out` held. Scroll offsets
// become 0. False when the bytes end before the last promised field; `out` is then partly written
// (callers parse into a copy). `reached`, when given, receives the last stage read completely.
// Bytes after the last box are ignored.
bool ParseMap(std::span<const uint8_t> bytes, MapState& out, MapStage* reached = nullptr);

// Reads the map file at `path` (a file-system path, as ResolvePath gives it) into Map(), printing
// its log lines. The file may hold the binary form or the text form (see map_text.h), told apart
// by content. False, with the map unchanged, when the file is missing, unreadable or short, or
// its text has an error ("FILE:LINE: reason").
bool LoadMap(const std::string& path);
// The part of LoadMap after the file at `path` is read into `bytes` (either form); on success
// mapHash becomes HashBytes(bytes).
bool LoadMapFileBytes(const std::string& path, std::span<const uint8_t> bytes);
// The part of LoadMap after the file is read: parses `bytes`, prints the lines from the first
// separator on, and commits the map when it is complete.
bool LoadMapBytes(std::span<const uint8_t> bytes);

// Draws the panels (or the island) and the floor; advances the scroll offsets by frameTime
// (seconds). Needs the camera's modelview matrix in place.
void DrawMap(float frameTime);

// The texture name for a world texture index; indices outside 0..7 get the default texture.
uint32_t WorldTextureName(int index);

// Builds a new island, its start points and its display list; prints "Карта создана !".
bool CreateMap();

// The commands create_map, fog, no_clip and load_map. LoadMap is true when a map loaded; the
// caller then places the player on it.
namespace commands {
void CreateMap(const Words& w);
void Fog(const Words& w);
void NoClip(const Words& w);
bool LoadMap(const Words& w);
}  // namespace commands

}  // namespace tam
