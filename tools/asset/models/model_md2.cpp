// MD2 writing and the preview's reader.
#include "asset/models/model_md2.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "asset/byte_writer.h"
#include "models/md2_tables.h"

namespace tam::asset {
namespace {

constexpr int kHeaderSize = 68;
constexpr int kSkinNameSize = 64;
constexpr int kFrameNameSize = 16;

uint32_t Get32(std::span<const uint8_t> f, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(f[at + i]) << (8 * i);
    return v;
}
int32_t GetInt(std::span<const uint8_t> f, size_t at) { return static_cast<int32_t>(Get32(f, at)); }
float GetFloat(std::span<const uint8_t> f, size_t at) { return std::bit_cast<float>(Get32(f, at)); }

float Component(Vec3 v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

}  // namespace

std::vector<Md2Triangle> GroupTriangles(const std::vector<CmdGroup>& groups) {
    std::vector<Md2Triangle> tris;
    for (const CmdGroup& g : groups) {
        const auto& v = g.verts;
        for (size_t i = 2; i < v.size(); ++i) {
            if (g.fan)
                tris.push_back({v[0], v[i - 1], v[i]});
            else if (i % 2 == 0)
                tris.push_back({v[i - 2], v[i - 1], v[i]});
            else
                tris.push_back({v[i - 1], v[i - 2], v[i]});
        }
    }
    return tris;
}

std::vector<Vec3> VertexNormals(const std::vector<Md2Triangle>& tris, const std::vector<Vec3>& pos) {
    std::vector<Vec3> sum(pos.size());
    for (const Md2Triangle& t : tris) {
        const Vec3 a = pos[t[0].index], b = pos[t[1].index], c = pos[t[2].index];
        const Vec3 n = Cross(c - a, b - a);  // outward for a clockwise front face
        for (const CmdVertex& v : t) sum[v.index] = sum[v.index] + n;
    }
    for (Vec3& n : sum) n = Normalized(n);
    return sum;
}

int NearestNormalIndex(Vec3 n) {
    int best = 0;
    float bestDot = -2;
    for (int i = 0; i < kNormalCount; ++i) {
        const float d = n.x * NormalTable[i][0] + n.y * NormalTable[i][1] + n.z * NormalTable[i][2];
        if (d > bestDot) {
            bestDot = d;
            best = i;
        }
    }
    return best;
}

std::vector<uint8_t> EncodeMd2(const Md2Source& src) {
    const std::vector<Md2Triangle> tris = GroupTriangles(src.groups);
    const int vertexCount = src.frames.empty() ? 0 : static_cast<int>(src.frames[0].pos.size());

    // Texture coordinates in skin pixels, shared between triangles that use the same ones.
    std::map<std::pair<int, int>, int> stIndex;
    std::vector<std::pair<int, int>> stList;
    auto stOf = [&](const CmdVertex& v) {
        const std::pair<int, int> key{static_cast<int>(std::lround(v.s * src.skinWidth)),
                                      static_cast<int>(std::lround(v.t * src.skinHeight))};
        auto [it, added] = stIndex.emplace(key, static_cast<int>(stList.size()));
        if (added) stList.push_back(key);
        return it->second;
    };
    std::vector<std::array<int, 3>> triSt;
    for (const Md2Triangle& t : tris) triSt.push_back({stOf(t[0]), stOf(t[1]), stOf(t[2])});

    int commandWords = 1;
    for (const CmdGroup& g : src.groups) commandWords += 1 + 3 * static_cast<int>(g.verts.size());

    const int frameSize = 40 + 4 * vertexCount;
    const int frameCount = static_cast<int>(src.frames.size());
    const int ofsSkins = kHeaderSize;
    const int ofsSt = ofsSkins + kSkinNameSize;
    const int ofsTris = ofsSt + 4 * static_cast<int>(stList.size());
    const int ofsFrames = ofsTris + 12 * static_cast<int>(tris.size());
    const int ofsCommands = ofsFrames + frameSize * frameCount;
    const int ofsEnd = ofsCommands + 4 * commandWords;

    ByteWriter out;
    out.bytes.reserve(static_cast<size_t>(ofsEnd));
    out.Text("IDP2");
    for (int v : {8, src.skinWidth, src.skinHeight, frameSize, 1, vertexCount,
                  static_cast<int>(stList.size()), static_cast<int>(tris.size()), commandWords,
                  frameCount, ofsSkins, ofsSt, ofsTris, ofsFrames, ofsCommands, ofsEnd})
        out.Le32(v);
    out.Name(src.skinName, kSkinNameSize);
    for (const auto& [s, t] : stList) out.Le16(s).Le16(t);
    // Triangle records: three vertex indices, then three texture-coordinate indices.
    for (size_t i = 0; i < tris.size(); ++i) {
        for (int k = 0; k < 3; ++k) out.Le16(tris[i][k].index);
        for (int k = 0; k < 3; ++k) out.Le16(triSt[i][k]);
    }
    for (const Md2Frame& f : src.frames) {
        const std::vector<Vec3> normals = VertexNormals(tris, f.pos);
        float lo[3], hi[3], scale[3];
        for (int a = 0; a < 3; ++a) {
            lo[a] = hi[a] = vertexCount ? Component(f.pos[0], a) : 0.f;
            for (const Vec3& p : f.pos) {
                lo[a] = std::min(lo[a], Component(p, a));
                hi[a] = std::max(hi[a], Component(p, a));
            }
            scale[a] = (hi[a] - lo[a]) / 255.f;
        }
        for (int a = 0; a < 3; ++a) out.LeFloat(scale[a]);
        for (int a = 0; a < 3; ++a) out.LeFloat(lo[a]);
        out.Name(f.name, kFrameNameSize);
        for (size_t v = 0; v < f.pos.size(); ++v) {
            for (int a = 0; a < 3; ++a) {
                const float q = scale[a] > 0 ? (Component(f.pos[v], a) - lo[a]) / scale[a] : 0.f;
                out.U8(std::clamp(std::lround(q), 0L, 255L));
            }
            out.U8(NearestNormalIndex(normals[v]));
        }
    }
    for (const CmdGroup& g : src.groups) {
        const int n = static_cast<int>(g.verts.size());
        out.Le32(g.fan ? -n : n);
        for (const CmdVertex& v : g.verts) out.LeFloat(v.s).LeFloat(v.t).Le32(v.index);
    }
    out.Le32(0);
    return std::move(out.bytes);
}

bool DecodeMd2(std::span<const uint8_t> f, Md2View& out, std::string& error) {
    if (f.size() < kHeaderSize || std::memcmp(f.data(), "IDP2", 4) != 0 || GetInt(f, 4) != 8) {
        error = "not an MD2 file (magic or version)";
        return false;
    }
    const int64_t frameSize = GetInt(f, 16), vertexCount = GetInt(f, 24);
    const int64_t commandCount = GetInt(f, 36), frameCount = GetInt(f, 40);
    const int64_t ofsFrames = GetInt(f, 56), ofsCommands = GetInt(f, 60);
    const auto size = static_cast<int64_t>(f.size());
    if (vertexCount < 0 || vertexCount > 4096 || frameCount < 0 || frameCount > 1024 ||
        commandCount < 1 || frameSize < 40 + 4 * vertexCount || ofsFrames < 0 ||
        ofsFrames + frameSize * frameCount > size || ofsCommands < 0 ||
        ofsCommands + 4 * commandCount > size) {
        error = "counts or offsets outside the file";
        return false;
    }
    out = Md2View{};
    out.frameCount = static_cast<int>(frameCount);
    out.vertexCount = static_cast<int>(vertexCount);
    for (int64_t fr = 0; fr < frameCount; ++fr) {
        const size_t at = static_cast<size_t>(ofsFrames + fr * frameSize);
        const char* name = reinterpret_cast<const char*>(&f[at + 24]);
        out.frameNames.emplace_back(name, strnlen(name, kFrameNameSize));
        for (int64_t v = 0; v < vertexCount; ++v) {
            const size_t p = at + 40 + static_cast<size_t>(4 * v);
            Vec3 q;
            q.x = f[p] * GetFloat(f, at) + GetFloat(f, at + 12);
            q.y = f[p + 1] * GetFloat(f, at + 4) + GetFloat(f, at + 16);
            q.z = f[p + 2] * GetFloat(f, at + 8) + GetFloat(f, at + 20);
            out.vertices.push_back(q);
        }
    }
    int64_t w = 0;
    auto word = [&](int64_t k) { return static_cast<size_t>(ofsCommands + 4 * k); };
    for (;;) {
        if (w >= commandCount) {
            error = "command list without its terminating 0";
            return false;
        }
        const int32_t n = GetInt(f, word(w++));
        if (n == 0) break;
        const int64_t count = n < 0 ? -static_cast<int64_t>(n) : n;
        if (count < 3 || w + 3 * count > commandCount) {
            error = "command group past the end of the list";
            return false;
        }
        CmdGroup g{n < 0, {}};
        for (int64_t k = 0; k < count; ++k, w += 3) {
            const int32_t index = GetInt(f, word(w + 2));
            if (index < 0 || index >= vertexCount) {
                error = "command vertex index out of range";
                return false;
            }
            g.verts.push_back({index, GetFloat(f, word(w)), GetFloat(f, word(w + 1))});
        }
        const auto tris = GroupTriangles({g});
        out.triangles.insert(out.triangles.end(), tris.begin(), tris.end());
    }
    return true;
}

}  // namespace tam::asset
