// Demos: `record NAME` keeps the walk from the next frame on, `stop` ends a recording or a
// playback, `play_demo NAME` replays a demo at its recorded pace and `timedemo NAME` as fast as
// frames are drawn, then prints the frame rate. A replay restores the recorded start (map, player,
// settings) and runs the recorded frames through the same step as the frame loop, so the walk is
// the recorded one bit for bit. Window thread only.
//
// Maps: a load_map or create_map line given while recording ends the recording first (the demo
// is saved up to the last frame); while a demo plays, the user's lines that would move, turn or
// re-place the player (held-key actions, jump, attack, no_clip, the movement settings, map
// changes) do not run, and a demo's own map changes are never run.
#pragma once

#include <string>
#include <string_view>

#include "app/demo_file.h"
#include "console/commands.h"

namespace tam {

enum class DemoMode { Idle, Recording, Playing, Timing };

// The demo unit's state; ResetDemos gives a fresh one (tests), dropping any recording unsaved.
struct DemoState {
    DemoMode mode = DemoMode::Idle;
    std::string name;          // CP1251, as the command gave it
    std::string path;          // recording: the file it will be written to
    DemoWriter writer;         // recording
    Demo demo;                 // playing or timing
    size_t next = 0;           // the next frame to play
    double drawnSeconds = 0;   // playing: frame times drawn since the playback began
    double playedSeconds = 0;  // playing: recorded frame times replayed
    double timedSeconds = 0;   // timing: seconds from the first frame to the frame after the last
    float slowest = 0;         // timing: the longest of those frames, seconds
    bool replaying = false;    // the demo's own commands are running
};
DemoState& Demos();
void ResetDemos();

// The frame loop's simulation, `measured` the frame's time and (dx, dy) the pointer's movement:
// without a demo one StepPlayers (app.h). A recording keeps them and steps. A playback drops them
// and runs the recorded frames whose time has come (none, one or several), each with its commands
// first; a timedemo runs exactly one recorded frame, and at the frame after the last prints its
// line and steps as without a demo.
void SimulateFrame(float measured, int dx, int dy);

// Ends a recording and writes its file; nothing when none runs (the program calls it at exit).
void StopRecording();

// $XDG_DATA_HOME/tamberlo/demos (an absolute XDG_DATA_HOME only), else
// $HOME/.local/share/tamberlo/demos; empty when neither variable helps.
std::string DemoFolder();

// The interpreter's admit hook: records commands while recording, keeps the user's player
// commands from running while a demo plays.
bool AdmitCommand(std::string_view command, const commands::Words& words);

namespace commands {
void Record(const Words& w);
void Stop(const Words& w);
void PlayDemo(const Words& w);
void TimeDemo(const Words& w);
}  // namespace commands

}  // namespace tam
