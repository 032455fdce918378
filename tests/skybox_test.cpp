// The skybox through the GL recorder: texture and size rules, and the six quads around the
// point it is drawn at.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_recorder.h"
#include "render/skybox.h"

namespace tam {
namespace {

struct Quad {
    double texture;
    std::vector<double> normal;
    std::vector<std::vector<double>> texCoords, vertices;
};

std::vector<Quad> Quads(const test::GlRecorder& rec) {
    std::vector<Quad> quads;
    double bound = -1;
    for (const auto& c : rec.calls) {
        if (c.name == "BindTexture") bound = c.args[1];
        else if (c.name == "Begin") quads.push_back({bound, {}, {}, {}});
        else if (c.name == "Normal3f") quads.back().normal = c.args;
        else if (c.name == "TexCoord2f") quads.back().texCoords.push_back(c.args);
        else if (c.name == "Vertex3f") quads.back().vertices.push_back(c.args);
    }
    return quads;
}

TEST(SkyBox, TexturesAndSizeRules) {
    TSkyBox sky;
    EXPECT_EQ(sky.size(), 100.f);
    EXPECT_FALSE(sky.SetTextures(1, 2, 3, 4, 5, 0));
    EXPECT_EQ(sky.textures(), (std::array<uint32_t, 6>{}));
    EXPECT_TRUE(sky.SetTextures(1, 2, 3, 4, 5, 6));
    EXPECT_FALSE(sky.SetTextures(0, 9, 9, 9, 9, 9));
    EXPECT_EQ(sky.textures(), (std::array<uint32_t, 6>{1, 2, 3, 4, 5, 6}));
    sky.SetSize(90);
    sky.SetSize(0);
    EXPECT_EQ(sky.size(), 90.f);
    sky.SetSize(-5);
    EXPECT_EQ(sky.size(), -5.f);
}

TEST(SkyBox, SixQuadsAroundThePointWithInwardNormals) {
    test::GlRecorder rec;
    gl::ScopedBackend backend(&rec);
    TSkyBox sky;
    sky.SetSize(90);
    sky.SetTextures(11, 12, 13, 14, 15, 1);
    sky.Draw(5, -7, 2);
    ASSERT_FALSE(rec.calls.empty());
    EXPECT_EQ(std::pair(rec.calls[0].name, rec.calls[0].args), std::pair(std::string("Color3f"), std::vector<double>{1, 1, 1}));
    for (const auto& begin : rec.Named("Begin")) EXPECT_EQ(begin.args[0], GL_QUADS);
    const auto quads = Quads(rec);
    ASSERT_EQ(quads.size(), 6u);
    const double textures[6] = {11, 12, 13, 14, 15, 1};
    const double centre[3] = {5, -7, 2};
    for (int i = 0; i < 6; ++i) {
        const Quad& q = quads[i];
        EXPECT_EQ(q.texture, textures[i]) << i;
        ASSERT_EQ(q.vertices.size(), 4u);
        ASSERT_EQ(q.texCoords.size(), 4u);
        double mid[3] = {0, 0, 0};
        for (const auto& v : q.vertices)
            for (int k = 0; k < 3; ++k) {
                EXPECT_FLOAT_EQ(std::fabs(v[k] - centre[k]), 90) << i;
                mid[k] += v[k] / 4;
            }
        // The normal points from the face toward the centre.
        double toward = 0;
        for (int k = 0; k < 3; ++k) toward += q.normal[k] * (centre[k] - mid[k]);
        EXPECT_FLOAT_EQ(toward, 90) << i;
    }
    // Front face exactly; t = 1 on the top edge of each side face.
    EXPECT_EQ(quads[0].vertices[0], (std::vector<double>{95, 83, 92}));
    EXPECT_EQ(quads[0].texCoords[0], (std::vector<double>{0, 1}));
    EXPECT_EQ(quads[0].vertices[2], (std::vector<double>{-85, 83, -88}));
    EXPECT_EQ(quads[0].texCoords[2], (std::vector<double>{1, 0}));
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(quads[i].texCoords[k][1] == 1, quads[i].vertices[k][2] > centre[2]) << i << " " << k;
    // No bottom face: the extra texture repeats the top plane.
    EXPECT_EQ(quads[5].vertices, quads[4].vertices);
    EXPECT_EQ(quads[5].texCoords, quads[4].texCoords);
    EXPECT_EQ(quads[4].normal, (std::vector<double>{0, 0, -1}));

    // Untextured, a box draws with texture name 0 at the default half-size of 100.
    rec.Clear();
    TSkyBox().Draw(0, 0, 0);
    ASSERT_EQ(Quads(rec).size(), 6u);
    for (const Quad& q : Quads(rec)) {
        EXPECT_EQ(q.texture, 0);
        for (const auto& v : q.vertices)
            for (double c : v) EXPECT_EQ(std::fabs(c), 100);
    }
}

}  // namespace
}  // namespace tam
