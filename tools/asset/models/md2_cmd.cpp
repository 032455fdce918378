// "tamasset md2 FILE": prints an MD2 model's header, its frames with their names and bounds, the
// command list's strips and fans, and which ranges of the animation table the model has frames
// for, then checks it with the game's own loader. Exit status 1 when the game would refuse it.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "asset/models/models.h"
#include "asset/tool.h"
#include "base/files.h"
#include "models/md2.h"
#include "models/md2_format.h"

namespace tam::asset {
namespace {

struct Box {
    float lo[3] = {1e30f, 1e30f, 1e30f};
    float hi[3] = {-1e30f, -1e30f, -1e30f};
    void Add(const float* p) {
        for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], p[i]), hi[i] = std::max(hi[i], p[i]);
    }
    void Print() const {
        std::printf("x %.2f..%.2f  y %.2f..%.2f  z %.2f..%.2f", lo[0], hi[0], lo[1], hi[1], lo[2],
                    hi[2]);
    }
};

void PrintHeader(const md2::Header& h) {
    std::printf("header: magic %.4s, version %d\n", h.magic, h.version);
    std::printf("  skins %d (%dx%d) at %d\n", h.skinCount, h.skinWidth, h.skinHeight,
                h.skinsOffset);
    std::printf("  frames %d of %d bytes at %d, %d vertices each\n", h.frameCount, h.frameSize,
                h.framesOffset, h.vertexCount);
    std::printf("  texture coordinates %d at %d, triangles %d at %d\n", h.texCoordCount,
                h.texCoordsOffset, h.triangleCount, h.trianglesOffset);
    std::printf("  command list %d words at %d, end %d\n", h.commandCount, h.commandsOffset,
                h.endOffset);
}

// The frame's 16-byte name up to its first NUL, with unprintable bytes shown as '?'.
std::string FrameName(std::span<const uint8_t> file, const md2::Header& h, int32_t frame) {
    ByteCursor cur(file);
    char raw[16] = {};
    if (!cur.Seek(uint64_t(h.framesOffset) + uint64_t(frame) * uint64_t(h.frameSize) + 24) ||
        !cur.Bytes(raw, sizeof raw))
        return "?";
    std::string name;
    for (char c : raw) {
        if (c == 0) break;
        name += (c >= 32 && c < 127) ? c : '?';
    }
    return name;
}

void PrintCommands(const CMD2Model& m) {
    int strips = 0, fans = 0, drawn = 0;
    for (size_t at = 0; at < m.commands.size() && m.commands[at] != 0;) {
        const int32_t n = m.commands[at];
        (n > 0 ? strips : fans) += 1;
        drawn += n > 0 ? n : -n;
        at += 1 + 3 * size_t(n > 0 ? n : -n);
    }
    std::printf("command list: %d strips, %d fans, %d vertex entries\n", strips, fans, drawn);
}

void PrintAnimations(const CMD2Model& m) {
    std::printf("animations (frames and rate; the model has frames 0-%d):\n", m.frameCount - 1);
    std::string missing;
    for (int a = 0; a < kAnimationCount; ++a) {
        const AnimationRange& r = AnimationTable[a];
        if (r.firstFrame >= m.frameCount) {
            missing += ' ';
            missing += std::to_string(a);
            continue;
        }
        std::printf("  %2d  frames %3d-%3d at %2d/s  %s\n", a, r.firstFrame, r.lastFrame,
                    r.framesPerSecond, r.lastFrame < m.frameCount ? "present" : "partly present");
    }
    if (!missing.empty()) std::printf("  missing:%s\n", missing.c_str());
}

}  // namespace

int Md2Main(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset md2 FILE\n");
        return 2;
    }
    const auto file = ReadInputFile(args[0]);
    if (!file) return 1;
    const std::span<const uint8_t> bytes(*file);
    // Only a file that starts as an MD2 file has a header worth showing; others get the reason.
    md2::Header h;
    const bool md2Magic = md2::ReadHeader(bytes, h) && std::memcmp(h.magic, "IDP2", 4) == 0;
    if (md2Magic) {
        std::printf("%s: %zu bytes\n", args[0].c_str(), bytes.size());
        PrintHeader(h);
    }

    const std::string problem = md2::Problem(bytes);
    CMD2Model model;
    if (!problem.empty() || !model.LoadMd2(bytes)) {
        if (md2Magic) std::printf("check: refused: %s\n", problem.c_str());
        std::fprintf(stderr, "tamasset md2: %s is refused: %s\n", args[0].c_str(),
                     problem.c_str());
        return 1;
    }

    std::printf("frames:\n");
    Box all;
    for (int32_t f = 0; f < model.frameCount; ++f) {
        Box box;
        for (int32_t v = 0; v < model.vertexCount; ++v) {
            const float* p = &model.vertices[(size_t(f) * size_t(model.vertexCount) + size_t(v)) * 3];
            box.Add(p);
            all.Add(p);
        }
        std::printf("  %3d  %-16s ", f, FrameName(bytes, h, f).c_str());
        box.Print();
        std::printf("\n");
    }
    PrintCommands(model);
    PrintAnimations(model);
    std::printf("bounds: ");
    all.Print();
    std::printf("\ncheck: ok\n");
    return 0;
}

}  // namespace tam::asset
