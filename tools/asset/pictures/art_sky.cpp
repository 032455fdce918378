// The daytime sky: a blue gradient from a pale hazy horizon to a deeper zenith, a sun with its
// glow, and a layer of fair-weather clouds projected from a flat cloud deck overhead.
#include "asset/pictures/art_sky.h"

#include <algorithm>
#include <cmath>

#include "asset/tool.h"

namespace tam::asset {
namespace {

constexpr SkyFaceSpec kSkyFaces[] = {
    {"Ft", SkyFace::kFront, true},  {"lf", SkyFace::kLeft, false}, {"bk", SkyFace::kBack, true},
    {"rt", SkyFace::kRight, false}, {"up", SkyFace::kTop, true},
};

Direction Normalise(Direction d) {
    const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {d.x / len, d.y / len, d.z / len};
}

// Sun high in the front-right quarter of the sky.
const Direction kSun = Normalise({0.55f, 0.7f, 0.62f});

// Cloud density in [0, 1] at cloud-deck coordinates (qx, qy), and how much of that cloud is
// lit from the sun's side (0 shadowed, 1 lit).
void CloudAt(float qx, float qy, float* density, float* lit) {
    const float n = Fbm3(91, qx * 0.9f, qy * 0.9f, 0.37f, 6, 0.52f);
    const float cover =
        SmoothStep(-0.02f, 0.28f, n + 0.06f * Fbm3(92, qx * 0.2f, qy * 0.2f, 1.7f, 2));
    const float toward =
        Fbm3(91, (qx + kSun.x * 0.12f) * 0.9f, (qy + kSun.y * 0.12f) * 0.9f, 0.37f, 6, 0.52f);
    *density = cover;
    *lit = Clamp01(0.6f + 3.f * (toward - n));
}

}  // namespace

std::span<const SkyFaceSpec> SkyFaceList() {
    return kSkyFaces;
}

Direction SkyFacePoint(SkyFace face, float s, float t) {
    // Side faces run s around the cube (front +x to -x, left +y to -y, back -x to +x, right
    // -y to +y) with t = 0 at the bottom; the top face has (0, 0) at (+x, +y).
    const float a = 1.f - 2.f * s, b = 2.f * s - 1.f, z = 2.f * t - 1.f;
    switch (face) {
        case SkyFace::kFront:
            return {a, 1.f, z};
        case SkyFace::kLeft:
            return {-1.f, a, z};
        case SkyFace::kBack:
            return {b, -1.f, z};
        case SkyFace::kRight:
            return {1.f, b, z};
        case SkyFace::kTop:
            return {a, 1.f - 2.f * t, 1.f};
    }
    return {0.f, 0.f, 1.f};
}

Rgb SkyColour(Direction dir) {
    const Direction d = Normalise(dir);
    const float e = d.z;  // sine of the elevation

    const Rgb zenith = FromBytes(52, 104, 190), upper = FromBytes(96, 150, 220);
    const Rgb horizon = FromBytes(200, 218, 236), haze = FromBytes(168, 182, 198);
    Rgb c;
    if (e >= 0.f) {
        const float h = std::pow(e, 0.5f);
        c = h < 0.5f ? Mix(horizon, upper, h / 0.5f) : Mix(upper, zenith, (h - 0.5f) / 0.5f);
    } else {
        c = Mix(horizon, haze, SmoothStep(0.f, 0.6f, -e));
    }

    const float toSun = d.x * kSun.x + d.y * kSun.y + d.z * kSun.z;
    const float glow =
        0.35f * std::pow(Clamp01(toSun), 24.f) + 0.12f * std::pow(Clamp01(toSun), 4.f);
    c = Mix(c, FromBytes(255, 246, 222), Clamp01(glow));

    if (e > 0.f) {
        // Clouds on a flat deck: nearby overhead, thin streaks towards the horizon.
        const float k = 1.f / (e + 0.06f);
        float density = 0.f, lit = 0.f;
        CloudAt(d.x * k, d.y * k, &density, &lit);
        density *= SmoothStep(0.02f, 0.22f, e);
        const Rgb shadowed = FromBytes(164, 174, 194), bright = FromBytes(252, 252, 250);
        Rgb cloud = Mix(shadowed, bright, lit);
        cloud = Mix(cloud, FromBytes(255, 240, 214), 0.5f * std::pow(Clamp01(toSun), 8.f));
        c = Mix(c, cloud, 0.95f * density);
    }

    const float disc = SmoothStep(0.9993f, 0.9997f, toSun);
    return Mix(c, FromBytes(255, 252, 240), disc);
}

Picture MakeSkyFace(SkyFace face, int size) {
    Picture pic = MakePicture(size, size);
    const float step = size > 1 ? 1.f / (size - 1) : 0.f;
    for (int row = 0; row < size; ++row) {
        // The engine reads the picture's top row as t = 0.
        const float t = row * step;
        for (int col = 0; col < size; ++col) {
            const Direction p = SkyFacePoint(face, col * step, t);
            StoreRgb(pic.At(col, row), SkyColour(p));
        }
    }
    if (face != SkyFace::kTop && size > 1) {
        // Textures repeat, so filtering at a side face's top edge also reads its bottom row.
        // That row lies at the open bottom of the cube, below the floor; giving it the top
        // row's colours keeps the seam with the top face clean.
        std::copy_n(pic.At(0, size - 1), static_cast<size_t>(size) * 4, pic.At(0, 0));
    }
    return pic;
}

bool WriteSkyFaces(const std::string& dir, int size) {
    for (const SkyFaceSpec& entry : kSkyFaces) {
        const Picture pic = MakeSkyFace(entry.face, size);
        if (!WriteDataFile(dir + "/" + entry.name + ".tga", EncodeTga(pic, 24, entry.rle)))
            return false;
    }
    return true;
}

}  // namespace tam::asset
