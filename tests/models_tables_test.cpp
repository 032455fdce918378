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
    EXPECT_FLOAT_EQ(NormalTable[0][0], -0.525731f);
    EXPECT_FLOAT_EQ(NormalTable[0][1], 0.0f);
    EXPECT_FLOAT_EQ(NormalTable[0][2], 0.850651f);
    EXPECT_FLOAT_EQ(NormalTable[161][0], -0.688191f);
    EXPECT_FLOAT_EQ(NormalTable[161][1], -0.587785f);
    EXPECT_FLOAT_EQ(NormalTable[161][2], -0.425325f);
    std::set<std::tuple<float, float, float>> distinct;
    for (int k = 0; k < kNormalCount; ++k) {
        const float* n = NormalTable[k];
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-5) << "normal " << k;
        distinct.insert({n[0], n[1], n[2]});
    }
    EXPECT_EQ(distinct.size(), 162u);
}

TEST(ModelsTables, ShadeRowsQuoted) {
    const float row0[162] = {
        1.23, 1.30, 1.47, 1.35, 1.56, 1.71, 1.37, 1.38, 1.59, 1.60, 1.79, 1.97, 1.88, 1.92, 1.79, 1.02,
        0.93, 1.07, 0.82, 0.87, 0.88, 0.94, 0.96, 1.14, 1.11, 0.82, 0.83, 0.89, 0.89, 0.86, 0.94, 0.91,
        1.00, 1.21, 0.98, 1.48, 1.30, 1.57, 0.96, 1.07, 1.14, 1.60, 1.61, 1.40, 1.37, 1.72, 1.78, 1.79,
        1.93, 1.99, 1.90, 1.68, 1.71, 1.86, 1.60, 1.68, 1.78, 1.86, 1.93, 1.99, 1.97, 1.44, 1.22, 1.49,
        0.93, 0.99, 0.99, 1.23, 1.22, 1.44, 1.49, 0.89, 0.89, 0.97, 0.91, 0.98, 1.19, 0.82, 0.76, 0.82,
        0.71, 0.72, 0.73, 0.76, 0.79, 0.86, 0.83, 0.72, 0.76, 0.76, 0.89, 0.82, 0.89, 0.82, 0.89, 0.91,
        0.83, 0.96, 1.14, 0.97, 1.40, 1.19, 0.98, 0.94, 1.00, 1.07, 1.37, 1.21, 1.48, 1.30, 1.57, 1.61,
        1.37, 0.86, 0.83, 0.91, 0.82, 0.82, 0.88, 0.89, 0.96, 1.14, 0.98, 0.87, 0.93, 0.94, 1.02, 1.30,
        1.07, 1.35, 1.38, 1.11, 1.56, 1.92, 1.79, 1.79, 1.59, 1.60, 1.72, 1.90, 1.79, 0.80, 0.85, 0.79,
        0.93, 0.80, 0.85, 0.77, 0.74, 0.72, 0.77, 0.74, 0.72, 0.70, 0.70, 0.71, 0.76, 0.73, 0.79, 0.79,
        0.73, 0.76};
    for (int k = 0; k < 162; ++k) EXPECT_FLOAT_EQ(ShadeTable[0][k], row0[k]) << "column " << k;

    const float first8[3][8] = {{1.60, 1.44, 1.68, 1.22, 1.49, 1.71, 0.93, 0.99},
                                {1.97, 1.92, 1.88, 1.79, 1.79, 1.71, 1.37, 1.59},
                                {1.60, 1.78, 1.68, 1.93, 1.86, 1.71, 1.97, 1.99}};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 8; ++k)
            EXPECT_FLOAT_EQ(ShadeTable[4 * (i + 1)][k], first8[i][k]) << "row " << 4 * (i + 1);
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
