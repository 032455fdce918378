// "tamasset map": compiles the text form of a map into the game's binary map file and writes the
// text form of a binary map file, and draws a map's plan. Errors name the file, the line and the
// field.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "asset/maps/map_plan.h"
#include "asset/maps/maps.h"
#include "asset/tool.h"
#include "base/files.h"
#include "world/map_text.h"

namespace tam::asset {
namespace {

int Compile(const std::string& in, const std::string& out) {
    if (out == "-" && isatty(STDOUT_FILENO)) {
        std::fprintf(stderr,
                     "tamasset map: the binary map is not written to a terminal; give the output "
                     "file (tamasset map compile %s OUT.map) or redirect standard output\n",
                     in.c_str());
        return 2;
    }
    const auto text = ReadInputFile(in);
    if (!text) return 1;
    MapTextError error;
    const auto bytes = CompileMapText(
        std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), error);
    if (!bytes) {
        std::fprintf(stderr, "%s:%d: %s\n", in.c_str(), error.line, error.message.c_str());
        return 1;
    }
    return WriteFileBytes(out, *bytes) ? 0 : 1;
}

int Decompile(const std::string& in, const std::string& out) {
    const auto bytes = ReadInputFile(in);
    if (!bytes) return 1;
    MapTextError error;
    const auto text = DecompileMap(*bytes, error);
    if (!text) {
        std::fprintf(stderr, "%s: %s\n", in.c_str(), error.message.c_str());
        return 1;
    }
    const auto* textBytes = reinterpret_cast<const uint8_t*>(text->data());
    return WriteFileBytes(out, {textBytes, text->size()}) ? 0 : 1;
}

// The plan of a binary or text map as PNG.
int Plan(const std::string& in, const std::string& out) {
    auto bytes = ReadWholeFile(in);
    if (!bytes) {
        std::fprintf(stderr, "tamasset map: cannot read %s\n", in.c_str());
        return 1;
    }
    if (IsMapText(*bytes)) {
        MapTextError error;
        auto compiled = CompileMapText(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), error);
        if (!compiled) {
            std::fprintf(stderr, "%s:%d: %s\n", in.c_str(), error.line, error.message.c_str());
            return 1;
        }
        bytes = std::move(compiled);
    }
    MapState map;
    if (!ParseMap(*bytes, map)) {
        std::fprintf(stderr, "%s: the map file is truncated\n", in.c_str());
        return 1;
    }
    return WriteFileBytes(out, EncodePng(DrawMapPlan(map))) ? 0 : 1;
}

}  // namespace

int MapMain(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[0] == "plan") return Plan(args[1], args[2]);
    if (args.size() >= 2 && args.size() <= 3 && (args[0] == "compile" || args[0] == "decompile")) {
        const std::string out = args.size() == 3 ? args[2] : "-";
        return args[0] == "compile" ? Compile(args[1], out) : Decompile(args[1], out);
    }
    std::fprintf(stderr,
                 "usage: tamasset map compile IN.txt [OUT.map]\n"
                 "       tamasset map decompile IN.map [OUT.txt]\n"
                 "       tamasset map plan IN OUT.png   (IN binary or text)\n"
                 "(OUT defaults to standard output)\n");
    return 2;
}

}  // namespace tam::asset
