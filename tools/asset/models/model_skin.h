// Skin painting for the models: deterministic value noise, a shelf packer that hands out skin
// rectangles to parts, and the 8-bit palette of colour ramps that PCX skins are reduced to.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/models/model_rig.h"

namespace tam::asset {

struct Rgb {
    float r = 0, g = 0, b = 0;  // 0..1
};
inline Rgb operator*(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c);
// Smooth value noise in [0, 1]; x wraps with `periodX` cells so a lathe's seam does not show.
float Noise(uint32_t seed, float x, float y, int periodX);
// Sum of `octaves` noise layers, each twice as fine, in [0, 1].
float Fractal(uint32_t seed, float x, float y, int periodX, int octaves);
float SmoothStep(float e0, float e1, float x);

// Hands out rectangles left to right in rows; a rectangle that does not fit gets w = 0.
class SkinAtlas {
public:
    SkinAtlas(int width, int height) : width_(width), height_(height) {}
    SkinRect Take(int w, int h);
    bool overflowed = false;

private:
    int width_, height_, x_ = 0, y_ = 0, row_ = 0;
};

// Paints `rect` of `pic`: the painter gets (u, v) in [0, 1) at pixel centres.
void PaintRect(Picture& pic, const SkinRect& rect, const std::function<Rgb(float u, float v)>& painter);

// A palette of 16 ramps (one per base colour, missing ones grey) of 16 shades each, dark to light.
std::array<uint8_t, 768> RampPalette(const std::vector<Rgb>& bases);
// Each pixel's nearest palette entry.
std::vector<uint8_t> Quantize(const Picture& pic, const std::array<uint8_t, 768>& palette);

}  // namespace tam::asset
