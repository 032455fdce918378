// Inside the Ogros builder: the bones of its skeleton, shared by its mesh, its weapon and poses.
#pragma once

#include "asset/models/model_rig.h"

namespace tam::asset::ogros {

enum BoneId {
    kPelvis, kSpine, kHead, kJaw,
    kUpperArmL, kForearmL, kHandL,
    kUpperArmR, kForearmR, kHandR,
    kThighL, kShinL, kFootL,
    kThighR, kShinR, kFootR,
    kBoneCount
};

// The standing pose every motion starts from.
Pose Stance();

}  // namespace tam::asset::ogros
