// Ogros, a heavy humanoid, and the spiked club it carries: skeleton, parts, skins and the build
// of both models from one set of poses, so the club follows the right hand in every frame.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "asset/models/model_build.h"
#include "asset/models/model_ogros_local.h"
#include "asset/models/model_skin.h"

namespace tam::asset {
namespace {

using namespace ogros;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kSkinSize = 256;
constexpr int kWeaponSkinSize = 128;

enum Paint { kHide, kBelly, kFace, kMouth, kLeather, kMetal, kBone, kHand, kFoot, kBrow,
             kWood, kGrip, kClubHead, kIron };

const Rgb kHideColour{0.40f, 0.48f, 0.28f};
const Rgb kBellyColour{0.62f, 0.60f, 0.40f};
const Rgb kLeatherColour{0.42f, 0.27f, 0.14f};
const Rgb kMetalColour{0.56f, 0.57f, 0.60f};
const Rgb kBoneColour{0.88f, 0.84f, 0.66f};
const Rgb kEyeColour{0.98f, 0.78f, 0.15f};
const Rgb kMouthColour{0.42f, 0.07f, 0.07f};
const Rgb kDarkColour{0.16f, 0.13f, 0.10f};
const Rgb kWoodColour{0.48f, 0.32f, 0.17f};
const Rgb kDarkWoodColour{0.30f, 0.19f, 0.10f};
const Rgb kIronColour{0.36f, 0.37f, 0.40f};
const Rgb kRustColour{0.45f, 0.22f, 0.10f};

const std::vector<Bone> kBones = {
    {"pelvis", -1, {0, 0, 0}},      {"spine", kPelvis, {0, 0, 2}},
    {"head", kSpine, {1, 0, 18}},   {"jaw", kHead, {2, 0, 1.5f}},
    {"upperarm.l", kSpine, {0, 13, 14}}, {"forearm.l", kUpperArmL, {0, 0, -11}},
    {"hand.l", kForearmL, {0, 0, -10}},  {"upperarm.r", kSpine, {0, -13, 14}},
    {"forearm.r", kUpperArmR, {0, 0, -11}}, {"hand.r", kForearmR, {0, 0, -10}},
    {"thigh.l", kPelvis, {0, 6.5f, -3}}, {"shin.l", kThighL, {0, 0, -10}},
    {"foot.l", kShinL, {0, 0, -8}},      {"thigh.r", kPelvis, {0, -6.5f, -3}},
    {"shin.r", kThighR, {0, 0, -10}},    {"foot.r", kShinR, {0, 0, -8}},
};

struct PartDef {
    Lathe lathe;
    int w, h;  // skin pixels
    Paint paint;
};

std::vector<PartDef> BodyParts() {
    std::vector<PartDef> p = {
        {Ellipsoid(kSpine, {0, 0, 10}, {9.5f, 13, 10}, 12, 7), 96, 64, kHide},
        {Ellipsoid(kSpine, {3, 0, 3}, {8.5f, 10, 7.5f}, 10, 5), 64, 40, kBelly},
        {Ellipsoid(kSpine, {-3, 0, 14}, {7, 10, 6}, 10, 5), 48, 32, kHide},
        {Ellipsoid(kPelvis, {0, 0, -1}, {9, 11, 6}, 10, 5), 64, 40, kLeather},
        {Tube(kPelvis, {0, 0, -4}, {0, 0, 1}, 11.8f, 10.2f, 12), 64, 16, kLeather},
        {Ellipsoid(kPelvis, {8.5f, 0, -8}, {1.2f, 5, 6}, 8, 4), 24, 32, kLeather},
        {Ellipsoid(kPelvis, {-8.5f, 0, -8}, {1.2f, 5, 6}, 8, 4), 24, 32, kLeather},
        {Ellipsoid(kHead, {1, 0, 5}, {6, 5.5f, 6}, 12, 7), 64, 48, kFace},
        {Ellipsoid(kHead, {5, 0, 6.5f}, {2.5f, 5, 1.8f}, 8, 3), 32, 16, kBrow},
        {Ellipsoid(kHead, {6.5f, 0, 4}, {1.6f, 1.5f, 2}, 6, 3), 16, 16, kHide},
        {Ellipsoid(kHead, {0, 5.6f, 5}, {1.2f, 2, 3}, 6, 3), 16, 16, kHide},
        {Ellipsoid(kHead, {0, -5.6f, 5}, {1.2f, 2, 3}, 6, 3), 16, 16, kHide},
        {Ellipsoid(kJaw, {3, 0, -1.5f}, {4.5f, 5.2f, 2.5f}, 10, 4), 48, 24, kMouth},
        {Tube(kJaw, {5.5f, 2.8f, -0.5f}, {6.2f, 3.2f, 3.5f}, 0.9f, 0, 5), 8, 16, kBone},
        {Tube(kJaw, {5.5f, -2.8f, -0.5f}, {6.2f, -3.2f, 3.5f}, 0.9f, 0, 5), 8, 16, kBone},
    };
    for (int side = 0; side < 2; ++side) {
        const float y = side == 0 ? 1.f : -1.f;
        const int ua = side == 0 ? kUpperArmL : kUpperArmR, fa = side == 0 ? kForearmL : kForearmR;
        const int hd = side == 0 ? kHandL : kHandR, th = side == 0 ? kThighL : kThighR;
        const int sh = side == 0 ? kShinL : kShinR, ft = side == 0 ? kFootL : kFootR;
        p.push_back({Ellipsoid(ua, {0, y, 1}, {6, 6, 4.5f}, 10, 4), 48, 32, kMetal});
        p.push_back({Ellipsoid(ua, {0, 0, -5}, {4.2f, 4.2f, 7}, 8, 5), 40, 40, kHide});
        p.push_back({Ellipsoid(fa, {0, 0, -4.5f}, {4, 4, 6.5f}, 8, 5), 40, 40, kHide});
        p.push_back({Ellipsoid(hd, {0, 0, -2.5f}, {3.2f, 2.8f, 3.2f}, 8, 4), 32, 24, kHand});
        p.push_back({Ellipsoid(th, {0, 0, -5}, {5.5f, 5, 7}, 8, 5), 40, 40, kHide});
        p.push_back({Ellipsoid(sh, {0, 0, -4}, {4.2f, 4.2f, 6}, 8, 5), 40, 40, kHide});
        p.push_back({Ellipsoid(ft, {2, 0, -1.5f}, {5, 3.2f, 1.8f}, 8, 4), 32, 24, kFoot});
    }
    return p;
}

// The club lies along the right hand's +X through the fist.
std::vector<PartDef> WeaponParts() {
    const Vec3 grip{0, 0, -2.5f};
    const Vec3 along{1, 0, 0};
    Lathe head;
    head.bone = kHandR;
    head.base = grip + along * 11;
    head.axis = along;
    head.front = {0, 0, 1};
    head.segments = 10;
    head.profile = {{19, 0, 0}, {18, 2.6f, 2.6f}, {15, 4.1f, 4.1f}, {10, 4.2f, 4.2f},
                    {5, 3.3f, 3.3f}, {0, 1.6f, 1.6f}};
    std::vector<PartDef> p = {
        {Tube(kHandR, grip - along * 6, grip + along * 12, 1.1f, 1.4f, 8), 64, 32, kWood},
        {Tube(kHandR, grip - along * 2.5f, grip + along * 2.5f, 1.5f, 1.5f, 8), 32, 16, kGrip},
        {head, 64, 64, kClubHead},
        {Ellipsoid(kHandR, grip - along * 6.5f, {1.6f, 2, 2}, 8, 4), 16, 16, kIron},
        {Tube(kHandR, grip + along * 16.5f, grip + along * 18, 3.8f, 4.3f, 10), 32, 8, kIron},
        {Tube(kHandR, grip + along * 25.5f, grip + along * 27, 4.3f, 3.9f, 10), 32, 8, kIron},
    };
    // Two rings of spikes, the second turned half a step.
    for (int row = 0; row < 2; ++row) {
        const float at = row == 0 ? 19.f : 24.f, radius = row == 0 ? 3.9f : 4.1f;
        for (int k = 0; k < 4; ++k) {
            const float a = (static_cast<float>(k) + 0.5f * static_cast<float>(row)) * kPi / 2;
            const Vec3 out{0, std::cos(a), std::sin(a)};
            const Vec3 base = grip + along * at + out * (radius - 0.6f);
            p.push_back({Tube(kHandR, base, base + out * 4.2f, 1.1f, 0, 5), 8, 8, kIron});
        }
    }
    return p;
}

// The skin colour at (u, v) of a part; u = 0.5 faces the part's front.
Rgb PaintAt(Paint paint, uint32_t seed, float u, float v) {
    const float n = Fractal(seed, u * 8, v * 6, 8, 3);
    const float fine = Noise(seed + 7, u * 32, v * 24, 32);
    const float rim = 0.78f + 0.22f * std::sin(kPi * v);
    const float du = u - 0.5f;
    switch (paint) {
    case kHide:
    case kHand:
    case kFoot: {
        Rgb c = kHideColour * ((0.72f + 0.45f * n) * rim);
        if (fine > 0.78f) c = c * 0.72f;  // warts
        if (paint == kHand && v > 0.72f && std::fmod(u * 8, 1.f) < 0.45f) c = kBoneColour * 0.8f;
        if (paint == kFoot && std::fabs(du) < 0.16f && v > 0.4f && v < 0.62f &&
            std::fmod((du + 0.16f) * 12.5f, 1.f) < 0.6f)
            c = kBoneColour * 0.85f;
        return c;
    }
    case kBelly: {
        Rgb c = Mix(kHideColour, kBellyColour, SmoothStep(0.3f, 0.05f, std::fabs(du)));
        c = c * ((0.8f + 0.3f * n) * rim);
        if (std::fabs(du) < 0.2f && std::fmod(v * 5, 1.f) < 0.08f) c = c * 0.7f;  // folds
        return c;
    }
    case kFace: {
        Rgb c = kHideColour * ((0.75f + 0.4f * n) * rim);
        if (v < 0.2f) c = Mix(kDarkColour, c, v / 0.2f * 0.6f);  // scalp
        for (float eu : {0.43f, 0.57f}) {
            const float e = std::hypot((u - eu) / 0.045f, (v - 0.52f) / 0.07f);
            if (e < 1) c = e < 0.45f ? kDarkColour : kEyeColour * (1.1f - 0.4f * e);
            else if (e < 1.4f) c = c * 0.6f;
        }
        return c;
    }
    case kMouth: {
        Rgb c = kHideColour * ((0.7f + 0.4f * n) * rim);
        if (std::fabs(du) < 0.2f && v < 0.55f) {
            c = kMouthColour * (0.8f + 0.3f * n);
            if (v < 0.3f && std::fmod(u * 40, 1.f) < 0.55f) c = kBoneColour * 0.9f;  // teeth
        }
        return c;
    }
    case kBrow:
        return Mix(kHideColour * 0.6f, kDarkColour, 0.5f) * (0.8f + 0.4f * n);
    case kLeather: {
        Rgb c = kLeatherColour * ((0.7f + 0.5f * n) * rim);
        if (std::fmod(v * 6, 1.f) < 0.06f) c = c * 0.6f;                    // seams
        if (std::fmod(u * 24, 1.f) < 0.3f && std::fmod(v * 6, 1.f) < 0.1f) c = kBoneColour * 0.7f;
        return c;
    }
    case kMetal: {
        Rgb c = kMetalColour * ((0.65f + 0.5f * n) * rim);
        if (fine > 0.7f) c = Mix(c, kRustColour, 0.5f);
        const float rivet = std::hypot(std::fmod(u * 10, 1.f) - 0.5f, (v - 0.62f) * 6);
        if (rivet < 0.22f) c = kMetalColour * 1.25f;
        return c;
    }
    case kBone:
        return kBoneColour * (0.75f + 0.3f * (1 - v));
    case kWood:
    case kClubHead: {
        const float grain = 0.5f + 0.5f * std::sin(u * 2 * kPi * 7 + n * 6);
        Rgb c = Mix(paint == kWood ? kWoodColour : kDarkWoodColour,
                    paint == kWood ? kDarkWoodColour : kWoodColour, grain * 0.5f);
        return c * (0.75f + 0.35f * n);
    }
    case kGrip: {
        const float wrap = std::fmod(u * 4 + v * 3, 1.f);
        return kLeatherColour * (wrap < 0.2f ? 0.55f : 0.95f + 0.2f * n);
    }
    case kIron: {
        Rgb c = kIronColour * (0.7f + 0.6f * n);
        if (fine > 0.75f) c = Mix(c, kRustColour, 0.6f);
        return c;
    }
    }
    return {1, 0, 1};
}

// Builds the mesh of `parts` and paints their skin rectangles into `skin`.
bool MakeMesh(std::vector<PartDef> parts, Picture& skin, Mesh& mesh, uint32_t seed) {
    SkinAtlas atlas(skin.width, skin.height);
    for (size_t i = 0; i < parts.size(); ++i) {
        PartDef& d = parts[i];
        d.lathe.rect = atlas.Take(d.w, d.h);
        if (atlas.overflowed) {
            std::fprintf(stderr, "tamasset: the parts do not fit their skin\n");
            return false;
        }
        AddLathe(mesh, d.lathe, skin.width, skin.height);
        const uint32_t partSeed = seed + static_cast<uint32_t>(i) * 977u;
        const Paint paint = d.paint;
        PaintRect(skin, d.lathe.rect,
                  [&](float u, float v) { return PaintAt(paint, partSeed, u, v); });
    }
    return true;
}

// The skin as its 8-bit file will show it.
void ReduceToPalette(BuiltModel& m, const std::vector<Rgb>& ramps) {
    m.indexedSkin = true;
    m.palette = RampPalette(ramps);
    const std::vector<uint8_t> idx = Quantize(m.skin, m.palette);
    for (size_t i = 0; i < idx.size(); ++i)
        for (int c = 0; c < 3; ++c) m.skin.rgba[i * 4 + c] = m.palette[idx[i] * 3 + c];
}

}  // namespace

std::vector<BuiltModel> BuildOgrosAndWeapon() {
    std::vector<BuiltModel> out(2);
    BuiltModel& body = out[0];
    BuiltModel& club = out[1];
    body.path = "Models/Ogros/Ogros.md2";
    body.skinPath = "Models/Ogros/igdosh.pcx";
    club.path = "Models/Ogros/Weapon.md2";
    club.skinPath = "Models/Ogros/Weapon.pcx";
    body.skin = MakePicture(kSkinSize, kSkinSize);
    club.skin = MakePicture(kWeaponSkinSize, kWeaponSkinSize);
    if (!MakeMesh(BodyParts(), body.skin, body.mesh, 0x06E05u) ||
        !MakeMesh(WeaponParts(), club.skin, club.mesh, 0xC1B5u))
        return {};
    ReduceToPalette(body, {kHideColour, kBellyColour, kLeatherColour, kMetalColour, kBoneColour,
                           kEyeColour, kMouthColour, kDarkColour, kRustColour,
                           Mix(kHideColour, kDarkColour, 0.5f)});
    ReduceToPalette(club, {kWoodColour, kDarkWoodColour, kLeatherColour, kIronColour, kRustColour,
                           kBoneColour});

    const auto frames = AnimateMeshes(kBones, {&body.mesh, &club.mesh}, OgrosPose);
    for (size_t k = 0; k < 2; ++k) {
        BuiltModel& m = out[k];
        m.md2.skinWidth = m.skin.width;
        m.md2.skinHeight = m.skin.height;
        m.md2.skinName = "Data/" + m.skinPath;
        m.md2.groups = m.mesh.groups;
        for (int f = 0; f < kModelFrameCount; ++f)
            m.md2.frames.push_back({FrameName(f), frames[k][static_cast<size_t>(f)]});
    }
    return out;
}

}  // namespace tam::asset
