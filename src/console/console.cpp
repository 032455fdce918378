// The console log, its line editor and history, and their drawing.
#include "console/console.h"

#include <utility>

#include "console/commands.h"
#include "console/completion.h"
#include "base/key_codes.h"

namespace tam {
namespace {

ConsoleState& State() {
    static ConsoleState state;
    return state;
}

void AddLogLine(std::string_view line) {
    ConsoleState& c = State();
    if (c.lineCount >= kConsoleLines) {
        for (int i = 1; i < kConsoleLines; ++i) c.log[i] = std::move(c.log[i + 1]);
        c.lineCount = kConsoleLines;
    } else {
        ++c.lineCount;
    }
    c.log[c.lineCount].assign(line);
}

void AddHistory(const std::string& line) {
    ConsoleState& c = State();
    if (c.historyCount < kHistorySize) {
        c.history[c.historyCount++] = line;
    } else {
        for (int i = 0; i < kHistorySize - 1; ++i) c.history[i] = std::move(c.history[i + 1]);
        c.history[kHistorySize - 1] = line;
    }
}

std::string StepHistory(int direction, bool restart) {
    ConsoleState& c = State();
    if (restart) c.historyPos = c.historyCount;
    if (direction > 0) {
        ++c.historyPos;
        if (c.historyPos > c.historyCount) {
            c.historyPos = c.historyCount;
            return {};
        }
        return c.historyPos == c.historyCount ? std::string() : c.history[c.historyPos];
    }
    --c.historyPos;
    if (c.historyPos < 0) c.historyPos = 0;
    return c.historyPos < c.historyCount ? c.history[c.historyPos] : std::string();
}

}  // namespace

ConsoleState& Con() { return State(); }

void ResetConsole() { State() = ConsoleState{}; }

const std::string& SeparatorLine() { return State().separatorLine; }

void ConsolePrint(std::string_view text, bool refresh) {
    while (text.size() > static_cast<size_t>(kConsoleColumns)) {
        AddLogLine(text.substr(0, kConsoleColumns));
        text.remove_prefix(kConsoleColumns);
    }
    AddLogLine(text);
    if (refresh && State().view) ConsoleRefresh();
}

void ConsoleConstruct(ConsoleView* view) {
    ConsoleState& c = State();
    c.separatorLine = std::string(kConsoleColumns, '=');
    c.inputLine.clear();
    ConsolePrint(c.separatorLine, false);
    ConsolePrint("Orvalis 3D", false);
    ConsolePrint(c.separatorLine, false);
    c.historyCount = 0;
    c.historyPos = 0;
    c.historyRestart = true;
    c.view = view;  // the window counts as existing only once construction is done
}

void ConsoleRefresh() {
    ConsoleState& c = State();
    if (c.drawing) return;
    c.drawing = true;
    if (c.view) c.view->Clear();
    ConsolePrint("NEW>" + c.inputLine + "_", false);
    if (c.view)
        for (int i = 1; i <= c.lineCount; ++i) c.view->DrawLine(i - 1, c.log[i]);
    while (c.lineCount > 0 && c.log[c.lineCount].compare(0, 4, "NEW>") != 0) --c.lineCount;
    if (c.lineCount > 0) --c.lineCount;
    if (c.view) c.view->Present();
    c.drawing = false;
}

void ConsoleKeyPress(uint8_t ch) {
    ConsoleState& c = State();
    // What the console key types: ` and ~ in a Latin layout, ё and Ё (CP1251) in a Cyrillic one.
    if (ch == '`' || ch == '~' || ch == 0xB8 || ch == 0xA8) {
        ConsoleHide();
    } else if (ch >= 32) {
        c.inputLine.push_back(static_cast<char>(ch));
        c.tabPressed = false;
    }
    ConsoleRefresh();
}

void ConsoleKeyDown(int key) {
    ConsoleState& c = State();
    const bool tabBefore = std::exchange(c.tabPressed, key == vk::kTab);
    if (key == vk::kTab) {
        CompleteInputLine(tabBefore);
    } else if (key == vk::kReturn) {
        const std::string line = c.inputLine;
        ConsolePrint(line, false);
        AddHistory(line);
        c.historyRestart = true;
        // A conversion error leaves through here: the typed line stays in the editor, to be
        // corrected after the message box.
        ExecuteCommand(line);
        c.inputLine.clear();
    } else if (key == vk::kBack && !c.inputLine.empty()) {
        c.inputLine.pop_back();
    } else if (key == vk::kEscape) {
        ConsoleHide();
    } else if (key == vk::kUp) {
        c.inputLine = StepHistory(-1, c.historyRestart);
        c.historyRestart = false;
    } else if (key == vk::kDown) {
        c.inputLine = StepHistory(+1, c.historyRestart);
        c.historyRestart = false;
    }
    ConsoleRefresh();
}

void ConsoleDeactivate() { ConsoleHide(); }

void ConsoleShow() {
    if (State().view) State().view->Show();
}

void ConsoleHide() {
    if (State().view) State().view->Hide();
}

void ConsoleBringToFront() {
    if (State().view) State().view->BringToFront();
}

bool ConsoleVisible() { return State().view && State().view->Visible(); }

}  // namespace tam
