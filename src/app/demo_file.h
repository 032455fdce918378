// Demo files: a recorded walk as the state it started from and, frame by frame, the frame time
// the loop used, the mouse movement turned into look rates and the commands run before the
// frame's step. The engine writes and plays them; the asset tool writes the bundled one. The
// layout is described in docs/demo-format.md. Pure code: no files, no window.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/players.h"
#include "console/settings.h"

namespace tam {

inline constexpr uint16_t kDemoFormat = 1;         // the layout this code writes and reads
inline constexpr size_t kDemoMaxCommand = 4096;    // bytes of one recorded command
inline constexpr size_t kDemoMaxMapFile = 1024;    // bytes of the map file's name
inline constexpr size_t kDemoMaxVersion = 64;      // bytes of the engine version text
inline constexpr float kDemoMaxFrameTime = 86400;  // seconds

// What a walk starts from: the engine that recorded it, the map in force (its name as load_map
// was given it, CP1251, and HashBytes of the file), the current player's record, the settings
// and the no_clip flag.
struct DemoStart {
    std::string version;
    std::string mapFile;
    uint64_t mapHash = 0;
    PlayerRecord player;
    Settings settings;
    uint8_t noClip = 0;
};

// One frame: its commands are commands[firstCommand, firstCommand + commandCount), run before
// the mouse look from (dx, dy) and the movement step over frameTime seconds.
struct DemoFrame {
    float frameTime = 0;
    int32_t dx = 0, dy = 0;
    uint32_t firstCommand = 0;
    uint32_t commandCount = 0;
};

struct Demo {
    DemoStart start;
    std::vector<DemoFrame> frames;
    std::vector<std::string> commands;  // CP1251, every one DemoCanHold
};

// Whether a demo can hold `command`: 1 to kDemoMaxCommand bytes, none of them NUL, CR, LF or ";"
// (a command is one segment of a line).
bool DemoCanHold(std::string_view command);

// Builds a demo file's bytes in one buffer that only grows (appends are amortised; a frame
// allocates nothing once the buffer has room). Begin, then any Command and Frame calls, then
// Finish.
class DemoWriter {
  public:
    // Starts a new file; the commands given next belong to frame 0.
    void Begin(const DemoStart& start);
    // A command of the open frame; `command` must satisfy DemoCanHold.
    void Command(std::string_view command);
    // Closes the open frame with its time and mouse movement, and opens the next.
    void Frame(float frameTime, int32_t dx, int32_t dy);
    uint32_t frames() const { return frames_; }
    // The finished file: the open frame's commands (given after the last Frame) are dropped.
    // The writer is empty afterwards.
    std::vector<uint8_t> Finish();

  private:
    std::vector<uint8_t> bytes_;
    size_t frameCountAt_ = 0;    // offset of the frame count in the header
    size_t openFrameAt_ = 0;     // offset of the open frame's command count
    uint32_t openCommands_ = 0;  // commands of the open frame so far
    uint32_t frames_ = 0;
};

// Reads a demo file. False with a short reason ("truncated", "checksum mismatch", "format
// version 2, this program reads 1", "frame 12: a command that is no command line", ...) when
// the bytes are not a whole, valid demo; `out` is then unchanged. Counts are checked against
// the bytes left before anything is allocated.
bool ParseDemo(std::span<const uint8_t> bytes, Demo& out, std::string& reason);

// CRC-32 (the polynomial of zlib and PNG) of `bytes`: the demo file's checksum.
uint32_t Crc32(std::span<const uint8_t> bytes);

}  // namespace tam
