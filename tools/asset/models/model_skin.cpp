// Skin painting helpers: noise, packing and palette reduction.
#include "asset/models/model_skin.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tam::asset {

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float SmoothStep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.f, 1.f);
    return t * t * (3 - 2 * t);
}

float Noise(uint32_t seed, float x, float y, int periodX) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
    auto at = [&](int cx, int cy) {
        if (periodX > 0) cx = ((cx % periodX) + periodX) % periodX;
        return static_cast<float>(Hash(seed, static_cast<uint32_t>(cx), static_cast<uint32_t>(cy)) &
                                  0xFFFF) /
               65535.f;
    };
    const float a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const float b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

float Fractal(uint32_t seed, float x, float y, int periodX, int octaves) {
    float sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise(seed + static_cast<uint32_t>(o) * 101u, x, y, periodX) * amp;
        weight += amp;
        x *= 2;
        y *= 2;
        periodX *= 2;
        amp *= 0.5f;
    }
    return sum / weight;
}

SkinRect SkinAtlas::Take(int w, int h) {
    if (x_ + w > width_) {
        x_ = 0;
        y_ += row_;
        row_ = 0;
    }
    if (w > width_ || y_ + h > height_) {
        overflowed = true;
        return {};
    }
    SkinRect r{x_, y_, w, h};
    x_ += w;
    row_ = std::max(row_, h);
    return r;
}

void PaintRect(Picture& pic, const SkinRect& rect,
               const std::function<Rgb(float u, float v)>& painter) {
    for (int y = 0; y < rect.h; ++y) {
        for (int x = 0; x < rect.w; ++x) {
            const Rgb c = painter((static_cast<float>(x) + 0.5f) / static_cast<float>(rect.w),
                                  (static_cast<float>(y) + 0.5f) / static_cast<float>(rect.h));
            uint8_t* p = pic.At(rect.x + x, rect.y + y);
            p[0] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.f, 1.f) * 255));
            p[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.f, 1.f) * 255));
            p[2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.f, 1.f) * 255));
            p[3] = 255;
        }
    }
}

std::array<uint8_t, 768> RampPalette(const std::vector<Rgb>& bases) {
    std::array<uint8_t, 768> pal{};
    for (int ramp = 0; ramp < 16; ++ramp) {
        const Rgb base = ramp < static_cast<int>(bases.size()) ? bases[ramp] : Rgb{0.5f, 0.5f, 0.5f};
        for (int k = 0; k < 16; ++k) {
            const float f = 0.15f + 1.35f * static_cast<float>(k) / 15.f;
            Rgb c = base * f;
            if (f > 1) c = Mix(base, {1, 1, 1}, (f - 1) * 0.6f);
            const int at = (ramp * 16 + k) * 3;
            pal[at] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.f, 1.f) * 255));
            pal[at + 1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.f, 1.f) * 255));
            pal[at + 2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.f, 1.f) * 255));
        }
    }
    return pal;
}

std::vector<uint8_t> Quantize(const Picture& pic, const std::array<uint8_t, 768>& palette) {
    std::vector<uint8_t> out(static_cast<size_t>(pic.width) * pic.height);
    std::unordered_map<uint32_t, uint8_t> cache;
    for (size_t i = 0; i < out.size(); ++i) {
        const uint8_t* p = &pic.rgba[i * 4];
        const uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
        auto it = cache.find(key);
        if (it == cache.end()) {
            int best = 0, bestDist = 1 << 30;
            for (int e = 0; e < 256; ++e) {
                const int dr = p[0] - palette[e * 3], dg = p[1] - palette[e * 3 + 1],
                          db = p[2] - palette[e * 3 + 2];
                const int dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (dist < bestDist) {
                    bestDist = dist;
                    best = e;
                }
            }
            it = cache.emplace(key, static_cast<uint8_t>(best)).first;
        }
        out[i] = it->second;
    }
    return out;
}

}  // namespace tam::asset
