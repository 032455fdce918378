// A recording stand-in for the GL seam: every call becomes one Call entry with its numeric
// arguments, so drawing code can be checked without a window. Pointer arguments are recorded
// as described beside each method (arrays of floats are expanded; pixel data is summarised).
#pragma once

#include "render/gl_api.h"

#include <string>
#include <vector>

namespace tam::test {

struct GlCall {
    std::string name;
    std::vector<double> args;
};

class GlRecorder : public gl::Backend {
public:
    std::vector<GlCall> calls;
    GLuint nextList = 1;
    GLuint nextTexture = 1;
    GLenum error = GL_NO_ERROR;

    // The calls named `name`, in order.
    std::vector<GlCall> Named(const std::string& name) const {
        std::vector<GlCall> out;
        for (const auto& c : calls)
            if (c.name == name) out.push_back(c);
        return out;
    }
    size_t Count(const std::string& name) const { return Named(name).size(); }
    void Clear() { calls.clear(); }

    void Begin(GLenum mode) override {
        GlCall c{"Begin", {}};
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void End() override {
        GlCall c{"End", {}};
        calls.push_back(std::move(c));
    }
    void Vertex2i(GLint x, GLint y) override {
        GlCall c{"Vertex2i", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        calls.push_back(std::move(c));
    }
    void Vertex3f(GLfloat x, GLfloat y, GLfloat z) override {
        GlCall c{"Vertex3f", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(z));
        calls.push_back(std::move(c));
    }
    void TexCoord2f(GLfloat s, GLfloat t) override {
        GlCall c{"TexCoord2f", {}};
        c.args.push_back(static_cast<double>(s));
        c.args.push_back(static_cast<double>(t));
        calls.push_back(std::move(c));
    }
    void Normal3f(GLfloat x, GLfloat y, GLfloat z) override {
        GlCall c{"Normal3f", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(z));
        calls.push_back(std::move(c));
    }
    void Color3f(GLfloat r, GLfloat g, GLfloat b) override {
        GlCall c{"Color3f", {}};
        c.args.push_back(static_cast<double>(r));
        c.args.push_back(static_cast<double>(g));
        c.args.push_back(static_cast<double>(b));
        calls.push_back(std::move(c));
    }
    GLuint GenLists(GLsizei range) override {
        GlCall c{"GenLists", {}};
        c.args.push_back(static_cast<double>(range));
        calls.push_back(std::move(c));
        GLuint first = nextList;
        nextList += static_cast<GLuint>(range);
        return first;
    }
    void DeleteLists(GLuint list, GLsizei range) override {
        GlCall c{"DeleteLists", {}};
        c.args.push_back(static_cast<double>(list));
        c.args.push_back(static_cast<double>(range));
        calls.push_back(std::move(c));
    }
    void NewList(GLuint list, GLenum mode) override {
        GlCall c{"NewList", {}};
        c.args.push_back(static_cast<double>(list));
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void EndList() override {
        GlCall c{"EndList", {}};
        calls.push_back(std::move(c));
    }
    void CallList(GLuint list) override {
        GlCall c{"CallList", {}};
        c.args.push_back(static_cast<double>(list));
        calls.push_back(std::move(c));
    }
    void ListBase(GLuint base) override {
        GlCall c{"ListBase", {}};
        c.args.push_back(static_cast<double>(base));
        calls.push_back(std::move(c));
    }
    void CallLists(GLsizei n, GLenum type, const void* lists) override {
        GlCall c{"CallLists", {static_cast<double>(n), static_cast<double>(type)}};
        if (type == GL_UNSIGNED_BYTE && lists)
            for (GLsizei i = 0; i < n; ++i)
                c.args.push_back(static_cast<const unsigned char*>(lists)[i]);
        calls.push_back(std::move(c));
    }
    void Enable(GLenum cap) override {
        GlCall c{"Enable", {}};
        c.args.push_back(static_cast<double>(cap));
        calls.push_back(std::move(c));
    }
    void Disable(GLenum cap) override {
        GlCall c{"Disable", {}};
        c.args.push_back(static_cast<double>(cap));
        calls.push_back(std::move(c));
    }
    void Fogi(GLenum pname, GLint param) override {
        GlCall c{"Fogi", {}};
        c.args.push_back(static_cast<double>(pname));
        c.args.push_back(static_cast<double>(param));
        calls.push_back(std::move(c));
    }
    void Fogf(GLenum pname, GLfloat param) override {
        GlCall c{"Fogf", {}};
        c.args.push_back(static_cast<double>(pname));
        c.args.push_back(static_cast<double>(param));
        calls.push_back(std::move(c));
    }
    void Fogfv(GLenum pname, const GLfloat* params) override {
        GlCall c{"Fogfv", {static_cast<double>(pname)}};
        for (int i = 0; i < 4; ++i) c.args.push_back(params[i]);
        calls.push_back(std::move(c));
    }
    void Hint(GLenum target, GLenum mode) override {
        GlCall c{"Hint", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void PushAttrib(GLbitfield mask) override {
        GlCall c{"PushAttrib", {}};
        c.args.push_back(static_cast<double>(mask));
        calls.push_back(std::move(c));
    }
    void PopAttrib() override {
        GlCall c{"PopAttrib", {}};
        calls.push_back(std::move(c));
    }
    void FrontFace(GLenum mode) override {
        GlCall c{"FrontFace", {}};
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void CullFace(GLenum mode) override {
        GlCall c{"CullFace", {}};
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void BlendFunc(GLenum sfactor, GLenum dfactor) override {
        GlCall c{"BlendFunc", {}};
        c.args.push_back(static_cast<double>(sfactor));
        c.args.push_back(static_cast<double>(dfactor));
        calls.push_back(std::move(c));
    }
    void Lightfv(GLenum light, GLenum pname, const GLfloat* params) override {
        GlCall c{"Lightfv", {}};
        c.args.push_back(static_cast<double>(light));
        c.args.push_back(static_cast<double>(pname));
        for (int i = 0; i < 4; ++i) c.args.push_back(params ? params[i] : 0.0);
        calls.push_back(std::move(c));
    }
    void LightModelfv(GLenum pname, const GLfloat* params) override {
        GlCall c{"LightModelfv", {}};
        c.args.push_back(static_cast<double>(pname));
        for (int i = 0; i < 4; ++i) c.args.push_back(params ? params[i] : 0.0);
        calls.push_back(std::move(c));
    }
    void Materialfv(GLenum face, GLenum pname, const GLfloat* params) override {
        GlCall c{"Materialfv", {}};
        c.args.push_back(static_cast<double>(face));
        c.args.push_back(static_cast<double>(pname));
        for (int i = 0; i < 4; ++i) c.args.push_back(params ? params[i] : 0.0);
        calls.push_back(std::move(c));
    }
    void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) override {
        GlCall c{"Viewport", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(w));
        c.args.push_back(static_cast<double>(h));
        calls.push_back(std::move(c));
    }
    void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) override {
        GlCall c{"ClearColor", {}};
        c.args.push_back(static_cast<double>(r));
        c.args.push_back(static_cast<double>(g));
        c.args.push_back(static_cast<double>(b));
        c.args.push_back(static_cast<double>(a));
        calls.push_back(std::move(c));
    }
    void Clear(GLbitfield mask) override {
        GlCall c{"Clear", {}};
        c.args.push_back(static_cast<double>(mask));
        calls.push_back(std::move(c));
    }
    void Flush() override {
        GlCall c{"Flush", {}};
        calls.push_back(std::move(c));
    }
    GLenum GetError() override {
        GlCall c{"GetError", {}};
        calls.push_back(std::move(c));
        return error;
    }
    void MatrixMode(GLenum mode) override {
        GlCall c{"MatrixMode", {}};
        c.args.push_back(static_cast<double>(mode));
        calls.push_back(std::move(c));
    }
    void PushMatrix() override {
        GlCall c{"PushMatrix", {}};
        calls.push_back(std::move(c));
    }
    void PopMatrix() override {
        GlCall c{"PopMatrix", {}};
        calls.push_back(std::move(c));
    }
    void LoadIdentity() override {
        GlCall c{"LoadIdentity", {}};
        calls.push_back(std::move(c));
    }
    void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) override {
        GlCall c{"Rotatef", {}};
        c.args.push_back(static_cast<double>(angle));
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(z));
        calls.push_back(std::move(c));
    }
    void Translatef(GLfloat x, GLfloat y, GLfloat z) override {
        GlCall c{"Translatef", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(z));
        calls.push_back(std::move(c));
    }
    void Translated(GLdouble x, GLdouble y, GLdouble z) override {
        GlCall c{"Translated", {}};
        c.args.push_back(static_cast<double>(x));
        c.args.push_back(static_cast<double>(y));
        c.args.push_back(static_cast<double>(z));
        calls.push_back(std::move(c));
    }
    void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) override {
        GlCall c{"Ortho", {}};
        c.args.push_back(static_cast<double>(l));
        c.args.push_back(static_cast<double>(r));
        c.args.push_back(static_cast<double>(b));
        c.args.push_back(static_cast<double>(t));
        c.args.push_back(static_cast<double>(n));
        c.args.push_back(static_cast<double>(f));
        calls.push_back(std::move(c));
    }
    void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) override {
        GlCall c{"Perspective", {}};
        c.args.push_back(static_cast<double>(fovy));
        c.args.push_back(static_cast<double>(aspect));
        c.args.push_back(static_cast<double>(zNear));
        c.args.push_back(static_cast<double>(zFar));
        calls.push_back(std::move(c));
    }
    GLuint GenTexture() override {
        GlCall c{"GenTexture", {}};
        calls.push_back(std::move(c));
        return nextTexture++;
    }
    void DeleteTexture(GLuint name) override {
        GlCall c{"DeleteTexture", {}};
        c.args.push_back(static_cast<double>(name));
        calls.push_back(std::move(c));
    }
    void BindTexture(GLenum target, GLuint name) override {
        GlCall c{"BindTexture", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(name));
        calls.push_back(std::move(c));
    }
    void TexParameteri(GLenum target, GLenum pname, GLint param) override {
        GlCall c{"TexParameteri", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(pname));
        c.args.push_back(static_cast<double>(param));
        calls.push_back(std::move(c));
    }
    void TexEnvf(GLenum target, GLenum pname, GLfloat param) override {
        GlCall c{"TexEnvf", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(pname));
        c.args.push_back(static_cast<double>(param));
        calls.push_back(std::move(c));
    }
    void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border, GLenum format, GLenum type, const void* pixels) override {
        GlCall c{"TexImage2D", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(level));
        c.args.push_back(static_cast<double>(internalFormat));
        c.args.push_back(static_cast<double>(w));
        c.args.push_back(static_cast<double>(h));
        c.args.push_back(static_cast<double>(border));
        c.args.push_back(static_cast<double>(format));
        c.args.push_back(static_cast<double>(type));
        c.args.push_back(pixels ? 1.0 : 0.0);
        calls.push_back(std::move(c));
    }
    void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h,     GLenum format, GLenum type, const void* pixels) override {
        GlCall c{"Build2DMipmaps", {}};
        c.args.push_back(static_cast<double>(target));
        c.args.push_back(static_cast<double>(internalFormat));
        c.args.push_back(static_cast<double>(w));
        c.args.push_back(static_cast<double>(h));
        c.args.push_back(static_cast<double>(format));
        c.args.push_back(static_cast<double>(type));
        c.args.push_back(pixels ? 1.0 : 0.0);
        calls.push_back(std::move(c));
    }
};

}  // namespace tam::test
