// Deterministic noise and colour helpers for the procedural art (integer hashing, periodic
// gradient noise, cellular noise, 3D gradient noise).
#include "asset/pictures/art_noise.h"

#include <algorithm>
#include <cmath>

namespace tam::asset::art {
namespace {

// Unit gradient directions for 2D noise (16 evenly spaced angles).
constexpr float kGrad2[16][2] = {
    {1.f, 0.f},  {0.92388f, 0.38268f},   {0.70711f, 0.70711f},   {0.38268f, 0.92388f},
    {0.f, 1.f},  {-0.38268f, 0.92388f},  {-0.70711f, 0.70711f},  {-0.92388f, 0.38268f},
    {-1.f, 0.f}, {-0.92388f, -0.38268f}, {-0.70711f, -0.70711f}, {-0.38268f, -0.92388f},
    {0.f, -1.f}, {0.38268f, -0.92388f},  {0.70711f, -0.70711f},  {0.92388f, -0.38268f},
};

// Gradient directions for 3D noise: the twelve cube-edge midpoints, four repeated.
constexpr float kGrad3[16][3] = {
    {1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
    {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}, {1, 1, 0}, {-1, 1, 0}, {0, -1, 1}, {0, -1, -1},
};

float Fade(float t) {
    return t * t * t * (t * (t * 6.f - 15.f) + 10.f);
}
float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

int Wrap(int i, int period) {
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float Corner2(uint32_t seed, int ix, int iy, float dx, float dy) {
    const float* g = kGrad2[HashCell(seed, ix, iy) & 15u];
    return g[0] * dx + g[1] * dy;
}

float Corner3(uint32_t seed, int ix, int iy, int iz, float dx, float dy, float dz) {
    const float* g = kGrad3[HashCell(seed, ix, iy, iz) & 15u];
    return g[0] * dx + g[1] * dy + g[2] * dz;
}

}  // namespace

uint32_t HashCell(uint32_t seed, int x, int y, int z) {
    uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<uint32_t>(z) * 0x27D4EB2Fu;
    // Final avalanche so that neighbouring cells get unrelated values.
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float HashUnit(uint32_t seed, int x, int y, int z) {
    return static_cast<float>(HashCell(seed, x, y, z) >> 8) * (1.f / 16777216.f);
}

float PeriodicNoise(uint32_t seed, float x, float y, int period) {
    return PeriodicNoise(seed, x, y, period, period);
}

float PeriodicNoise(uint32_t seed, float x, float y, int periodX, int periodY) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    const int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
    const int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
    const float n00 = Corner2(seed, x0, y0, dx, dy);
    const float n10 = Corner2(seed, x1, y0, dx - 1.f, dy);
    const float n01 = Corner2(seed, x0, y1, dx, dy - 1.f);
    const float n11 = Corner2(seed, x1, y1, dx - 1.f, dy - 1.f);
    const float u = Fade(dx), v = Fade(dy);
    return 1.41421f * Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
}

float TileFbm(uint32_t seed, float u, float v, int period, int octaves, float gain) {
    return TileFbm(seed, u, v, period, period, octaves, gain);
}

float TileFbm(uint32_t seed, float u, float v, int periodX, int periodY, int octaves, float gain) {
    float sum = 0.f, amp = 1.f, norm = 0.f;
    for (int k = 0; k < octaves; ++k) {
        const int px = periodX << k, py = periodY << k;
        sum += amp * PeriodicNoise(seed + 101u * static_cast<uint32_t>(k), u * px, v * py, px, py);
        norm += amp;
        amp *= gain;
    }
    return norm > 0.f ? sum / norm : 0.f;
}

float TileRidged(uint32_t seed, float u, float v, int period, int octaves, float gain) {
    float sum = 0.f, amp = 1.f, norm = 0.f;
    for (int k = 0; k < octaves; ++k) {
        const int p = period << k;
        const float n = PeriodicNoise(seed + 977u * static_cast<uint32_t>(k), u * p, v * p, p);
        sum += amp * (1.f - std::fabs(n));
        norm += amp;
        amp *= gain;
    }
    return norm > 0.f ? sum / norm : 0.f;
}

CellDistance TileCells(uint32_t seed, float u, float v, int period) {
    const float x = u * period, y = v * period;
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    CellDistance out;
    out.nearest = out.second = 1e9f;
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int gx = cx + ox, gy = cy + oy;
            const int wx = Wrap(gx, period), wy = Wrap(gy, period);
            const float px = gx + 0.1f + 0.8f * HashUnit(seed, wx, wy, 1);
            const float py = gy + 0.1f + 0.8f * HashUnit(seed, wx, wy, 2);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < out.nearest) {
                out.second = out.nearest;
                out.nearest = d;
                out.cellId = HashCell(seed, wx, wy, 3);
            } else if (d < out.second) {
                out.second = d;
            }
        }
    }
    return out;
}

float Noise3(uint32_t seed, float x, float y, float z) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    const float u = Fade(dx), v = Fade(dy), w = Fade(dz);
    float layer[2];
    for (int k = 0; k < 2; ++k) {
        const float n00 = Corner3(seed, ix, iy, iz + k, dx, dy, dz - k);
        const float n10 = Corner3(seed, ix + 1, iy, iz + k, dx - 1.f, dy, dz - k);
        const float n01 = Corner3(seed, ix, iy + 1, iz + k, dx, dy - 1.f, dz - k);
        const float n11 = Corner3(seed, ix + 1, iy + 1, iz + k, dx - 1.f, dy - 1.f, dz - k);
        layer[k] = Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
    }
    return Lerp(layer[0], layer[1], w);
}

float Fbm3(uint32_t seed, float x, float y, float z, int octaves, float gain) {
    float sum = 0.f, amp = 1.f, norm = 0.f, f = 1.f;
    for (int k = 0; k < octaves; ++k) {
        sum += amp * Noise3(seed + 131u * static_cast<uint32_t>(k), x * f, y * f, z * f);
        norm += amp;
        amp *= gain;
        f *= 2.f;
    }
    return norm > 0.f ? sum / norm : 0.f;
}

Rgb Mix(Rgb a, Rgb b, float t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}

Rgb Scale(Rgb c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Rgb FromBytes(int r, int g, int b) {
    return {r / 255.f, g / 255.f, b / 255.f};
}

float Clamp01(float v) {
    return std::clamp(v, 0.f, 1.f);
}

float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.f - 2.f * t);
}

void StoreRgb(uint8_t* pixel, Rgb c) {
    pixel[0] = static_cast<uint8_t>(std::lround(Clamp01(c.r) * 255.f));
    pixel[1] = static_cast<uint8_t>(std::lround(Clamp01(c.g) * 255.f));
    pixel[2] = static_cast<uint8_t>(std::lround(Clamp01(c.b) * 255.f));
    pixel[3] = 255;
}

}  // namespace tam::asset::art
