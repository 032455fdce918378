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
//   TAM_PROBE_STAGES   with TAM_PROBE_T0: also prints "stage <ms since launch> <what>" as start-up
//                      passes its milestones: each window made, the GL context, every file
//                      opened under Data/, the console face, the sound device; and at the first
//                      frame "stage_mipmaps_ms <time spent in gluBuild2DMipmaps so far>"
// Start-up runs on the window thread, which alone swaps, so the probe keeps plain statics.
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

struct SDL_Window;
struct TTF_Font;

namespace {

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
double mipmapSeconds = 0;

// The real function `name` of the library the probe stands in front of (null when absent).
template <typename Fn>
Fn Next(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

bool StagesWanted() {
    static const bool wanted = std::getenv("TAM_PROBE_STAGES") && std::getenv("TAM_PROBE_T0");
    return wanted;
}

double MsSinceLaunch() {
    return (Seconds(CLOCK_REALTIME) - std::strtod(std::getenv("TAM_PROBE_T0"), nullptr)) * 1000.0;
}

// One milestone line, "stage <ms> <what> <detail>", while no frame has been presented yet.
void Stage(const char* what, const char* detail = "") {
    static bool writing = false;  // the output file's own fopen passes through the probe too
    if (!StagesWanted() || swaps > 0 || writing) return;
    writing = true;
    const char* path = std::getenv("TAM_PROBE_OUT");
    FILE* out = path ? std::fopen(path, "a") : stderr;
    if (out) {
        std::fprintf(out, "stage %.3f %s%s%s\n", MsSinceLaunch(), what, *detail ? " " : "", detail);
        if (out != stderr) std::fclose(out);
    }
    writing = false;
}

// A file the program opens under its Data folder, named from "Data/" on.
void FileStage(const char* path) {
    const char* data = path ? std::strstr(path, "Data/") : nullptr;
    if (data) Stage("read", data);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) SDL_Window* SDL_CreateWindow(
    const char* title, int x, int y, int w, int h, uint32_t flags) {
    static const auto real =
        Next<SDL_Window* (*)(const char*, int, int, int, int, uint32_t)>("SDL_CreateWindow");
    SDL_Window* window = real ? real(title, x, y, w, h, flags) : nullptr;
    Stage("window", title ? title : "");
    return window;
}

extern "C" __attribute__((visibility("default"))) void* SDL_GL_CreateContext(SDL_Window* window) {
    static const auto real = Next<void* (*)(SDL_Window*)>("SDL_GL_CreateContext");
    void* context = real ? real(window) : nullptr;
    Stage("gl_context");
    return context;
}

extern "C" __attribute__((visibility("default"))) FILE* fopen(const char* path, const char* mode) {
    static const auto real = Next<FILE* (*)(const char*, const char*)>("fopen");
    FileStage(path);
    return real ? real(path, mode) : nullptr;
}

extern "C" __attribute__((visibility("default"))) FILE* fopen64(const char* path, const char* mode) {
    static const auto real = Next<FILE* (*)(const char*, const char*)>("fopen64");
    FileStage(path);
    return real ? real(path, mode) : nullptr;
}

extern "C" __attribute__((visibility("default"))) TTF_Font* TTF_OpenFont(const char* file, int size) {
    static const auto real = Next<TTF_Font* (*)(const char*, int)>("TTF_OpenFont");
    TTF_Font* font = real ? real(file, size) : nullptr;
    Stage("console_face");
    return font;
}

extern "C" __attribute__((visibility("default"))) int Mix_OpenAudioDevice(
    int frequency, uint16_t format, int channels, int chunkSize, const char* device, int changes) {
    static const auto real =
        Next<int (*)(int, uint16_t, int, int, const char*, int)>("Mix_OpenAudioDevice");
    const int result = real ? real(frequency, format, channels, chunkSize, device, changes) : -1;
    Stage("sound_device");
    return result;
}

extern "C" __attribute__((visibility("default"))) int gluBuild2DMipmaps(
    unsigned target, int components, int width, int height, unsigned format, unsigned type,
    const void* data) {
    static const auto real =
        Next<int (*)(unsigned, int, int, int, unsigned, unsigned, const void*)>("gluBuild2DMipmaps");
    const double start = Seconds(CLOCK_MONOTONIC);
    const int result = real ? real(target, components, width, height, format, type, data) : 1;
    mipmapSeconds += Seconds(CLOCK_MONOTONIC) - start;
    return result;
}

extern "C" __attribute__((visibility("default"))) void SDL_GL_SwapWindow(SDL_Window* window) {
    static const auto real = Next<void (*)(SDL_Window*)>("SDL_GL_SwapWindow");
    static const long warmup = EnvCount("TAM_PROBE_WARMUP") > 0 ? EnvCount("TAM_PROBE_WARMUP") : 1;
    static const long frames = EnvCount("TAM_PROBE_FRAMES");
    static const long exitAfter = EnvCount("TAM_PROBE_EXIT");
    Stage("frame_drawn");
    if (real) real(window);
    ++swaps;
    if (swaps == 1) {
        if (StagesWanted()) Report("stage_mipmaps_ms", mipmapSeconds * 1000.0);
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
