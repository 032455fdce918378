// The preview rasteriser.
#include "asset/models/model_preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tam::asset {
namespace {

struct Projected {
    float x, y, depth;  // pixels (y down), larger depth is nearer
};

}  // namespace

void DrawPreview(Picture& pic, int x0, int y0, int cell, const std::vector<PreviewModel>& models,
                 int frame, const PreviewCamera& cam) {
    const float az = cam.azimuth * std::numbers::pi_v<float> / 180.f;
    const float el = cam.elevation * std::numbers::pi_v<float> / 180.f;
    const Vec3 toCamera{std::cos(az) * std::cos(el), std::sin(az) * std::cos(el), std::sin(el)};
    const Vec3 right = Normalized(Cross(toCamera * -1.f, {0, 0, 1}));
    const Vec3 up = Cross(right, toCamera * -1.f);
    const Vec3 light = Normalized(toCamera + up * 0.8f + right * -0.5f);
    const float ppu = static_cast<float>(cell) / cam.unitsAcross;
    const Vec3 centre{0, 0, cam.centreZ};
    auto project = [&](Vec3 p) {
        const Vec3 q = p - centre;
        return Projected{static_cast<float>(x0) + static_cast<float>(cell) / 2 + Dot(q, right) * ppu,
                         static_cast<float>(y0) + static_cast<float>(cell) / 2 - Dot(q, up) * ppu,
                         Dot(q, toCamera)};
    };
    // Background and the floor line seen from the side.
    std::vector<float> depth(static_cast<size_t>(cell) * cell, -1e30f);
    const float floorY = project({0, 0, -24}).y;
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            uint8_t* p = pic.At(x0 + x, y0 + y);
            const bool floor = cam.elevation == 0 && std::fabs(static_cast<float>(y0 + y) - floorY) < 0.6f;
            p[0] = p[1] = p[2] = floor ? 140 : 48;
            p[3] = 255;
        }
    for (const PreviewModel& m : models) {
        const Md2View& v = *m.view;
        if (frame >= v.frameCount) continue;
        const Vec3* pos = &v.vertices[static_cast<size_t>(frame) * v.vertexCount];
        for (const Md2Triangle& t : v.triangles) {
            const Vec3 a = pos[t[0].index], b = pos[t[1].index], c = pos[t[2].index];
            const Vec3 n = Normalized(Cross(c - a, b - a));
            const bool back = Dot(n, toCamera) < 0;
            const float lit = 0.35f + 0.65f * std::max(0.f, Dot(n, light));
            const Projected p[3] = {project(a), project(b), project(c)};
            const float area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
            if (std::fabs(area) < 1e-6f) continue;
            const int minX = std::max(0, static_cast<int>(std::floor(std::min({p[0].x, p[1].x, p[2].x}))) - x0);
            const int maxX = std::min(cell - 1, static_cast<int>(std::ceil(std::max({p[0].x, p[1].x, p[2].x}))) - x0);
            const int minY = std::max(0, static_cast<int>(std::floor(std::min({p[0].y, p[1].y, p[2].y}))) - y0);
            const int maxY = std::min(cell - 1, static_cast<int>(std::ceil(std::max({p[0].y, p[1].y, p[2].y}))) - y0);
            for (int y = minY; y <= maxY; ++y) {
                for (int x = minX; x <= maxX; ++x) {
                    const float px = static_cast<float>(x0 + x) + 0.5f, py = static_cast<float>(y0 + y) + 0.5f;
                    float w[3];
                    for (int k = 0; k < 3; ++k) {
                        const Projected& e0 = p[(k + 1) % 3];
                        const Projected& e1 = p[(k + 2) % 3];
                        w[k] = ((e1.x - e0.x) * (py - e0.y) - (e1.y - e0.y) * (px - e0.x)) / area;
                    }
                    if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
                    const float z = w[0] * p[0].depth + w[1] * p[1].depth + w[2] * p[2].depth;
                    float& dz = depth[static_cast<size_t>(y) * cell + x];
                    if (z <= dz) continue;
                    dz = z;
                    uint8_t* out = pic.At(x0 + x, y0 + y);
                    if (back) {
                        out[0] = 255, out[1] = 0, out[2] = 255;
                        continue;
                    }
                    const float s = w[0] * t[0].s + w[1] * t[1].s + w[2] * t[2].s;
                    const float tt = w[0] * t[0].t + w[1] * t[1].t + w[2] * t[2].t;
                    const Picture& skin = *m.skin;
                    const int sx = std::clamp(static_cast<int>(s * static_cast<float>(skin.width)), 0, skin.width - 1);
                    const int sy = std::clamp(static_cast<int>(tt * static_cast<float>(skin.height)), 0, skin.height - 1);
                    const uint8_t* texel = skin.At(sx, sy);
                    for (int k = 0; k < 3; ++k)
                        out[k] = static_cast<uint8_t>(std::min(255.f, static_cast<float>(texel[k]) * lit * 1.2f));
                }
            }
        }
    }
}

}  // namespace tam::asset
