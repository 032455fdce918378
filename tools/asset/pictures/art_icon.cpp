// The icon, drawn in unit coordinates (x right, y down, both 0..1) and supersampled 4 x 4 a
// pixel. The tower is an octagonal prism seen from the front: at each column the visible facet
// is the nearest of the front-facing ones, lit by the sky's sun from the upper right.
#include "asset/pictures/art_icon.h"

#include <cmath>
#include <numbers>
#include <string_view>

#include "asset/pictures/art_noise.h"
#include "asset/pictures/art_sky.h"
#include "asset/pictures/art_textures.h"

namespace tam::asset {

using namespace art;  // the art helpers: noise, colours
namespace {

constexpr float kCorner = 0.18f;                      // radius of the rounded corners
constexpr float kHorizon = 0.78f;                     // the wall's foot and the grass's edge
constexpr float kWallTop = 0.66f;                     // the courtyard wall behind the tower
constexpr float kTowerTop = 0.17f, kMerlon = 0.07f;   // parapet top and merlon height
constexpr float kTowerFoot = 0.86f;
constexpr float kApothem = 0.15f;                     // the octagon's half width across facets
constexpr int kSamples = 4;

// A world texture by name, sampled with repeat wrapping at tile coordinates (u, v).
struct Texture {
    Picture pic;
    explicit Texture(const char* name) {
        for (const WorldTextureSpec& t : WorldTextureList())
            if (std::string_view(t.name) == name) pic = t.make(t.size);
    }
    Rgb At(float u, float v) const {
        const auto wrap = [](float f, int n) {
            const int i = static_cast<int>(std::floor(f * n)) % n;
            return i < 0 ? i + n : i;
        };
        const uint8_t* p = pic.At(wrap(u, pic.width), wrap(v, pic.height));
        return FromBytes(p[0], p[1], p[2]);
    }
};

struct Art {
    Texture rock{"Texture12"}, wall{"Wall"}, grass{"map"};
};

// Inside the rounded square?
bool InTile(float x, float y) {
    const float cx = std::fmin(std::fmax(x, kCorner), 1.f - kCorner);
    const float cy = std::fmin(std::fmax(y, kCorner), 1.f - kCorner);
    return x >= 0.f && x <= 1.f && y >= 0.f && y <= 1.f &&
           (x - cx) * (x - cx) + (y - cy) * (y - cy) <= kCorner * kCorner;
}

// The tower's colour at (x, y), or false where the tower is not.
bool Tower(const Art& art, float x, float y, Rgb* out) {
    const float dx = x - 0.5f;
    const float radius = kApothem / std::cos(std::numbers::pi_v<float> / 8.f);
    if (std::fabs(dx) > radius || y > kTowerFoot || y < kTowerTop - kMerlon) return false;
    // Merlons: five equal bands across the parapet, the 1st, 3rd and 5th standing up.
    if (y < kTowerTop && static_cast<int>((dx + radius) / (2.f * radius) * 5.f) % 2 == 1)
        return false;
    // The nearest front-facing facet (normal at angle a from the viewer, a in -90..90 degrees).
    float depth = 1e9f, angle = 0.f;
    for (int k = -2; k <= 2; ++k) {
        const float a = k * std::numbers::pi_v<float> / 4.f;
        if (std::cos(a) < 1e-3f) continue;
        const float z = (kApothem - dx * std::sin(a)) / std::cos(a);
        if (z < depth) depth = z, angle = a;
    }
    const float light = std::fmax(0.f, 0.55f * std::sin(angle) + 0.6f * std::cos(angle));
    const float along = angle / (std::numbers::pi_v<float> / 4.f) + dx / radius;  // facet walk
    Rgb c = Scale(art.rock.At(0.5f * along, 1.2f * y), 0.45f + 0.8f * light);
    // A dark window slit on the front facet and a shadow under the parapet.
    if (std::fabs(dx) < 0.018f && y > 0.34f && y < 0.44f) c = Scale(c, 0.25f);
    if (y > kTowerTop && y < kTowerTop + 0.025f) c = Scale(c, 0.6f);
    // Rim: darkens the silhouette so the tower reads at 48 pixels.
    const float edge = std::fmin(radius - std::fabs(dx), std::fabs(y - (kTowerTop - kMerlon)));
    *out = Scale(c, 0.55f + 0.45f * SmoothStep(0.f, 0.02f, edge));
    return true;
}

Rgb Scene(const Art& art, float x, float y) {
    Rgb c;
    if (Tower(art, x, y, &c)) return c;
    if (y >= kHorizon) {  // grass, darker towards the horizon
        const float near = (y - kHorizon) / (1.f - kHorizon);
        return Scale(art.grass.At(x * 2.f, near), 0.7f + 0.35f * near);
    }
    if (y >= kWallTop) return Scale(art.wall.At(x * 2.f, (y - kWallTop) * 3.f), 0.85f);
    // The sky seen looking a little up from the courtyard.
    const float elevation = (kHorizon - y) * 1.4f;
    return SkyColour(Direction{(x - 0.5f) * 1.2f, 1.f, elevation});
}

}  // namespace

Picture MakeIcon(int size) {
    const Art art;
    Picture pic = MakePicture(size, size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgb sum;
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (px + (sx + 0.5f) / kSamples) / size;
                    const float y = (py + (sy + 0.5f) / kSamples) / size;
                    if (!InTile(x, y)) continue;
                    const Rgb c = Scene(art, x, y);
                    sum = Rgb{sum.r + c.r, sum.g + c.g, sum.b + c.b};
                    ++inside;
                }
            }
            uint8_t* p = pic.At(px, py);
            if (inside == 0) continue;  // transparent black
            StoreRgb(p, Scale(sum, 1.f / inside));
            p[3] = static_cast<uint8_t>((255 * inside + kSamples * kSamples / 2) /
                                        (kSamples * kSamples));
        }
    }
    return pic;
}

}  // namespace tam::asset
