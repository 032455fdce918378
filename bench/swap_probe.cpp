// A probe preloaded (LD_PRELOAD) into a program that presents frames with SDL_GL_SwapWindow: it
// times the swaps from outside, so the program under test carries no measuring code. Set by
// the environment, all optional:
//   TAM_PROBE_T0       launch time, seconds of the real-time clock (bash's $EPOCHREALTIME);
//                      the first swap then prints "first_frame_ms <ms since launch>" and
//                      "first_frame_cpu_ms <CPU ms of all the process's threads so far>"
//   TAM_PROBE_WARMUP   swaps to let pass before the frame rate is timed (default 1)
//   TAM_PROBE_FRAMES   swaps to time after the warm-up; then prints "fps <frames per second>"
//   TAM_PROBE_EXIT     ends the process right after this swap has returned, so the frame it
//                      presented is the last thing the program did
//   TAM_PROBE_OUT      file the lines are appended to (default standard error)
// Only the window thread swaps, so the probe keeps plain statics.
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

struct SDL_Window;

namespace {

using SwapFn = void (*)(SDL_Window*);

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long EnvCount(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::strtol(v, nullptr, 10) : 0;
}

void Report(const char* key, double value) {
    const char* path = std::getenv("TAM_PROBE_OUT");
    FILE* out = path ? std::fopen(path, "a") : stderr;
    if (!out) return;
    std::fprintf(out, "%s %.3f\n", key, value);
    if (out != stderr) std::fclose(out);
}

long swaps = 0;
double timingStart = 0;

}  // namespace

extern "C" __attribute__((visibility("default"))) void SDL_GL_SwapWindow(SDL_Window* window) {
    static const SwapFn real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static const long warmup = EnvCount("TAM_PROBE_WARMUP") > 0 ? EnvCount("TAM_PROBE_WARMUP") : 1;
    static const long frames = EnvCount("TAM_PROBE_FRAMES");
    static const long exitAfter = EnvCount("TAM_PROBE_EXIT");
    if (real) real(window);
    ++swaps;
    if (swaps == 1) {
        if (const char* t0 = std::getenv("TAM_PROBE_T0")) {
            Report("first_frame_ms", (Seconds(CLOCK_REALTIME) - std::strtod(t0, nullptr)) * 1000.0);
            rusage u{};
            getrusage(RUSAGE_SELF, &u);
            Report("first_frame_cpu_ms", (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
                                             (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0);
        }
    }
    if (frames > 0 && swaps == warmup) timingStart = Seconds(CLOCK_MONOTONIC);
    if (frames > 0 && swaps == warmup + frames)
        Report("fps", static_cast<double>(frames) / (Seconds(CLOCK_MONOTONIC) - timingStart));
    if (exitAfter > 0 && swaps == exitAfter) {
        // _exit: nothing of the program's own shutdown may follow the last frame (a tracer
        // preloaded beside the probe, such as apitrace's, still writes its file out).
        std::fflush(nullptr);
        _exit(0);
    }
}
