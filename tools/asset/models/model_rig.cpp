// The procedural model kit: pose maths, skeleton posing and lathe parts.
#include "asset/models/model_rig.h"

#include <cmath>
#include <numbers>

namespace tam::asset {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Xform Rotation(int axis, float degrees) {
    const float a = degrees * kPi / 180.f;
    const float c = std::cos(a), s = std::sin(a);
    Xform x;
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    x.r[i][i] = c;
    x.r[i][j] = -s;
    x.r[j][i] = s;
    x.r[j][j] = c;
    return x;
}

Xform Translation(Vec3 t) {
    Xform x;
    x.t = t;
    return x;
}

Xform BoneRotation(const BoneAngles& a) {
    return Compose(Rotation(2, a.twist), Compose(Rotation(0, a.side), Rotation(1, -a.bend)));
}

// Sum of weighted poses; all poses have the same bone count.
Pose Weighted(const Pose* const* poses, const float* weights, int count) {
    Pose out;
    out.bones.assign(poses[0]->bones.size(), BoneAngles{0, 0, 0, 0});
    for (int k = 0; k < count; ++k) {
        const Pose& p = *poses[k];
        const float w = weights[k];
        for (size_t b = 0; b < out.bones.size(); ++b) {
            out.bones[b].bend += p.bones[b].bend * w;
            out.bones[b].side += p.bones[b].side * w;
            out.bones[b].twist += p.bones[b].twist * w;
            out.bones[b].swell += p.bones[b].swell * w;
        }
        out.offset = out.offset + p.offset * w;
        out.lift += p.lift * w;
    }
    return out;
}

}  // namespace

float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }

Vec3 Normalized(Vec3 a) {
    const float len = Length(a);
    return len > 0 ? a * (1.f / len) : Vec3{0, 0, 1};
}

Vec3 Xform::Rotate(Vec3 v) const {
    return {r[0][0] * v.x + r[0][1] * v.y + r[0][2] * v.z,
            r[1][0] * v.x + r[1][1] * v.y + r[1][2] * v.z,
            r[2][0] * v.x + r[2][1] * v.y + r[2][2] * v.z};
}

Vec3 Xform::Apply(Vec3 p) const { return Rotate(p) + t; }

Xform Compose(const Xform& outer, const Xform& inner) {
    Xform x;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            x.r[i][j] = outer.r[i][0] * inner.r[0][j] + outer.r[i][1] * inner.r[1][j] +
                        outer.r[i][2] * inner.r[2][j];
    x.t = outer.Apply(inner.t);
    return x;
}

Pose Spline(const std::vector<Pose>& keys, float u, bool cyclic) {
    const int n = static_cast<int>(keys.size());
    if (n == 1) return keys[0];
    const float x = cyclic ? u * n : u * (n - 1);
    int i = static_cast<int>(std::floor(x));
    float f = x - static_cast<float>(i);
    if (!cyclic && i >= n - 1) {
        i = n - 2;
        f = 1;
    }
    auto key = [&](int k) -> const Pose* {
        if (cyclic) return &keys[((k % n) + n) % n];
        return &keys[k < 0 ? 0 : (k >= n ? n - 1 : k)];
    };
    const Pose* p[4] = {key(i - 1), key(i), key(i + 1), key(i + 2)};
    const float f2 = f * f, f3 = f2 * f;
    const float w[4] = {0.5f * (-f + 2 * f2 - f3), 0.5f * (2 - 5 * f2 + 3 * f3),
                        0.5f * (f + 4 * f2 - 3 * f3), 0.5f * (-f2 + f3)};
    return Weighted(p, w, 4);
}

std::vector<Xform> PoseSkeleton(const std::vector<Bone>& bones, const Pose& pose) {
    std::vector<Xform> world(bones.size());
    for (size_t b = 0; b < bones.size(); ++b) {
        const Xform rot = BoneRotation(pose.bones[b]);
        if (bones[b].parent < 0)
            world[b] = Compose(Translation(bones[b].joint + pose.offset), rot);
        else
            world[b] = Compose(world[bones[b].parent], Compose(Translation(bones[b].joint), rot));
    }
    return world;
}

std::vector<Vec3> PoseMesh(const Mesh& mesh, const std::vector<Xform>& world, const Pose& pose) {
    std::vector<Vec3> out(mesh.local.size());
    for (size_t v = 0; v < out.size(); ++v) {
        const int b = mesh.bone[v];
        out[v] = world[b].Apply(mesh.local[v] * pose.bones[b].swell);
    }
    return out;
}

Lathe Ellipsoid(int bone, Vec3 centre, Vec3 radii, int segments, int rings) {
    Lathe l;
    l.bone = bone;
    l.base = centre;
    l.segments = segments;
    for (int k = 0; k <= rings + 1; ++k) {
        const float th = kPi * static_cast<float>(k) / static_cast<float>(rings + 1);
        const bool pole = k == 0 || k == rings + 1;
        const float s = pole ? 0.f : std::sin(th);
        l.profile.push_back({radii.z * std::cos(th), radii.x * s, radii.y * s});
    }
    return l;
}

Lathe Tube(int bone, Vec3 from, Vec3 to, float r0, float r1, int segments) {
    Lathe l;
    l.bone = bone;
    l.base = from;
    l.axis = Normalized(to - from);
    l.front = std::fabs(l.axis.z) < 0.9f ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    l.segments = segments;
    l.profile = {{Length(to - from), r1, r1}, {0, r0, r0}};
    return l;
}

void AddLathe(Mesh& mesh, const Lathe& lathe, int skinW, int skinH) {
    const Vec3 d = Normalized(lathe.axis);
    const Vec3 ax = Normalized(lathe.front - d * Dot(lathe.front, d));
    const Vec3 ay = Cross(d, ax);
    const int segs = lathe.segments;
    const int rows = static_cast<int>(lathe.profile.size());
    const float sw = static_cast<float>(skinW), sh = static_cast<float>(skinH);
    const SkinRect& rc = lathe.rect;
    auto sAt = [&](float u) { return (static_cast<float>(rc.x) + u * static_cast<float>(rc.w)) / sw; };
    auto tAt = [&](int row) {
        return (static_cast<float>(rc.y) +
                static_cast<float>(rc.h) * static_cast<float>(row) / static_cast<float>(rows - 1)) /
               sh;
    };
    auto addVertex = [&](Vec3 p) {
        mesh.bone.push_back(lathe.bone);
        mesh.local.push_back(p);
        mesh.part.push_back(mesh.parts);
        return static_cast<int>(mesh.local.size()) - 1;
    };
    auto isPole = [&](int row) {
        return lathe.profile[row].r1 == 0 && lathe.profile[row].r2 == 0;
    };
    // First vertex index of each row (a pole has one vertex, a ring `segs`).
    std::vector<int> start(rows);
    for (int k = 0; k < rows; ++k) {
        const auto& ring = lathe.profile[k];
        const Vec3 centre = lathe.base + d * ring.h;
        if (isPole(k)) {
            start[k] = addVertex(centre);
            continue;
        }
        for (int j = 0; j < segs; ++j) {
            const float phi = kPi + 2 * kPi * static_cast<float>(j) / static_cast<float>(segs);
            const int v = addVertex(centre + ax * (ring.r1 * std::cos(phi)) +
                                    ay * (ring.r2 * std::sin(phi)));
            if (j == 0) start[k] = v;
        }
    }
    auto ringVertex = [&](int row, int j) {
        return CmdVertex{start[row] + j % segs,
                         sAt(static_cast<float>(j) / static_cast<float>(segs)), tAt(row)};
    };
    // The ends: a fan from the pole or from a cap centre.
    auto endFan = [&](int endRow, int ringRow, bool top) {
        int centre = start[endRow];
        if (!isPole(endRow)) centre = addVertex(lathe.base + d * lathe.profile[endRow].h);
        CmdGroup g{true, {{centre, sAt(0.5f), tAt(endRow)}}};
        for (int j = 0; j <= segs; ++j) g.verts.push_back(ringVertex(ringRow, top ? segs - j : j));
        mesh.groups.push_back(std::move(g));
    };
    endFan(0, isPole(0) ? 1 : 0, true);
    for (int k = 0; k + 1 < rows; ++k) {
        if (isPole(k) || isPole(k + 1)) continue;
        CmdGroup g{false, {}};
        for (int j = 0; j <= segs; ++j) {
            g.verts.push_back(ringVertex(k + 1, j));
            g.verts.push_back(ringVertex(k, j));
        }
        mesh.groups.push_back(std::move(g));
    }
    endFan(rows - 1, isPole(rows - 1) ? rows - 2 : rows - 1, false);
    ++mesh.parts;
}

}  // namespace tam::asset
