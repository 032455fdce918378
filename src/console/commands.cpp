// The command interpreter: splitting a line into commands at ";", a command into words at
// spaces, and running the command word through the fixed chain of entries. Also the decimal
// conversions whose failure ends a command line.
#include "console/commands.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

#include "console/commands_local.h"
#include "console/console.h"
#include "console/cp1251.h"

namespace tam {
namespace {

using commands::Words;

struct ChainEntry {
    std::string_view word;  // lower case
    void (*run)(const Words&);
};

// The command chain in the order of testing; the first entry whose word equals the lowercased
// command word runs. A word no entry names falls through to commands::Unrecognised.
constexpr ChainEntry kChain[] = {
    {"exit", commands::Exit},
    {"quit", commands::Exit},
    {"console", commands::Console},
    {"about", commands::About},
    {"help", commands::Help},
    {"fov", commands::Fov},
    {"cl_forwardspeed", commands::ForwardSpeed},
    {"cl_sidespeed", commands::SideSpeed},
    {"sensitivity", commands::Sensitivity},
    {"+moveleft", commands::PlusMoveLeft},
    {"+moveright", commands::PlusMoveRight},
    {"+forward", commands::PlusForward},
    {"+back", commands::PlusBack},
    {"+up", commands::PlusUp},
    {"+down", commands::PlusDown},
    {"+right", commands::PlusRight},
    {"+left", commands::PlusLeft},
    {"-moveleft", commands::MinusMoveLeft},
    {"-moveright", commands::MinusMoveRight},
    {"-forward", commands::MinusForward},
    {"-back", commands::MinusBack},
    {"-up", commands::MinusPitch},
    {"-down", commands::MinusPitch},
    {"-left", commands::MinusYaw},
    {"-right", commands::MinusYaw},
    {"create_map", commands::CreateMap},
    {"fog", commands::Fog},
    {"+attack", commands::PlusAttack},
    {"-attack", commands::MinusAttack},
    {"no_clip", commands::NoClip},
    {"jump", commands::Jump},
    {"bind", commands::Bind},
    {"load_map", commands::LoadMap},
    {"load_texture", commands::LoadTexture},
    {"play_midi", commands::PlayMidi},
    {"play_wav", commands::PlayWav},
    {"play_mp3", commands::PlayMp3},
    {"set_volume", commands::SetVolume},
    {"set_fullscreen", commands::SetFullScreen},
    {"set_windowed", commands::SetWindowed},
};

// Runs one segment of a command line. `command` is owned here, so the words stay valid while
// handlers rebind keys or run further lines.
void RunCommand(std::string command) {
    if (command == ";") return;
    const Words words = commands::SplitWords(command);
    const std::string word = LowerCp1251(words[0]);
    for (const ChainEntry& entry : kChain) {
        if (entry.word == word) {
            entry.run(words);
            return;
        }
    }
    commands::Unrecognised(words);
}

// The quoted word for a conversion error's text (UTF-8), cut short when it is long.
std::string QuoteForError(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string shown = Cp1251ToUtf8(text.substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return "\"" + shown + "\"";
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

}  // namespace commands

InterpreterState& Interp() {
    static InterpreterState state;
    return state;
}

void ResetInterpreter() {
    Interp() = InterpreterState{};
}

// Segments are cut as the command language defines them: a ";" ends a segment unless it is the
// line's first byte (then the segment is ";" alone, which runs nothing); a last segment of one
// byte with no ";" after it is dropped, and a line of one byte runs nothing.
void ExecuteCommand(std::string_view lineView) {
    // Our own copy: a command may rebind the key whose binding `lineView` shows.
    const std::string line(lineView);
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
