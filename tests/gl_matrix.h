// 4 x 4 matrices as OpenGL composes them, and a replay of recorded matrix calls, so tests check
// where drawing lands instead of which calls put it there.
#pragma once

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "gl_recorder.h"

namespace tam::test {

using Vec4 = std::array<double, 4>;
struct Mat {
    std::array<Vec4, 4> r{Vec4{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // rows
    Vec4 operator*(const Vec4& v) const {
        Vec4 out{};
        for (size_t i = 0; i < 4; ++i)
            for (size_t k = 0; k < 4; ++k) out[i] += r[i][k] * v[k];
        return out;
    }
    Mat operator*(const Mat& o) const {
        Mat out;
        for (size_t i = 0; i < 4; ++i)
            for (size_t j = 0; j < 4; ++j) out.r[i][j] = (*this * Vec4{o.r[0][j], o.r[1][j], o.r[2][j], o.r[3][j]})[i];
        return out;
    }
    bool operator==(const Mat&) const = default;
};

inline Mat Translation(double x, double y, double z) {
    Mat t;
    t.r[0][3] = x, t.r[1][3] = y, t.r[2][3] = z;
    return t;
}
// A right-handed rotation of `degrees` about the axis (x, y, z).
inline Mat Rotation(double degrees, double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z), a = degrees * std::numbers::pi / 180;
    x /= len, y /= len, z /= len;
    const double c = std::cos(a), s = std::sin(a), d = 1 - c;
    Mat m;
    m.r = {Vec4{x * x * d + c, x * y * d - z * s, x * z * d + y * s, 0},
           {y * x * d + z * s, y * y * d + c, y * z * d - x * s, 0},
           {x * z * d - y * s, y * z * d + x * s, z * z * d + c, 0}, {0, 0, 0, 1}};
    return m;
}
inline Mat Ortho(double l, double r, double b, double t, double n, double f) {
    Mat o = Translation(-(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n));
    o.r[0][0] = 2 / (r - l), o.r[1][1] = 2 / (t - b), o.r[2][2] = -2 / (f - n);
    return o;
}

// gluPerspective's matrix: `fovy` in degrees, `aspect` width over height.
inline Mat Perspective(double fovy, double aspect, double n, double f) {
    const double t = 1 / std::tan(fovy * std::numbers::pi / 360);
    Mat p;
    p.r = {Vec4{t / aspect, 0, 0, 0}, {0, t, 0, 0}, {0, 0, (f + n) / (n - f), 2 * f * n / (n - f)},
           {0, 0, -1, 0}};
    return p;
}

// The projection and model-view stacks as the recorded calls leave them.
struct MatrixReplay {
    std::vector<Mat> projection{Mat{}}, modelview{Mat{}};
    bool inModelview = true;
    std::vector<Mat>& Stack() { return inModelview ? modelview : projection; }
    // Applies `c` when it is a matrix call.
    void Step(const GlCall& c) {
        const auto& a = c.args;
        Mat& top = Stack().back();
        if (c.name == "MatrixMode") inModelview = a[0] == GL_MODELVIEW;
        if (c.name == "PushMatrix") Stack().push_back(top);
        if (c.name == "PopMatrix") Stack().pop_back();
        if (c.name == "LoadIdentity") top = Mat{};
        if (c.name == "Translatef" || c.name == "Translated") top = top * Translation(a[0], a[1], a[2]);
        if (c.name == "Rotatef") top = top * Rotation(a[0], a[1], a[2], a[3]);
        if (c.name == "Ortho") top = top * Ortho(a[0], a[1], a[2], a[3], a[4], a[5]);
        if (c.name == "Perspective") top = top * Perspective(a[0], a[1], a[2], a[3]);
    }
};

}  // namespace tam::test
