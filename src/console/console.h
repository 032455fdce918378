// The console: the program's output log (32 lines of at most 60 CP1251 bytes), the one-line
// command editor with its history, and the drawing of both through a ConsoleView. Everything
// here runs on the window thread; ConsolePrint may be called before any view exists.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tam {

inline constexpr int kConsoleLines = 32;
inline constexpr int kConsoleColumns = 60;
inline constexpr int kHistorySize = 32;

// What the console needs of its window (the platform provides it; tests may record).
class ConsoleView {
public:
    virtual ~ConsoleView() = default;
    virtual void Clear() = 0;                                 // fill the image black
    virtual void DrawLine(int row, std::string_view cp1251) = 0;  // row 0 at the top
    virtual void Present() = 0;                               // repaint the window
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void BringToFront() = 0;
    virtual bool Visible() const = 0;
    // Shows the console modally; returns when the user closes it.
    virtual void ShowModal() = 0;
};

// The console unit's state. One instance lives for the whole run; tests build fresh ones.
struct ConsoleState {
    std::array<std::string, kConsoleLines + 1> log;  // slots 1..32; slot 1 is the oldest
    int32_t lineCount = 0;                           // slots in use, 0..32
    std::string separatorLine = std::string(kConsoleColumns, '=');
    std::string inputLine;
    std::array<std::string, kHistorySize> history;  // index 0 the oldest
    int16_t historyCount = 0;
    int16_t historyPos = 0;
    bool historyRestart = true;
    bool tabPressed = false;       // the last key was Tab: a further Tab lists the candidates
    bool drawing = false;          // guard against re-entering Refresh from its own repaint
    ConsoleView* view = nullptr;   // the console window; null until it is constructed
};

ConsoleState& Con();
void ResetConsole();  // a fresh state (keeps no view)

// Appends `text` (CP1251) to the log, wrapped at 60 bytes; redraws the console when `refresh`
// is true and the window exists.
void ConsolePrint(std::string_view text, bool refresh);
const std::string& SeparatorLine();

// The console window's construction (prints the banner), redraw, and its event handlers.
void ConsoleConstruct(ConsoleView* view);
void ConsoleRefresh();
void ConsoleKeyDown(int key);      // Windows virtual-key code
void ConsoleKeyPress(uint8_t ch);  // one CP1251 byte
void ConsoleDeactivate();

// Showing and hiding the window; no-ops without a view.
void ConsoleShow();
void ConsoleHide();
void ConsoleBringToFront();
bool ConsoleVisible();

}  // namespace tam
