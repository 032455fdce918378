// Helpers for writing poses as data: absolute angle settings on top of a base pose.
#pragma once

#include <initializer_list>

#include "asset/models/model_rig.h"

namespace tam::asset {

struct BoneSet {
    int bone;
    float bend, side = 0, twist = 0;
};

// `base` with the listed bones' angles replaced (swell kept).
inline Pose With(Pose base, std::initializer_list<BoneSet> sets) {
    for (const BoneSet& s : sets) {
        BoneAngles& a = base.bones[static_cast<size_t>(s.bone)];
        a.bend = s.bend;
        a.side = s.side;
        a.twist = s.twist;
    }
    return base;
}

inline Pose Lifted(Pose p, float lift) {
    p.lift = lift;
    return p;
}

inline Pose Shifted(Pose p, Vec3 offset) {
    p.offset = offset;
    return p;
}

}  // namespace tam::asset
