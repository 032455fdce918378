// Recording and replaying demos: the admit hook that keeps a recording's commands and guards a
// playback, the frame loop's simulation with a demo in it, and the commands record, stop,
// play_demo and timedemo.
#include "app/demo.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/app.h"
#include "app/players.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "console/exec.h"
#include "base/files.h"
#include "console/settings.h"
#include "render/opengl.h"
#include "tam_version.h"
#include "world/map.h"

namespace tam {
namespace {

constexpr size_t kMaxDemoFileBytes = size_t{256} << 20;
constexpr size_t kMaxNameBytes = 64;
constexpr std::string_view kDemoExtension = ".dem";
constexpr const char* kBundledFolder = "Data/Demos/";

// Words a demo never holds: the demo commands themselves, quitting, and exec_file (the lines of
// its file are kept instead, each as a command of its own).
constexpr std::string_view kUnrecorded[] = {"record", "stop", "play_demo", "timedemo",
                                            "exit",   "quit", "exec_file"};
// Words of the user that do not run while a demo plays: they would move or turn the player.
// The held-key actions go silently (a key is only held); the others say why.
constexpr std::string_view kHeldActions[] = {
    "+moveleft", "+moveright", "+forward",   "+back",    "+up",   "+down", "+right",
    "+left",     "-moveleft",  "-moveright", "-forward", "-back", "-up",   "-down",
    "-left",     "-right",     "+attack",    "-attack",  "jump"};
constexpr std::string_view kMovementSettings[] = {"cl_forwardspeed", "cl_sidespeed", "sensitivity"};

template <size_t N>
bool OneOf(std::string_view word, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

// A load_map that would load, or a create_map.
bool ChangesMap(std::string_view word, const commands::Words& w) {
    return word == "create_map" || (word == "load_map" && !w[1].empty() && w[1] != "?");
}

// Whether a command belongs in a demo: a command word that is not a demo's own, quitting or a
// map change. Empty commands only ever print the unrecognised-command lines and are left out.
bool Recordable(std::string_view word, const commands::Words& w) {
    return !word.empty() && !OneOf(word, kUnrecorded) && !ChangesMap(word, w);
}

bool MovesPlayer(std::string_view word, const commands::Words& w) {
    return OneOf(word, kHeldActions) || word == "no_clip" || ChangesMap(word, w) ||
           (OneOf(word, kMovementSettings) && !w[1].empty() && w[1] != "?");
}

// A demo name: 1 to 64 letters, digits, "-", "_" or "." not starting with "."; a trailing ".dem"
// is dropped. Empty when `typed` is no such name.
std::string DemoName(std::string_view typed) {
    if (typed.ends_with(kDemoExtension)) typed.remove_suffix(kDemoExtension.size());
    if (typed.empty() || typed.size() > kMaxNameBytes || typed[0] == '.') return {};
    for (const char c : typed) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!ok) return {};
    }
    return std::string(typed);
}

// The name checked, or a line saying what a name may be; empty then.
std::string NameOrComplain(std::string_view command, std::string_view typed) {
    std::string name = DemoName(typed);
    if (name.empty())
        ConsolePrint(std::string(command) + ": a demo name is letters, digits, -, _ and .", true);
    return name;
}

void Complain(std::string_view command, std::string_view name, std::string_view what) {
    ConsolePrint(std::string(command) + " " + std::string(name) + ": " + std::string(what), true);
}

// The file of demo `name`: the user's folder first, then the bundled demos; empty when neither
// has it.
std::string FindDemo(const std::string& name) {
    const std::string folder = DemoFolder();
    if (!folder.empty()) {
        const std::string own = folder + "/" + name + std::string(kDemoExtension);
        if (FileExists(own)) return own;
    }
    const std::string bundled = ResolvePath(kBundledFolder + name + std::string(kDemoExtension));
    return FileExists(bundled) ? bundled : std::string();
}

// Reads, checks and starts demo `name`; every refusal is one console line and changes nothing.
void StartPlayback(std::string_view command, std::string_view typed, DemoMode mode) {
    DemoState& d = Demos();
    const std::string name = NameOrComplain(command, typed);
    if (name.empty()) return;
    if (d.mode == DemoMode::Recording) {
        Complain(command, name, "a recording runs (stop ends it)");
        return;
    }
    const std::string path = FindDemo(name);
    if (path.empty()) {
        Complain(command, name, "no such demo");
        return;
    }
    const auto bytes = ReadWholeFile(path, kMaxDemoFileBytes);
    if (!bytes) {
        Complain(command, name, std::string("cannot read it: ") + std::strerror(errno));
        return;
    }
    Demo demo;
    std::string reason;
    if (!ParseDemo(*bytes, demo, reason)) {
        Complain(command, name, reason);
        return;
    }
    const DemoStart& s = demo.start;
    const std::string mapPath = ResolvePath(s.mapFile);
    const auto map = FileExists(mapPath) ? ReadWholeFile(mapPath) : std::nullopt;
    if (!map) {
        Complain(command, name, "its map " + s.mapFile + " is missing");
        return;
    }
    if (HashBytes(*map) != s.mapHash) {
        Complain(command, name, "its map " + s.mapFile + " differs from the recorded one");
        return;
    }
    WorldState& world = World();
    if (world.mapFile != s.mapFile || world.mapHash != s.mapHash) {
        if (!LoadMapFileBytes(mapPath, *map)) {
            Complain(command, name, "its map " + s.mapFile + " does not load");
            return;
        }
        world.mapFile = s.mapFile;
    }
    Plr().PlayerCount = 1;
    Plr().CurrentPlayer = 0;
    CurrentRecord() = s.player;
    Config() = s.settings;
    ApplyProjection(s.settings.fov);
    world.no_clip = s.noClip;

    d = DemoState{};
    d.mode = mode;
    d.name = name;
    d.demo = std::move(demo);
    ConsolePrint((mode == DemoMode::Timing ? "Timing demo " : "Playing demo ") + name + ": " +
                     std::to_string(d.demo.frames.size()) + " frames",
                 true);
}

// Runs recorded frame `index`: its commands, then the step with its time and mouse movement.
void PlayFrame(size_t index) {
    DemoState& d = Demos();
    const DemoFrame& f = d.demo.frames[index];
    d.replaying = true;
    for (uint32_t i = 0; i < f.commandCount; ++i)
        RunCommandReportingErrors(d.demo.commands[f.firstCommand + i]);
    d.replaying = false;
    StepPlayers(f.frameTime, f.dx, f.dy);
}

void FinishTiming() {
    DemoState& d = Demos();
    const size_t frames = d.demo.frames.size();
    char line[160];
    std::snprintf(line, sizeof line, "timedemo %s: %zu frames, %.2f s, %.1f fps, slowest %.1f ms",
                  d.name.c_str(), frames, d.timedSeconds,
                  d.timedSeconds > 0 ? static_cast<double>(frames) / d.timedSeconds : 0.0,
                  static_cast<double>(d.slowest) * 1000.0);
    ConsolePrint(line, true);
    std::printf("%s\n", line);
    std::fflush(stdout);
    d = DemoState{};
}

}  // namespace

DemoState& Demos() {
    static DemoState state;
    return state;
}

void ResetDemos() {
    Demos() = DemoState{};
}

std::string DemoFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/tamberlo/demos";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.local/share/tamberlo/demos";
    return {};
}

bool AdmitCommand(std::string_view command, const commands::Words& words) {
    DemoState& d = Demos();
    if (d.mode == DemoMode::Idle) return true;
    const std::string word = LowerCp1251(words[0]);
    if (d.mode == DemoMode::Recording) {
        if (ChangesMap(word, words)) {
            ConsolePrint("Demo " + d.name + " ends before the map changes", true);
            StopRecording();
        } else if (Recordable(word, words)) {
            if (DemoCanHold(command)) {
                d.writer.Command(command);
            } else {
                ConsolePrint("Demo " + d.name +
                                 " ends: a command too long for it, or with "
                                 "control characters",
                             true);
                StopRecording();
            }
        }
        return true;
    }
    if (d.replaying) return Recordable(word, words);
    if (!MovesPlayer(word, words)) return true;
    if (!OneOf(word, kHeldActions))
        ConsolePrint(word + ": not while a demo plays (stop ends it)", true);
    return false;
}

void StopRecording() {
    DemoState& d = Demos();
    if (d.mode != DemoMode::Recording) return;
    const uint32_t frames = d.writer.frames();
    const std::vector<uint8_t> bytes = d.writer.Finish();
    const int error = WriteWholeFile(d.path, bytes);
    if (error == 0) {
        ConsolePrint("Demo " + d.name + ": " + std::to_string(frames) + " frames saved to " +
                         DisplayPath(d.path),
                     true);
    } else {
        ConsolePrint("Demo " + d.name + " not saved: " + DisplayPath(d.path) + ": " +
                         Utf8ToCp1251(std::strerror(error), '?'),
                     true);
    }
    d = DemoState{};
}

void SimulateFrame(float measured, int dx, int dy) {
    DemoState& d = Demos();
    switch (d.mode) {
        case DemoMode::Idle:
            StepPlayers(measured, dx, dy);
            return;
        case DemoMode::Recording:
            d.writer.Frame(measured, dx, dy);
            StepPlayers(measured, dx, dy);
            return;
        case DemoMode::Playing: {
            d.drawnSeconds += measured;
            const size_t count = d.demo.frames.size();
            while (d.next < count &&
                   d.playedSeconds + d.demo.frames[d.next].frameTime <= d.drawnSeconds) {
                d.playedSeconds += d.demo.frames[d.next].frameTime;
                PlayFrame(d.next++);
            }
            if (d.next == count) {
                ConsolePrint("Demo " + d.name + " ended", true);
                d = DemoState{};
            }
            return;
        }
        case DemoMode::Timing:
            if (d.next > 0) {
                d.timedSeconds += measured;
                d.slowest = std::max(d.slowest, measured);
            }
            if (d.next < d.demo.frames.size()) {
                PlayFrame(d.next++);
                return;
            }
            FinishTiming();
            StepPlayers(measured, dx, dy);
            return;
    }
}

namespace commands {

void Record(const Words& w) {
    if (w[1] == "?" || w[1].empty()) {
        ConsolePrint("record [Demo name]", true);
        return;
    }
    DemoState& d = Demos();
    const std::string name = NameOrComplain("record", w[1]);
    if (name.empty()) return;
    if (d.mode == DemoMode::Recording) {
        Complain("record", name, "demo " + d.name + " is being recorded");
        return;
    }
    if (d.mode != DemoMode::Idle) {
        Complain("record", name, "a demo plays (stop ends it)");
        return;
    }
    const WorldState& world = World();
    if (world.mapFile.empty() || Plr().PlayerCount < 1) {
        Complain("record", name, "the map in force is not from a map file");
        return;
    }
    const std::string folder = DemoFolder();
    if (folder.empty()) {
        Complain("record", name, "no folder for demos (HOME is not set)");
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        Complain("record", name,
                 "cannot make " + DisplayPath(folder) + ": " + Utf8ToCp1251(ec.message(), '?'));
        return;
    }
    DemoStart start;
    start.version = TAM_VERSION;
    start.mapFile = world.mapFile;
    start.mapHash = world.mapHash;
    start.player = CurrentRecord();
    start.settings = Config();
    start.noClip = world.no_clip;
    d = DemoState{};
    d.mode = DemoMode::Recording;
    d.name = name;
    d.path = folder + "/" + name + std::string(kDemoExtension);
    d.writer.Begin(start);
    ConsolePrint("Recording demo " + name, true);
}

void Stop(const Words&) {
    DemoState& d = Demos();
    switch (d.mode) {
        case DemoMode::Idle:
            ConsolePrint("stop: no demo is recording or playing", true);
            return;
        case DemoMode::Recording:
            StopRecording();
            return;
        case DemoMode::Playing:
        case DemoMode::Timing:
            ConsolePrint("Demo " + d.name + " stopped", true);
            d = DemoState{};
            return;
    }
}

void PlayDemo(const Words& w) {
    if (w[1] == "?" || w[1].empty()) {
        ConsolePrint("play_demo [Demo name]", true);
        return;
    }
    StartPlayback("play_demo", w[1], DemoMode::Playing);
}

void TimeDemo(const Words& w) {
    if (w[1] == "?" || w[1].empty()) {
        ConsolePrint("timedemo [Demo name]", true);
        return;
    }
    StartPlayback("timedemo", w[1], DemoMode::Timing);
}

}  // namespace commands
}  // namespace tam
