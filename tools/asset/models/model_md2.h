// Writing MD2 model files from a mesh posed per frame: packed vertices with per-frame scale and
// translate, normal indices from the engine's normal table, the texture-coordinate and triangle
// sections, and the drawing command list of strips and fans. Also a small reader of the same
// files for the preview.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "asset/models/model_rig.h"

namespace tam::asset {

struct Md2Frame {
    std::string name;        // at most 15 bytes
    std::vector<Vec3> pos;   // one position per vertex
};

struct Md2Source {
    int skinWidth = 0, skinHeight = 0;
    std::string skinName;    // at most 63 bytes
    std::vector<CmdGroup> groups;
    std::vector<Md2Frame> frames;
};

// A triangle as drawn, three command vertices, clockwise seen from the front.
using Md2Triangle = std::array<CmdVertex, 3>;
std::vector<Md2Triangle> GroupTriangles(const std::vector<CmdGroup>& groups);

// Per-vertex unit normals of one frame: area-weighted sums of the triangles' outward normals.
std::vector<Vec3> VertexNormals(const std::vector<Md2Triangle>& tris, const std::vector<Vec3>& pos);
// The index of the normal-table entry closest in direction to `n`.
int NearestNormalIndex(Vec3 n);

std::vector<uint8_t> EncodeMd2(const Md2Source& src);

// What the preview needs of a file: frames unpacked and the command list as triangles.
struct Md2View {
    int frameCount = 0, vertexCount = 0;
    std::vector<std::string> frameNames;
    std::vector<Vec3> vertices;  // frameCount x vertexCount
    std::vector<Md2Triangle> triangles;
};
// False with a message in `error` for a file it cannot read.
bool DecodeMd2(std::span<const uint8_t> file, Md2View& out, std::string& error);

}  // namespace tam::asset
