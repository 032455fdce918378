// Command files: a file's lines run one by one through the interpreter, nested up to a fixed
// depth so that a file that runs itself ends with a message.
#include "console/exec.h"

#include <cstdlib>
#include <string_view>

#include "console/console.h"
#include "base/cp1251.h"
#include "base/files.h"

namespace tam {
namespace {

// Leaves the nesting depth as it found it, also when a line throws.
class DepthGuard {
public:
    DepthGuard() { ++Interp().execDepth; }
    ~DepthGuard() { --Interp().execDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

bool Skipped(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return true;
    line.remove_prefix(first);
    return line.starts_with("//") || line.starts_with("#");
}

// A file's line runs as a line given from outside, not as part of the `exec_file` running it.
class TopLevelGuard {
public:
    TopLevelGuard() : saved_(Interp().lineDepth) { Interp().lineDepth = 0; }
    ~TopLevelGuard() { Interp().lineDepth = saved_; }
    TopLevelGuard(const TopLevelGuard&) = delete;
    TopLevelGuard& operator=(const TopLevelGuard&) = delete;

private:
    int saved_;
};

// A failure ends the line or command only; the caller goes on, as the user would go on typing.
template <typename Run>
void RunReportingErrors(std::string_view text, Run run) {
    try {
        run(text);
    } catch (const std::exception& e) {
        if (Interp().reportError) Interp().reportError(e);
        else ConsolePrint(Utf8ToCp1251(e.what(), '?'), true);
    }
}

}  // namespace

void RunLineReportingErrors(std::string_view line) {
    RunReportingErrors(line, ExecuteCommand);
}

void RunCommandReportingErrors(std::string_view command) {
    RunReportingErrors(command, RunOneCommand);
}

bool ExecFile(const std::string& path, const std::string& shown) {
    if (Interp().execDepth >= kExecMaxDepth) {
        ConsolePrint("exec_file " + shown + ": files nested deeper than " +
                         std::to_string(kExecMaxDepth) + ", not run",
                     true);
        return false;
    }
    if (!FileExists(path)) {
        ConsolePrint("exec_file " + shown + ": no such file", true);
        return false;
    }
    const auto bytes = ReadWholeFile(path, size_t{1} << 20);
    if (!bytes) {
        ConsolePrint("exec_file " + shown + ": cannot read the file", true);
        return false;
    }
    const DepthGuard guard;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!Skipped(line)) {
            const TopLevelGuard topLevel;
            RunLineReportingErrors(line);
        }
        pos = end + 1;
    }
    return true;
}

std::string AutoexecPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/tamberlo/autoexec.cfg";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.config/tamberlo/autoexec.cfg";
    return {};
}

void RunAutoexec() {
    const std::string path = AutoexecPath();
    if (!path.empty() && FileExists(path)) ExecFile(path, DisplayPath(path));
}

namespace commands {

void ExecFileCommand(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("exec_file [Command file name]", true);
    } else if (w[1].empty()) {
        PrintBadParameter();
    } else {
        ExecFile(ResolvePath(w[1]), std::string(w[1]));
    }
}

}  // namespace commands
}  // namespace tam
