// The game's three models as built by the asset tool: the animation ranges and frame names all
// models share, the posing of meshes over all frames, and the builders of each model with its
// skin. Everything is deterministic: the same tool makes the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/models/model_md2.h"
#include "asset/models/model_rig.h"

namespace tam::asset {

inline constexpr int kModelFrameCount = 199;
inline constexpr float kModelFloorZ = -24.f;  // the soles of a standing model

// One animation range; frame names are the range name and the 1-based position ("stand01").
// A cyclic range's last frame leads back into its first; an open one ends in its final pose.
struct ModelRange {
    const char* name;
    int first, last;
    bool cyclic;
};
extern const std::array<ModelRange, 21> kModelRanges;

// Where a frame sits: its range, its position i of n, and the motion parameter u (i / n for a
// cyclic range, i / (n - 1) for an open one).
struct FrameSlot {
    int range, i, n;
    float u;
};
FrameSlot SlotOf(int frame);
std::string FrameName(int frame);

// Key poses of every range, as `keys(range)` lists them, and the pose a frame's slot takes on
// the spline through its range's keys.
using RangeKeys = std::vector<std::vector<Pose>>;
RangeKeys KeysOfEveryRange(std::vector<Pose> (*keys)(int range));
Pose SplinePose(const RangeKeys& keys, const FrameSlot& slot);

// Positions per mesh per frame for meshes sharing one skeleton: every frame is put with its
// lowest vertex (over all the meshes) on the floor, then raised by the pose's lift.
using PoseFunction = Pose (*)(int frame);
std::vector<std::vector<std::vector<Vec3>>> AnimateMeshes(const std::vector<Bone>& bones,
                                                          const std::vector<const Mesh*>& meshes,
                                                          PoseFunction pose);

// Signed volume of each part (positive when its triangles face outward).
std::vector<float> PartVolumes(const Mesh& mesh, const std::vector<Vec3>& pos);

struct BuiltModel {
    std::string path;      // under the data folder, e.g. "Models/Ogros/Ogros.md2"
    std::string skinPath;  // under the data folder
    Md2Source md2;
    Mesh mesh;
    Picture skin;
    bool indexedSkin = false;  // PCX with `palette`, else TGA
    std::array<uint8_t, 768> palette{};
};

// Ogros and its weapon share a skeleton and are built together (the weapon follows the hand).
std::vector<BuiltModel> BuildOgrosAndWeapon();
BuiltModel BuildSpawn();
// Ogros's pose in a frame (shared by Ogros and its weapon).
Pose OgrosPose(int frame);

// The file bytes of a built model and of its skin.
std::vector<uint8_t> ModelFileBytes(const BuiltModel& m);
std::vector<uint8_t> SkinFileBytes(const BuiltModel& m);

}  // namespace tam::asset
