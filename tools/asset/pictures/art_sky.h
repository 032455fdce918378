// The five sky faces of Data/Sky. The sky is one function of the viewing direction; each face
// picture samples it through the face's own texture mapping on the sky cube, so faces agree
// wherever they meet. Side faces have their bottom edge (texture t = 0, the picture's top row)
// below the horizon and their top edge against the top face.
#pragma once

#include <span>
#include <string>

#include "asset/images/image_write.h"
#include "asset/pictures/art_noise.h"

namespace tam::asset {

using namespace art;  // the art helpers: noise, colours

// Width and height of each face picture the build makes.
constexpr int kSkyFaceSize = 512;

enum class SkyFace { kFront, kLeft, kBack, kRight, kTop };

struct SkyFaceSpec {
    const char* name;  // file name without ".tga"
    SkyFace face;
    bool rle;
};
// The five faces in the order the skybox takes them: front, left, back, right, top.
std::span<const SkyFaceSpec> SkyFaceList();

struct Direction {
    float x = 0.f, y = 0.f, z = 0.f;  // world axes: x right, y forward, z up
};
// The point of the unit cube [-1, 1]^3 that texture coordinate (s, t) of `face` lands on.
Direction SkyFacePoint(SkyFace face, float s, float t);
// The sky's colour seen along `dir` (any length but zero).
Rgb SkyColour(Direction dir);

// A size x size face picture. Edge texels lie exactly on the cube's edges, so the border rows
// and columns of neighbouring faces hold the same colours. A side face's bottom row (out of
// sight below the floor) repeats its top row, for the texture's repeat wrapping.
Picture MakeSkyFace(SkyFace face, int size);
// Writes the five faces as 24-bit TGA files into `dir`; false (with a message) on a write error.
bool WriteSkyFaces(const std::string& dir, int size);

}  // namespace tam::asset
