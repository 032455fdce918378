// The platform layer on SDL2: message loop with idle hook, main window with its OpenGL drawable,
// console window drawn with SDL2_ttf, pointer capture for mouse look, message box and clocks.
// All of it runs on the one window thread.
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "console/console.h"
#include "base/cp1251.h"
#include "platform/console_image.h"
#include "platform/headless.h"
#include "platform/keymap.h"
#include "platform/platform_local.h"

namespace tam::platform {
namespace {

constexpr int kMainX = 175, kMainY = 175, kMainW = 642, kMainH = 456;
constexpr int kCentreX = 400, kCentreY = 300;

class SdlConsoleView;

// The platform's state: the two windows, the console font and the pointer-capture mode.
struct PlatformState {
    bool videoUp = false;
    bool ttfUp = false;
    bool quit = false;
    SDL_Window* main = nullptr;
    bool mainHasGl = false;
    bool fullscreen = false;
    int windowedX = kMainX, windowedY = kMainY;  // the window's place and size before full screen
    int windowedW = kMainW, windowedH = kMainH;
    SdlConsoleView* console = nullptr;
    bool relativeLook = false;  // pointer warping unavailable: use relative motion
    int pendingDx = 0, pendingDy = 0;
    bool modal = false;
    MessageBoxFunction messageBox;  // empty: SDL's
    WindowEvents* events = nullptr;
    SDL_Surface* icon = nullptr;  // owned; shown by both windows
};

PlatformState& P() {
    static PlatformState p;
    return p;
}

// The console window: the console's picture (60 x 32 cells), kept so that exposes can repaint it.
// A refresh sends the window only the rows that changed; exposes and showing it send it whole.
class SdlConsoleView final : public ConsoleView {
public:
    bool Create() {
        bool opened = false;
        for (const std::string& path : ConsoleFontPaths())
            if ((opened = image_.Open(path.c_str()))) break;
        if (!opened) {
            std::fprintf(stderr, "tamberlo: no monospace font for the console: %s\n", TTF_GetError());
            return false;
        }
        const SDL_Surface* picture = image_.Surface();
        window_ = SDL_CreateWindow("frmCon", 0, 0, picture->w, picture->h, SDL_WINDOW_HIDDEN);
        if (!window_) {
            std::fprintf(stderr, "tamberlo: cannot create the console window: %s\n", SDL_GetError());
            return false;
        }
        return true;
    }
    ~SdlConsoleView() override {
        if (window_) SDL_DestroyWindow(window_);
    }
    SDL_Window* window() const { return window_; }
    uint32_t id() const { return window_ ? SDL_GetWindowID(window_) : 0; }

    void Clear() override { image_.Clear(); }
    void DrawLine(int row, std::string_view cp1251) override { image_.DrawLine(row, cp1251); }
    void Present() override {
        SDL_Rect rows[kConsoleLines];
        const int count = image_.Update(rows);
        SDL_Surface* picture = image_.Surface();
        if (!window_ || !Visible()) return;
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) return;
        if (surface != windowSurface_) {  // a new surface holds nothing of ours yet
            windowSurface_ = surface;
            windowStale_ = true;
        }
        if (windowStale_) {
            SDL_BlitSurface(picture, nullptr, surface, nullptr);
            SDL_UpdateWindowSurface(window_);
            windowStale_ = false;
            return;
        }
        if (count == 0) return;
        for (int i = 0; i < count; ++i) {
            SDL_Rect at = rows[i];
            SDL_BlitSurface(picture, &rows[i], surface, &at);
        }
        SDL_UpdateWindowSurfaceRects(window_, rows, count);
    }
    // The window's contents are gone (exposed, or shown again): the next Present sends it all.
    void Repaint() {
        windowStale_ = true;
        Present();
    }
    void Show() override {
        SDL_ShowWindow(window_);
        SDL_SetWindowPosition(window_, 0, 0);
        Repaint();
    }
    void Hide() override { SDL_HideWindow(window_); }
    void BringToFront() override { SDL_RaiseWindow(window_); }
    bool Visible() const override {
        return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
    }
    void ShowModal() override;

private:
    ConsoleImage image_;
    SDL_Window* window_ = nullptr;
    SDL_Surface* windowSurface_ = nullptr;
    bool windowStale_ = true;  // the window shows nothing of the picture yet
};

bool IsMain(uint32_t windowId) { return P().main && windowId == SDL_GetWindowID(P().main); }
bool IsConsole(uint32_t windowId) { return P().console && windowId == P().console->id(); }

void DispatchWindowEvent(const SDL_WindowEvent& w, WindowEvents& events) {
    if (IsConsole(w.windowID)) {
        switch (w.event) {
            case SDL_WINDOWEVENT_EXPOSED: P().console->Repaint(); break;
            case SDL_WINDOWEVENT_FOCUS_LOST: events.ConsoleDeactivated(); break;
            case SDL_WINDOWEVENT_CLOSE: events.ConsoleClosed(); break;
            default: break;
        }
        return;
    }
    if (!IsMain(w.windowID)) return;
    switch (w.event) {
        case SDL_WINDOWEVENT_CLOSE: RequestQuit(); break;
        case SDL_WINDOWEVENT_ENTER: SDL_ShowCursor(SDL_DISABLE); break;
        case SDL_WINDOWEVENT_LEAVE: SDL_ShowCursor(SDL_ENABLE); break;
        default: break;
    }
}

WindowEvents& Events() {
    static NoWindowEvents none;  // while nobody listens
    return P().events ? *P().events : none;
}

// One event; exceptions from handlers are the caller's.
void Dispatch(const SDL_Event& e) {
    WindowEvents& events = Events();
    switch (e.type) {
        case SDL_QUIT: P().quit = true; break;
        case SDL_WINDOWEVENT: DispatchWindowEvent(e.window, events); break;
        case SDL_KEYDOWN: {
            const int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
            if (vk <= 0) break;
            if (IsConsole(e.key.windowID))
                events.ConsoleKeyDown(vk);
            else if (IsMain(e.key.windowID) && !P().modal)
                events.MainKeyDown(vk);
            break;
        }
        case SDL_KEYUP: {
            const int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
            if (vk > 0 && IsMain(e.key.windowID) && !P().modal) events.MainKeyUp(vk);
            break;
        }
        case SDL_TEXTINPUT:
            if (IsConsole(e.text.windowID))
                for (char c : Utf8ToCp1251(e.text.text))
                    events.ConsoleCharacter(static_cast<uint8_t>(c));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (!IsMain(e.button.windowID) || P().modal) break;
            if (const auto button = MouseButtonFromSdl(e.button.button)) {
                if (e.type == SDL_MOUSEBUTTONDOWN) events.MainButtonDown(*button);
                else events.MainButtonUp(*button);
            }
            break;
        case SDL_MOUSEWHEEL:
            if (IsMain(e.wheel.windowID) && !P().modal && e.wheel.y != 0)
                events.MainWheel(e.wheel.y > 0 ? 120 : -120);
            break;
        case SDL_MOUSEMOTION:
            if (P().relativeLook) {
                P().pendingDx += e.motion.xrel;
                P().pendingDy += e.motion.yrel;
            }
            break;
        default: break;
    }
}

void SafeDispatch(const SDL_Event& e) {
    try {
        Dispatch(e);
    } catch (const std::exception& ex) {
        ReportError(ex);
    }
}

void SdlConsoleView::ShowModal() {
    Show();
    BringToFront();
    P().modal = true;
    SDL_Event e;
    while (Visible() && !P().quit && SDL_WaitEvent(&e)) {
        if (e.type == SDL_WINDOWEVENT && IsMain(e.window.windowID) &&
            e.window.event == SDL_WINDOWEVENT_CLOSE)
            continue;  // the main window waits for the modal console
        if (e.type == SDL_WINDOWEVENT && IsConsole(e.window.windowID) &&
            e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            continue;  // a modal window stays up until it is closed
        SafeDispatch(e);
    }
    P().modal = false;
}

// True for SDL's video drivers that open no window anyone can see.
bool IsHeadlessDriver(const char* name) {
    return name && (SDL_strcmp(name, "offscreen") == 0 || SDL_strcmp(name, "dummy") == 0 ||
                    SDL_strcmp(name, "evdev") == 0);
}

// Opens SDL's video. When the window system refuses a connection, SDL quietly falls back to a
// driver without windows, and a busy X server does refuse now and then (its socket answers
// EAGAIN). A game drawing where nobody sees it is no use, so the window system is asked again
// for up to two seconds; a headless driver is taken only when SDL_VIDEODRIVER names it.
bool OpenVideo() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool headlessAsked = asked && IsHeadlessDriver(asked);
    std::string why;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (attempt > 0) SDL_Delay(100);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            why = SDL_GetError();
            continue;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        if (headlessAsked || !IsHeadlessDriver(driver)) return true;
        why = std::string("no window system answered (only SDL's \"") + (driver ? driver : "") +
              "\" driver started)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    const char* display = SDL_getenv("DISPLAY");
    std::fprintf(stderr, "tamberlo: cannot open the display%s%s: %s\n",
                 display ? " " : "", display ? display : "", why.c_str());
    return false;
}

bool ShowSdlMessageBox(const std::string& title, const std::string& utf8Text, std::string& why) {
    if (!P().videoUp) {
        why = "no display";
        return false;
    }
    const int shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), utf8Text.c_str(), P().main);
    if (shown == 0) return true;
    why = SDL_GetError();
    return false;
}

// The main window as the render state and the display modes see it.
class SdlGlWindow final : public GlWindow {
public:
    bool Exists() override { return MainWindowExists(); }
    bool HasGlDrawable() override { return MainWindowHasGlDrawable(); }
    void OuterSize(int& w, int& h) override { MainWindowOuterSize(w, h); }
    void ClientSize(int& w, int& h) override { MainWindowClientSize(w, h); }
    void* CreateGlContext() override { return platform::CreateGlContext(); }
    bool MakeGlCurrent(void* ctx) override { return platform::MakeGlCurrent(ctx); }
    void ReleaseGlCurrent() override { platform::ReleaseGlCurrent(); }
    void DeleteGlContext(void* ctx) override { platform::DeleteGlContext(ctx); }
};

class SdlDisplayDevice final : public DisplayDevice {
public:
    bool HasWindow() override { return MainWindowExists(); }
    void SetBorder(Border border) override { SetMainBorder(border); }
    int EnterFullScreen(int width, int height, int bits) override {
        return platform::EnterFullScreen(width, height, bits);
    }
    bool InFullScreen() override { return MainWindowFullScreen(); }
    int LeaveFullScreen() override { return platform::LeaveFullScreen(); }
};

bool AnyWindowActive() {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return focus && (focus == P().main || (P().console && focus == P().console->window()));
}

}  // namespace

bool Init() {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The console's window surface must stay a plain framebuffer: an accelerated one would
    // make its own OpenGL context current and steal the main window's.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "tamberlo: cannot start SDL: %s\n", SDL_GetError());
        return false;
    }
    if (!OpenVideo()) {
        SDL_Quit();
        return false;
    }
    P().videoUp = true;
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "tamberlo: cannot start the font renderer: %s\n", TTF_GetError());
        return false;
    }
    P().ttfUp = true;
    SDL_StartTextInput();
    return true;
}

void Shutdown() {
    if (P().icon) SDL_FreeSurface(P().icon);
    delete P().console;
    P().console = nullptr;
    DestroyMainWindow();
    if (P().ttfUp) TTF_Quit();
    if (P().videoUp) SDL_Quit();
    P() = PlatformState{};
}

void Run(const std::function<void(bool& done)>& idle) {
    SDL_Event e;
    while (!P().quit) {
        while (!P().quit && SDL_PollEvent(&e)) SafeDispatch(e);
        if (P().quit) break;
        bool done = true;
        try {
            idle(done);
        } catch (const std::exception& ex) {
            ReportError(ex);
        }
        if (done && !P().quit && SDL_WaitEvent(&e)) SafeDispatch(e);
    }
}

void RequestQuit() {
    P().quit = true;
    if (P().videoUp) {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }
}

bool QuitRequested() { return P().quit; }

bool CreateMainWindow() {
    // RGBA with 24 colour bits, double-buffered; the deepest depth buffer offered from 32 down.
    for (int depth : {32, 24, 16}) {
        SDL_GL_ResetAttributes();
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        P().main = SDL_CreateWindow("frmMain", kMainX, kMainY, kMainW, kMainH,
                                    SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (P().main) {
            P().mainHasGl = true;
            if (P().icon) SDL_SetWindowIcon(P().main, P().icon);
            return true;
        }
    }
    // No OpenGL drawable at all: a plain window, so start-up can report it and quit.
    P().main = SDL_CreateWindow("frmMain", kMainX, kMainY, kMainW, kMainH, SDL_WINDOW_HIDDEN);
    P().mainHasGl = false;
    if (P().main && P().icon) SDL_SetWindowIcon(P().main, P().icon);
    return P().main != nullptr;
}

void SetWindowIcon(int width, int height, std::vector<uint8_t> rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    for (int y = 0; y < height; ++y)
        SDL_memcpy(static_cast<uint8_t*>(icon->pixels) + static_cast<size_t>(y) * icon->pitch,
                   &rgba[static_cast<size_t>(y) * width * 4], static_cast<size_t>(width) * 4);
    if (P().icon) SDL_FreeSurface(P().icon);
    P().icon = icon;
    if (P().main) SDL_SetWindowIcon(P().main, icon);
    if (P().console) SDL_SetWindowIcon(P().console->window(), icon);
}

void ShowMainWindow() {
    if (!P().main) return;
    SDL_ShowWindow(P().main);
    SDL_SetWindowPosition(P().main, kMainX, kMainY);
}

void DestroyMainWindow() {
    if (P().main) SDL_DestroyWindow(P().main);
    P().main = nullptr;
    P().mainHasGl = false;
}

bool MainWindowExists() { return P().main != nullptr; }

void MainWindowClientSize(int& w, int& h) {
    w = h = 0;
    if (P().main) SDL_GetWindowSize(P().main, &w, &h);
}

void MainWindowOuterSize(int& w, int& h) {
    MainWindowClientSize(w, h);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (P().main && SDL_GetWindowBordersSize(P().main, &top, &left, &bottom, &right) == 0) {
        w += left + right;
        h += top + bottom;
    }
}

bool MainWindowHasGlDrawable() { return P().main && P().mainHasGl; }

void* CreateGlContext() { return P().main ? SDL_GL_CreateContext(P().main) : nullptr; }

bool MakeGlCurrent(void* ctx) {
    if (!P().main || !ctx) return false;
    if (SDL_GL_MakeCurrent(P().main, static_cast<SDL_GLContext>(ctx)) != 0) return false;
    SDL_GL_SetSwapInterval(0);  // unthrottled; a refusal is not an error
    return true;
}

void ReleaseGlCurrent() {
    if (P().main) SDL_GL_MakeCurrent(P().main, nullptr);
}

void DeleteGlContext(void* ctx) {
    if (ctx) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(ctx));
}

void SwapMainWindow() {
    if (P().main) SDL_GL_SwapWindow(P().main);
}

void SetMainBorder(Border border) {
    if (!P().main) return;
    SDL_SetWindowBordered(P().main, border == Border::None ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowResizable(P().main, border == Border::Sizeable ? SDL_TRUE : SDL_FALSE);
}


int EnterFullScreen(int width, int height, int bits) {
    if (!P().main) return NDX_Screen::kLevelRefused;
    const int display = SDL_GetWindowDisplayIndex(P().main);
    const int count = SDL_GetNumDisplayModes(display < 0 ? 0 : display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display < 0 ? 0 : display, i, &mode) != 0) continue;
        const int bpp = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
        const int bytes = static_cast<int>(SDL_BYTESPERPIXEL(mode.format));
        if (mode.w != width || mode.h != height || (bits != bpp && bits != bytes * 8)) continue;
        if (SDL_SetWindowDisplayMode(P().main, &mode) != 0) return NDX_Screen::kLevelRefused;
        if (!P().fullscreen) {
            SDL_GetWindowPosition(P().main, &P().windowedX, &P().windowedY);
            SDL_GetWindowSize(P().main, &P().windowedW, &P().windowedH);
        }
        // Placed and sized by hand too: without a window manager nobody else does it.
        SDL_SetWindowPosition(P().main, 0, 0);
        SDL_SetWindowSize(P().main, mode.w, mode.h);
        if (SDL_SetWindowFullscreen(P().main, SDL_WINDOW_FULLSCREEN) != 0) return NDX_Screen::kLevelRefused;
        P().fullscreen = true;
        return NDX_Screen::kOk;
    }
    return NDX_Screen::kModeRefused;
}

bool MainWindowFullScreen() { return P().main && P().fullscreen; }

int LeaveFullScreen() {
    if (!P().main) return NDX_Screen::kLevelRefused;
    if (!P().fullscreen) return NDX_Screen::kOk;
    if (SDL_SetWindowFullscreen(P().main, 0) != 0) return NDX_Screen::kLevelRefused;
    P().fullscreen = false;
    SDL_SetWindowSize(P().main, P().windowedW, P().windowedH);
    SDL_SetWindowPosition(P().main, P().windowedX, P().windowedY);
    return NDX_Screen::kOk;
}

ConsoleView* CreateConsoleWindow() {
    if (P().console) return P().console;
    auto* view = new SdlConsoleView;
    if (!view->Create()) {
        delete view;
        return nullptr;
    }
    P().console = view;
    if (P().icon) SDL_SetWindowIcon(view->window(), P().icon);
    return view;
}

void TakeMouseDelta(int& dx, int& dy) {
    dx = dy = 0;
    if (!P().videoUp || !AnyWindowActive()) {
        P().pendingDx = P().pendingDy = 0;
        return;
    }
    if (P().relativeLook) {
        dx = P().pendingDx;
        dy = P().pendingDy;
        P().pendingDx = P().pendingDy = 0;
        return;
    }
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    dx = x - kCentreX;
    dy = y - kCentreY;
    if (SDL_WarpMouseGlobal(kCentreX, kCentreY) != 0) {
        // No warping here (XWayland): relative motion gives the same deltas from now on.
        dx = dy = 0;
        P().relativeLook = true;
        SDL_SetRelativeMouseMode(SDL_TRUE);
    }
}

void SetCursorPos(int x, int y) {
    if (P().videoUp && !P().relativeLook) SDL_WarpMouseGlobal(x, y);
}

void ShowMessageBox(const std::string& title, const std::string& utf8Text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), utf8Text.c_str());
    std::string why;
    const bool shown = P().messageBox ? P().messageBox(title, utf8Text, why)
                                      : ShowSdlMessageBox(title, utf8Text, why);
    if (shown) return;
    std::fprintf(stderr,
                 "tamberlo: cannot show the message box (%s); the message is in the console\n",
                 why.c_str());
    std::string text = Utf8ToCp1251(utf8Text);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        ConsolePrint(std::string_view(text).substr(start, end - start), false);
        start = end + 1;
    }
    ConsoleRefresh();
    ConsoleShow();
    ConsoleBringToFront();
}

void SetMessageBoxFunction(MessageBoxFunction show) { P().messageBox = std::move(show); }

uint64_t PerfCounter() { return SDL_GetPerformanceCounter(); }
uint64_t PerfFrequency() { return SDL_GetPerformanceFrequency(); }
uint32_t ElapsedMilliseconds() { return static_cast<uint32_t>(glutGet(GLUT_ELAPSED_TIME)); }

void SetWindowEvents(WindowEvents* events) { P().events = events; }

GlWindow& MainGlWindow() {
    static SdlGlWindow window;
    return window;
}

DisplayDevice& Display() {
    static SdlDisplayDevice device;
    return device;
}

void ReportError(const std::exception& e) {
    ShowMessageBox("Tamberlo", e.what());
}

}  // namespace tam::platform
