// "tamasset map": compiles the text form of a map into the game's binary map file and writes the
// text form of a binary map file. Errors name the file, the line and the field.
#include <cstdio>
#include <string>
#include <vector>

#include "console/files.h"
#include "tool.h"
#include "world/map_text.h"

namespace tam::asset {
namespace {

bool WriteFile(const std::string& path, const void* data, size_t size) {
    if (path == "-") return std::fwrite(data, 1, size, stdout) == size;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

int Compile(const std::string& in, const std::string& out) {
    const auto text = ReadWholeFile(in);
    if (!text) {
        std::fprintf(stderr, "tamasset map: cannot read %s\n", in.c_str());
        return 1;
    }
    MapTextError error;
    const auto bytes = CompileMapText(
        std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), error);
    if (!bytes) {
        std::fprintf(stderr, "%s:%d: %s\n", in.c_str(), error.line, error.message.c_str());
        return 1;
    }
    if (!WriteFile(out, bytes->data(), bytes->size())) {
        std::fprintf(stderr, "tamasset map: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int Decompile(const std::string& in, const std::string& out) {
    const auto bytes = ReadWholeFile(in);
    if (!bytes) {
        std::fprintf(stderr, "tamasset map: cannot read %s\n", in.c_str());
        return 1;
    }
    MapTextError error;
    const auto text = DecompileMap(*bytes, error);
    if (!text) {
        std::fprintf(stderr, "%s: %s\n", in.c_str(), error.message.c_str());
        return 1;
    }
    if (!WriteFile(out, text->data(), text->size())) {
        std::fprintf(stderr, "tamasset map: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int MapMain(const std::vector<std::string>& args) {
    if (args.size() >= 2 && args.size() <= 3 && (args[0] == "compile" || args[0] == "decompile")) {
        const std::string out = args.size() == 3 ? args[2] : "-";
        return args[0] == "compile" ? Compile(args[1], out) : Decompile(args[1], out);
    }
    std::fprintf(stderr,
                 "usage: tamasset map compile IN.txt [OUT.map]\n"
                 "       tamasset map decompile IN.map [OUT.txt]\n"
                 "(OUT defaults to standard output)\n");
    return 2;
}

const AssetCommand kMap("map", "map compile IN.txt [OUT.map] | map decompile IN.map [OUT.txt]",
                        MapMain);

}  // namespace
}  // namespace tam::asset
