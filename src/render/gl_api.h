// The OpenGL seam. Every GL and GLU call made by drawing code (map, terrain, models, sky, font,
// texture upload, render state) goes through gl::Api(), so that the same code can run against the
// real libGL or against a recording stand-in in tests. Only the window thread calls it.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "base/seam.h"

namespace tam::gl {

class Backend {
public:
    virtual ~Backend() = default;

    // Immediate mode.
    virtual void Begin(GLenum mode) = 0;
    virtual void End() = 0;
    virtual void Vertex2i(GLint x, GLint y) = 0;
    virtual void Vertex3f(GLfloat x, GLfloat y, GLfloat z) = 0;
    virtual void TexCoord2f(GLfloat s, GLfloat t) = 0;
    virtual void Normal3f(GLfloat x, GLfloat y, GLfloat z) = 0;
    virtual void Color3f(GLfloat r, GLfloat g, GLfloat b) = 0;

    // Display lists.
    virtual GLuint GenLists(GLsizei range) = 0;
    virtual void DeleteLists(GLuint list, GLsizei range) = 0;
    virtual void NewList(GLuint list, GLenum mode) = 0;
    virtual void EndList() = 0;
    virtual void CallList(GLuint list) = 0;
    virtual void ListBase(GLuint base) = 0;
    virtual void CallLists(GLsizei n, GLenum type, const void* lists) = 0;

    // State.
    virtual void Enable(GLenum cap) = 0;
    virtual void Disable(GLenum cap) = 0;
    virtual void Fogi(GLenum pname, GLint param) = 0;
    virtual void Fogf(GLenum pname, GLfloat param) = 0;
    virtual void Fogfv(GLenum pname, const GLfloat* params) = 0;
    virtual void Hint(GLenum target, GLenum mode) = 0;
    virtual void PushAttrib(GLbitfield mask) = 0;
    virtual void PopAttrib() = 0;
    virtual void FrontFace(GLenum mode) = 0;
    virtual void CullFace(GLenum mode) = 0;
    virtual void BlendFunc(GLenum sfactor, GLenum dfactor) = 0;
    virtual void Lightfv(GLenum light, GLenum pname, const GLfloat* params) = 0;
    virtual void LightModelfv(GLenum pname, const GLfloat* params) = 0;
    virtual void Materialfv(GLenum face, GLenum pname, const GLfloat* params) = 0;
    virtual void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) = 0;
    virtual void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) = 0;
    virtual void Clear(GLbitfield mask) = 0;
    virtual void Flush() = 0;
    virtual GLenum GetError() = 0;
    // Reads the framebuffer that drawing goes to, bottom row first.
    virtual void ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                            void* pixels) = 0;

    // Matrices.
    virtual void MatrixMode(GLenum mode) = 0;
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void LoadIdentity() = 0;
    virtual void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) = 0;
    virtual void Translatef(GLfloat x, GLfloat y, GLfloat z) = 0;
    virtual void Translated(GLdouble x, GLdouble y, GLdouble z) = 0;
    virtual void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) = 0;
    virtual void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) = 0;

    // Textures.
    virtual GLuint GenTexture() = 0;
    virtual void DeleteTexture(GLuint name) = 0;
    virtual void BindTexture(GLenum target, GLuint name) = 0;
    virtual void TexParameteri(GLenum target, GLenum pname, GLint param) = 0;
    virtual void TexEnvf(GLenum target, GLenum pname, GLfloat param) = 0;
    virtual void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,
                            GLint border, GLenum format, GLenum type, const void* pixels) = 0;
    // gluBuild2DMipmaps: the whole chain from one RGBA picture.
    virtual void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h,
                                GLenum format, GLenum type, const void* pixels) = 0;
};

// The backend in force; the real libGL one unless a test installed another.
Backend& Api();

// Installs `backend` (not owned; must outlive its use) and returns the previous one.
// nullptr restores the real backend.
Backend* SetBackend(Backend* backend);

// Installs a backend for a scope (tests).
using ScopedBackend = ScopedInstall<Backend, SetBackend>;

}  // namespace tam::gl
