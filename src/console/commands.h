// The command language: every action a user, a key or start-up triggers is a command line run
// through ExecuteCommand. A line holds commands separated by ";", each a command word followed
// by argument words separated by spaces. Window thread only; re-entrant (a command may run
// further command lines).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tam {

// A word that had to be a number and is not. It ends the command line and reaches the
// application's top-level error handler, which shows what() in a message box.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a command line (CP1251). May throw ConversionError.
void ExecuteCommand(std::string_view line);

// The interpreter's own state: the no_clip flag (collision off when non-zero).
struct InterpreterState {
    uint8_t no_clip = 0;
};
InterpreterState& Interp();
void ResetInterpreter();

// Decimal text to a signed 32-bit integer / a float; throws ConversionError for anything else
// (including values past the 32-bit range). Leading and trailing spaces are not accepted.
int32_t StrToInt(std::string_view text);
double StrToFloat(std::string_view text);

}  // namespace tam
