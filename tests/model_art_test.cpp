// The game's own models as the build makes them, checked as a whole, and made again the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/files.h"
#include "models/md2.h"
#include "models/md2_format.h"
#include "models/md2_tables.h"

namespace tam {
namespace {

const std::string kDataDir = std::string(TAM_GAME_DIR) + "/Data/";
constexpr int kFrames = 199;

using V3 = std::array<float, 3>;
V3 Sub(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 Cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float Dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A model file as the engine loads it, with the parts the engine does not keep read here.
struct ArtModel {
    std::vector<uint8_t> bytes;
    CMD2Model model;
    md2::Header head{};
    std::vector<std::string> names;
    std::vector<std::array<int, 3>> sectionTris, commandTris;

    int verts() const { return head.vertexCount; }
    V3 at(int frame, int v) const {
        const float* p = &model.vertices[(static_cast<size_t>(frame) * verts() + v) * 3];
        return {p[0], p[1], p[2]};
    }
    int normal(int f, int v) const { return model.normalIndex[size_t(f) * verts() + v]; }
};

int Half(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// Loads the file and checks what the loader leaves open: "" when it is sound, else what is wrong.
std::string ReadModel(const std::string& name, ArtModel& m) {
    auto file = ReadWholeFile(kDataDir + name);
    if (!file) return "cannot read " + name + " (is the gamedata target built?)";
    m.bytes = std::move(*file);
    const auto& b = m.bytes;
    if (!m.model.LoadMd2(std::span<const uint8_t>(b))) return md2::Problem(std::span<const uint8_t>(b));
    md2::ReadHeader(std::span<const uint8_t>(b), m.head);
    const md2::Header& h = m.head;
    const int64_t nst = h.texCoordCount, ntri = h.triangleCount, nfr = h.frameCount;
    if (nfr != kFrames || h.frameSize != 40 + 4 * h.vertexCount) return "frame count or size";
    if (h.skinCount != 1 || h.skinsOffset != 68 || h.texCoordsOffset != 68 + 64 ||
        h.trianglesOffset != h.texCoordsOffset + 4 * nst || h.framesOffset != h.trianglesOffset + 12 * ntri ||
        h.commandsOffset != h.framesOffset + h.frameSize * nfr ||
        h.endOffset != h.commandsOffset + 4 * h.commandCount || h.endOffset != static_cast<int64_t>(b.size()))
        return "sections are not laid out end to end";
    for (int64_t i = 0; i < nst; ++i)
        if (Half(b, h.texCoordsOffset + 4 * i) > h.skinWidth ||
            Half(b, h.texCoordsOffset + 4 * i + 2) > h.skinHeight)
            return "texture coordinate outside the skin";
    for (int64_t i = 0; i < ntri; ++i) {
        std::array<int, 3> v{};
        for (int k = 0; k < 3; ++k) {
            v[k] = Half(b, h.trianglesOffset + 12 * i + 2 * k);
            if (v[k] >= h.vertexCount || Half(b, h.trianglesOffset + 12 * i + 6 + 2 * k) >= nst)
                return "triangle index out of range";
        }
        m.sectionTris.push_back(v);
    }
    for (int64_t f = 0; f < nfr; ++f) {
        const size_t at = static_cast<size_t>(h.framesOffset + f * h.frameSize);
        m.names.emplace_back(reinterpret_cast<const char*>(&b[at + 24]),
                             strnlen(reinterpret_cast<const char*>(&b[at + 24]), 16));
        for (int a = 0; a < 3; ++a) {
            uint8_t lo = 255, hi = 0;
            for (int64_t v = 0; v < h.vertexCount; ++v) {
                lo = std::min(lo, b[at + 40 + 4 * v + a]);
                hi = std::max(hi, b[at + 40 + 4 * v + a]);
            }
            if (lo != 0 || hi != 255) return "frame " + std::to_string(f) + " leaves packed values unused";
        }
    }
    // The loader has checked the command list's bounds.
    const std::vector<int32_t>& cmd = m.model.commands;
    size_t w = 0;
    while (const int32_t n = cmd[w++]) {
        std::vector<int> idx;
        for (int k = 0; k < std::abs(n); ++k, w += 3) {
            const float s = std::bit_cast<float>(cmd[w]), t = std::bit_cast<float>(cmd[w + 1]);
            if (!(s >= 0 && s <= 1 && t >= 0 && t <= 1)) return "command texture coordinate outside the skin";
            idx.push_back(cmd[w + 2]);
        }
        for (size_t i = 2; i < idx.size(); ++i) {
            if (n < 0) m.commandTris.push_back({idx[0], idx[i - 1], idx[i]});
            else if (i % 2 == 0) m.commandTris.push_back({idx[i - 2], idx[i - 1], idx[i]});
            else m.commandTris.push_back({idx[i - 1], idx[i - 2], idx[i]});
        }
    }
    if (static_cast<int64_t>(w) != h.commandCount) return "words after the command list's 0";
    return "";
}

// The three files, read once for the whole suite; `error` names what is wrong with any of them.
struct Models { ArtModel each[3]; std::string error; };
const Models& Loaded() {
    static const Models models = [] {
        Models m;
        const char* const names[3] = {"Models/Ogros/Ogros.md2", "Models/Ogros/Weapon.md2",
                                      "Models/Spawn/Spawn.md2"};
        for (int i = 0; i < 3; ++i)
            if (const std::string e = ReadModel(names[i], m.each[i]); !e.empty())
                m.error += std::string(names[i]) + ": " + e + "; ";
        return m;
    }();
    return models;
}

class ModelArt : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Loaded().error, "") << "the model files are bad"; }
    const ArtModel (&each)[3] = Loaded().each;
};

// A triangle with its corners turned so the smallest index leads (winding kept).
std::array<int, 3> Canonical(std::array<int, 3> t) {
    while (t[0] > t[1] || t[0] > t[2]) t = {t[1], t[2], t[0]};
    return t;
}

TEST_F(ModelArt, CommandListDrawsTheTrianglesAndFramesFollowTheEnginesRanges) {
    const char* const names[kAnimationCount] = {
        "stand", "run",    "attack", "paina",   "painb",  "painc",    "jump",
        "flip",  "salute", "taunt",  "wave",    "point",  "crstand",  "crwalk",
        "crattack", "crpain", "crdeath", "deatha", "deathb", "deathc", "pose"};
    std::vector<std::string> expected;
    for (int r = 0; r < kAnimationCount; ++r)
        for (int f = AnimationTable[r].firstFrame; f <= AnimationTable[r].lastFrame; ++f) {
            char name[16];
            std::snprintf(name, sizeof name, "%s%02d", names[r], f - AnimationTable[r].firstFrame + 1);
            expected.push_back(name);
        }
    for (const ArtModel& m : each) {
        // The strips and fans draw exactly the triangles of the triangle section, same winding,
        // and every vertex is drawn.
        std::multiset<std::array<int, 3>> fromSection, fromCommands;
        std::set<int> used;
        for (const auto& t : m.sectionTris) fromSection.insert(Canonical(t));
        for (const auto& t : m.commandTris) fromCommands.insert(Canonical(t)), used.insert(t.begin(), t.end());
        EXPECT_EQ(fromSection, fromCommands);
        EXPECT_EQ(used.size(), size_t(m.verts()));
        EXPECT_EQ(m.names, expected);
    }
}

// The signed volume of each connected piece: positive when its faces point outward, with the
// engine's clockwise front faces.
std::vector<float> PieceVolumes(const ArtModel& m, int frame) {
    std::vector<int> root(static_cast<size_t>(m.verts()));
    std::iota(root.begin(), root.end(), 0);
    auto find = [&](int v) {
        while (root[v] != v) v = root[v] = root[root[v]];
        return v;
    };
    for (const auto& t : m.commandTris) root[find(t[1])] = root[find(t[2])] = find(t[0]);
    std::map<int, float> volume;
    for (const auto& t : m.commandTris)
        volume[find(t[0])] += Dot(m.at(frame, t[0]), Cross(m.at(frame, t[2]), m.at(frame, t[1]))) / 6;
    std::vector<float> out;
    for (const auto& [piece, v] : volume) out.push_back(v);
    return out;
}

TEST_F(ModelArt, PiecesFaceOutwardAndNormalsFollowTheSurface) {
    for (const ArtModel& m : each)
        for (int frame : {0, 100, 190}) {
            for (float v : PieceVolumes(m, frame)) EXPECT_GT(v, 0.f) << "frame " << frame;
            std::vector<V3> sum(static_cast<size_t>(m.verts()), V3{0, 0, 0});
            for (const auto& t : m.commandTris) {
                const V3 a = m.at(frame, t[0]), b = m.at(frame, t[1]), c = m.at(frame, t[2]);
                const V3 n = Cross(Sub(c, a), Sub(b, a));
                for (int v : t)
                    for (int k = 0; k < 3; ++k) sum[static_cast<size_t>(v)][k] += n[k];
            }
            double total = 0;
            int far = 0;
            for (int v = 0; v < m.verts(); ++v) {
                const V3& s = sum[static_cast<size_t>(v)];
                const float len = std::sqrt(Dot(s, s));
                const float* n = NormalTable[m.normal(frame, v)];
                const float d = len > 0 ? Dot(s, V3{n[0], n[1], n[2]}) / len : 1.f;
                total += d;
                far += d < 0.7f;
            }
            EXPECT_GT(total / m.verts(), 0.95) << "frame " << frame;
            EXPECT_LE(far, m.verts() / 50) << "frame " << frame;
        }
}

// A second run of the tool makes the build's bytes again (the start-up log names a bad skin).
TEST(ModelArtDeterminism, ASecondRunMakesTheSameBytes) {
    const std::string tool = std::string(TAM_GAME_DIR) + "/../tamasset";
    const std::string dir = std::filesystem::temp_directory_path() / ("tam_model_art_" + std::to_string(::getpid()));
    ASSERT_EQ(std::system((tool + " models " + dir + " > /dev/null").c_str()), 0);
    for (const char* name : {"Models/Ogros/Ogros.md2", "Models/Ogros/igdosh.pcx", "Models/Ogros/Weapon.md2",
                             "Models/Ogros/Weapon.pcx", "Models/Spawn/Spawn.md2", "Models/Spawn/Spawn.tga"}) {
        auto again = ReadWholeFile(dir + "/" + name), built = ReadWholeFile(kDataDir + name);
        ASSERT_TRUE(again && built) << name;
        EXPECT_TRUE(*again == *built) << name << " differs between runs";
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tam
