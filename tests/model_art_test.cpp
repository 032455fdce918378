// The game's own models as the build makes them: each file read by the test's own parser and
// checked as a whole (sections laid out end to end, strips and fans that draw exactly the
// triangle list, outward-facing parts, normals that follow the surface, full use of the packed
// bytes), then for its motion (played loops without a seam, every range moving, postures that
// fit their names, the club held in the hand), and the build made again for identical bytes.
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

#include "console/files.h"
#include "images/readers.h"
#include "models/md2.h"
#include "models/md2_format.h"
#include "models/md2_tables.h"

namespace tam {
namespace {

const std::string kDataDir = std::string(TAM_GAME_DIR) + "/Data/";
constexpr int kFrames = 199;
constexpr float kFloor = -24.f;

using V3 = std::array<float, 3>;
V3 Sub(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 Cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float Dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float Dist(const V3& a, const V3& b) { return std::sqrt(Dot(Sub(a, b), Sub(a, b))); }

// A model file as the engine loads it, with the parts the engine does not keep read here.
struct ArtModel {
    std::vector<uint8_t> bytes;
    CMD2Model model;
    int32_t head[17] = {};
    std::vector<std::string> names;
    std::vector<bool> fullRange;  // per frame: packed bytes span 0..255 on every axis
    std::vector<std::array<int, 3>> sectionTris, commandTris;
    int strips = 0, fans = 0;
    bool commandStInSkin = true;

    int verts() const { return head[6]; }
    V3 at(int frame, int v) const {
        const float* p = &model.vertices[(static_cast<size_t>(frame) * verts() + v) * 3];
        return {p[0], p[1], p[2]};
    }
    int normal(int f, int v) const { return model.normalIndex[size_t(f) * verts() + v]; }
    // The lowest and highest z of any vertex in a frame.
    std::pair<float, float> z(int f) const {
        float lo = 1e9f, hi = -1e9f;
        for (int v = 0; v < verts(); ++v) lo = std::min(lo, at(f, v)[2]), hi = std::max(hi, at(f, v)[2]);
        return {lo, hi};
    }
    float height(int f) const { return z(f).second - z(f).first; }
};

int32_t Word(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return static_cast<int32_t>(v);
}
int Half(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// Loads the file and checks what the loader leaves open; an empty string when the file is
// sound, else what is wrong.
std::string ReadModel(const std::string& name, ArtModel& m) {
    auto file = ReadWholeFile(kDataDir + name);
    if (!file) return "cannot read " + name + " (is the gamedata target built?)";
    m.bytes = std::move(*file);
    const auto& b = m.bytes;
    if (!m.model.LoadMd2(std::span<const uint8_t>(b))) return md2::Problem(std::span<const uint8_t>(b));
    for (int i = 0; i < 17; ++i) m.head[i] = Word(b, 4 * static_cast<size_t>(i));
    const int32_t* h = m.head;
    const int64_t nst = h[7], ntri = h[8], ncmd = h[9], nfr = h[10];
    if (nfr != kFrames || h[4] != 40 + 4 * h[6]) return "frame count or size";
    if (h[5] != 1 || h[11] != 68 || h[12] != 68 + 64 || h[13] != h[12] + 4 * nst ||
        h[14] != h[13] + 12 * ntri || h[15] != h[14] + h[4] * nfr || h[16] != h[15] + 4 * ncmd ||
        h[16] != static_cast<int64_t>(b.size()))
        return "sections are not laid out end to end";
    for (int64_t i = 0; i < nst; ++i)
        if (Half(b, h[12] + 4 * i) > h[2] || Half(b, h[12] + 4 * i + 2) > h[3])
            return "texture coordinate outside the skin";
    for (int64_t i = 0; i < ntri; ++i) {
        std::array<int, 3> v{};
        for (int k = 0; k < 3; ++k) {
            v[k] = Half(b, h[13] + 12 * i + 2 * k);
            if (v[k] >= h[6] || Half(b, h[13] + 12 * i + 6 + 2 * k) >= nst) return "triangle index out of range";
        }
        m.sectionTris.push_back(v);
    }
    for (int64_t f = 0; f < nfr; ++f) {
        const size_t at = static_cast<size_t>(h[14] + f * h[4]);
        m.names.emplace_back(reinterpret_cast<const char*>(&b[at + 24]),
                             strnlen(reinterpret_cast<const char*>(&b[at + 24]), 16));
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (int64_t v = 0; v < h[6]; ++v)
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min<int>(lo[a], b[at + 40 + 4 * v + a]);
                hi[a] = std::max<int>(hi[a], b[at + 40 + 4 * v + a]);
            }
        m.fullRange.push_back(lo[0] + lo[1] + lo[2] == 0 && hi[0] + hi[1] + hi[2] == 3 * 255);
    }
    // The loader has checked the command list's bounds.
    const std::vector<int32_t>& cmd = m.model.commands;
    size_t w = 0;
    while (const int32_t n = cmd[w++]) {
        (n < 0 ? m.fans : m.strips)++;
        std::vector<int> idx;
        for (int k = 0; k < std::abs(n); ++k, w += 3) {
            const float s = std::bit_cast<float>(cmd[w]), t = std::bit_cast<float>(cmd[w + 1]);
            if (!(s >= 0 && s <= 1 && t >= 0 && t <= 1)) m.commandStInSkin = false;
            idx.push_back(cmd[w + 2]);
        }
        for (size_t i = 2; i < idx.size(); ++i) {
            if (n < 0) m.commandTris.push_back({idx[0], idx[i - 1], idx[i]});
            else if (i % 2 == 0) m.commandTris.push_back({idx[i - 2], idx[i - 1], idx[i]});
            else m.commandTris.push_back({idx[i - 1], idx[i - 2], idx[i]});
        }
    }
    if (static_cast<int64_t>(w) != ncmd) return "words after the command list's 0";
    return "";
}

// The three files, read once for the whole suite; `error` names what is wrong with any of them.
struct Models {
    ArtModel ogros, weapon, spawn;
    std::string error;
};
const Models& Loaded() {
    static const Models models = [] {
        Models m;
        for (auto [name, model] : {std::pair{"Models/Ogros/Ogros.md2", &m.ogros},
                                   std::pair{"Models/Ogros/Weapon.md2", &m.weapon},
                                   std::pair{"Models/Spawn/Spawn.md2", &m.spawn}}) {
            const std::string e = ReadModel(name, *model);
            if (!e.empty()) m.error += std::string(name) + ": " + e + "; ";
        }
        return m;
    }();
    return models;
}

class ModelArt : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Loaded().error, "") << "the model files are bad"; }
    const ArtModel &og = Loaded().ogros, &club = Loaded().weapon, &sp = Loaded().spawn;
    const ArtModel* const each[3] = {&og, &club, &sp};
};

// A triangle with its corners turned so the smallest index leads (winding kept).
std::array<int, 3> Canonical(std::array<int, 3> t) {
    while (t[0] > t[1] || t[0] > t[2]) t = {t[1], t[2], t[0]};
    return t;
}

TEST_F(ModelArt, CommandListDrawsTheTrianglesAndFramesUseThePackingAndStayInBounds) {
    for (const ArtModel* m : each) {
        EXPECT_GT(m->strips, 0);
        EXPECT_GT(m->fans, 0);
        EXPECT_TRUE(m->commandStInSkin);
        // The strips and fans draw exactly the triangles of the triangle section, same winding,
        // and every vertex is drawn.
        std::multiset<std::array<int, 3>> fromSection, fromCommands;
        std::set<int> used;
        for (const auto& t : m->sectionTris) fromSection.insert(Canonical(t));
        for (const auto& t : m->commandTris) fromCommands.insert(Canonical(t)), used.insert(t.begin(), t.end());
        EXPECT_EQ(fromSection, fromCommands);
        EXPECT_EQ(used.size(), size_t(m->verts()));
        for (int f = 0; f < kFrames; ++f) {
            EXPECT_TRUE(m->fullRange[static_cast<size_t>(f)]) << "frame " << f;
            for (int v = 0; v < m->verts(); ++v)
                EXPECT_LE(std::max(std::fabs(m->at(f, v)[0]), std::fabs(m->at(f, v)[1])), 64.f);
            EXPECT_LE(m->z(f).second, 64.f);
            EXPECT_GE(m->z(f).first, kFloor - 0.01f) << "below the floor in frame " << f;
        }
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sp.bytes[68])), "Data/Models/Spawn/Spawn.tga");
    // Ogros and Spawn stand on the floor while standing (the weapon is held above it).
    for (const ArtModel* m : {&og, &sp})
        for (int f = 0; f < 40; ++f) EXPECT_NEAR(m->z(f).first, kFloor, 0.05f);
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
    for (const ArtModel* m : each)
        for (int frame : {0, 100, 190}) {
            const std::vector<float> volumes = PieceVolumes(*m, frame);
            EXPECT_GT(volumes.size(), 5u);
            for (float v : volumes) EXPECT_GT(v, 0.f) << "frame " << frame;
            std::vector<V3> sum(static_cast<size_t>(m->verts()), V3{0, 0, 0});
            for (const auto& t : m->commandTris) {
                const V3 a = m->at(frame, t[0]), b = m->at(frame, t[1]), c = m->at(frame, t[2]);
                const V3 n = Cross(Sub(c, a), Sub(b, a));
                for (int v : t)
                    for (int k = 0; k < 3; ++k) sum[static_cast<size_t>(v)][k] += n[k];
            }
            double total = 0;
            int far = 0;
            for (int v = 0; v < m->verts(); ++v) {
                const V3& s = sum[static_cast<size_t>(v)];
                const float len = std::sqrt(Dot(s, s));
                const float* n = NormalTable[m->normal(frame, v)];
                const float d = len > 0 ? Dot(s, V3{n[0], n[1], n[2]}) / len : 1.f;
                total += d;
                far += d < 0.7f;
            }
            EXPECT_GT(total / m->verts(), 0.95) << "frame " << frame;
            EXPECT_LE(far, m->verts() / 50) << "frame " << frame;
        }
}

// The largest distance any vertex moves between two frames.
float MaxStep(const ArtModel& m, int a, int b) {
    float most = 0;
    for (int v = 0; v < m.verts(); ++v) most = std::max(most, Dist(m.at(a, v), m.at(b, v)));
    return most;
}

TEST_F(ModelArt, LoopsFlowFromLastFrameToFirst) {
    // The ranges the program plays, and the run cycles.
    const struct {
        const ArtModel* model;
        int first, last;
    } loops[] = {{&og, 0, 39}, {&club, 0, 39}, {&sp, 95, 111}, {&og, 40, 45}, {&sp, 40, 45}};
    for (const auto& l : loops) {
        float most = 0, sum = 0;
        for (int f = l.first; f < l.last; ++f) {
            most = std::max(most, MaxStep(*l.model, f, f + 1));
            sum += MaxStep(*l.model, f, f + 1);
        }
        const float mean = sum / static_cast<float>(l.last - l.first);
        const float wrap = MaxStep(*l.model, l.last, l.first);
        EXPECT_GT(most, 0.3f) << "frames " << l.first << ".." << l.last << " do not move";
        // Neither a jump nor a held frame where the range starts again.
        EXPECT_LE(wrap, 1.5f * most) << "seam between frames " << l.last << " and " << l.first;
        EXPECT_GE(wrap, 0.25f * mean) << "frame " << l.last << " repeats frame " << l.first;
    }
}

TEST_F(ModelArt, EachOfTheEnginesRangesIsNamedAndIsItsOwnMotion) {
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
    ASSERT_EQ(expected.size(), static_cast<size_t>(kFrames));
    for (const ArtModel* m : each) EXPECT_EQ(m->names, expected);
    for (const ArtModel* m : {&og, &sp}) {
        std::vector<int> middles;
        for (const AnimationRange& r : AnimationTable) {
            middles.push_back((r.firstFrame + r.lastFrame + 1) / 2);
            float most = 0;
            for (int f = r.firstFrame + 1; f <= r.lastFrame; ++f) most = std::max(most, MaxStep(*m, r.firstFrame, f));
            EXPECT_TRUE(r.firstFrame == r.lastFrame || most > 1.5f) << "range from " << r.firstFrame << " hardly moves";
        }
        for (size_t a = 0; a < middles.size(); ++a)
            for (size_t b = a + 1; b < middles.size(); ++b)
                EXPECT_GT(MaxStep(*m, middles[a], middles[b]), 1.f)
                    << "frames " << middles[a] << " and " << middles[b] << " look alike";
    }
}

TEST_F(ModelArt, PosturesFitTheirMotionsAndTheClubStaysInTheFist) {
    const float standing = og.height(0);
    EXPECT_GT(standing, 48.f);
    // On the back or the face in the end, or on the side (as high as the shoulders are wide).
    for (int f : {177, 183, 189}) EXPECT_LT(og.height(f), 0.6f * standing) << "frame " << f;
    EXPECT_LT(og.height(197), 0.8f * standing);
    for (int f = 135; f <= 159; ++f) {
        EXPECT_LT(og.height(f), 0.92f * standing) << "frame " << f;
        EXPECT_LT(sp.height(f), sp.height(0) - 3) << "frame " << f;
    }
    for (const ArtModel* m : {&og, &sp}) EXPECT_GT(m->z(69).first, kFloor + 5) << "not off the ground in the jump";
    // Spawn rears up in its taunt and lies low in death.
    EXPECT_GT(sp.height(103), sp.height(95) + 5);
    for (int f : {177, 183, 189, 197}) EXPECT_LT(sp.height(f), sp.height(0)) << "frame " << f;

    // The closest pair of Ogros and weapon vertices in the first frame: the grip in the fist.
    int bestO = 0, bestW = 0;
    float best = 1e9f;
    for (int w = 0; w < club.verts(); ++w)
        for (int o = 0; o < og.verts(); ++o)
            if (const float d = Dist(club.at(0, w), og.at(0, o)); d < best) best = d, bestO = o, bestW = w;
    EXPECT_LT(best, 2.f);
    for (int f = 0; f < kFrames; ++f)
        EXPECT_NEAR(Dist(club.at(f, bestW), og.at(f, bestO)), best, 0.8f) << "frame " << f;
    // And the club really moves with the motions: raised overhead in the attack.
    EXPECT_GT(club.z(48).second, club.z(0).second + 10);
}

TEST(ModelArtFiles, SkinsAreReadableAndTheToolMakesIdenticalBytesAgain) {
    for (const auto& [name, size] : {std::pair{"Models/Ogros/igdosh.pcx", 256},
                                     {"Models/Ogros/Weapon.pcx", 128}, {"Models/Spawn/Spawn.tga", 256}}) {
        std::vector<uint8_t> px;
        int32_t w = 0, h = 0;
        ASSERT_EQ(LoadImageFile(kDataDir + name, &px, &w, &h, true), 1) << name;
        EXPECT_EQ(std::pair(w, h), std::pair(size, size)) << name;
        if (std::string_view(name).ends_with(".tga")) continue;
        // The run-length data holds exactly width x height indices, up to the palette.
        const auto b = *ReadWholeFile(kDataDir + name);
        size_t at = 128, pixels = 0;
        while (at < b.size() - 769) pixels += b[at] >= 0xC0 ? (at += 2, b[at - 2] & 0x3F) : (++at, 1);
        EXPECT_EQ(std::pair(at, pixels), std::pair(b.size() - 769, size_t(size) * size)) << name;
    }
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
