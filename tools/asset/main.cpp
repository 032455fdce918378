// tamasset: the project's asset tool. Makes the game's art, maps, models and sounds from our own
// sources and checks files people make ("tamasset help" lists the commands).
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tool.h"

namespace tam::asset {
namespace {

struct Entry {
    std::string usage;
    CommandMain main;
};

std::map<std::string, Entry>& Registry() {
    static std::map<std::string, Entry> registry;
    return registry;
}

void PrintUsage(FILE* to) {
    std::fprintf(to, "usage: tamasset COMMAND [ARGS...]\n       tamasset -h | --help | --version\n"
                     "commands:\n");
    for (const auto& [name, e] : Registry()) std::fprintf(to, "  %s\n", e.usage.c_str());
}

}  // namespace

AssetCommand::AssetCommand(const char* name, const char* usage, CommandMain main) {
    Registry()[name] = Entry{usage, main};
}

}  // namespace tam::asset

int main(int argc, char** argv) {
    using namespace tam::asset;
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string word = argv[1];
    if (word == "help" || word == "-h" || word == "--help") {
        PrintUsage(stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const auto it = Registry().find(word == "--version" ? "version" : word);
    if (it == Registry().end()) {
        std::fprintf(stderr, "tamasset: unknown command '%s'\n", argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    return it->second.main(std::vector<std::string>(argv + 2, argv + argc));
}
