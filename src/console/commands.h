// The command language: every action a user, a key or start-up triggers is a command line run
// through ExecuteCommand. A line holds commands separated by ";", each a command word followed
// by argument words separated by spaces. The interpreter knows no command itself: it runs the
// handler of the first registered entry whose word matches. Window thread only; re-entrant (a
// command may run further command lines).
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tam {

namespace commands {

inline constexpr int kWordSlots = 8;
// The words of one command: slot 0 the command word as typed, slots 1..7 the arguments; absent
// words are empty. The views point into the interpreter's own copy of the command and stay valid
// while the handler runs, also across command lines it runs itself.
using Words = std::array<std::string_view, kWordSlots>;
using Handler = std::function<void(const Words&)>;

// Splits a command at spaces (0x20 only) into the first eight words.
Words SplitWords(std::string_view command);

// Helpers of the subsystems' handlers: the "wrong parameter" line, and whether a typed file name
// names a file beside the program.
void PrintBadParameter();
bool ExistsBesideProgram(std::string_view name);
// A word (CP1251) quoted for a conversion error's text (UTF-8): its first 40 bytes, then "..."
// when it is longer.
std::string QuoteForError(std::string_view word);

// The console's own commands: console, about, help.
void Console(const Words& w);
void About(const Words& w);
void Help(const Words& w);

}  // namespace commands

// A word that had to be a number and is not. It ends the command line and reaches the
// application's top-level error handler, which shows what() in a message box.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a command line (CP1251). May throw ConversionError.
void ExecuteCommand(std::string_view line);

// Runs one command (a segment of a line, holding no ";") as ExecuteCommand runs each segment of
// a line given to it from outside any command: a replayed recording runs its commands so. May
// throw ConversionError.
void RunOneCommand(std::string_view command);

// One entry of the command chain.
struct CommandEntry {
    std::string word;  // lower case
    commands::Handler run;
};

// The words a command's first argument may take, for the console's completion (key names for
// bind); asked afresh at every completion.
struct ArgumentWords {
    std::string word;  // the command word, lower case
    std::function<std::vector<std::string>()> list;
};

// The interpreter's state: the command chain in the order of testing. A word no entry names is
// answered as unrecognised. Reset by tests (an empty chain).
struct InterpreterState {
    std::vector<CommandEntry> chain;
    std::vector<ArgumentWords> argumentWords;
    int execDepth = 0;  // command files open inside one another; 0 outside `exec_file`
    // Command lines running inside one another; 1 while a line given from outside runs. A line
    // of a command file counts as given from outside, not as part of the `exec_file` that runs it.
    int lineDepth = 0;
    // Sees each command of a line given from outside (typed, bound to a key, of a command file,
    // run at start-up) just before it runs, and decides whether it runs; commands that commands
    // run themselves are not shown. Unset: every command runs.
    std::function<bool(std::string_view command, const commands::Words& words)> admit;
    // Where an exception from a command file's line goes, as the message loop's handler takes
    // one from a typed line; unset, its text (UTF-8) goes into the log.
    std::function<void(const std::exception&)> reportError;
};
InterpreterState& Interp();
void ResetInterpreter();

// Appends an entry to the chain; `word` is lower case. A word already in the chain is refused:
// false, a line on stderr, and an assertion in debug builds.
bool RegisterCommand(std::string_view word, commands::Handler run);

// Offers the words `list` returns for completing the first argument of `word`.
void RegisterArgumentWords(std::string_view word, std::function<std::vector<std::string>()> list);

// Decimal text to a signed 32-bit integer / a float; throws ConversionError for anything else
// (including values past the 32-bit range). Leading and trailing spaces are not accepted.
int32_t StrToInt(std::string_view text);
double StrToFloat(std::string_view text);

}  // namespace tam
