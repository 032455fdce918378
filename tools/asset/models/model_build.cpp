// Shared parts of the model builders: ranges, frame names, floor placement, file bytes.
#include "asset/models/model_build.h"

#include <algorithm>
#include <cstdio>

#include "asset/models/model_skin.h"

namespace tam::asset {

const std::array<ModelRange, 21> kModelRanges = {{
    {"stand", 0, 39, true},      {"run", 40, 45, true},       {"attack", 46, 53, true},
    {"paina", 54, 57, true},     {"painb", 58, 61, true},     {"painc", 62, 65, true},
    {"jump", 66, 71, true},      {"flip", 72, 83, true},      {"salute", 84, 94, true},
    {"taunt", 95, 111, true},    {"wave", 112, 122, true},    {"point", 123, 134, true},
    {"crstand", 135, 153, true}, {"crwalk", 154, 159, true},  {"crattack", 160, 168, true},
    {"crpain", 169, 172, true},  {"crdeath", 173, 177, false}, {"deatha", 178, 183, false},
    {"deathb", 184, 189, false}, {"deathc", 190, 197, false}, {"pose", 198, 198, false},
}};

FrameSlot SlotOf(int frame) {
    for (int r = 0; r < static_cast<int>(kModelRanges.size()); ++r) {
        const ModelRange& m = kModelRanges[r];
        if (frame < m.first || frame > m.last) continue;
        const int i = frame - m.first, n = m.last - m.first + 1;
        float u = 0;
        if (m.cyclic)
            u = static_cast<float>(i) / static_cast<float>(n);
        else if (n > 1)
            u = static_cast<float>(i) / static_cast<float>(n - 1);
        return {r, i, n, u};
    }
    return {0, 0, 1, 0};
}

RangeKeys KeysOfEveryRange(std::vector<Pose> (*keys)(int range)) {
    RangeKeys all;
    for (int r = 0; r < static_cast<int>(kModelRanges.size()); ++r) all.push_back(keys(r));
    return all;
}

Pose SplinePose(const RangeKeys& keys, const FrameSlot& slot) {
    return Spline(keys[static_cast<size_t>(slot.range)], slot.u, kModelRanges[slot.range].cyclic);
}

std::string FrameName(int frame) {
    const FrameSlot s = SlotOf(frame);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%02d", kModelRanges[s.range].name, s.i + 1);
    return buf;
}

std::vector<std::vector<std::vector<Vec3>>> AnimateMeshes(const std::vector<Bone>& bones,
                                                          const std::vector<const Mesh*>& meshes,
                                                          PoseFunction poseOf) {
    std::vector<std::vector<std::vector<Vec3>>> out(meshes.size());
    for (int f = 0; f < kModelFrameCount; ++f) {
        const Pose pose = poseOf(f);
        const std::vector<Xform> world = PoseSkeleton(bones, pose);
        std::vector<std::vector<Vec3>> posed;
        float lowest = 1e30f;
        for (const Mesh* m : meshes) {
            posed.push_back(PoseMesh(*m, world, pose));
            for (const Vec3& p : posed.back()) lowest = std::min(lowest, p.z);
        }
        const float dz = kModelFloorZ - lowest + pose.lift;
        // Turned half a revolution: the models face -X in their own space, which the game's
        // placement (half a turn, then the drawing's quarter turn) points toward -Y in the
        // world, the courtyard they stand in.
        for (size_t k = 0; k < meshes.size(); ++k) {
            for (Vec3& p : posed[k]) {
                p.x = -p.x;
                p.y = -p.y;
                p.z += dz;
            }
            out[k].push_back(std::move(posed[k]));
        }
    }
    return out;
}

std::vector<float> PartVolumes(const Mesh& mesh, const std::vector<Vec3>& pos) {
    std::vector<float> vol(static_cast<size_t>(mesh.parts), 0.f);
    for (const Md2Triangle& t : GroupTriangles(mesh.groups)) {
        const Vec3 a = pos[t[0].index], b = pos[t[1].index], c = pos[t[2].index];
        // Outward for clockwise fronts: (c - a) x (b - a); the volume is a . (c x b) / 6.
        vol[mesh.part[t[0].index]] += Dot(a, Cross(c, b)) / 6.f;
    }
    return vol;
}

std::vector<uint8_t> ModelFileBytes(const BuiltModel& m) { return EncodeMd2(m.md2); }

std::vector<uint8_t> SkinFileBytes(const BuiltModel& m) {
    if (m.indexedSkin)
        return EncodePcx(m.skin.width, m.skin.height, Quantize(m.skin, m.palette), m.palette);
    return EncodeTga(m.skin, 24, false);
}

}  // namespace tam::asset
