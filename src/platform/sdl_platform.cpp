// The platform layer on SDL2: message loop with idle hook, main window with its OpenGL drawable,
// console window drawn with SDL2_ttf, pointer capture for mouse look, message box and clocks.
// All of it runs on the one window thread.
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <array>
#include <cstdio>
#include <exception>
#include <string>

#include "console/console.h"
#include "console/cp1251.h"
#include "input/keys.h"
#include "platform/keymap.h"

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
    Border border = Border::Single;
    bool fullscreen = false;
    SdlConsoleView* console = nullptr;
    bool relativeLook = false;  // pointer warping unavailable: use relative motion
    int pendingDx = 0, pendingDy = 0;
    bool modal = false;
};

PlatformState& P() {
    static PlatformState p;
    return p;
}

const char* const kConsoleFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/terminus/TerminusTTF-4.46.0.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansMono-Regular.ttf",
};

// The console window: a bitmap of 60 x 32 character cells, kept so that exposes can repaint it.
// Clear and DrawLine only note each row's text; Present renders the rows whose text changed
// (a row's text that moved to another row keeps its rendering) and sends only those rows to the
// window, so a refresh that adds one line costs about one line.
class SdlConsoleView final : public ConsoleView {
public:
    bool Create() {
        for (const char* path : kConsoleFonts) {
            font_ = TTF_OpenFont(path, 12);
            if (font_) break;
        }
        if (!font_) {
            std::fprintf(stderr, "tamberlo: no monospace font for the console: %s\n", TTF_GetError());
            return false;
        }
        int cw = 0, ch = 0;
        TTF_SizeUTF8(font_, "A", &cw, &ch);
        lineHeight_ = ch > 0 ? ch : 16;
        const int w = kConsoleColumns * (cw > 0 ? cw : 8);
        const int h = kConsoleLines * lineHeight_;
        window_ = SDL_CreateWindow("frmCon", 0, 0, w, h, SDL_WINDOW_HIDDEN);
        if (!window_) {
            std::fprintf(stderr, "tamberlo: cannot create the console window: %s\n", SDL_GetError());
            return false;
        }
        bitmap_ = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888);
        if (bitmap_) SDL_FillRect(bitmap_, nullptr, SDL_MapRGB(bitmap_->format, 0, 0, 0));
        return bitmap_ != nullptr;
    }
    ~SdlConsoleView() override {
        for (SDL_Surface* text : rendered_)
            if (text) SDL_FreeSurface(text);
        if (bitmap_) SDL_FreeSurface(bitmap_);
        if (window_) SDL_DestroyWindow(window_);
        if (font_) TTF_CloseFont(font_);
    }
    SDL_Window* window() const { return window_; }
    uint32_t id() const { return window_ ? SDL_GetWindowID(window_) : 0; }

    void Clear() override {
        for (std::string& row : wanted_) row.clear();
    }
    void DrawLine(int row, std::string_view cp1251) override {
        if (row >= 0 && row < kConsoleLines) wanted_[static_cast<size_t>(row)] = cp1251;
    }
    void Present() override {
        SDL_Rect dirty[kConsoleLines];
        const int count = UpdateBitmap(dirty);
        if (!window_ || !bitmap_ || !Visible()) return;
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) return;
        if (surface != windowSurface_) {  // a new surface holds nothing of ours yet
            windowSurface_ = surface;
            windowStale_ = true;
        }
        if (windowStale_) {
            SDL_BlitSurface(bitmap_, nullptr, surface, nullptr);
            SDL_UpdateWindowSurface(window_);
            windowStale_ = false;
            return;
        }
        if (count == 0) return;
        for (int i = 0; i < count; ++i) {
            SDL_Rect at = dirty[i];
            SDL_BlitSurface(bitmap_, &dirty[i], surface, &at);
        }
        SDL_UpdateWindowSurfaceRects(window_, dirty, count);
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
    // Brings the bitmap to the wanted rows and notes the rectangles of the rows that changed;
    // returns their count.
    int UpdateBitmap(SDL_Rect* dirty) {
        if (!bitmap_) return 0;
        std::array<SDL_Surface*, kConsoleLines> spare = rendered_;  // renderings free to move
        const std::array<std::string, kConsoleLines> spareText = shown_;
        for (size_t r = 0; r < kConsoleLines; ++r)
            if (wanted_[r] == shown_[r]) spare[r] = nullptr;
        int count = 0;
        for (size_t r = 0; r < kConsoleLines; ++r) {
            if (wanted_[r] == shown_[r]) continue;
            SDL_Surface* text = nullptr;
            for (size_t q = 0; q < kConsoleLines && !text && !wanted_[r].empty(); ++q)
                if (spare[q] && spareText[q] == wanted_[r]) std::swap(text, spare[q]);
            if (!text && !wanted_[r].empty()) text = Render(wanted_[r]);
            rendered_[r] = text;
            shown_[r] = wanted_[r];
            const SDL_Rect row{0, static_cast<int>(r) * lineHeight_, bitmap_->w, lineHeight_};
            SDL_FillRect(bitmap_, &row, SDL_MapRGB(bitmap_->format, 0, 0, 0));
            if (text) {
                SDL_Rect from{0, 0, text->w, lineHeight_}, to = row;
                SDL_BlitSurface(text, &from, bitmap_, &to);
            }
            dirty[count++] = row;
        }
        for (SDL_Surface* unused : spare)
            if (unused) SDL_FreeSurface(unused);
        return count;
    }
    SDL_Surface* Render(const std::string& cp1251) const {
        const std::string utf8 = Cp1251ToUtf8(cp1251);
        return TTF_RenderUTF8_Shaded(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255},
                                     SDL_Color{0, 0, 0, 255});
    }

    TTF_Font* font_ = nullptr;
    SDL_Window* window_ = nullptr;
    SDL_Surface* bitmap_ = nullptr;
    SDL_Surface* windowSurface_ = nullptr;
    bool windowStale_ = true;
    int lineHeight_ = 16;
    std::array<std::string, kConsoleLines> wanted_;   // rows as the console last drew them
    std::array<std::string, kConsoleLines> shown_;    // rows as the bitmap holds them
    std::array<SDL_Surface*, kConsoleLines> rendered_{};  // shown_ rendered, null for empty
};

void ReportError(const std::exception& e) {
    ShowMessageBox("Tamberlo", e.what());
}

bool IsMain(uint32_t windowId) { return P().main && windowId == SDL_GetWindowID(P().main); }
bool IsConsole(uint32_t windowId) { return P().console && windowId == P().console->id(); }

MouseButton ButtonOf(uint8_t b) {
    if (b == SDL_BUTTON_LEFT) return MouseButton::Left;
    if (b == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
    return MouseButton::Right;
}

void DispatchWindowEvent(const SDL_WindowEvent& w) {
    if (IsConsole(w.windowID)) {
        switch (w.event) {
            case SDL_WINDOWEVENT_EXPOSED: P().console->Repaint(); break;
            case SDL_WINDOWEVENT_FOCUS_LOST: ConsoleDeactivate(); break;
            case SDL_WINDOWEVENT_CLOSE: ConsoleHide(); break;
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

// One event; exceptions from handlers are the caller's.
void Dispatch(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: P().quit = true; break;
        case SDL_WINDOWEVENT: DispatchWindowEvent(e.window); break;
        case SDL_KEYDOWN: {
            const int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
            if (vk <= 0) break;
            if (IsConsole(e.key.windowID))
                ConsoleKeyDown(vk);
            else if (IsMain(e.key.windowID) && !P().modal)
                FormKeyDown(vk);
            break;
        }
        case SDL_KEYUP: {
            const int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
            if (vk > 0 && IsMain(e.key.windowID) && !P().modal) FormKeyUp(vk);
            break;
        }
        case SDL_TEXTINPUT:
            if (IsConsole(e.text.windowID))
                for (char c : Utf8ToCp1251(e.text.text)) ConsoleKeyPress(static_cast<uint8_t>(c));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (IsMain(e.button.windowID) && !P().modal) FormMouseDown(ButtonOf(e.button.button));
            break;
        case SDL_MOUSEBUTTONUP:
            if (IsMain(e.button.windowID) && !P().modal) FormMouseUp(ButtonOf(e.button.button));
            break;
        case SDL_MOUSEWHEEL:
            if (IsMain(e.wheel.windowID) && !P().modal && e.wheel.y != 0) {
                // The wheel message's first parameter: the signed delta (120 a notch) in the
                // high word.
                const int16_t delta = static_cast<int16_t>(e.wheel.y > 0 ? 120 : -120);
                MouseWheel(static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16);
            }
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
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
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
            return true;
        }
    }
    // No OpenGL drawable at all: a plain window, so start-up can report it and quit.
    P().main = SDL_CreateWindow("frmMain", kMainX, kMainY, kMainW, kMainH, SDL_WINDOW_HIDDEN);
    P().mainHasGl = false;
    return P().main != nullptr;
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
    P().border = border;
    if (!P().main) return;
    SDL_SetWindowBordered(P().main, border == Border::None ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowResizable(P().main, border == Border::Sizeable ? SDL_TRUE : SDL_FALSE);
}

Border MainBorder() { return P().border; }

int EnterFullScreen(int width, int height, int bits) {
    if (!P().main) return 3;
    const int display = SDL_GetWindowDisplayIndex(P().main);
    const int count = SDL_GetNumDisplayModes(display < 0 ? 0 : display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display < 0 ? 0 : display, i, &mode) != 0) continue;
        const int bpp = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
        const int bytes = static_cast<int>(SDL_BYTESPERPIXEL(mode.format));
        if (mode.w != width || mode.h != height || (bits != bpp && bits != bytes * 8)) continue;
        if (SDL_SetWindowDisplayMode(P().main, &mode) != 0) return 3;
        // Placed and sized by hand too: without a window manager nobody else does it.
        SDL_SetWindowPosition(P().main, 0, 0);
        SDL_SetWindowSize(P().main, mode.w, mode.h);
        if (SDL_SetWindowFullscreen(P().main, SDL_WINDOW_FULLSCREEN) != 0) return 3;
        P().fullscreen = true;
        return 0;
    }
    return 2;
}

int LeaveFullScreen() {
    if (!P().main) return 3;
    if (P().fullscreen && SDL_SetWindowFullscreen(P().main, 0) != 0) return 3;
    P().fullscreen = false;
    SDL_SetWindowSize(P().main, kMainW, kMainH);
    SDL_SetWindowPosition(P().main, kMainX, kMainY);
    return 0;
}

ConsoleView* CreateConsoleWindow() {
    if (P().console) return P().console;
    auto* view = new SdlConsoleView;
    if (!view->Create()) {
        delete view;
        return nullptr;
    }
    P().console = view;
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
    if (P().videoUp)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), utf8Text.c_str(), P().main);
}

uint64_t PerfCounter() { return SDL_GetPerformanceCounter(); }
uint64_t PerfFrequency() { return SDL_GetPerformanceFrequency(); }
uint32_t ElapsedMilliseconds() { return static_cast<uint32_t>(glutGet(GLUT_ELAPSED_TIME)); }

}  // namespace tam::platform
