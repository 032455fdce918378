// A recording stand-in for the GL seam: every call becomes one GlCall with its numeric
// arguments, so drawing code can be checked without a window. Float arrays (lights, materials,
// fog colour) are expanded to four values; CallLists records its bytes; other pointers record
// whether they were given.
#pragma once

#include <initializer_list>
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
    GLenum error = GL_NO_ERROR;

    // The calls named `name`, in order.
    std::vector<GlCall> Named(const std::string& name) const {
        std::vector<GlCall> out;
        for (const auto& c : calls)
            if (c.name == name) out.push_back(c);
        return out;
    }
    size_t Count(const std::string& name) const { return Named(name).size(); }
    // Up to `count` calls from `from` on as (name, arguments) pairs, to compare a sequence whole.
    std::vector<Call> Seq(size_t from = 0, size_t count = ~size_t{0}) const {
        std::vector<Call> out;
        for (size_t i = from; i < calls.size() && out.size() < count; ++i) out.emplace_back(calls[i].name, calls[i].args);
        return out;
    }
    void Clear() { calls.clear(); }

    void Begin(GLenum mode) override { Rec("Begin", {double(mode)}); }
    void End() override { Rec("End", {}); }
    void Vertex2i(GLint x, GLint y) override { Rec("Vertex2i", {double(x), double(y)}); }
    void Vertex3f(GLfloat x, GLfloat y, GLfloat z) override {
        Rec("Vertex3f", {double(x), double(y), double(z)});
    }
    void TexCoord2f(GLfloat s, GLfloat t) override { Rec("TexCoord2f", {double(s), double(t)}); }
    void Normal3f(GLfloat x, GLfloat y, GLfloat z) override {
        Rec("Normal3f", {double(x), double(y), double(z)});
    }
    void Color3f(GLfloat r, GLfloat g, GLfloat b) override {
        Rec("Color3f", {double(r), double(g), double(b)});
    }
    GLuint GenLists(GLsizei range) override {
        Rec("GenLists", {double(range)});
        nextList += static_cast<GLuint>(range);
        return nextList - static_cast<GLuint>(range);
    }
    void DeleteLists(GLuint list, GLsizei range) override {
        Rec("DeleteLists", {double(list), double(range)});
    }
    void NewList(GLuint list, GLenum mode) override {
        Rec("NewList", {double(list), double(mode)});
    }
    void EndList() override { Rec("EndList", {}); }
    void CallList(GLuint list) override { Rec("CallList", {double(list)}); }
    void ListBase(GLuint base) override { Rec("ListBase", {double(base)}); }
    void CallLists(GLsizei n, GLenum type, const void* lists) override {
        Rec("CallLists", {double(n), double(type)});
        if (type == GL_UNSIGNED_BYTE && lists && keepCalls)
            for (GLsizei i = 0; i < n; ++i)
                calls.back().args.push_back(static_cast<const unsigned char*>(lists)[i]);
    }
    void Enable(GLenum cap) override { Rec("Enable", {double(cap)}); }
    void Disable(GLenum cap) override { Rec("Disable", {double(cap)}); }
    void Fogi(GLenum pname, GLint param) override { Rec("Fogi", {double(pname), double(param)}); }
    void Fogf(GLenum pname, GLfloat param) override { Rec("Fogf", {double(pname), double(param)}); }
    void Fogfv(GLenum pname, const GLfloat* params) override {
        Rec("Fogfv", {double(pname)}, params);
    }
    void Hint(GLenum target, GLenum mode) override { Rec("Hint", {double(target), double(mode)}); }
    void PushAttrib(GLbitfield mask) override { Rec("PushAttrib", {double(mask)}); }
    void PopAttrib() override { Rec("PopAttrib", {}); }
    void FrontFace(GLenum mode) override { Rec("FrontFace", {double(mode)}); }
    void CullFace(GLenum mode) override { Rec("CullFace", {double(mode)}); }
    void BlendFunc(GLenum sfactor, GLenum dfactor) override {
        Rec("BlendFunc", {double(sfactor), double(dfactor)});
    }
    void Lightfv(GLenum light, GLenum pname, const GLfloat* params) override {
        Rec("Lightfv", {double(light), double(pname)}, params);
    }
    void LightModelfv(GLenum pname, const GLfloat* params) override {
        Rec("LightModelfv", {double(pname)}, params);
    }
    void Materialfv(GLenum face, GLenum pname, const GLfloat* params) override {
        Rec("Materialfv", {double(face), double(pname)}, params);
    }
    void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) override {
        Rec("Viewport", {double(x), double(y), double(w), double(h)});
    }
    void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) override {
        Rec("ClearColor", {double(r), double(g), double(b), double(a)});
    }
    void Clear(GLbitfield mask) override { Rec("Clear", {double(mask)}); }
    void Flush() override { Rec("Flush", {}); }
    // Fills the pixels with their byte offset, so a reader's row order shows.
    void ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                    void* pixels) override {
        Rec("ReadPixels", {double(x), double(y), double(w), double(h), double(format), double(type)});
        auto* bytes = static_cast<uint8_t*>(pixels);
        for (size_t i = 0; i < size_t(w) * size_t(h) * 3; ++i) bytes[i] = uint8_t(i);
    }
    GLenum GetError() override {
        Rec("GetError", {});
        return error;
    }
    void MatrixMode(GLenum mode) override { Rec("MatrixMode", {double(mode)}); }
    void PushMatrix() override { Rec("PushMatrix", {}); }
    void PopMatrix() override { Rec("PopMatrix", {}); }
    void LoadIdentity() override { Rec("LoadIdentity", {}); }
    void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) override {
        Rec("Rotatef", {double(angle), double(x), double(y), double(z)});
    }
    void Translatef(GLfloat x, GLfloat y, GLfloat z) override {
        Rec("Translatef", {double(x), double(y), double(z)});
    }
    void Translated(GLdouble x, GLdouble y, GLdouble z) override {
        Rec("Translated", {double(x), double(y), double(z)});
    }
    void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) override {
        Rec("Ortho", {double(l), double(r), double(b), double(t), double(n), double(f)});
    }
    void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) override {
        Rec("Perspective", {double(fovy), double(aspect), double(zNear), double(zFar)});
    }
    GLuint GenTexture() override {
        Rec("GenTexture", {});
        return nextTexture++;
    }
    void DeleteTexture(GLuint name) override { Rec("DeleteTexture", {double(name)}); }
    void BindTexture(GLenum target, GLuint name) override {
        Rec("BindTexture", {double(target), double(name)});
    }
    void TexParameteri(GLenum target, GLenum pname, GLint param) override {
        Rec("TexParameteri", {double(target), double(pname), double(param)});
    }
    void TexEnvf(GLenum target, GLenum pname, GLfloat param) override {
        Rec("TexEnvf", {double(target), double(pname), double(param)});
    }
    void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border, GLenum format, GLenum type, const void* pixels) override {
        Rec("TexImage2D", {double(target), double(level), double(internalFormat), double(w), double(h), double(border), double(format), double(type), pixels ? 1.0 : 0.0});
    }
    void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h, GLenum format, GLenum type, const void* pixels) override {
        Rec("Build2DMipmaps", {double(target), double(internalFormat), double(w), double(h), double(format), double(type), pixels ? 1.0 : 0.0});
    }

private:
    void Rec(const char* name, std::initializer_list<double> args, const GLfloat* four = nullptr) {
        ++callCount;
        if (!keepCalls) return;
        calls.push_back({name, args});
        if (four)
            for (int i = 0; i < 4; ++i) calls.back().args.push_back(four[i]);
    }
};

}  // namespace tam::test
