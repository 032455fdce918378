// A recording stand-in for the GL seam: every call becomes one GlCall with its numeric arguments
// (four values for float arrays, the bytes for CallLists, whether other pointers were given).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "render/gl_api.h"

namespace tam::test {

struct GlCall {
    std::string name;
    std::vector<double> args;
};

using Call = std::pair<std::string, std::vector<double>>;  // a GlCall in comparable form

class GlRecorder : public gl::Backend {
public:
    std::vector<GlCall> calls;
    bool keepCalls = true;  // false: only count them (recording nothing allocates nothing)
    size_t callCount = 0;
    GLuint nextList = 1;
    GLuint nextTexture = 1;

    // The calls named `name`, in order.
    std::vector<GlCall> Named(const std::string& name) const {
        std::vector<GlCall> out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [&](const GlCall& c) { return c.name == name; });
        return out;
    }
    size_t Count(const std::string& name) const { return Named(name).size(); }
    // Up to `count` calls from `from` on as (name, arguments) pairs, to compare a sequence whole.
    std::vector<Call> Seq(size_t from = 0, size_t count = ~size_t{0}) const {
        std::vector<Call> out;
        for (size_t i = from; i < calls.size() && out.size() < count; ++i)
            out.emplace_back(calls[i].name, calls[i].args);
        return out;
    }
    void Clear() { calls.clear(); }

    void Begin(GLenum mode) override { R("Begin", mode); }
    void End() override { R("End"); }
    void Vertex2i(GLint x, GLint y) override { R("Vertex2i", x, y); }
    void Vertex3f(GLfloat x, GLfloat y, GLfloat z) override { R("Vertex3f", x, y, z); }
    void TexCoord2f(GLfloat s, GLfloat t) override { R("TexCoord2f", s, t); }
    void Normal3f(GLfloat x, GLfloat y, GLfloat z) override { R("Normal3f", x, y, z); }
    void Color3f(GLfloat r, GLfloat g, GLfloat b) override { R("Color3f", r, g, b); }
    GLuint GenLists(GLsizei range) override {
        R("GenLists", range);
        return (nextList += GLuint(range)) - GLuint(range);
    }
    void DeleteLists(GLuint list, GLsizei range) override { R("DeleteLists", list, range); }
    void NewList(GLuint list, GLenum mode) override { R("NewList", list, mode); }
    void EndList() override { R("EndList"); }
    void CallList(GLuint list) override { R("CallList", list); }
    void ListBase(GLuint base) override { R("ListBase", base); }
    void CallLists(GLsizei n, GLenum type, const void* lists) override {
        R("CallLists", n, type);
        if (type == GL_UNSIGNED_BYTE && lists && keepCalls)
            for (GLsizei i = 0; i < n; ++i)
                calls.back().args.push_back(static_cast<const uint8_t*>(lists)[i]);
    }
    void Enable(GLenum cap) override { R("Enable", cap); }
    void Disable(GLenum cap) override { R("Disable", cap); }
    void Fogi(GLenum pname, GLint param) override { R("Fogi", pname, param); }
    void Fogf(GLenum pname, GLfloat param) override { R("Fogf", pname, param); }
    void Fogfv(GLenum pname, const GLfloat* v) override { R4(v, "Fogfv", pname); }
    void Hint(GLenum target, GLenum mode) override { R("Hint", target, mode); }
    void PushAttrib(GLbitfield mask) override { R("PushAttrib", mask); }
    void PopAttrib() override { R("PopAttrib"); }
    void FrontFace(GLenum mode) override { R("FrontFace", mode); }
    void CullFace(GLenum mode) override { R("CullFace", mode); }
    void BlendFunc(GLenum sfactor, GLenum dfactor) override { R("BlendFunc", sfactor, dfactor); }
    void Lightfv(GLenum light, GLenum pname, const GLfloat* v) override { R4(v, "Lightfv", light, pname); }
    void LightModelfv(GLenum pname, const GLfloat* v) override { R4(v, "LightModelfv", pname); }
    void Materialfv(GLenum face, GLenum name, const GLfloat* v) override { R4(v, "Materialfv", face, name); }
    void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) override { R("Viewport", x, y, w, h); }
    void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) override { R("ClearColor", r, g, b, a); }
    void Clear(GLbitfield mask) override { R("Clear", mask); }
    void Flush() override { R("Flush"); }
    // Fills the pixels with their byte offset, so a reader's row order shows.
    void ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                    void* pixels) override {
        R("ReadPixels", x, y, w, h, format, type);
        for (size_t i = 0; i < size_t(w) * size_t(h) * 3; ++i) static_cast<uint8_t*>(pixels)[i] = uint8_t(i);
    }
    GLenum GetError() override { return R("GetError"), GLenum{GL_NO_ERROR}; }
    void MatrixMode(GLenum mode) override { R("MatrixMode", mode); }
    void PushMatrix() override { R("PushMatrix"); }
    void PopMatrix() override { R("PopMatrix"); }
    void LoadIdentity() override { R("LoadIdentity"); }
    void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) override { R("Rotatef", angle, x, y, z); }
    void Translatef(GLfloat x, GLfloat y, GLfloat z) override { R("Translatef", x, y, z); }
    void Translated(GLdouble x, GLdouble y, GLdouble z) override { R("Translated", x, y, z); }
    void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) override {
        R("Ortho", l, r, b, t, n, f);
    }
    void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) override {
        R("Perspective", fovy, aspect, zNear, zFar);
    }
    GLuint GenTexture() override { return R("GenTexture"), nextTexture++; }
    void DeleteTexture(GLuint name) override { R("DeleteTexture", name); }
    void BindTexture(GLenum target, GLuint name) override { R("BindTexture", target, name); }
    void TexParameteri(GLenum target, GLenum name, GLint v) override { R("TexParameteri", target, name, v); }
    void TexEnvf(GLenum target, GLenum pname, GLfloat param) override { R("TexEnvf", target, pname, param); }
    void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border,
                    GLenum format, GLenum type, const void* pixels) override {
        R("TexImage2D", target, level, internalFormat, w, h, border, format, type, pixels != nullptr);
    }
    void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h, GLenum format, GLenum type,
                        const void* pixels) override {
        R("Build2DMipmaps", target, internalFormat, w, h, format, type, pixels != nullptr);
    }

private:
    template <class... A>
    void R(const char* name, A... args) {
        ++callCount;
        if (keepCalls) calls.push_back({name, {double(args)...}});
    }
    // A call whose last argument is an array of four floats.
    template <class... A>
    void R4(const GLfloat* four, const char* name, A... args) {
        R(name, args...);
        if (keepCalls) calls.back().args.insert(calls.back().args.end(), four, four + 4);
    }
};

// The recorded geometry, one entry per triangle or quad, with the texture, normal and colour in
// force; each vertex is {s, t, x, y, z}.
using Vtx = std::array<float, 5>;
using N3 = std::array<float, 3>;
struct Face {
    GLenum mode;
    double texture;
    N3 n;
    std::vector<Vtx> v;
    N3 color = {1, 1, 1};
    bool operator==(const Face&) const = default;
};
inline std::vector<Face> Faces(const GlRecorder& rec) {
    std::vector<Face> out;
    double texture = -1, n[3] = {}, st[2] = {}, color[3] = {};
    GLenum mode = 0;
    Face cur{};
    for (const auto& c : rec.calls) {
        if (c.name == "BindTexture") texture = c.args[1];
        if (c.name == "Begin") mode = static_cast<GLenum>(c.args[0]);
        if (c.name == "Normal3f") std::copy(c.args.begin(), c.args.end(), n);
        if (c.name == "TexCoord2f") std::copy(c.args.begin(), c.args.end(), st);
        if (c.name == "Color3f") std::copy(c.args.begin(), c.args.end(), color);
        if (c.name != "Vertex3f") continue;
        if (cur.v.empty())
            cur = Face{mode, texture, {float(n[0]), float(n[1]), float(n[2])}, {},
                       {float(color[0]), float(color[1]), float(color[2])}};
        cur.v.push_back({float(st[0]), float(st[1]), float(c.args[0]), float(c.args[1]), float(c.args[2])});
        if (cur.v.size() == (mode == GL_TRIANGLES ? 3u : 4u)) out.push_back(cur), cur = {};
    }
    return out;
}
// The faces of `all` drawn as `mode` with the normal `n`.
inline std::vector<Face> Select(const std::vector<Face>& all, GLenum mode, N3 n) {
    std::vector<Face> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), [&](auto& f) { return f.mode == mode && f.n == n; });
    return out;
}

}  // namespace tam::test
