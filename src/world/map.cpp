// The map record and its file reader. A map file is a plain byte stream (name up to a zero byte,
// eight header bytes, start points, wall panels); it is read whole, parsed into a copy through a
// bounded cursor and committed only when every promised field was present, so a bad file never
// changes the map in force.
#include "world/map.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/byte_cursor.h"
#include "console/console.h"
#include "base/files.h"
#include "world/map_text.h"

namespace tam {
namespace {

bool ReadName(ByteCursor& in, std::string& name) {
    name.clear();
    uint8_t b = 0;
    while (in.U8(b)) {
        if (b == 0) return true;
        name.push_back(static_cast<char>(b));
    }
    return false;
}

bool ReadHeader(ByteCursor& in, MapState& m) {
    if (!in.Has(8)) return false;
    in.U8(m.floorHalfWidth);
    in.U8(m.floorHalfDepth);
    in.I8(m.reservedA);
    in.I8(m.gravity);
    in.I8(m.reservedB);
    in.I8(m.floorTexture);
    in.I8(m.scrollSpeedX);
    in.I8(m.scrollSpeedY);
    m.scrollOffsetX = 0.0f;
    m.scrollOffsetY = 0.0f;
    return true;
}

bool ReadStartPoints(ByteCursor& in, MapState& m) {
    int8_t count = 0;
    if (!in.I8(count)) return false;
    // A negative count reads no entries; at most 127 entries fit the 128-entry table.
    if (count > 0 && !in.Has(uint64_t{2} * static_cast<uint64_t>(count))) return false;
    m.startPointCount = count;
    for (int i = 0; i < count; ++i) {
        in.I8(m.startPoints[i].x);
        in.I8(m.startPoints[i].y);
    }
    return true;
}

void FinishBox(MapBox& b, int8_t nx, int8_t ny, int8_t nz) {
    const int dx = b.x2 - b.x1;
    const int dy = b.y2 - b.y1;
    b.length = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    b.height = static_cast<float>(std::abs(b.z2 - b.z1));
    b.nx = nx;
    b.ny = ny;
    b.nz = nz;
    const double n = std::sqrt(double{b.nx} * b.nx + double{b.ny} * b.ny + double{b.nz} * b.nz);
    if (n != 0.0) {
        b.nx = static_cast<float>(b.nx / n);
        b.ny = static_cast<float>(b.ny / n);
        b.nz = static_cast<float>(b.nz / n);
    }
}

bool ReadBoxes(ByteCursor& in, MapState& m) {
    int8_t count = 0;
    if (!in.I8(count)) return false;
    if (count > 0 && !in.Has(uint64_t{10} * static_cast<uint64_t>(count))) return false;
    if (count > 0 && m.boxes.size() < static_cast<size_t>(count)) m.boxes.resize(kMaxBoxes);
    m.boxCount = count;
    for (int i = 0; i < count; ++i) {
        MapBox& b = m.boxes[i];
        int8_t nx = 0, ny = 0, nz = 0;
        in.I8(b.x1);
        in.I8(b.y1);
        in.I8(b.z1);
        in.I8(b.x2);
        in.I8(b.y2);
        in.I8(b.z2);
        in.I8(nx);
        in.I8(ny);
        in.I8(nz);
        in.I8(b.texture);
        FinishBox(b, nx, ny, nz);
    }
    return true;
}

}  // namespace

WorldState& World() {
    static WorldState w;
    return w;
}

void ResetWorld() { World() = WorldState{}; }

bool ParseMap(std::span<const uint8_t> bytes, MapState& out, MapStage* reached) {
    ByteCursor in(bytes);
    MapStage stage = MapStage::None;
    bool ok = ReadName(in, out.name);
    if (ok) stage = MapStage::Name;
    if (ok && (ok = ReadHeader(in, out))) stage = MapStage::Header;
    if (ok && (ok = ReadStartPoints(in, out))) stage = MapStage::StartPoints;
    if (ok && (ok = ReadBoxes(in, out))) stage = MapStage::Boxes;
    if (reached) *reached = stage;
    return ok;
}

bool LoadMap(const std::string& path) {
    if (!FileExists(path)) {
        ConsolePrint("File Map not exist ... Loading error", true);
        return false;
    }
    ConsolePrint("Loading " + DisplayPath(path) + "...", true);
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        ConsolePrint("Cannot load map " + DisplayPath(path), true);
        return false;
    }
    return LoadMapFileBytes(path, *bytes);
}

bool LoadMapFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    // A text form is compiled in memory first; its first error, with the file's name and the
    // line, is the whole report.
    bool ok = false;
    if (IsMapText(bytes)) {
        MapTextError error;
        const auto compiled = CompileMapText(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
        if (!compiled) {
            const size_t slash = path.find_last_of("/\\");
            const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
            ConsolePrint(
                DisplayPath(file) + ":" + std::to_string(error.line) + ": " + error.message, true);
            return false;
        }
        ok = LoadMapBytes(*compiled);
    } else {
        ok = LoadMapBytes(bytes);
    }
    if (ok) World().mapHash = HashBytes(bytes);
    return ok;
}

bool LoadMapBytes(std::span<const uint8_t> bytes) {
    // Parsed into a copy of the map in force, which stays whole until the file proved complete.
    // Table entries past the file's counts keep what they held, as they would in place.
    MapState next = Map();
    MapStage stage = MapStage::None;
    const bool ok = ParseMap(bytes, next, &stage);
    ConsolePrint(SeparatorLine(), false);
    ConsolePrint("Map Name - " + next.name, true);
    if (stage >= MapStage::Header) ConsolePrint("Load Start Points", true);
    if (stage >= MapStage::StartPoints) ConsolePrint("Load Object", true);
    if (!ok) {
        ConsolePrint("Map file is truncated", true);
        ConsolePrint(SeparatorLine(), true);
        return false;
    }
    Map() = std::move(next);
    ConsolePrint("Load Ok", true);
    ConsolePrint(SeparatorLine(), true);
    return true;
}

}  // namespace tam
