// Fuzz target: any bytes as one command line through the program's command chain. The GL seam is
// a recorder (there is no context), there is no window and no sound device, a visible console
// stand-in makes unknown words print, and after every line the console, settings and key table
// must stay in bounds. Each run starts from a saved copy of the fresh key table, so nothing costly
// is rebuilt and no file is touched but the existence tests of the file commands.
#include <cstddef>
#include <cstdint>
#include <cctype>
#include <cstdlib>
#include <string>

#include "../tests/gl_recorder.h"
#include "app/app.h"
#include "console/commands.h"
#include "console/console.h"
#include "base/files.h"
#include "console/settings.h"
#include "input/keys.h"
#include "platform/headless.h"
#include "world/map.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tam::platform::NullConsoleView view;
    static tam::test::GlRecorder gl;
    static tam::WorldState freshWorld;
    static const tam::KeyState freshKeys = [] {
        gl.keepCalls = false;  // counted only: the island alone is tens of thousands of calls
        tam::gl::SetBackend(&gl);
        tam::RegisterCommandChain();
        tam::SetProgramDir("/nonexistent-tam-fuzz/");
        tam::ResetWorld();
        freshWorld = tam::World();
        tam::ResetKeys();
        tam::InitKeyTable();
        return tam::Keys();
    }();
    tam::ResetConsole();
    tam::Con().view = &view;
    tam::World() = freshWorld;  // a copy into the same storage, not a fresh 10000-box table
    tam::ResetSettings();
    tam::Keys() = freshKeys;

    const std::string line(reinterpret_cast<const char*>(data), size);
    // create_map reads nothing of its line and builds the same island every time, tens of
    // thousands of GL calls that would take most of the run; lines that name it are skipped
    // (the generator has its own tests, and the soak types create_map among other lines).
    std::string lower = line;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (lower.find("create_map") != std::string::npos) return -1;
    try {
        tam::ExecuteCommand(line);
        tam::KeyDown(87);
        tam::KeyUp(87);
    } catch (const tam::ConversionError&) {
    }

    const tam::ConsoleState& c = tam::Con();
    Check(c.lineCount >= 0 && c.lineCount <= tam::kConsoleLines);
    for (int i = 1; i <= c.lineCount; ++i) Check(c.log[i].size() <= 60);
    const tam::Settings& s = tam::Config();
    Check(s.fov >= 10 && s.fov <= 120);
    Check(s.sensitivity >= 1 && s.sensitivity <= 25);
    Check(s.cl_forwardspeed >= 1 && s.cl_forwardspeed <= 1000);
    Check(s.cl_sidespeed >= 1 && s.cl_sidespeed <= 1000);
    Check(tam::KeyTable(87).Name == "w");
    return 0;
}
