// "tamasset models DIR" writes the three models and their skins under DIR/Models;
// "tamasset modelpreview NAME OUT.pam [FRAME...] [--view VIEW]" draws frames of a model.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "asset/models/model_build.h"
#include "asset/models/model_preview.h"
#include "asset/models/models.h"
#include "asset/tool.h"

namespace tam::asset {
namespace {

constexpr int kEngineVertexLimit = 2048;

std::vector<BuiltModel> BuildAll() {
    std::vector<BuiltModel> all = BuildOgrosAndWeapon();
    if (all.empty()) return {};
    all.push_back(BuildSpawn());
    if (all.back().md2.frames.empty()) return {};
    return all;
}

// Checks what the engine and the format rely on; false with a message.
bool CheckModel(const BuiltModel& m) {
    const size_t vertices = m.mesh.local.size();
    if (vertices == 0 || vertices > kEngineVertexLimit) {
        std::fprintf(stderr, "tamasset: %s has %zu vertices (limit %d)\n", m.path.c_str(), vertices,
                     kEngineVertexLimit);
        return false;
    }
    if (m.md2.frames.size() != kModelFrameCount) {
        std::fprintf(stderr, "tamasset: %s has %zu frames\n", m.path.c_str(), m.md2.frames.size());
        return false;
    }
    const std::vector<float> volumes = PartVolumes(m.mesh, m.md2.frames[0].pos);
    for (size_t p = 0; p < volumes.size(); ++p) {
        if (volumes[p] <= 0) {
            std::fprintf(stderr, "tamasset: %s part %zu faces inward\n", m.path.c_str(), p);
            return false;
        }
    }
    return true;
}

bool ParseView(const std::string& name, PreviewCamera& cam) {
    if (name == "three") cam = {30, 20};
    else if (name == "front") cam = {0, 0};
    else if (name == "side") cam = {90, 0};
    else if (name == "back") cam = {180, 0};
    else if (name == "top") cam = {0, 89};
    else return false;
    return true;
}

}  // namespace

int ModelsMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset models DATA_DIR\n");
        return 2;
    }
    const std::vector<BuiltModel> all = BuildAll();
    if (all.empty()) return 1;
    for (const BuiltModel& m : all) {
        if (!CheckModel(m)) return 1;
        const std::vector<uint8_t> file = ModelFileBytes(m);
        if (!WriteDataFile(args[0] + "/" + m.path, file) ||
            !WriteDataFile(args[0] + "/" + m.skinPath, SkinFileBytes(m)))
            return 1;
        std::printf("%s: %zu vertices, %zu triangles, %zu groups, %zu bytes\n", m.path.c_str(),
                    m.mesh.local.size(), GroupTriangles(m.md2.groups).size(), m.md2.groups.size(),
                    file.size());
    }
    return 0;
}

int ModelPreviewMain(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tamasset modelpreview ogros|weapon|spawn OUT.pam [FRAME...] "
                             "[--view three|front|side|back|top]\n");
        return 2;
    }
    PreviewCamera cam;
    std::vector<int> frames;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--view" && i + 1 < args.size()) {
            if (!ParseView(args[++i], cam)) {
                std::fprintf(stderr, "tamasset: unknown view '%s'\n", args[i].c_str());
                return 2;
            }
            continue;
        }
        const int f = std::atoi(args[i].c_str());
        if (f < 0 || f >= kModelFrameCount) {
            std::fprintf(stderr, "tamasset: frame '%s' is not 0..%d\n", args[i].c_str(),
                         kModelFrameCount - 1);
            return 2;
        }
        frames.push_back(f);
    }
    if (frames.empty()) frames.push_back(0);
    std::vector<BuiltModel> built;
    if (args[0] == "ogros" || args[0] == "weapon") {
        built = BuildOgrosAndWeapon();
        if (args[0] == "weapon" && !built.empty()) built.erase(built.begin());
    } else if (args[0] == "spawn") {
        built.push_back(BuildSpawn());
    } else {
        std::fprintf(stderr, "tamasset: unknown model '%s'\n", args[0].c_str());
        return 2;
    }
    // Draw what the files hold: encode, then read back.
    std::vector<Md2View> views(built.size());
    std::vector<PreviewModel> models;
    for (size_t k = 0; k < built.size(); ++k) {
        std::string error;
        if (!DecodeMd2(ModelFileBytes(built[k]), views[k], error)) {
            std::fprintf(stderr, "tamasset: %s: %s\n", built[k].path.c_str(), error.c_str());
            return 1;
        }
        models.push_back({&views[k], &built[k].skin});
    }
    constexpr int kCell = 256, kColumns = 6;
    const int count = static_cast<int>(frames.size());
    const int columns = count < kColumns ? count : kColumns;
    Picture pic = MakePicture(columns * kCell, (count + kColumns - 1) / kColumns * kCell);
    std::fill(pic.rgba.begin(), pic.rgba.end(), uint8_t{255});
    for (int i = 0; i < count; ++i)
        DrawPreview(pic, i % kColumns * kCell, i / kColumns * kCell, kCell, models, frames[i], cam);
    return WriteFileBytes(args[1], EncodePam(pic)) ? 0 : 1;
}

}  // namespace tam::asset
