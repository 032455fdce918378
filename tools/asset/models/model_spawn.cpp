// Spawn, a four-legged horned beast with a heavy jaw and a spined back: skeleton, parts, skin
// and motions. Its taunt (rearing up, pawing the air and roaring) is the motion the program
// plays, built from periodic functions so it loops without a seam.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "asset/models/model_build.h"
#include "asset/models/model_pose_util.h"
#include "asset/models/model_skin.h"

namespace tam::asset {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTau = 2 * kPi;
constexpr int kSkinSize = 256;

enum BoneId {
    kHips, kChest, kNeck, kHead, kJaw, kTail1, kTail2,
    kFrontUpperL, kFrontLowerL, kFrontUpperR, kFrontLowerR,
    kHindUpperL, kHindLowerL, kHindUpperR, kHindLowerR,
    kBoneCount
};

const std::vector<Bone> kBones = {
    {"hips", -1, {-12, 0, -8}},      {"chest", kHips, {12, 0, 1}},
    {"neck", kChest, {11, 0, 3}},    {"head", kNeck, {5, 0, 2}},
    {"jaw", kHead, {2, 0, -2}},      {"tail1", kHips, {-8, 0, 1}},
    {"tail2", kTail1, {-9, 0, 0}},
    {"frontupper.l", kChest, {7, 6, -3}},  {"frontlower.l", kFrontUpperL, {0, 0, -8}},
    {"frontupper.r", kChest, {7, -6, -3}}, {"frontlower.r", kFrontUpperR, {0, 0, -8}},
    {"hindupper.l", kHips, {0, 6, -2}},    {"hindlower.l", kHindUpperL, {0, 0, -8}},
    {"hindupper.r", kHips, {0, -6, -2}},   {"hindlower.r", kHindUpperR, {0, 0, -8}},
};

enum Paint { kHide, kBody, kFace, kEye, kMouth, kHorn, kPaw };

const Rgb kHideColour{0.44f, 0.19f, 0.32f};
const Rgb kBellyColour{0.72f, 0.56f, 0.50f};
const Rgb kSpotColour{0.18f, 0.07f, 0.16f};
const Rgb kHornColour{0.86f, 0.80f, 0.64f};
const Rgb kEyeColour{1.0f, 0.86f, 0.12f};
const Rgb kMouthColour{0.58f, 0.08f, 0.10f};

struct PartDef {
    Lathe lathe;
    int w, h;
    Paint paint;
};

std::vector<PartDef> Parts() {
    std::vector<PartDef> p = {
        {Ellipsoid(kHips, {-1, 0, 0}, {10, 9, 8}, 12, 6), 80, 48, kBody},
        {Ellipsoid(kChest, {2, 0, 1}, {12.5f, 10, 9.5f}, 12, 7), 96, 56, kBody},
        {Ellipsoid(kNeck, {2.5f, 0, 1}, {5.5f, 5, 5.5f}, 10, 5), 48, 32, kHide},
        {Ellipsoid(kHead, {4, 0, 1}, {7.5f, 6, 5}, 12, 6), 64, 48, kFace},
        {Ellipsoid(kHead, {8.3f, 3.6f, 3}, {1.3f, 1.3f, 1.3f}, 6, 3), 16, 16, kEye},
        {Ellipsoid(kHead, {8.3f, -3.6f, 3}, {1.3f, 1.3f, 1.3f}, 6, 3), 16, 16, kEye},
        {Tube(kHead, {1, 4, 4}, {-5, 7.5f, 8.5f}, 1.5f, 0, 6), 16, 24, kHorn},
        {Tube(kHead, {1, -4, 4}, {-5, -7.5f, 8.5f}, 1.5f, 0, 6), 16, 24, kHorn},
        {Ellipsoid(kJaw, {5, 0, -1}, {6.5f, 5, 2}, 10, 4), 48, 24, kMouth},
        {Tube(kJaw, {9.5f, 2.4f, -0.2f}, {9.8f, 2.4f, 2.4f}, 0.6f, 0, 5), 8, 16, kHorn},
        {Tube(kJaw, {9.5f, -2.4f, -0.2f}, {9.8f, -2.4f, 2.4f}, 0.6f, 0, 5), 8, 16, kHorn},
        {Ellipsoid(kTail1, {-4.5f, 0, 0}, {6, 3, 3}, 8, 5), 40, 24, kHide},
        {Tube(kTail2, {1, 0, 0}, {-11, 0, 0}, 2.4f, 0, 8), 40, 16, kHide},
    };
    // Spines along the back, leaning backward.
    const struct {
        int bone;
        float x, z;
    } spines[] = {{kChest, 8, 8.6f}, {kChest, 2, 9.8f}, {kChest, -4, 8.6f}, {kHips, 0, 7.2f},
                  {kHips, -6, 6.2f}};
    for (const auto& s : spines)
        p.push_back({Tube(s.bone, {s.x, 0, s.z}, Vec3{s.x, 0, s.z} + Vec3{-2.5f, 0, 4.5f}, 1.6f, 0, 5),
                     16, 16, kHorn});
    for (int leg = 0; leg < 4; ++leg) {
        const int upper = kFrontUpperL + 2 * leg, lower = upper + 1;
        p.push_back({Ellipsoid(upper, {0, 0, -4}, {3.8f, 3.2f, 5.5f}, 8, 4), 32, 32, kHide});
        p.push_back({Ellipsoid(lower, {0, 0, -3}, {2.4f, 2.4f, 4.2f}, 8, 4), 32, 32, kHide});
        p.push_back({Ellipsoid(lower, {1.5f, 0, -5.6f}, {3.2f, 2.6f, 1.3f}, 8, 3), 32, 16, kPaw});
    }
    return p;
}

Rgb PaintAt(Paint paint, uint32_t seed, float u, float v) {
    const float n = Fractal(seed, u * 8, v * 6, 8, 3);
    const float spots = Noise(seed + 3, u * 12, v * 8, 12);
    const float rim = 0.78f + 0.22f * std::sin(kPi * v);
    const float du = u - 0.5f;
    Rgb c = kHideColour * ((0.75f + 0.4f * n) * rim);
    if (spots > 0.68f) c = Mix(c, kSpotColour, SmoothStep(0.68f, 0.76f, spots));
    switch (paint) {
    case kHide:
        return c;
    case kBody:  // a pale belly underneath, darker stripes over the back
        if (v > 0.62f) c = Mix(c, kBellyColour * (0.8f + 0.3f * n), SmoothStep(0.62f, 0.8f, v));
        if (v < 0.35f && std::fmod(u * 10 + n, 1.f) < 0.18f) c = c * 0.6f;
        return c;
    case kFace:
        if (std::fabs(du) < 0.1f && v > 0.6f) c = c * 0.7f;  // nostrils
        return c;
    case kEye: {
        const float d = std::hypot(du * 3, v - 0.5f);
        if (d > 0.45f) return c;
        return std::fabs(du) < 0.03f ? Rgb{0.05f, 0.02f, 0.02f} : kEyeColour * (1.1f - d);
    }
    case kMouth:
        if (std::fabs(du) < 0.22f && v < 0.5f) {
            c = kMouthColour * (0.75f + 0.3f * n);
            if (v < 0.22f && std::fmod(u * 36, 1.f) < 0.5f) c = kHornColour * 0.9f;
        }
        return c;
    case kHorn:
        return kHornColour * (0.55f + 0.45f * v) * (0.9f + 0.2f * n);
    case kPaw:
        if (std::fabs(du) < 0.2f && v > 0.35f && v < 0.6f && std::fmod((du + 0.2f) * 10, 1.f) < 0.5f)
            return kHornColour * 0.5f;  // claws
        return c * 0.8f;
    }
    return {1, 0, 1};
}

Pose Stance() {
    Pose s;
    s.bones.assign(kBoneCount, BoneAngles{});
    return With(s, {{kChest, -2}, {kNeck, 10}, {kHead, -10}, {kJaw, -4}, {kTail1, -15},
                    {kTail2, 15}, {kFrontUpperL, 0, 4}, {kFrontUpperR, 0, -4},
                    {kHindUpperL, 0, 4}, {kHindUpperR, 0, -4}});
}

Pose Crouch() {
    return With(Stance(), {{kFrontUpperL, 60, 10}, {kFrontLowerL, -115}, {kFrontUpperR, 60, -10},
                           {kFrontLowerR, -115}, {kHindUpperL, 65, 10}, {kHindLowerL, -125},
                           {kHindUpperR, 65, -10}, {kHindLowerR, -125}, {kNeck, -5}, {kHead, 5},
                           {kTail1, 5}});
}

void SetLegs(Pose& p, float front, float frontLower, float hind, float hindLower) {
    p.bones[kFrontUpperL].bend = p.bones[kFrontUpperR].bend = front;
    p.bones[kFrontLowerL].bend = p.bones[kFrontLowerR].bend = frontLower;
    p.bones[kHindUpperL].bend = p.bones[kHindUpperR].bend = hind;
    p.bones[kHindLowerL].bend = p.bones[kHindLowerR].bend = hindLower;
}

Pose Stand(float u) {
    const float p = kTau * u, b = std::sin(2 * p);
    Pose s = Stance();
    s.bones[kChest].swell = 1 + 0.025f * (1 + b);
    s.bones[kNeck].bend = 10 + 2 * b;
    s.bones[kHead].twist = 10 * std::sin(p);
    s.bones[kJaw].bend = -4 - 2 * (1 + b);
    s.bones[kTail1].twist = 15 * std::sin(p);
    s.bones[kTail2].twist = 20 * std::sin(p - 0.8f);
    return s;
}

Pose Taunt(float u) {
    const float e = 0.5f - 0.5f * std::cos(kTau * u);
    const float w = std::sin(kTau * 2 * u), w3 = std::sin(kTau * 3 * u);
    Pose t = Stance();
    t.bones[kHips].bend = 38 * e;
    t.bones[kHindUpperL].bend = t.bones[kHindUpperR].bend = -38 * e + 18 * e;
    t.bones[kHindLowerL].bend = t.bones[kHindLowerR].bend = -22 * e;
    t.bones[kFrontUpperL].bend = e * (45 + 30 * w);
    t.bones[kFrontUpperR].bend = e * (45 - 30 * w);
    t.bones[kFrontLowerL].bend = -e * (55 + 25 * w);
    t.bones[kFrontLowerR].bend = -e * (55 - 25 * w);
    t.bones[kChest].bend = -2 + 6 * e;
    t.bones[kNeck].bend = 10 - 30 * e;
    t.bones[kHead].bend = -10 - 5 * e;
    t.bones[kHead].twist = 15 * e * w3;
    t.bones[kJaw].bend = -4 - 40 * e;
    t.bones[kTail1].bend = -15 - 15 * e;
    t.bones[kTail1].twist = 30 * w;
    t.bones[kTail2].twist = 30 * std::sin(kTau * 2 * u - 1);
    return t;
}

Pose Run(float u) {
    const float p = kTau * u, c = std::cos(p);
    Pose r = Stance();
    r.bones[kFrontUpperL].bend = 35 * std::sin(p);
    r.bones[kFrontUpperR].bend = 35 * std::sin(p - 0.5f);
    r.bones[kFrontLowerL].bend = -25 * (1 + c);
    r.bones[kFrontLowerR].bend = -25 * (1 + std::cos(p - 0.5f));
    r.bones[kHindUpperL].bend = 35 * std::sin(p + kPi);
    r.bones[kHindUpperR].bend = 35 * std::sin(p + kPi - 0.5f);
    r.bones[kHindLowerL].bend = -20 * (1 - c);
    r.bones[kHindLowerR].bend = -20 * (1 - std::cos(p - 0.5f));
    r.bones[kChest].bend = -2 + 6 * std::sin(p);
    r.bones[kNeck].bend = 10 - 8 * std::sin(p);
    r.bones[kTail1].bend = -20 + 10 * c;
    r.lift = 2 * (0.5f - 0.5f * c);
    return r;
}

Pose Roll(float u) {
    const float t = std::sin(kPi * u);
    Pose r = Crouch();
    r.bones[kHips].side = 360 * u;
    SetLegs(r, 40 + 20 * t, -80 - 20 * t, 50 + 20 * t, -95 - 10 * t);
    r.lift = 12 * t;
    return r;
}

Pose CrouchMove(float u, float step) {
    const float p = kTau * u, s = std::sin(p), b = std::sin(p);
    Pose c = Crouch();
    c.bones[kChest].swell = 1 + 0.02f * (1 + b) * (1 - step);
    c.bones[kFrontUpperL].bend += step * 20 * s;
    c.bones[kFrontUpperR].bend -= step * 20 * s;
    c.bones[kHindUpperL].bend -= step * 20 * s;
    c.bones[kHindUpperR].bend += step * 20 * s;
    c.bones[kHead].twist = 8 * std::sin(p);
    c.bones[kTail1].twist = 20 * std::sin(p);
    return c;
}

std::vector<Pose> Keys(int range) {
    const Pose Q = Stance(), C = Crouch();
    auto legs = [](Pose p, float f, float fl, float h, float hl) {
        SetLegs(p, f, fl, h, hl);
        return p;
    };
    switch (range) {
    case 2:  // attack: gathers, lunges with the jaw wide, snaps
        return {Q,
                Shifted(With(legs(Q, 10, -20, 30, -45), {{kNeck, -10}, {kHead, 0}, {kJaw, -10}}),
                        {-3, 0, 0}),
                Shifted(With(legs(Q, 35, -10, -20, 0), {{kNeck, 20}, {kHead, -15}, {kJaw, -45}}),
                        {6, 0, 0}),
                Shifted(With(Q, {{kNeck, 5}, {kHead, -25}, {kJaw, 0}}), {4, 0, 0})};
    case 3:
        return {Q, Shifted(With(Q, {{kHips, 0, 10}, {kChest, 10}, {kNeck, 30}, {kJaw, -30}}),
                           {-3, 0, 0})};
    case 4:
        return {Q, With(Q, {{kChest, -2, 0, 25}, {kNeck, 10, 0, -25}, {kTail1, -15, 0, -30},
                            {kJaw, -20}})};
    case 5:
        return {Q, With(legs(Q, 30, -50, 0, 0), {{kNeck, -20}, {kJaw, -20}})};
    case 6:  // jump: gathers, leaps stretched out, lands
        return {Q, legs(Q, 20, -50, 35, -60),
                Lifted(With(legs(Q, 60, -60, -50, 0), {{kHips, 15}}), 6),
                Lifted(legs(Q, 70, -40, -60, 0), 12),
                Lifted(With(legs(Q, 30, -10, -20, 0), {{kHips, -12}}), 3),
                legs(Q, 30, -60, 40, -70)};
    case 8:  // salute: bows low on the forelegs, tail raised
        return {Q, With(legs(Q, 50, -10, 0, 0), {{kChest, -15}, {kNeck, -20}, {kHead, -10},
                                                  {kTail1, -35}}),
                With(legs(Q, 52, -12, 0, 0), {{kChest, -15}, {kNeck, -22}, {kHead, -5},
                                               {kTail1, -40}})};
    case 10: {  // wave: a forepaw raised, the tail wagging
        const Pose up = With(Q, {{kFrontUpperL, 60, 4}, {kFrontLowerL, -70}});
        return {Q, With(up, {{kTail1, -15, 0, 35}}), With(up, {{kTail1, -15, 0, -35}}),
                With(up, {{kTail1, -15, 0, 35}}), With(up, {{kTail1, -15, 0, -35}})};
    }
    case 11: {  // point: head and a forepaw held straight ahead
        const Pose at = With(Q, {{kNeck, 0}, {kHead, 5}, {kFrontUpperL, 45, 4}, {kFrontLowerL, 0},
                                 {kTail1, 5}});
        return {Q, at, With(at, {{kHead, 8}}), at};
    }
    case 14:  // crouched snap
        return {C, Shifted(With(C, {{kNeck, 15}, {kHead, -10}, {kJaw, -45}}), {4, 0, 0}),
                With(C, {{kNeck, 0}, {kHead, 0}, {kJaw, 0}})};
    case 15:
        return {C, With(C, {{kNeck, 25}, {kJaw, -30}, {kChest, 8}})};
    case 16:  // crouched death: flops down and over on the side
        return {C, With(legs(C, 40, -80, 50, -95), {{kFrontUpperL, 20, 40}, {kFrontUpperR, 20, -40}}),
                With(C, {{kHips, 0, 40}, {kNeck, -10}}),
                With(legs(Q, 20, -10, 20, -10), {{kHips, 0, 90}, {kNeck, -10, 10}, {kJaw, -20}}),
                With(legs(Q, 15, -5, 15, -5), {{kHips, 0, 92}, {kNeck, -10, 15}, {kJaw, -25}})};
    case 17:  // death: rolls onto its back, legs curled
        return {Q, With(Q, {{kHips, 15}, {kJaw, -30}, {kNeck, 25}}),
                With(Q, {{kHips, 0, 60}, {kJaw, -30}}),
                With(legs(Q, 30, -50, 30, -50), {{kHips, 0, 130}}),
                With(legs(Q, 30, -60, 30, -60), {{kHips, 0, 175}, {kNeck, -5}, {kJaw, -25}}),
                With(legs(Q, 35, -70, 35, -70), {{kHips, 0, 180}, {kNeck, -10}, {kJaw, -30}})};
    case 18:  // death: forelegs buckle, then it sprawls on the belly
        return {Q, legs(Q, 50, -90, 0, 0), With(legs(Q, 50, -90, 60, -110), {{kNeck, -20}}),
                With(Q, {{kFrontUpperL, 20, 60}, {kFrontLowerL, -20}, {kFrontUpperR, 20, -60},
                         {kFrontLowerR, -20}, {kHindUpperL, -20, 60}, {kHindUpperR, -20, -60},
                         {kNeck, -25, 20}, {kJaw, -20}}),
                With(Q, {{kFrontUpperL, 20, 65}, {kFrontLowerL, -10}, {kFrontUpperR, 20, -65},
                         {kFrontLowerR, -10}, {kHindUpperL, -25, 65}, {kHindUpperR, -25, -65},
                         {kNeck, -25, 25}, {kJaw, -25}, {kTail1, 5}})};
    case 19:  // death: staggers and falls on the side
        return {Q, With(Q, {{kHips, 0, 20, 20}, {kJaw, -30}}), With(Q, {{kHips, 0, 60, 30}}),
                With(legs(Q, 20, -5, -20, -5), {{kHips, 0, 90, 35}}),
                With(legs(Q, 30, -5, -25, -5), {{kHips, 0, 92, 35}, {kNeck, 0, 20}}),
                With(legs(Q, 10, -5, -15, -5), {{kHips, 0, 90, 35}, {kNeck, -5, 20}}),
                With(legs(Q, 20, -5, -20, -5), {{kHips, 0, 90, 35}, {kNeck, -5, 25}, {kJaw, -20}}),
                With(legs(Q, 20, -5, -20, -5), {{kHips, 0, 90, 35}, {kNeck, -5, 25}, {kJaw, -25}})};
    case 20:  // the one-frame pose: sitting up
        return {With(legs(Q, -35, 0, 75, -110), {{kHips, 35}, {kNeck, -20}, {kHead, 0},
                                                  {kTail1, 30}})};
    default:
        return {Q};
    }
}

Pose SpawnPose(int frame) {
    const FrameSlot slot = SlotOf(frame);
    switch (slot.range) {
    case 0: return Stand(slot.u);
    case 1: return Run(slot.u);
    case 7: return Roll(slot.u);
    case 9: return Taunt(slot.u);
    case 12: return CrouchMove(slot.u, 0);
    case 13: return CrouchMove(slot.u, 1);
    default: break;
    }
    static const RangeKeys keys = KeysOfEveryRange(Keys);
    return SplinePose(keys, slot);
}

}  // namespace

BuiltModel BuildSpawn() {
    BuiltModel m;
    m.path = "Models/Spawn/Spawn.md2";
    m.skinPath = "Models/Spawn/Spawn.tga";
    m.skin = MakePicture(kSkinSize, kSkinSize);
    SkinAtlas atlas(kSkinSize, kSkinSize);
    std::vector<PartDef> parts = Parts();
    for (size_t i = 0; i < parts.size(); ++i) {
        PartDef& d = parts[i];
        d.lathe.rect = atlas.Take(d.w, d.h);
        if (atlas.overflowed) {
            std::fprintf(stderr, "tamasset: Spawn's parts do not fit its skin\n");
            return {};
        }
        AddLathe(m.mesh, d.lathe, kSkinSize, kSkinSize);
        const uint32_t seed = 0x5BA3u + static_cast<uint32_t>(i) * 131u;
        const Paint paint = d.paint;
        PaintRect(m.skin, d.lathe.rect, [&](float u, float v) { return PaintAt(paint, seed, u, v); });
    }
    const auto frames = AnimateMeshes(kBones, {&m.mesh}, SpawnPose);
    m.md2.skinWidth = kSkinSize;
    m.md2.skinHeight = kSkinSize;
    m.md2.skinName = "Data/" + m.skinPath;
    m.md2.groups = m.mesh.groups;
    for (int f = 0; f < kModelFrameCount; ++f)
        m.md2.frames.push_back({FrameName(f), frames[0][static_cast<size_t>(f)]});
    return m;
}

}  // namespace tam::asset
