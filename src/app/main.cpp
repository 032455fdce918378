// The tamberlo executable: opens the display, builds the main window (which runs the whole
// start-up), runs the message loop until a quit request, then shuts down in order.
#include <unistd.h>

#include <climits>
#include <cstdio>

#include "app/app.h"
#include "console/files.h"
#include "platform/platform.h"

namespace {

std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<size_t>(n));
    return argv0 ? argv0 : "";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tam;
    if (argc > 1)
        std::fprintf(stderr, "tamberlo: takes no arguments; ignoring \"%s\"%s\n", argv[1],
                     argc > 2 ? " and the rest" : "");
    // The program folder is known before any stage runs, so Data is found beside the
    // executable wherever the program is started from.
    SetProgramDir(ProgramDirFromExe(ExecutablePath(argv[0])));
    if (!platform::Init()) return 1;
    if (!platform::CreateMainWindow()) {
        std::fprintf(stderr, "tamberlo: cannot create the main window\n");
        platform::Shutdown();
        return 1;
    }
    const bool started = FrmMainCreate();
    if (started && !platform::QuitRequested()) platform::ShowMainWindow();
    platform::Run([](bool& done) { AppIdle(done); });
    FormDestroy();
    // Unit finalisation: the models and the sky go before the platform closes.
    App().mdlSpawn = CMD2Model();
    App().mdlWeapon = CMD2Model();
    App().mdlOgros = CMD2Model();
    App().skybox.reset();
    platform::Shutdown();
    return 0;
}
