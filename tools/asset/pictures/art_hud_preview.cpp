// Software model of the HUD drawing text with the font texture: the glyph quads, the texture
// window of each quad, the mipmap chain a 2x2 box filter builds, trilinear sampling with repeat
// wrapping, and additive blending. Used to look at a font picture as the HUD will show it.
#include <algorithm>
#include <cmath>

#include "asset/pictures/art_font.h"

namespace tam::asset {
namespace {

constexpr float kQuad = 16.f;        // glyph quad size in pixels
constexpr float kAdvance = 10.f;     // pen advance in pixels
constexpr float kWindowS = 0.075f;   // texture window width
constexpr float kWindowT = 0.0625f;  // texture window height (one cell)

struct Level {
    int width = 0, height = 0;
    std::vector<float> rgb;  // width x height x 3, in 0..1, row 0 = t 0
    const float* At(int x, int y) const {
        x = ((x % width) + width) % width;  // repeat wrapping
        y = ((y % height) + height) % height;
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
};

std::vector<Level> BuildMipmaps(const Picture& pic) {
    std::vector<Level> levels(1);
    Level& base = levels[0];
    base.width = pic.width;
    base.height = pic.height;
    base.rgb.resize(static_cast<size_t>(pic.width) * pic.height * 3);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            for (int c = 0; c < 3; ++c)
                base.rgb[(static_cast<size_t>(y) * pic.width + x) * 3 + c] =
                    pic.At(x, y)[c] / 255.f;
    while (levels.back().width > 1 || levels.back().height > 1) {
        const Level& prev = levels.back();
        Level next;
        next.width = std::max(1, prev.width / 2);
        next.height = std::max(1, prev.height / 2);
        next.rgb.resize(static_cast<size_t>(next.width) * next.height * 3);
        const int sx = prev.width > 1 ? 2 : 1, sy = prev.height > 1 ? 2 : 1;
        for (int y = 0; y < next.height; ++y) {
            for (int x = 0; x < next.width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    float sum = 0.f;
                    for (int dy = 0; dy < sy; ++dy)
                        for (int dx = 0; dx < sx; ++dx) sum += prev.At(x * sx + dx, y * sy + dy)[c];
                    next.rgb[(static_cast<size_t>(y) * next.width + x) * 3 + c] = sum / (sx * sy);
                }
            }
        }
        levels.push_back(std::move(next));
    }
    return levels;
}

void Bilinear(const Level& level, float s, float t, float out[3]) {
    const float u = s * level.width - 0.5f, v = t * level.height - 0.5f;
    const float fu = std::floor(u), fv = std::floor(v);
    const int i = static_cast<int>(fu), j = static_cast<int>(fv);
    const float a = u - fu, b = v - fv;
    for (int c = 0; c < 3; ++c) {
        const float top = level.At(i, j)[c] * (1.f - a) + level.At(i + 1, j)[c] * a;
        const float bottom = level.At(i, j + 1)[c] * (1.f - a) + level.At(i + 1, j + 1)[c] * a;
        out[c] = top * (1.f - b) + bottom * b;
    }
}

// Linear-mipmap-linear sampling at level of detail `lod` (magnification samples level 0).
void Trilinear(const std::vector<Level>& levels, float s, float t, float lod, float out[3]) {
    if (lod <= 0.f) {
        Bilinear(levels[0], s, t, out);
        return;
    }
    const int last = static_cast<int>(levels.size()) - 1;
    const int lo = std::min(static_cast<int>(std::floor(lod)), last);
    const int hi = std::min(lo + 1, last);
    const float w = lod - std::floor(lod);
    float a[3], b[3];
    Bilinear(levels[lo], s, t, a);
    Bilinear(levels[hi], s, t, b);
    for (int c = 0; c < 3; ++c) out[c] = a[c] * (1.f - w) + b[c] * w;
}

}  // namespace

Picture SimulateHudText(const Picture& font, const std::vector<HudLine>& lines, int width,
                        int height, Rgb colour) {
    Picture screen = MakePicture(width, height);
    std::vector<float> accum(static_cast<size_t>(width) * height * 3, 0.f);
    const std::vector<Level> levels = BuildMipmaps(font);
    const float lod =
        std::log2(std::max(kWindowS * font.width / kQuad, kWindowT * font.height / kQuad));
    const float tint[3] = {colour.r, colour.g, colour.b};
    for (const HudLine& line : lines) {
        const int set = std::min(line.set, 1);
        float pen = line.x;
        for (const char ch : line.text) {
            const int glyph = static_cast<unsigned char>(ch) - 32 + 128 * set;
            if (glyph < 0 || glyph > 255) continue;  // no such glyph: nothing drawn, no advance
            const float cx = (glyph % 16) * 0.0625f, cy = (glyph / 16) * 0.0625f;
            const float t0 = 1.f - cy - 0.0625f;
            const int x0 = static_cast<int>(std::ceil(pen - 0.5f));
            const int y0 = static_cast<int>(std::ceil(line.y - 0.5f));
            for (int py = y0; py < y0 + static_cast<int>(kQuad); ++py) {
                if (py < 0 || py >= height) continue;
                const float t = t0 + kWindowT * ((py + 0.5f - line.y) / kQuad);
                for (int px = x0; px < x0 + static_cast<int>(kQuad); ++px) {
                    if (px < 0 || px >= width) continue;
                    const float s = cx + kWindowS * ((px + 0.5f - pen) / kQuad);
                    float texel[3];
                    Trilinear(levels, s, t, lod, texel);
                    float* dst = &accum[(static_cast<size_t>(height - 1 - py) * width + px) * 3];
                    for (int c = 0; c < 3; ++c) dst[c] += texel[c] * tint[c];
                }
            }
            pen += kAdvance;
        }
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float* a = &accum[(static_cast<size_t>(y) * width + x) * 3];
            StoreRgb(screen.At(x, y), Rgb{a[0], a[1], a[2]});
        }
    return screen;
}

}  // namespace tam::asset
