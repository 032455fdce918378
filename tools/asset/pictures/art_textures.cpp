// Generators of the eight world textures. Every pattern is laid out in tile coordinates
// (u, v) in [0, 1) sampled at pixel centres, and every irregular feature comes from periodic
// noise or from per-element hashes taken modulo the tile, so opposite edges continue each other.
#include "asset/pictures/art_textures.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "asset/pictures/art_noise.h"
#include "asset/tool.h"

namespace tam::asset {

using namespace art;  // the art helpers: noise, colours
namespace {

using Shader = Rgb (*)(float u, float v, int size);

Picture Render(int size, Shader shade) {
    Picture pic = MakePicture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            StoreRgb(pic.At(x, y), shade((x + 0.5f) / size, (y + 0.5f) / size, size));
    return pic;
}

float Fract(float v) {
    return v - std::floor(v);
}

int WrapIndex(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

// Distance in pixels from a point inside a w x h pixel block (local coordinates lx, ly in
// [0, 1)) to the block's nearest edge.
float EdgeDistance(float lx, float ly, float w, float h) {
    return std::fmin(std::fmin(lx, 1.f - lx) * w, std::fmin(ly, 1.f - ly) * h);
}

// Wall: red-brown bricks in running bond, 8 courses of 4 bricks per tile, light mortar.
Rgb ShadeWall(float u, float v, int size) {
    constexpr int kCourses = 8, kBricks = 4;
    const float brickW = static_cast<float>(size) / kBricks,
                brickH = static_cast<float>(size) / kCourses;
    const int row = static_cast<int>(std::floor(v * kCourses));
    const float bx = u * kBricks + ((row & 1) ? 0.5f : 0.f);
    const int brick = WrapIndex(static_cast<int>(std::floor(bx)), kBricks);
    const float lx = Fract(bx), ly = Fract(v * kCourses);

    const float scale = size / 256.f;
    const float jitter = 0.9f * TileFbm(11, u, v, 16, 3);
    const float edge = EdgeDistance(lx, ly, brickW, brickH) + jitter * scale;
    const float mortarHalf = 1.6f * scale;

    const float grain = TileFbm(12, u, v, 32, 4);
    const float speck = HashUnit(13, static_cast<int>(u * size), static_cast<int>(v * size));
    Rgb mortar = Mix(FromBytes(150, 145, 135), FromBytes(190, 186, 176), 0.5f + 0.5f * grain);
    mortar = Scale(mortar, 0.92f + 0.08f * speck);
    if (edge < mortarHalf) return Scale(mortar, 0.8f + 0.2f * Clamp01(1.f - edge / mortarHalf));

    const float tone = HashUnit(14, brick, row);
    Rgb base = Mix(FromBytes(146, 66, 46), FromBytes(118, 52, 40), tone);
    if (HashUnit(15, brick, row) < 0.15f) base = Mix(base, FromBytes(92, 46, 38), 0.6f);
    if (HashUnit(16, brick, row) > 0.88f) base = Mix(base, FromBytes(170, 96, 60), 0.5f);
    Rgb c = Scale(base, 0.85f + 0.25f * (0.5f + 0.5f * grain));
    c = Scale(c, 0.9f + 0.14f * speck);
    // Soft bevel: lighter along the top of each brick, darker near the other edges.
    const float rim = Clamp01((edge - mortarHalf) / (3.f * scale));
    const float topLight = ly < 0.3f ? 0.08f * (1.f - rim) : -0.12f * (1.f - rim);
    c = Scale(c, 1.f + topLight);
    // Small chips and pores.
    const float pores = TileFbm(17, u, v, 64, 2);
    if (pores > 0.55f) c = Scale(c, 0.8f);
    return c;
}

// Stone block courses: the split points of row `row` (ascending, in [0, 1)).
int BlockSplits(int row, float* splits) {
    const int count = 2 + static_cast<int>(HashCell(21, row, 0) % 2u);
    const float start = HashUnit(22, row, 0);
    for (int k = 0; k < count; ++k) {
        const float slot = (k + 0.25f + 0.5f * HashUnit(23, row, k)) / count;
        splits[k] = Fract(start + slot);
    }
    for (int i = 1; i < count; ++i)  // insertion sort of at most three values
        for (int j = i; j > 0 && splits[j] < splits[j - 1]; --j)
            std::swap(splits[j], splits[j - 1]);
    return count;
}

// out: grey-beige ashlar, 4 courses of 2 or 3 blocks of uneven length per tile.
Rgb ShadeOut(float u, float v, int size) {
    constexpr int kCourses = 4;
    const float scale = size / 256.f;
    const int row = static_cast<int>(std::floor(v * kCourses));
    const float ly = Fract(v * kCourses);
    float splits[3];
    const int count = BlockSplits(row, splits);
    // Block 0 wraps across u = 0: it spans [splits[count - 1], splits[0] + 1).
    int block = 0;
    float left = splits[count - 1] - 1.f, right = splits[0];
    if (u >= splits[count - 1]) {
        left = splits[count - 1];
        right = splits[0] + 1.f;
    } else {
        for (int k = 1; k < count; ++k) {
            if (u >= splits[k - 1] && u < splits[k]) {
                block = k;
                left = splits[k - 1];
                right = splits[k];
            }
        }
    }
    const float distX = std::fmin(u - left, right - u) * size;
    const float distY = std::fmin(ly, 1.f - ly) * size / kCourses;
    const float jitter = 1.2f * TileFbm(24, u, v, 16, 3);
    const float edge = std::fmin(distX, distY) + jitter * scale;
    const float joint = 1.8f * scale;

    const float grain = TileFbm(25, u, v, 16, 5);
    const float speck = HashUnit(26, static_cast<int>(u * size), static_cast<int>(v * size));
    if (edge < joint) {
        const Rgb gap = Mix(FromBytes(62, 58, 52), FromBytes(88, 82, 74), 0.5f + 0.5f * grain);
        return Scale(gap, 0.9f + 0.1f * speck);
    }
    const float tone = HashUnit(27, block, row);
    Rgb base = Mix(FromBytes(168, 160, 142), FromBytes(134, 128, 118), tone);
    if (HashUnit(28, block, row) > 0.7f) base = Mix(base, FromBytes(160, 138, 108), 0.45f);
    Rgb c = Scale(base, 0.8f + 0.3f * (0.5f + 0.5f * grain));
    c = Scale(c, 0.92f + 0.12f * speck);
    const float cracks = TileRidged(29, u, v, 4, 3);
    if (cracks > 0.94f) c = Scale(c, 1.f - 0.3f * SmoothStep(0.94f, 0.98f, cracks));
    const float rim = Clamp01((edge - joint) / (4.f * scale));
    c = Scale(c, 0.82f + 0.18f * rim + (ly < 0.5f ? 0.06f * (1.f - rim) : 0.f));
    return c;
}

// Texture11: horizontal wooden planks, 4 per tile, each with one butt joint and two nails.
Rgb ShadePlanks(float u, float v, int size) {
    constexpr int kPlanks = 4;
    const float scale = size / 256.f;
    const int plank = static_cast<int>(std::floor(v * kPlanks));
    const float ly = Fract(v * kPlanks);
    const float joint = HashUnit(31, plank, 0);
    const float du = Fract(u - joint);  // 0 at the joint, along the plank
    const float plankH = static_cast<float>(size) / kPlanks;
    const float distY = std::fmin(ly, 1.f - ly) * plankH;
    const float distX = std::fmin(du, 1.f - du) * size;
    if (distY < 1.3f * scale || distX < 1.0f * scale) return FromBytes(38, 24, 14);

    const int id = plank;  // one piece per plank: it runs across the tile edge to its joint
    const float warp = TileFbm(32, u, v, 2, 8, 3);
    const float rings = Fract(ly * 7.f + 1.4f * warp + HashUnit(33, id, 0) * 3.f);
    const float band = SmoothStep(0.6f, 0.8f, rings) * (1.f - SmoothStep(0.85f, 1.f, rings));
    const float fibre = TileFbm(34, u, v, 2, 96, 3);
    Rgb light = Mix(FromBytes(196, 148, 96), FromBytes(176, 124, 76), HashUnit(35, id, 0));
    Rgb dark = Mix(FromBytes(138, 92, 52), FromBytes(118, 76, 42), HashUnit(36, id, 0));
    Rgb c = Mix(light, dark, Clamp01(0.6f * band + 0.45f * (0.5f + 0.5f * fibre)));
    const float tint = 0.88f + 0.16f * HashUnit(37, id, 1);
    c = Scale(c, tint);
    // Worn edges and end grain shadow.
    const float rimY = Clamp01(distY / (5.f * scale)), rimX = Clamp01(distX / (4.f * scale));
    c = Scale(c, 0.78f + 0.22f * std::fmin(rimY, rimX));
    // Nails: two per plank end, 6 px in from the joint.
    for (int side = 0; side < 2; ++side) {
        const float nx = (side == 0 ? 6.f * scale : size - 6.f * scale);
        for (int k = 0; k < 2; ++k) {
            const float ny = (k == 0 ? 0.25f : 0.75f) * plankH;
            const float dx = du * size - nx, dy = ly * plankH - ny;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 2.2f * scale)
                return Mix(FromBytes(70, 70, 74), FromBytes(150, 150, 156),
                           Clamp01(1.f - d / (2.2f * scale)) * (dx + dy < 0.f ? 1.f : 0.4f));
        }
    }
    return c;
}

// In: water, deep blue-green with bright wave crests along cell borders.
Rgb ShadeWater(float u, float v, int /*size*/) {
    const float swell = TileFbm(41, u, v, 3, 4);
    // Strongly warped cell borders read as soft wave crests rather than tiles.
    const float wu = u + 0.07f * TileFbm(42, u, v, 3, 3), wv = v + 0.07f * TileFbm(43, u, v, 3, 3);
    const CellDistance cells = TileCells(44, Fract(wu), Fract(wv), 5);
    const float fu = u + 0.05f * TileFbm(46, u, v, 6, 2), fv = v + 0.05f * TileFbm(47, u, v, 6, 2);
    const CellDistance fine = TileCells(45, Fract(fu), Fract(fv), 11);
    const float crest = 1.f - SmoothStep(0.f, 0.35f, cells.second - cells.nearest);
    const float ripple = 1.f - SmoothStep(0.f, 0.25f, fine.second - fine.nearest);
    Rgb c = Mix(FromBytes(16, 58, 94), FromBytes(30, 96, 130), 0.5f + 0.5f * swell);
    c = Mix(c, FromBytes(70, 136, 168), 0.45f * crest * crest + 0.2f * ripple * ripple);
    c = Mix(c, FromBytes(190, 222, 234), 0.3f * std::pow(crest, 4.f) * Clamp01(0.6f + swell));
    return c;
}

// Texture12: cliff rock, tilted strata with cracks and lichen.
Rgb ShadeRock(float u, float v, int size) {
    constexpr int kLayers = 6;
    static constexpr uint8_t kTones[kLayers][3] = {
        {128, 116, 100}, {102, 94, 86},   {146, 132, 112},
        {112, 102, 92},  {136, 124, 110}, {96, 90, 84},
    };
    const float bend = TileFbm(51, u, v, 3, 4);
    const float layer = v * kLayers + 0.9f * bend;
    const int index = WrapIndex(static_cast<int>(std::floor(layer)), kLayers);
    const float within = Fract(layer);
    const uint8_t* t = kTones[index];
    Rgb c = FromBytes(t[0], t[1], t[2]);
    const float grain = TileFbm(52, u, v, 16, 5);
    c = Scale(c, 0.8f + 0.28f * (0.5f + 0.5f * grain));
    // Dark seams between layers and sharp cracks across them.
    if (within < 0.06f) c = Scale(c, 0.62f + 6.f * within);
    const float cracks = TileRidged(53, u, v, 6, 4);
    if (cracks > 0.9f) c = Scale(c, 0.55f + 0.45f * (1.f - (cracks - 0.9f) * 10.f));
    const float lichen = TileFbm(54, u, v, 8, 3);
    if (lichen > 0.45f)
        c = Mix(c, FromBytes(118, 128, 74), 0.45f * SmoothStep(0.45f, 0.6f, lichen));
    const float speck = HashUnit(55, static_cast<int>(u * size), static_cast<int>(v * size));
    return Scale(c, 0.9f + 0.15f * speck);
}

// map: grass with blade streaks, lighter dry patches and a little bare earth.
Rgb ShadeGrass(float u, float v, int size) {
    const float patches = TileFbm(61, u, v, 4, 4);
    const float blades = TileFbm(62, u, v, 48, 12, 2);
    const float tufts = TileFbm(63, u, v, 24, 3);
    const float speck = HashUnit(64, static_cast<int>(u * size), static_cast<int>(v * size));
    Rgb c = Mix(FromBytes(58, 104, 36), FromBytes(92, 142, 50), 0.5f + 0.5f * tufts);
    c = Mix(c, FromBytes(138, 146, 70), SmoothStep(0.25f, 0.6f, patches) * 0.6f);
    c = Scale(c, 0.78f + 0.35f * (0.5f + 0.5f * blades));
    const float earth = TileFbm(65, u, v, 8, 3);
    if (earth < -0.45f)
        c = Mix(c, FromBytes(104, 82, 52), 0.55f * SmoothStep(-0.45f, -0.6f, earth));
    if (speck > 0.975f) c = Mix(c, FromBytes(150, 186, 86), 0.35f);
    return Scale(c, 0.94f + 0.1f * speck);
}

// Cloud cover in [0, 1] for the tileable cloud layers.
float CloudCover(uint32_t seed, float u, float v, float threshold) {
    const float n = 0.5f + 0.5f * TileFbm(seed, u, v, 4, 6, 0.55f);
    return SmoothStep(threshold, threshold + 0.25f, n);
}

// sky1: a blue sky with white fair-weather clouds.
Rgb ShadeSky1(float u, float v, int /*size*/) {
    const float cover = CloudCover(71, u, v, 0.48f);
    const float shade = 0.5f + 0.5f * TileFbm(72, u, v, 8, 4);
    const Rgb sky = Mix(FromBytes(70, 126, 206), FromBytes(104, 156, 222),
                        0.5f + 0.5f * TileFbm(73, u, v, 2, 2));
    const Rgb cloud = Mix(FromBytes(250, 250, 252), FromBytes(186, 194, 210), shade * 0.8f);
    return Mix(sky, cloud, cover);
}

// sky2: an evening sky, warm clouds on violet-blue.
Rgb ShadeSky2(float u, float v, int /*size*/) {
    const float cover = CloudCover(81, u, v, 0.42f);
    const float shade = 0.5f + 0.5f * TileFbm(82, u, v, 8, 4);
    const Rgb sky =
        Mix(FromBytes(58, 64, 128), FromBytes(96, 84, 150), 0.5f + 0.5f * TileFbm(83, u, v, 2, 2));
    const Rgb cloud = Mix(FromBytes(252, 188, 120), FromBytes(186, 92, 96), shade);
    return Mix(sky, cloud, cover);
}

Picture MakeWall(int size) {
    return Render(size, ShadeWall);
}
Picture MakeOut(int size) {
    return Render(size, ShadeOut);
}
Picture MakePlanks(int size) {
    return Render(size, ShadePlanks);
}
Picture MakeWater(int size) {
    return Render(size, ShadeWater);
}
Picture MakeRock(int size) {
    return Render(size, ShadeRock);
}
Picture MakeGrass(int size) {
    return Render(size, ShadeGrass);
}
Picture MakeSky1(int size) {
    return Render(size, ShadeSky1);
}
Picture MakeSky2(int size) {
    return Render(size, ShadeSky2);
}

constexpr WorldTextureSpec kWorldTextures[] = {
    {"Wall", 256, true, MakeWall},        {"out", 256, false, MakeOut},
    {"Texture11", 256, true, MakePlanks}, {"In", 128, false, MakeWater},
    {"Texture12", 256, false, MakeRock},  {"map", 256, true, MakeGrass},
    {"sky1", 256, false, MakeSky1},       {"sky2", 128, true, MakeSky2},
};

}  // namespace

std::span<const WorldTextureSpec> WorldTextureList() {
    return kWorldTextures;
}

bool WriteWorldTextures(const std::string& dir) {
    for (const WorldTextureSpec& entry : kWorldTextures) {
        const Picture pic = entry.make(entry.size);
        if (!WriteDataFile(dir + "/" + entry.name + ".tga", EncodeTga(pic, 24, entry.rle)))
            return false;
    }
    return true;
}

}  // namespace tam::asset
