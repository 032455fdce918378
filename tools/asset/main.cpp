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

void PrintUsage() {
    std::fprintf(stderr, "usage: tamasset COMMAND [ARGS...]\ncommands:\n");
    for (const auto& [name, e] : Registry()) std::fprintf(stderr, "  %s\n", e.usage.c_str());
}

}  // namespace

AssetCommand::AssetCommand(const char* name, const char* usage, CommandMain main) {
    Registry()[name] = Entry{usage, main};
}

}  // namespace tam::asset

int main(int argc, char** argv) {
    using namespace tam::asset;
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        PrintUsage();
        return argc < 2 ? 2 : 0;
    }
    const auto it = Registry().find(argv[1]);
    if (it == Registry().end()) {
        std::fprintf(stderr, "tamasset: unknown command '%s'\n", argv[1]);
        PrintUsage();
        return 2;
    }
    return it->second.main(std::vector<std::string>(argv + 2, argv + argc));
}
