// The program's command line: --help and --version, and console commands given as
// "+word args..." (each such argument starts a command line that runs to the next one).
#pragma once

#include <string>
#include <vector>

namespace tam {

struct CommandLine {
    std::vector<std::string> lines;    // console lines (CP1251), in order
    std::vector<std::string> ignored;  // arguments before the first command, in order
};

// Splits the arguments after the program's name. An argument of "+" and at least one more byte
// starts a line: its text after the "+", then each following argument up to the next such one,
// joined by single spaces ("++forward" gives "+forward"; a lone "+" is an argument, as in
// "+fog +"). UTF-8 arguments become CP1251, with "?" for what the code page lacks.
CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace tam
