// Segment-against-triangle tests and the slab clip of a horizontal move against one wall panel.
// Each panel becomes a slab two radii thick: its front and back faces, pushed out along the
// normal, are split into two triangles each and tested with both windings.
#include "app/collision.h"

#include <cmath>

namespace tam {
namespace {

constexpr float kSlideMargin = 0.00001f;
constexpr float kEdgeTolerance = -24.0f;

// Moves p onto the plane through `onPlane` with unit normal n, kSlideMargin on n's side, keeping
// its motion along the plane.
TVector SlideOnto(const TVector& p, const TVector& onPlane, const TVector& n) {
    return p - n * (Dot(n, p - onPlane) - kSlideMargin);
}

}  // namespace

TVector MakeVector(float x, float y, float z) {
    return {x, y, z, std::sqrt(x * x + y * y + z * z)};
}

TVector operator+(const TVector& a, const TVector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, b.length};
}

TVector operator-(const TVector& a, const TVector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.length};
}

TVector operator*(const TVector& a, float s) { return {s * a.x, s * a.y, s * a.z, 0}; }

float Dot(const TVector& a, const TVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

TVector Cross(const TVector& a, const TVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0};
}

float Sign(float v) {
    if (v > 0) return 1;
    if (v == 0) return 0;
    return -1;
}

bool IntersectTriangle(const TVector& v0, const TVector& v1, const TVector& v2, const TVector& r,
                       const TVector& p0, const TVector& p1, TVector& out) {
    const TVector q = r * -1.0f;
    const float d0 = Dot(q, p0 - v0);
    const float d1 = Dot(q, p1 - v0);
    if (Sign(d0) == Sign(d1)) return false;
    const float t = -d0 / (d1 - d0);
    const TVector hit = p0 + (p1 - p0) * t;
    const TVector* corners[3] = {&v0, &v1, &v2};
    for (int e = 0; e < 3; ++e) {
        const TVector& a = *corners[e];
        const TVector& b = *corners[(e + 1) % 3];
        if (Dot(Cross(b - a, hit - a), q) < kEdgeTolerance) return false;
    }
    out = hit;
    return true;
}

namespace {

// Four lanes of 32-bit floats; every lane is computed with exactly the IEEE single operations
// the scalar code uses, so a lane's value is bit for bit the scalar one.
typedef float Lanes __attribute__((vector_size(16)));
typedef int32_t LaneMask __attribute__((vector_size(16)));

// True when no triangle of the slab can be crossed by the move p0-p1 (both at height z). A
// triangle test fails unless Sign(d0) differs from Sign(d1), where d is the distance to the
// plane through the test's first corner (A, C, E or G) along the reversed reference normal. The
// four distances are computed here with the same float operations as in IntersectTriangle, but
// along N instead of -N: that only flips their signs, and both windings of a face are ruled out
// at once when both ends are strictly on one side of its plane. A zero or NaN distance never
// rules anything out, so the full test runs.
bool SlabUntouched(float x, float y, float px, float py, const MapBox& box, float z, float radius) {
    const float nx = box.nx, ny = box.ny, nz = box.nz;
    const float ox = radius * nx, oy = radius * ny, oz = radius * nz;
    const float x1 = box.x1, y1 = box.y1, z1 = box.z1;
    const float x2 = box.x2, y2 = box.y2, z2 = box.z2;
    // Corners A, C, E, G: the first corner of each of the four triangles.
    const Lanes cx = {x1 + ox, x2 + ox, x1 - ox, x2 - ox};
    const Lanes cy = {y1 + oy, y2 + oy, y1 - oy, y2 - oy};
    const Lanes cz = {z1 + oz, z2 + oz, z2 - oz, z1 - oz};
    const Lanes dz = nz * (z - cz);
    const Lanes d0 = (nx * (x - cx) + ny * (y - cy)) + dz;
    const Lanes d1 = (nx * (px - cx) + ny * (py - cy)) + dz;
    const Lanes zero = {0, 0, 0, 0};
    const LaneMask apart = ((d0 > zero) & (d1 > zero)) | ((d0 < zero) & (d1 < zero));
    return (apart[0] & apart[1] & apart[2] & apart[3]) != 0;
}

}  // namespace

unsigned CollideWithBoxAllTests(float x, float y, float& px, float& py, const MapBox& box, float z,
                                float radius) {
    const TVector n{box.nx, box.ny, box.nz, 0};
    const TVector m = n * -1.0f;
    const TVector off = n * radius;
    const float x1 = box.x1, y1 = box.y1, z1 = box.z1;
    const float x2 = box.x2, y2 = box.y2, z2 = box.z2;

    const TVector a = MakeVector(x1, y1, z1) + off;
    const TVector b = MakeVector(x2, y2, z1) + off;
    const TVector c = MakeVector(x2, y2, z2) + off;
    const TVector d = MakeVector(x1, y1, z2) + off;
    const TVector e = MakeVector(x1, y1, z2) - off;
    const TVector f = MakeVector(x2, y2, z2) - off;
    const TVector g = MakeVector(x2, y2, z1) - off;
    const TVector h = MakeVector(x1, y1, z1) - off;

    const TVector p0 = MakeVector(x, y, z);
    TVector p1 = MakeVector(px, py, z);
    TVector hit;

    struct Test {
        const TVector *v0, *v1, *v2, *ref;
        bool front;
    };
    const Test tests[8] = {
        {&a, &b, &c, &n, true},  {&c, &d, &a, &n, true},  {&a, &b, &c, &m, true},
        {&c, &d, &a, &m, true},  {&e, &f, &g, &m, false}, {&g, &h, &e, &m, false},
        {&e, &f, &g, &n, false}, {&g, &h, &e, &n, false},
    };
    unsigned hits = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const Test& t = tests[i];
        if (!IntersectTriangle(*t.v0, *t.v1, *t.v2, *t.ref, p0, p1, hit)) continue;
        hits |= 1u << i;
        p1 = t.front ? SlideOnto(p1, a, n) : SlideOnto(p1, e, m);
    }
    px = p1.x;
    py = p1.y;
    return hits;
}

void CollideWithBox(float x, float y, float& px, float& py, const MapBox& box, float z,
                    float radius) {
    if (SlabUntouched(x, y, px, py, box, z, radius)) return;
    CollideWithBoxAllTests(x, y, px, py, box, z, radius);
}

}  // namespace tam
