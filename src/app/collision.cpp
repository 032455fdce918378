// Placeholder: the collision maths is being written.
#include "app/collision.h"

namespace tam {

TVector MakeVector(float x, float y, float z) { return {x, y, z, 0}; }
TVector operator+(const TVector& a, const TVector&) { return a; }
TVector operator-(const TVector& a, const TVector&) { return a; }
TVector operator*(const TVector& a, float) { return a; }
float Dot(const TVector&, const TVector&) { return 0; }
TVector Cross(const TVector& a, const TVector&) { return a; }
float Sign(float) { return 0; }
bool IntersectTriangle(const TVector&, const TVector&, const TVector&, const TVector&,
                       const TVector&, const TVector&, TVector&) {
    return false;
}
void CollideWithBox(float, float, float&, float&, const MapBox&, float, float) {}

}  // namespace tam
