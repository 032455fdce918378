// Collision: the vector operations' length-field rules, the segment-triangle test with its edge
// tolerance, and every slab case of a move against one panel (stops, slides, passing through in
// one frame from either side, the ends, inside the slab, the height tolerance, zero normals).
#include <gtest/gtest.h>

#include "app/collision.h"

namespace tam {
namespace {

constexpr double kEps = 2e-6;

MapBox Wall(int8_t z1 = 0, int8_t z2 = 10) {
    MapBox b;
    b.x1 = 0, b.y1 = 0, b.z1 = z1;
    b.x2 = 10, b.y2 = 0, b.z2 = z2;
    b.nx = 0, b.ny = 1, b.nz = 0;
    return b;
}

struct Move {
    float x, y;
};

Move Collide(const MapBox& box, float x, float y, float px, float py, float z = 0) {
    CollideWithBox(x, y, px, py, box, z, 3.0f);
    return {px, py};
}

TEST(Collision, VectorOperationsAndTheirLengthField) {
    const TVector a = MakeVector(3, 4, 0);
    const TVector b = MakeVector(0, 0, 2);
    EXPECT_FLOAT_EQ(a.length, 5);
    const TVector sum = a + b;
    EXPECT_FLOAT_EQ(sum.z, 2);
    EXPECT_FLOAT_EQ(sum.length, 2);  // b's
    const TVector diff = a - b;
    EXPECT_FLOAT_EQ(diff.z, -2);
    EXPECT_FLOAT_EQ(diff.length, 5);  // a's
    EXPECT_FLOAT_EQ((a * 2).x, 6);
    EXPECT_FLOAT_EQ((a * 2).length, 0);
    EXPECT_FLOAT_EQ(Dot(a, MakeVector(1, 1, 1)), 7);
    const TVector c = Cross(MakeVector(1, 0, 0), MakeVector(0, 1, 0));
    EXPECT_FLOAT_EQ(c.z, 1);
    EXPECT_FLOAT_EQ(c.length, 0);
    EXPECT_EQ(Sign(2.5f), 1);
    EXPECT_EQ(Sign(0.0f), 0);
    EXPECT_EQ(Sign(-0.0f), 0);
    EXPECT_EQ(Sign(-1e-30f), -1);
}

TEST(Collision, SegmentTriangleCrossingWindingAndTolerance) {
    const TVector v0 = MakeVector(0, 0, 0), v1 = MakeVector(10, 0, 0), v2 = MakeVector(10, 0, 10);
    const TVector n = MakeVector(0, 1, 0), minus = MakeVector(0, -1, 0);
    TVector out = MakeVector(99, 99, 99);
    // A crossing inside the triangle, seen against one reference normal but not the other.
    const TVector p0 = MakeVector(8, 5, 2), p1 = MakeVector(8, -5, 2);
    const bool withN = IntersectTriangle(v0, v1, v2, n, p0, p1, out);
    TVector out2 = MakeVector(99, 99, 99);
    const bool withMinus = IntersectTriangle(v0, v1, v2, minus, p0, p1, out2);
    EXPECT_NE(withN, withMinus);
    const TVector& hit = withN ? out : out2;
    EXPECT_NEAR(hit.x, 8, kEps);
    EXPECT_NEAR(hit.y, 0, kEps);
    EXPECT_NEAR(hit.z, 2, kEps);
    EXPECT_EQ(withN ? out2.x : out.x, 99);  // untouched on a miss

    // Same side, or lying in the plane: no crossing, output untouched.
    out = MakeVector(99, 99, 99);
    EXPECT_FALSE(IntersectTriangle(v0, v1, v2, n, MakeVector(1, 1, 1), MakeVector(2, 5, 1), out));
    EXPECT_FALSE(IntersectTriangle(v0, v1, v2, n, MakeVector(1, 0, 1), MakeVector(2, 0, 1), out));
    EXPECT_EQ(out.x, 99);
    // Exactly one end on the plane crosses.
    const TVector& ref = withN ? n : minus;
    EXPECT_TRUE(IntersectTriangle(v0, v1, v2, ref, MakeVector(8, 5, 2), MakeVector(8, 0, 2), out));
    // Outside the edge line by less than 24 / edge length (2.4 here) still counts; beyond not.
    EXPECT_TRUE(IntersectTriangle(v0, v1, v2, ref, MakeVector(12, 5, 2), MakeVector(12, -5, 2),
                                  out));
    EXPECT_FALSE(IntersectTriangle(v0, v1, v2, ref, MakeVector(13, 5, 2), MakeVector(13, -5, 2),
                                   out));
}

TEST(Collision, StopsAndSlidesOnTheFrontFace) {
    const MapBox w = Wall();
    Move m = Collide(w, 5, 5, 5, 2);
    EXPECT_NEAR(m.x, 5, kEps);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(w, 5, 5, 7, 2);
    EXPECT_NEAR(m.x, 7, kEps);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    // A move parallel to the panel that crosses no face plane is unchanged.
    m = Collide(w, 5, 5, 8, 5);
    EXPECT_EQ(m.x, 8);
    EXPECT_EQ(m.y, 5);
}

TEST(Collision, StopsOnTheBackFace) {
    const Move m = Collide(Wall(), 5, -5, 5, -2);
    EXPECT_NEAR(m.x, 5, kEps);
    EXPECT_NEAR(m.y, -3.00001, kEps);
}

TEST(Collision, AMoveThroughThePanelInOneFrameEndsOnTheSideItCameFrom) {
    Move m = Collide(Wall(), 5, 5, 5, -5);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(Wall(), 5, -5, 5, 5);
    EXPECT_NEAR(m.y, -3.00001, kEps);
    EXPECT_NEAR(m.x, 5, kEps);
}

TEST(Collision, PanelEndsBlockOnlyWithinTheTolerance) {
    Move m = Collide(Wall(), 12, 5, 12, 1);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(Wall(), 13, 5, 13, 1);
    EXPECT_EQ(m.y, 1);
    m = Collide(Wall(), -2, 5, -2, 1);  // the other end
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(Wall(), -3, 5, -3, 1);
    EXPECT_EQ(m.y, 1);
}

TEST(Collision, InsideTheSlab) {
    Move m = Collide(Wall(), 5, 1, 5, 4);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(Wall(), 5, 1, 5, -1);
    EXPECT_EQ(m.y, -1);
}

TEST(Collision, OnlyTheFeetHeightIsTested) {
    Move m = Collide(Wall(2, 12), 5, 5, 5, 2);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    m = Collide(Wall(3, 13), 5, 5, 5, 2);
    EXPECT_EQ(m.y, 2);
    // Feet above a low panel pass over it; z1 > z2 is the same panel.
    m = Collide(Wall(10, 0), 5, 5, 5, 2, 13);
    EXPECT_EQ(m.y, 2);
    m = Collide(Wall(10, 0), 5, 5, 5, 2, 5);
    EXPECT_NEAR(m.y, 3.00001, kEps);
}

TEST(Collision, EndingExactlyOnTheFacePlaneIsPushedBack) {
    const Move m = Collide(Wall(), 5, 5, 5, 3);
    EXPECT_NEAR(m.y, 3.00001, kEps);
    EXPECT_GT(m.y, 3.0f);
}

TEST(Collision, ZeroNormalNeverBlocksAndTiltedNormalTiltsTheSlide) {
    MapBox w = Wall();
    w.ny = 0;
    Move m = Collide(w, 5, 5, 5, -5);
    EXPECT_EQ(m.y, -5);
    // A normal leaning along x moves the blocking plane and slides along that normal.
    w.nx = 0.6f;
    w.ny = 0.8f;
    m = Collide(w, 5, 5, 5, -5);
    const float along = 0.6f * (m.x - 1.8f) + 0.8f * (m.y - 2.4f);  // distance from the face
    EXPECT_NEAR(along, 0.00001, 1e-5);
    EXPECT_GT(m.x, 5.0f);
}

TEST(Collision, AnUnblockedMoveIsLeftExactlyAsProposed) {
    // Far away from the panel: neither end near any face.
    const Move m = Collide(Wall(), 40, 40, 41.25f, 39.5f);
    EXPECT_EQ(m.x, 41.25f);
    EXPECT_EQ(m.y, 39.5f);
}

}  // namespace
}  // namespace tam
