// Collision of a horizontal move against one wall panel, treated as a slab two radii thick.
#pragma once

#include "world/map.h"

namespace tam {

// Four floats; `length` is computed only when constructed from three components.
struct TVector {
    float x = 0, y = 0, z = 0, length = 0;
};

TVector MakeVector(float x, float y, float z);
TVector operator+(const TVector& a, const TVector& b);
TVector operator-(const TVector& a, const TVector& b);
TVector operator*(const TVector& a, float s);
float Dot(const TVector& a, const TVector& b);
TVector Cross(const TVector& a, const TVector& b);
float Sign(float v);

// True, with the crossing point in `out`, when the segment p0-p1 crosses triangle v0 v1 v2 as
// seen against the reference normal `r`; `out` is untouched otherwise.
bool IntersectTriangle(const TVector& v0, const TVector& v1, const TVector& v2, const TVector& r,
                       const TVector& p0, const TVector& p1, TVector& out);

// Clips the proposed position (px, py) of a move from (x, y) at feet height z against `box`.
// A panel whose face planes the move does not reach is passed over without the triangle tests;
// the result is bit for bit that of CollideWithBoxAllTests.
void CollideWithBox(float x, float y, float& px, float& py, const MapBox& box, float z,
                    float radius);

// The same clip with all eight triangle tests run, whatever the move; returns which of them hit
// (bit k for the k-th test, front faces first). The reference the shortcut is checked against.
unsigned CollideWithBoxAllTests(float x, float y, float& px, float& py, const MapBox& box, float z,
                                float radius);

}  // namespace tam
