// Command files: `exec_file FILE` runs a file's lines as command lines, and the user's
// autoexec.cfg runs once at the end of start-up when it exists. Window thread only.
#pragma once

#include <string>
#include <string_view>

#include "console/commands.h"

namespace tam {

// How many command files may be open inside one another; a file that runs itself stops here.
inline constexpr int kExecMaxDepth = 8;

// Runs the lines of the file at `path` (not resolved) through ExecuteCommand, skipping blank
// lines and lines whose first non-space text is "//" or "#". `shown` names the file in messages.
// False, with a console line, when the file is missing or unreadable or the nesting is too deep.
// An exception a line lets out (a ConversionError) ends that line only: it goes to
// Interp().reportError and the next line runs.
bool ExecFile(const std::string& path, const std::string& shown);

// Runs `line` through ExecuteCommand as a command file runs each of its lines: an exception the
// line lets out (a ConversionError) ends that line only and goes to Interp().reportError (unset,
// its text goes into the log). The program's command-line commands run so too.
void RunLineReportingErrors(std::string_view line);
// The same for one command (see RunOneCommand): a replayed recording's commands run so.
void RunCommandReportingErrors(std::string_view command);

// $XDG_CONFIG_HOME/tamberlo/autoexec.cfg (an absolute XDG_CONFIG_HOME only), else
// $HOME/.config/tamberlo/autoexec.cfg; empty when neither variable helps.
std::string AutoexecPath();

// Runs AutoexecPath() when that file exists, named in messages as the console shows paths;
// prints nothing otherwise.
void RunAutoexec();

namespace commands {
void ExecFileCommand(const Words& w);
}

}  // namespace tam
