// Tab completion: candidates from the interpreter's registry, the typed word extended in place.
#include "console/completion.h"

#include <algorithm>

#include "console/commands.h"
#include "console/console.h"
#include "base/cp1251.h"

namespace tam {
namespace {

// Where the word being completed starts in `line`, and which word of its command it is
// (0 the command word, 1 the first argument, ...).
struct TypedWord {
    size_t start = 0;
    int index = 0;
    std::string command;  // the command word, lower case
};

TypedWord FindTypedWord(std::string_view line) {
    TypedWord t;
    const size_t semicolon = line.rfind(';');
    size_t pos = semicolon == std::string_view::npos ? 0 : semicolon + 1;
    while (true) {
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) pos = line.size();
        const size_t end = line.find(' ', pos);
        if (end == std::string_view::npos) {
            t.start = pos;
            return t;
        }
        if (t.index == 0) t.command = LowerCp1251(line.substr(pos, end - pos));
        ++t.index;
        pos = end;
    }
}

void AddMatches(const std::vector<std::string>& words, const std::string& prefix,
                std::vector<std::string>& out) {
    for (const std::string& w : words)
        if (LowerCp1251(w).starts_with(prefix)) out.push_back(w);
}

// The candidates packed into log lines of at most the console's width, two spaces apart.
void PrintCandidates(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty() && line.size() + 2 + w.size() > static_cast<size_t>(kConsoleColumns)) {
            ConsolePrint(line, false);
            line.clear();
        }
        line += (line.empty() ? "" : "  ") + w;
    }
    ConsolePrint(line, true);
}

}  // namespace

std::vector<std::string> CompletionCandidates(std::string_view line) {
    const TypedWord t = FindTypedWord(line);
    const std::string prefix = LowerCp1251(line.substr(t.start));
    std::vector<std::string> out;
    if (t.index == 0) {
        std::vector<std::string> words;
        for (const CommandEntry& e : Interp().chain) words.push_back(e.word);
        AddMatches(words, prefix, out);
    } else if (t.index == 1) {
        for (const ArgumentWords& a : Interp().argumentWords)
            if (a.word == t.command) AddMatches(a.list(), prefix, out);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void CompleteInputLine(bool again) {
    std::string& line = Con().inputLine;
    const std::vector<std::string> found = CompletionCandidates(line);
    if (found.empty()) return;
    const size_t start = FindTypedWord(line).start;
    if (found.size() == 1) {
        line.replace(start, std::string::npos, found[0] + " ");
        return;
    }
    size_t common = found[0].size();
    for (const std::string& w : found) {
        size_t n = 0;
        while (n < common && n < w.size() && w[n] == found[0][n]) ++n;
        common = n;
    }
    if (common > line.size() - start) {
        line.replace(start, std::string::npos, found[0].substr(0, common));
    } else if (again) {
        PrintCandidates(found);
    }
}

}  // namespace tam
