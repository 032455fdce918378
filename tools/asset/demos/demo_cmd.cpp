// "tamasset demo tour MAP OUT.dem": writes the bundled demo, a scripted walk through the start-up
// arena. It starts where the game's first spawn on MAP puts the player, at the default settings,
// and runs at 60 frames a second: it looks up from the floor, walks round the courtyard past the
// three models with a few jumps, turns to face them, switches the fog on and off, looks up at the
// sky and ends walking toward the tower. The demo is written with the engine's own writer.
#include <cstdio>
#include <string>
#include <vector>

#include "app/demo_file.h"
#include "app/players.h"
#include "asset/demos/demos.h"
#include "asset/tool.h"
#include "base/files.h"
#include "console/settings.h"
#include "tam_version.h"
#include "world/map.h"

namespace tam::asset {
namespace {

// The name the game loads the arena by at start-up; the demo names its map so.
constexpr const char* kTourMapName = "Data/Maps/isengard.map";
constexpr float kFrameTime = 1.0f / 60.0f;

// A stretch of the walk: `frames` frames with the same mouse movement per frame; `commands`
// run before the first of them. At the default sensitivity one pixel a frame turns the view by
// 0.065 degrees, so 46 pixels for 30 frames is about a right angle.
struct Stretch {
    int frames;
    int dx, dy;
    std::vector<const char*> commands;
};

const std::vector<Stretch>& Tour() {
    static const std::vector<Stretch> tour = {
        {30, 0, -46, {}},  // from looking at the floor to looking ahead
        {20, 0, 0, {}},
        {30, 46, 0, {}},             // face east
        {24, 0, 0, {"+moveright"}},  // a step south, clear of the corner pillar
        {20, 0, 0, {"-moveright"}},
        {285, 0, 0, {"+forward"}},  // east along the south wall
        {40, 0, 0, {"-forward"}},
        {30, -46, 0, {}},           // face north
        {150, 0, 0, {"+forward"}},  // north along the east wall, past the east gate
        {90, 0, 0, {"jump"}},
        {150, 0, 0, {"jump"}},
        {200, 0, 0, {}},
        {40, 0, 0, {"-forward"}},
        {30, -46, 0, {}},  // face west: the models' alcove on the right
        {170, 0, 0, {"+forward"}},
        {40, 0, 0, {"-forward"}},
        {50, 46, 0, {}},  // turn back toward the models
        {60, 0, 0, {"fog +"}},
        {60, 0, 0, {"fog pl 40"}},
        {40, 0, 0, {"fog -"}},
        {40, 0, -40, {}},  // up at the sky
        {60, 0, 0, {}},
        {30, 0, 46, {}},  // and level again
        {70, 0, 0, {"jump"}},
        {30, 46, 0, {}},  // toward the tower
        {120, 0, 0, {"+forward"}},
        {60, 0, 0, {"-forward"}},
    };
    return tour;
}

// The start the game's first spawn gives on the map in `bytes`, at the default settings.
bool TourStart(const std::vector<uint8_t>& bytes, DemoStart& start) {
    ResetWorld();
    ResetPlayers();
    ResetSettings();
    if (!LoadMapBytes(bytes)) return false;
    Plr().PlayerCount = 1;
    SpawnPlayer(0);
    start.version = TAM_VERSION;
    start.mapFile = kTourMapName;
    start.mapHash = HashBytes(bytes);
    start.player = CurrentRecord();
    start.settings = Config();
    start.noClip = World().no_clip;
    return true;
}

}  // namespace

int DemoMain(const std::vector<std::string>& args) {
    if (args.size() != 3 || args[0] != "tour") {
        std::fprintf(stderr, "usage: tamasset demo tour MAP OUT.dem\n");
        return 2;
    }
    const auto map = ReadInputFile(args[1]);
    if (!map) return 1;
    DemoStart start;
    if (!TourStart(*map, start)) {
        std::fprintf(stderr, "tamasset demo: %s is not a whole map file\n", args[1].c_str());
        return 1;
    }
    DemoWriter writer;
    writer.Begin(start);
    for (const Stretch& s : Tour()) {
        for (const char* command : s.commands) writer.Command(command);
        for (int i = 0; i < s.frames; ++i) writer.Frame(kFrameTime, s.dx, s.dy);
    }
    return WriteDataFile(args[2], writer.Finish()) ? 0 : 1;
}

}  // namespace tam::asset
