// Ogros's motions: one pose per frame, from key poses or from periodic functions of the motion
// parameter, so that cyclic ranges flow from their last frame back into their first.
#include <cmath>
#include <numbers>
#include <vector>

#include "asset/models/model_build.h"
#include "asset/models/model_ogros_local.h"
#include "asset/models/model_pose_util.h"

namespace tam::asset {
namespace ogros {
namespace {

constexpr float kTau = 2 * std::numbers::pi_v<float>;

Pose Crouch() {
    return With(Stance(), {{kThighL, 70, 8}, {kThighR, 70, -8}, {kShinL, -115}, {kShinR, -115},
                           {kFootL, 45}, {kFootR, 45}, {kSpine, -28}, {kHead, 25},
                           {kUpperArmL, 20, 15}, {kForearmL, 30}, {kUpperArmR, 30, -12},
                           {kForearmR, 60}, {kHandR, -40}});
}

Pose Stand(float u) {
    const float p = kTau * u, b = std::sin(2 * p);
    Pose s = With(Stance(), {{kSpine, -8 - 2.5f * b}, {kHead, 6 + 2 * b, 0, 14 * std::sin(p)},
                             {kJaw, -4.5f - 1.5f * b},
                             {kUpperArmL, 4 + 6 * std::sin(p), 12 + 2 * (1 + b)},
                             {kUpperArmR, 12 + 2 * std::sin(p), -10 - 2 * (1 + b)},
                             {kPelvis, 0, 1.2f * std::sin(p)}});
    s.bones[kSpine].swell = 1 + 0.02f * (1 + b);
    s.offset = {0, 0.6f * std::sin(p), 0};
    return s;
}

Pose Run(float u) {
    const float p = kTau * u, s = std::sin(p), c = std::cos(p);
    Pose r = With(Stance(), {{kSpine, -20, 0, 10 * s}, {kHead, 18}, {kPelvis, 0, 0, -6 * s},
                             {kThighL, 8 + 38 * s, 4}, {kShinL, -20 - 25 * (1 + c)},
                             {kThighR, 8 - 38 * s, -4}, {kShinR, -20 - 25 * (1 - c)},
                             {kFootL, 12}, {kFootR, 12},
                             {kUpperArmL, 4 - 35 * s, 14}, {kForearmL, 50},
                             {kUpperArmR, 25 + 15 * s, -12}, {kForearmR, 70}, {kHandR, -30}});
    r.lift = 1.5f * (0.5f - 0.5f * std::cos(2 * p));
    return r;
}

Pose Flip(float u) {
    const float t = std::sin(std::numbers::pi_v<float> * u);
    Pose f = With(Stance(), {{kPelvis, -360 * u}, {kThighL, 8 + 75 * t, 4}, {kThighR, 8 + 75 * t, -4},
                             {kShinL, -14 - 100 * t}, {kShinR, -14 - 100 * t}, {kSpine, -8 - 25 * t},
                             {kUpperArmL, 4 + 60 * t, 12}, {kUpperArmR, 12 + 50 * t, -10}});
    f.lift = 16 * t;
    return f;
}

Pose CrouchStand(float u) {
    const float p = kTau * u, b = std::sin(p);
    Pose c = Crouch();
    c.bones[kSpine].bend += -2 * b;
    c.bones[kSpine].swell = 1 + 0.02f * (1 + b);
    c.bones[kHead].twist = 10 * std::sin(p);
    c.bones[kJaw].bend = -4 - 2 * b;
    return c;
}

Pose CrouchWalk(float u) {
    const float p = kTau * u, s = std::sin(p), c = std::cos(p);
    Pose w = Crouch();
    w.bones[kThighL].bend += 22 * s;
    w.bones[kThighR].bend -= 22 * s;
    w.bones[kShinL].bend -= 12 * (1 + c);
    w.bones[kShinR].bend -= 12 * (1 - c);
    w.bones[kSpine].twist = 6 * s;
    w.bones[kUpperArmL].bend -= 20 * s;
    return w;
}

// Key poses of the motions made from keys; each starts from the stance or the crouch.
std::vector<Pose> Keys(int range) {
    const Pose S = Stance(), C = Crouch();
    switch (range) {
    case 2:  // attack: wind up, overhead, smash, follow through
        return {S,
                With(S, {{kSpine, 2, 0, -25}, {kUpperArmR, 150, -20}, {kForearmR, 60},
                         {kHandR, -10}, {kHead, 0}, {kUpperArmL, 30, 25}}),
                With(S, {{kSpine, 8, 0, -30}, {kUpperArmR, 185, -10}, {kForearmR, 80},
                         {kHandR, 20}, {kUpperArmL, 30, 25}}),
                With(S, {{kSpine, -35, 0, 15}, {kUpperArmR, 60, -5}, {kForearmR, 10},
                         {kHandR, -10}, {kThighL, 30, 4}, {kShinL, -40}, {kJaw, -25}}),
                With(S, {{kSpine, -25, 0, 5}, {kUpperArmR, 40, -8}, {kForearmR, 30}, {kHandR, -30}})};
    case 3:  // pain: thrown back
        return {S, Shifted(With(S, {{kSpine, 15}, {kHead, 25}, {kJaw, -25}, {kUpperArmL, 20, 35},
                                    {kUpperArmR, 20, -30}}),
                           {-2, 0, 0})};
    case 4:  // pain: twisted, clutching the side
        return {S, With(S, {{kSpine, -5, 12, 30}, {kHead, 6, -15, -25}, {kUpperArmL, 35, -5},
                            {kForearmL, 100}, {kJaw, -15}})};
    case 5:  // pain: doubled over
        return {S, With(S, {{kSpine, -35}, {kHead, -5}, {kThighL, 35, 4}, {kThighR, 35, -4},
                            {kShinL, -55}, {kShinR, -55}, {kFootL, 20}, {kFootR, 20},
                            {kUpperArmL, 30, 5}, {kForearmL, 90}, {kJaw, -20}})};
    case 6:  // jump: crouch, launch, tuck at the top, land, absorb
        return {S,
                With(S, {{kThighL, 55, 4}, {kThighR, 55, -4}, {kShinL, -90}, {kShinR, -90},
                         {kFootL, 35}, {kFootR, 35}, {kSpine, -30}, {kUpperArmL, -35, 12},
                         {kUpperArmR, -10, -10}, {kForearmR, 50}}),
                Lifted(With(S, {{kThighL, 0, 4}, {kThighR, 0, -4}, {kShinL, -5}, {kShinR, -5},
                                {kFootL, -20}, {kFootR, -20}, {kSpine, -5}, {kUpperArmL, 80, 12},
                                {kUpperArmR, 90, -10}}),
                       7),
                Lifted(With(S, {{kThighL, 50, 4}, {kThighR, 50, -4}, {kShinL, -75}, {kShinR, -75},
                                {kFootL, 20}, {kFootR, 20}, {kUpperArmL, 40, 12},
                                {kUpperArmR, 60, -10}}),
                       13),
                Lifted(With(S, {{kThighL, 20, 4}, {kThighR, 20, -4}, {kShinL, -30}, {kShinR, -30},
                                {kFootL, 10}, {kFootR, 10}}),
                       2),
                With(S, {{kThighL, 45, 4}, {kThighR, 45, -4}, {kShinL, -75}, {kShinR, -75},
                         {kFootL, 30}, {kFootR, 30}, {kSpine, -25}})};
    case 8: {  // salute: the club raised upright before the face, fist on the chest
        const Pose up = With(S, {{kUpperArmR, 70, -5}, {kForearmR, 95}, {kHandR, -85},
                                 {kSpine, 0}, {kHead, 0}, {kUpperArmL, 25, -10}, {kForearmL, 110}});
        return {S, up, With(up, {{kHead, 5}}), up};
    }
    case 9: {  // taunt: beats the chest, raises the club and roars
        const Pose beat = With(S, {{kHead, 25}, {kJaw, -35}, {kSpine, 5}, {kUpperArmL, 40, -10},
                                   {kForearmL, 110}});
        const Pose away = With(beat, {{kUpperArmL, 55, 25}, {kForearmL, 80}, {kHead, 20}});
        return {S, beat, away, beat,
                With(away, {{kUpperArmR, 120, -25}, {kForearmR, 40}}),
                With(away, {{kUpperArmR, 150, -25}, {kForearmR, 30}, {kHead, 30}, {kJaw, -40}})};
    }
    case 10: {  // wave: the left arm raised sideways, the forearm swinging
        const Pose up = With(S, {{kUpperArmL, 10, 150}, {kForearmL, 0}, {kHead, 10, 0, 15}});
        return {S,
                up,
                With(up, {{kForearmL, 0, 35}}),
                With(up, {{kForearmL, 0, -25}}),
                With(up, {{kForearmL, 0, 35}}),
                With(up, {{kForearmL, 0, -25}}),
                With(S, {{kUpperArmL, 10, 60}, {kForearmL, 30}})};
    }
    case 11: {  // point: the left arm straight ahead
        const Pose at = With(S, {{kUpperArmL, 85, 8}, {kForearmL, 5}, {kHandL, 0},
                                 {kSpine, -8, 0, -12}, {kHead, 10, 0, -8}});
        return {S, at, With(at, {{kUpperArmL, 90, 6}, {kHead, 12, 0, -4}}), at};
    }
    case 14:  // crouched attack: a sweep from right to left
        return {C,
                With(C, {{kUpperArmR, 60, -70}, {kForearmR, 30}, {kSpine, -28, 0, -30}}),
                With(C, {{kUpperArmR, 80, 10}, {kForearmR, 20}, {kSpine, -28, 0, 30},
                         {kJaw, -25}}),
                With(C, {{kUpperArmR, 60, 0}, {kForearmR, 40}, {kSpine, -28, 0, 15}})};
    case 15:  // crouched pain
        return {C, With(C, {{kSpine, -5}, {kHead, 40}, {kJaw, -25}, {kUpperArmL, 10, 40}})};
    case 16:  // crouched death: falls forward on the face
        return {C,
                With(C, {{kSpine, -45}, {kHead, 10}}),
                With(C, {{kPelvis, -50}, {kSpine, -30}, {kUpperArmL, 70, 30}}),
                With(S, {{kPelvis, -85}, {kThighL, 20, 6}, {kThighR, 20, -6}, {kShinL, -30},
                         {kShinR, -30}, {kSpine, -5}, {kUpperArmL, 150, 30},
                         {kUpperArmR, 150, -30}, {kForearmR, 20}}),
                With(S, {{kPelvis, -88}, {kThighL, 12, 6}, {kThighR, 12, -6}, {kShinL, -20},
                         {kShinR, -20}, {kSpine, -2}, {kHead, 10, 30}, {kUpperArmL, 165, 25},
                         {kUpperArmR, 165, -25}, {kForearmR, 10}})};
    case 17:  // death: falls on the back
        return {S,
                With(S, {{kPelvis, 10}, {kSpine, 20}, {kHead, 30}, {kJaw, -30},
                         {kUpperArmL, 10, 40}, {kUpperArmR, 10, -40}}),
                With(S, {{kPelvis, 35}, {kThighL, 30, 4}, {kThighR, 30, -4}, {kShinL, -50},
                         {kShinR, -50}, {kSpine, 15}, {kHead, 20}, {kUpperArmL, 20, 55},
                         {kUpperArmR, 20, -55}}),
                With(S, {{kPelvis, 70}, {kThighL, 20, 6}, {kThighR, 20, -6}, {kShinL, -30},
                         {kShinR, -30}, {kSpine, 8}, {kUpperArmL, 10, 65}, {kUpperArmR, 10, -65}}),
                With(S, {{kPelvis, 90}, {kThighL, 10, 8}, {kThighR, 10, -8}, {kShinL, -10},
                         {kShinR, -10}, {kSpine, 0}, {kHead, 0}, {kUpperArmL, 0, 75},
                         {kUpperArmR, 0, -75}, {kForearmR, 20}}),
                With(S, {{kPelvis, 90}, {kThighL, 8, 9}, {kThighR, 8, -9}, {kShinL, -8},
                         {kShinR, -8}, {kSpine, 0}, {kHead, 0, 0, 25}, {kJaw, -20},
                         {kUpperArmL, 0, 80}, {kUpperArmR, 0, -80}, {kForearmR, 15}})};
    case 18:  // death: sinks to the knees, then forward on the face
        return {S,
                With(S, {{kSpine, -30}, {kJaw, -20}, {kUpperArmL, 40, 5}, {kForearmL, 90}}),
                With(S, {{kThighL, 90, 6}, {kThighR, 90, -6}, {kShinL, -125}, {kShinR, -125},
                         {kFootL, 40}, {kFootR, 40}, {kPelvis, -10}, {kSpine, -20},
                         {kUpperArmL, 40, 5}, {kForearmL, 90}}),
                With(S, {{kThighL, 70, 6}, {kThighR, 70, -6}, {kShinL, -100}, {kShinR, -100},
                         {kPelvis, -45}, {kSpine, -35}, {kUpperArmL, 100, 10},
                         {kUpperArmR, 100, -10}}),
                With(S, {{kThighL, 10, 6}, {kThighR, 10, -6}, {kShinL, -20}, {kShinR, -20},
                         {kPelvis, -85}, {kSpine, -5}, {kUpperArmL, 150, 15},
                         {kUpperArmR, 150, -15}, {kForearmR, 20}}),
                With(S, {{kThighL, 5, 6}, {kThighR, 5, -6}, {kShinL, -10}, {kShinR, -10},
                         {kPelvis, -88}, {kSpine, 0}, {kHead, 0, 35}, {kUpperArmL, 160, 20},
                         {kUpperArmR, 160, -20}, {kForearmR, 10}})};
    case 19:  // death: spins round and drops on the side
        return {S,
                With(S, {{kPelvis, 0, 0, 40}, {kSpine, -8, 0, 20}, {kHead, 6, 20}, {kJaw, -30}}),
                With(S, {{kPelvis, 0, 20, 90}, {kThighL, 30, 4}, {kShinL, -50}, {kSpine, -8, 10, 20},
                         {kUpperArmL, 20, 50}}),
                With(S, {{kPelvis, 0, 50, 120}, {kThighL, 35, 4}, {kShinL, -60}, {kThighR, 20, -4},
                         {kShinR, -40}, {kUpperArmL, 20, 70}}),
                With(S, {{kPelvis, 0, 85, 140}, {kThighL, 30, 4}, {kShinL, -50}, {kThighR, 25, -4},
                         {kShinR, -45}, {kUpperArmL, 40, 40}, {kUpperArmR, 30, -20}}),
                With(S, {{kPelvis, 0, 90, 145}, {kThighL, 30, 4}, {kShinL, -55}, {kThighR, 28, -4},
                         {kShinR, -50}, {kUpperArmL, 45, 15}, {kUpperArmR, 30, -20},
                         {kHead, 6, 10}}),
                With(S, {{kPelvis, 0, 90, 145}, {kThighL, 30, 4}, {kShinL, -55}, {kThighR, 28, -4},
                         {kShinR, -50}, {kUpperArmL, 40, 8}, {kUpperArmR, 30, -20},
                         {kHead, 6, 20}, {kJaw, -15}})};
    case 20:  // the one-frame pose: club raised in triumph
        return {With(S, {{kUpperArmR, 170, -30}, {kForearmR, 20}, {kHandR, -20},
                         {kUpperArmL, 40, 60}, {kForearmL, 60}, {kHead, 25}, {kJaw, -35},
                         {kSpine, 5}})};
    default:
        return {S};
    }
}

}  // namespace

Pose Stance() {
    Pose s;
    s.bones.assign(kBoneCount, BoneAngles{});
    return With(s, {{kSpine, -8}, {kHead, 6}, {kJaw, -3}, {kUpperArmL, 4, 12}, {kForearmL, 18},
                    {kUpperArmR, 12, -10}, {kForearmR, 60}, {kHandR, -30}, {kThighL, 8, 4},
                    {kShinL, -14}, {kFootL, 6}, {kThighR, 8, -4}, {kShinR, -14}, {kFootR, 6}});
}

}  // namespace ogros

Pose OgrosPose(int frame) {
    using namespace ogros;
    const FrameSlot slot = SlotOf(frame);
    switch (slot.range) {
    case 0: return Stand(slot.u);
    case 1: return Run(slot.u);
    case 7: return Flip(slot.u);
    case 12: return CrouchStand(slot.u);
    case 13: return CrouchWalk(slot.u);
    default: break;
    }
    static const RangeKeys keys = KeysOfEveryRange(Keys);
    return SplinePose(keys, slot);
}

}  // namespace tam::asset
