// The tamberlo executable: answers --help and --version without a display; otherwise opens the
// display, builds the main window (which runs the whole start-up), runs the message loop until a
// quit request, then shuts down in order.
#include <malloc.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/command_line.h"
#include "app/demo.h"
#include "base/files.h"
#include "images/readers.h"
#include "platform/platform.h"
#include "tam_version.h"

namespace {

constexpr const char* kHelpText =
    "Usage: tamberlo [--help | --version] [+COMMAND [ARGUMENT...]]...\n"
    "A small first-person 3D engine demonstrator: walk an arena under a sky, with a console\n"
    "for commands (the key left of 1 opens it, F1 lists the commands, Escape quits).\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "  +COMMAND [ARGUMENT...]\n"
    "             run the console line COMMAND ARGUMENT... once the game has started (after\n"
    "             autoexec.cfg); each argument starting with + begins the next line\n"
    "\n"
    "Measure this machine's frame rate with the bundled demo: tamberlo +timedemo tour\n"
    "\n"
    "The game reads its Data folder beside the executable, or else from\n"
    "../share/tamberlo/ relative to it. The manual page tamberlo(6) lists keys and commands.\n";

// The picture shown for both windows; a missing or unreadable file leaves the default one.
constexpr const char* kIconFile = "Data/Icon/tamberlo.tga";

// Handles --help and --version (before any display is opened); true when one was answered.
bool AnswerInformationRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kHelpText, stdout);
            return true;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("tamberlo " TAM_VERSION);
            return true;
        }
    }
    return false;
}

std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<size_t>(n));
    return argv0 ? argv0 : "";
}

// Start-up decodes pictures and models of up to a few megabytes and frees each once the driver
// has its copy, just as the next file is read. Blocks below 16 MiB kept in the heap, rather than
// mapped for each and returned when freed, are used again already paged in; free memory beyond
// 16 MiB at the heap's top still goes back to the system.
void TuneAllocator() {
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tam;
    TuneAllocator();
    if (AnswerInformationRequest(argc, argv)) return std::fflush(stdout) == 0 ? 0 : 1;
    CommandLine commandLine = ParseCommandLine(argc, argv);
    if (!commandLine.ignored.empty())
        std::fprintf(stderr, "tamberlo: takes no arguments; ignoring \"%s\"%s\n",
                     commandLine.ignored[0].c_str(),
                     commandLine.ignored.size() > 1 ? " and the rest" : "");
    App().commandLineLines = std::move(commandLine.lines);
    // The data root is known before any stage runs, so Data is found beside the executable, or
    // in the installed share folder, wherever the program is started from.
    SetProgramDir(DataRootFromExe(ExecutablePath(argv[0])));
    if (!platform::Init()) return 1;
    std::vector<uint8_t> icon;
    int32_t iconW = 0, iconH = 0;
    if (LoadTGA(std::string(kIconFile), &icon, &iconW, &iconH, true) == 1)
        platform::SetWindowIcon(iconW, iconH, std::move(icon));
    if (!platform::CreateMainWindow()) {
        std::fprintf(stderr, "tamberlo: cannot create the main window\n");
        platform::Shutdown();
        return 1;
    }
    const bool started = StartUp();
    if (started && !platform::QuitRequested()) platform::ShowMainWindow();
    platform::Run([](bool& done) { AppIdle(done); });
    StopRecording();  // a recording in progress is written, not lost
    ShutDown();
    // Unit finalisation: the models and the sky go before the platform closes.
    App().mdlSpawn = CMD2Model();
    App().mdlWeapon = CMD2Model();
    App().mdlOgros = CMD2Model();
    App().skybox.reset();
    platform::Shutdown();
    return 0;
}
