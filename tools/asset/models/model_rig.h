// The procedural model kit: small vector maths, a skeleton posed by bend/side/twist angles per
// bone, lathe-shaped parts (ellipsoids, tubes, cones) rigidly attached to bones, and the mesh
// they make: vertex positions per bone plus a drawing list of triangle strips and fans with
// texture coordinates. Units are model units; the models stand with their soles at z = -24,
// facing +X, with +Y on their left.
#pragma once

#include <string>
#include <vector>

namespace tam::asset {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(Vec3 a);
Vec3 Normalized(Vec3 a);  // (0, 0, 1) for a zero vector

// A rigid transform: rotation matrix (rows) and translation.
struct Xform {
    float r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t;
    Vec3 Apply(Vec3 p) const;
    Vec3 Rotate(Vec3 v) const;
};
Xform Compose(const Xform& outer, const Xform& inner);

// One bone: its joint relative to the parent's joint in the rest pose (bones have no rest
// rotation). Parents come before their children; bone 0 is the root with parent -1.
struct Bone {
    const char* name;
    int parent;
    Vec3 joint;
};

// Angles in degrees. `bend` turns about Y so that a limb hanging down swings forward (+X) and a
// limb pointing forward tips up; `side` turns about X so that a hanging limb swings toward +Y;
// `twist` turns about Z (counter-clockwise seen from above). `swell` scales the bone's own parts
// about its joint (1 = rest size); children are not scaled.
struct BoneAngles {
    float bend = 0, side = 0, twist = 0, swell = 1;
};

// A pose: per-bone angles (entry 0 turns the whole model about the root joint), an offset of the
// root, and a lift above the floor (the posed model is first put with its lowest point on the
// floor, then raised by lift).
struct Pose {
    std::vector<BoneAngles> bones;
    Vec3 offset;
    float lift = 0;
};

// Catmull-Rom through the keys at parameter u in [0, 1]. Cyclic keys are evenly spaced over
// [0, 1) and wrap; open keys span [0, 1] with the ends held.
Pose Spline(const std::vector<Pose>& keys, float u, bool cyclic);

// World transform of every bone for a pose (the root's offset included, lift not).
std::vector<Xform> PoseSkeleton(const std::vector<Bone>& bones, const Pose& pose);

// A rectangle of the skin, in pixels.
struct SkinRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// A lathe: rings around an axis through `base` (bone-local) along unit `axis`; profile entries
// (height along the axis, radius toward `front`, radius across), listed from the far end of the
// axis to the near end. A zero radius at either end makes a pole, a non-zero one a flat cap.
// Texture: u runs around (u = 0.5 faces `front`), v along the profile, into `rect`.
struct Lathe {
    int bone = 0;
    Vec3 base;
    Vec3 axis{0, 0, 1};
    Vec3 front{1, 0, 0};
    struct Ring {
        float h, r1, r2;
    };
    std::vector<Ring> profile;
    int segments = 8;
    SkinRect rect;
};
// An ellipsoid about `centre` with semi-axes along X, Y, Z; `rings` latitude rings.
Lathe Ellipsoid(int bone, Vec3 centre, Vec3 radii, int segments, int rings);
// A cone or tapered tube from `from` (radius r0) to `to` (radius r1; 0 makes a point).
Lathe Tube(int bone, Vec3 from, Vec3 to, float r0, float r1, int segments);

struct CmdVertex {
    int index;
    float s, t;
};
struct CmdGroup {
    bool fan;
    std::vector<CmdVertex> verts;
};

// A mesh made of parts: each vertex belongs to one bone and is stored relative to that bone's
// rest joint. Drawing groups list triangles clockwise when seen from outside.
struct Mesh {
    std::vector<int> bone;
    std::vector<Vec3> local;
    std::vector<CmdGroup> groups;
    std::vector<int> part;  // the part each vertex came from
    int parts = 0;
};

// Adds a part; `skinW`, `skinH` turn the pixel rectangle into texture coordinates.
void AddLathe(Mesh& mesh, const Lathe& lathe, int skinW, int skinH);
// Vertex positions of a mesh in a pose (before the floor placement).
std::vector<Vec3> PoseMesh(const Mesh& mesh, const std::vector<Xform>& world, const Pose& pose);

}  // namespace tam::asset
