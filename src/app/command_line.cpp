// Splitting the program's arguments into console lines and ignored arguments.
#include "app/command_line.h"

#include <string_view>

#include "base/cp1251.h"

namespace tam {

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (arg.size() > 1 && arg[0] == '+') {
            out.lines.push_back(Utf8ToCp1251(arg.substr(1), '?'));
        } else if (out.lines.empty()) {
            out.ignored.emplace_back(arg);
        } else {
            out.lines.back() += ' ' + Utf8ToCp1251(arg, '?');
        }
    }
    return out;
}

}  // namespace tam
