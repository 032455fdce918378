// The command interpreter: splitting a line into commands at ";", a command into words at
// spaces, and running the command word through the registered chain of entries. Also the decimal
// conversions whose failure ends a command line.
#include "console/commands.h"

#include <cassert>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <string>
#include <system_error>

#include "console/commands_local.h"
#include "console/console.h"
#include "base/cp1251.h"
#include "base/files.h"

namespace tam {
namespace {

using commands::QuoteForError;
using commands::Words;

// Counts a command line's nesting, also when a command throws.
class LineDepthGuard {
public:
    LineDepthGuard() { ++Interp().lineDepth; }
    ~LineDepthGuard() { --Interp().lineDepth; }
    LineDepthGuard(const LineDepthGuard&) = delete;
    LineDepthGuard& operator=(const LineDepthGuard&) = delete;
};

// Runs one segment of a command line. `command` is owned here, so the words stay valid while
// handlers rebind keys or run further lines.
void RunCommand(std::string command) {
    if (command == ";") return;
    const Words words = commands::SplitWords(command);
    if (Interp().lineDepth == 1 && Interp().admit) {
        const auto admit = Interp().admit;  // a handler may replace the hook
        if (!admit(command, words)) return;
    }
    const std::string word = LowerCp1251(words[0]);
    // By index, and the handler copied: a handler may register further entries.
    const std::vector<CommandEntry>& chain = Interp().chain;
    for (size_t i = 0; i < chain.size(); ++i) {
        if (chain[i].word == word) {
            const commands::Handler run = chain[i].run;
            run(words);
            return;
        }
    }
    commands::Unrecognised(words);
}

}  // namespace

namespace commands {

Words SplitWords(std::string_view command) {
    Words words{};
    size_t pos = 0;
    for (int slot = 0; slot < kWordSlots; ++slot) {
        pos = command.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) break;
        const size_t end = command.find(' ', pos);
        words[slot] = command.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (end == std::string_view::npos) break;
        pos = end;
    }
    return words;
}

void PrintBadParameter() {
    using namespace tam::literals;
    ConsolePrint("Неверно задан параметр"_cp, true);
}

std::string QuoteForError(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string shown = Cp1251ToUtf8(text.substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return "\"" + shown + "\"";
}

bool ExistsBesideProgram(std::string_view name) {
    return FileExists(ResolvePath(name));
}

}  // namespace commands

InterpreterState& Interp() {
    static InterpreterState state;
    return state;
}

void ResetInterpreter() {
    Interp() = InterpreterState{};
}

bool RegisterCommand(std::string_view word, commands::Handler run) {
    for (const CommandEntry& entry : Interp().chain) {
        if (entry.word == word) {
            std::fprintf(stderr, "tamberlo: the command \"%.*s\" is registered twice\n",
                         static_cast<int>(word.size()), word.data());
            assert(!"a command word registered twice");
            return false;
        }
    }
    Interp().chain.push_back({std::string(word), std::move(run)});
    return true;
}

void RegisterArgumentWords(std::string_view word, std::function<std::vector<std::string>()> list) {
    Interp().argumentWords.push_back({std::string(word), std::move(list)});
}

// Segments are cut as the command language defines them: a ";" ends a segment unless it is the
// line's first byte (then the segment is ";" alone, which runs nothing); a last segment of one
// byte with no ";" after it is dropped, and a line of one byte runs nothing.
void ExecuteCommand(std::string_view lineView) {
    // Our own copy: a command may rebind the key whose binding `lineView` shows.
    const std::string line(lineView);
    const LineDepthGuard depth;
    if (Con().view) ConsoleRefresh();
    const size_t length = line.size();
    size_t pos = 1;  // 1-based, as the segment rules are stated
    size_t start = 1;
    while (pos < length) {
        while (line[pos - 1] != ';' && pos < length) ++pos;
        if (pos > 1 && line[pos - 1] == ';') {
            RunCommand(line.substr(start - 1, pos - start));
        } else {
            RunCommand(line.substr(start - 1, pos - start + 1));
        }
        pos = start = pos + 1;
    }
}

void RunOneCommand(std::string_view command) {
    const LineDepthGuard depth;
    RunCommand(std::string(command));
}

int32_t StrToInt(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) throw ConversionError(QuoteForError(text) + " is not a valid whole number");
    // Magnitudes are kept below 2^31 + 1, so the arithmetic never leaves 64 bits.
    const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw ConversionError(QuoteForError(text) + " is not a valid whole number");
        value = value * 10 + (c - '0');
        if (value > limit)
            throw ConversionError(QuoteForError(text) + " is out of the whole-number range");
    }
    return static_cast<int32_t>(negative ? -value : value);
}

// Accepts [+|-] digits [. digits] [e|E [+|-] digits], with at least one digit before the
// exponent; no spaces, no "inf" or "nan".
double StrToFloat(std::string_view text) {
    const auto fail = [&]() -> double {
        throw ConversionError(QuoteForError(text) + " is not a valid number");
    };
    std::string_view body = text;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    size_t i = 0;
    size_t mantissaDigits = 0;
    const auto isDigit = [&](size_t at) {
        return at < body.size() && body[at] >= '0' && body[at] <= '9';
    };
    while (isDigit(i)) ++i, ++mantissaDigits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (isDigit(i)) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return fail();
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
        if (!isDigit(i)) return fail();
        while (isDigit(i)) ++i;
    }
    if (i != body.size()) return fail();
    double value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size())
        throw ConversionError(QuoteForError(text) + " is out of the number range");
    return negative ? -value : value;
}

}  // namespace tam
