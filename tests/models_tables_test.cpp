// Checks of the MD2 normal and shade tables: known entries, unit length, and that every shade
// factor agrees with the lighting rule the table was built from, which ties the two tables together.
#include "models/md2_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace tam {
namespace {

TEST(ModelsTables, NormalEndsAndUnitLength) {
    const float ends[2][3] = {{-0.525731f, 0.0f, 0.850651f}, {-0.688191f, -0.587785f, -0.425325f}};
    for (int a = 0; a < 3; ++a) {
        EXPECT_FLOAT_EQ(NormalTable[0][a], ends[0][a]);
        EXPECT_FLOAT_EQ(NormalTable[161][a], ends[1][a]);
    }
    std::set<std::tuple<float, float, float>> distinct;
    for (int k = 0; k < kNormalCount; ++k) {
        const float* n = NormalTable[k];
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-5) << "normal " << k;
        distinct.insert({n[0], n[1], n[2]});
    }
    EXPECT_EQ(distinct.size(), 162u);
}

TEST(ModelsTables, ShadeRowsKnownEntries) {
    // Rows 0, 4, 8 and 12 begin as quoted; the lighting rule below covers every other entry.
    const float first8[4][8] = {{1.23, 1.30, 1.47, 1.35, 1.56, 1.71, 1.37, 1.38},
                                {1.60, 1.44, 1.68, 1.22, 1.49, 1.71, 0.93, 0.99},
                                {1.97, 1.92, 1.88, 1.79, 1.79, 1.71, 1.37, 1.59},
                                {1.60, 1.78, 1.68, 1.93, 1.86, 1.71, 1.97, 1.99}};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 8; ++k) EXPECT_FLOAT_EQ(ShadeTable[4 * i][k], first8[i][k]) << "row " << 4 * i;
}

TEST(ModelsTables, ShadeFollowsLightingRule) {
    const double pi = std::acos(-1.0);
    for (int r = 0; r < 16; ++r) {
        const double a = r * 22.5 * pi / 180.0;
        const double l[3] = {std::cos(a) / std::sqrt(2.0), -std::sin(a) / std::sqrt(2.0),
                             1.0 / std::sqrt(2.0)};
        for (int k = 0; k < 256; ++k) {
            const float v = ShadeTable[r][k];
            if (k >= kNormalCount) {
                EXPECT_EQ(v, 1.0f) << "row " << r << " column " << k;
                continue;
            }
            EXPECT_GE(v, 0.70f);
            EXPECT_LE(v, 1.99f);
            EXPECT_NEAR(std::round(v * 100.0) / 100.0, v, 1e-5);  // whole hundredths
            const float* n = NormalTable[k];
            const double d = n[0] * l[0] + n[1] * l[1] + n[2] * l[2];
            const double expected = d > 0 ? 1.0 + d : 1.0 + 0.3 * d;
            EXPECT_NEAR(v, expected, 0.0051) << "row " << r << " column " << k;
        }
    }
}

}  // namespace
}  // namespace tam
