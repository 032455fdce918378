// "tamasset map plan": a map seen from above as a PNG, for checking a layout before walking it.
// Four pixels a map unit, x to the right and y up, the origin in the middle: a grid line every 16
// units, the floor's extent as a rectangle, each panel as a line in its texture's colour with a
// tick along its normal, each start point as an upward arrow.
#include "asset/maps/map_plan.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace tam::asset {
namespace {

using Rgb = std::array<uint8_t, 3>;

constexpr int kScale = 4;
constexpr int kSize = 256 * kScale;
constexpr int kGridStep = 16;
constexpr Rgb kBackground = {16, 16, 24}, kGrid = {48, 48, 64}, kAxis = {96, 96, 120},
              kFloor = {60, 160, 60}, kStart = {255, 255, 255};

int PixelX(double x) { return static_cast<int>(std::lround(x * kScale)) + kSize / 2; }
int PixelY(double y) { return kSize / 2 - static_cast<int>(std::lround(y * kScale)); }

void Put(Picture& pic, int x, int y, const Rgb& c) {
    if (x < 0 || y < 0 || x >= pic.width || y >= pic.height) return;
    uint8_t* p = pic.At(x, y);
    p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 255;
}

// A line between pixel positions, both ends included.
void Line(Picture& pic, int x0, int y0, int x1, int y1, const Rgb& c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
        Put(pic, x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

}  // namespace

const std::array<Rgb, 8> kPlanTextureColours = {{{230, 80, 70}, {240, 170, 60}, {230, 230, 80},
                                                 {110, 220, 110}, {80, 200, 230}, {90, 120, 240},
                                                 {190, 100, 230}, {230, 120, 190}}};

Picture DrawMapPlan(const MapState& m) {
    Picture pic = MakePicture(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) Put(pic, x, y, kBackground);
    for (int u = -128; u <= 128; u += kGridStep) {
        const Rgb& c = u == 0 ? kAxis : kGrid;
        Line(pic, PixelX(u), 0, PixelX(u), kSize - 1, c);
        Line(pic, 0, PixelY(u), kSize - 1, PixelY(u), c);
    }
    const int w = m.floorHalfWidth, d = m.floorHalfDepth;
    Line(pic, PixelX(-w), PixelY(-d), PixelX(w), PixelY(-d), kFloor);
    Line(pic, PixelX(w), PixelY(-d), PixelX(w), PixelY(d), kFloor);
    Line(pic, PixelX(w), PixelY(d), PixelX(-w), PixelY(d), kFloor);
    Line(pic, PixelX(-w), PixelY(d), PixelX(-w), PixelY(-d), kFloor);
    for (int i = 0; i < m.boxCount; ++i) {
        const MapBox& b = m.boxes[static_cast<size_t>(i)];
        const Rgb& c = kPlanTextureColours[static_cast<size_t>(b.texture) & 7];
        const double mx = (b.x1 + b.x2) / 2.0, my = (b.y1 + b.y2) / 2.0;
        Line(pic, PixelX(mx), PixelY(my), PixelX(mx + 2 * b.nx), PixelY(my + 2 * b.ny), c);
        Line(pic, PixelX(b.x1), PixelY(b.y1), PixelX(b.x2), PixelY(b.y2), c);
    }
    for (int i = 0; i < m.startPointCount; ++i) {
        const int x = PixelX(m.startPoints[static_cast<size_t>(i)].x);
        const int y = PixelY(m.startPoints[static_cast<size_t>(i)].y);
        Line(pic, x, y + 6, x, y - 6, kStart);
        Line(pic, x - 4, y - 2, x, y - 6, kStart);
        Line(pic, x + 4, y - 2, x, y - 6, kStart);
    }
    return pic;
}

}  // namespace tam::asset
