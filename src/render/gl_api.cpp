// The real backend: forwards every call of the seam to libGL and libGLU.
#include "render/gl_api.h"

#include <GL/glu.h>

namespace tam::gl {
namespace {

class RealBackend final : public Backend {
public:
    void Begin(GLenum mode) override {
        glBegin(mode);
    }
    void End() override {
        glEnd();
    }
    void Vertex2i(GLint x, GLint y) override {
        glVertex2i(x, y);
    }
    void Vertex3f(GLfloat x, GLfloat y, GLfloat z) override {
        glVertex3f(x, y, z);
    }
    void TexCoord2f(GLfloat s, GLfloat t) override {
        glTexCoord2f(s, t);
    }
    void Normal3f(GLfloat x, GLfloat y, GLfloat z) override {
        glNormal3f(x, y, z);
    }
    void Color3f(GLfloat r, GLfloat g, GLfloat b) override {
        glColor3f(r, g, b);
    }
    GLuint GenLists(GLsizei range) override {
        return glGenLists(range);
    }
    void DeleteLists(GLuint list, GLsizei range) override {
        glDeleteLists(list, range);
    }
    void NewList(GLuint list, GLenum mode) override {
        glNewList(list, mode);
    }
    void EndList() override {
        glEndList();
    }
    void CallList(GLuint list) override {
        glCallList(list);
    }
    void ListBase(GLuint base) override {
        glListBase(base);
    }
    void CallLists(GLsizei n, GLenum type, const void* lists) override {
        glCallLists(n, type, lists);
    }
    void Enable(GLenum cap) override {
        glEnable(cap);
    }
    void Disable(GLenum cap) override {
        glDisable(cap);
    }
    void Fogi(GLenum pname, GLint param) override {
        glFogi(pname, param);
    }
    void Fogf(GLenum pname, GLfloat param) override {
        glFogf(pname, param);
    }
    void Fogfv(GLenum pname, const GLfloat* params) override {
        glFogfv(pname, params);
    }
    void Hint(GLenum target, GLenum mode) override {
        glHint(target, mode);
    }
    void PushAttrib(GLbitfield mask) override {
        glPushAttrib(mask);
    }
    void PopAttrib() override {
        glPopAttrib();
    }
    void FrontFace(GLenum mode) override {
        glFrontFace(mode);
    }
    void CullFace(GLenum mode) override {
        glCullFace(mode);
    }
    void BlendFunc(GLenum sfactor, GLenum dfactor) override {
        glBlendFunc(sfactor, dfactor);
    }
    void Lightfv(GLenum light, GLenum pname, const GLfloat* params) override {
        glLightfv(light, pname, params);
    }
    void LightModelfv(GLenum pname, const GLfloat* params) override {
        glLightModelfv(pname, params);
    }
    void Materialfv(GLenum face, GLenum pname, const GLfloat* params) override {
        glMaterialfv(face, pname, params);
    }
    void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) override {
        glViewport(x, y, w, h);
    }
    void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) override {
        glClearColor(r, g, b, a);
    }
    void Clear(GLbitfield mask) override {
        glClear(mask);
    }
    void ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                    void* pixels) override {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, w, h, format, type, pixels);
    }
    void Flush() override {
        glFlush();
    }
    GLenum GetError() override {
        return glGetError();
    }
    void MatrixMode(GLenum mode) override {
        glMatrixMode(mode);
    }
    void PushMatrix() override {
        glPushMatrix();
    }
    void PopMatrix() override {
        glPopMatrix();
    }
    void LoadIdentity() override {
        glLoadIdentity();
    }
    void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) override {
        glRotatef(angle, x, y, z);
    }
    void Translatef(GLfloat x, GLfloat y, GLfloat z) override {
        glTranslatef(x, y, z);
    }
    void Translated(GLdouble x, GLdouble y, GLdouble z) override {
        glTranslated(x, y, z);
    }
    void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) override {
        glOrtho(l, r, b, t, n, f);
    }
    void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) override {
        gluPerspective(fovy, aspect, zNear, zFar);
    }
    GLuint GenTexture() override {
        GLuint n = 0;
        glGenTextures(1, &n);
        return n;
    }
    void DeleteTexture(GLuint name) override {
        glDeleteTextures(1, &name);
    }
    void BindTexture(GLenum target, GLuint name) override {
        glBindTexture(target, name);
    }
    void TexParameteri(GLenum target, GLenum pname, GLint param) override {
        glTexParameteri(target, pname, param);
    }
    void TexEnvf(GLenum target, GLenum pname, GLfloat param) override {
        glTexEnvf(target, pname, param);
    }
    void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border, GLenum format, GLenum type, const void* pixels) override {
        glTexImage2D(target, level, internalFormat, w, h, border, format, type, pixels);
    }
    void Build2DMipmaps(GLenum target, GLint internalFormat, GLsizei w, GLsizei h,     GLenum format, GLenum type, const void* pixels) override {
        gluBuild2DMipmaps(target, internalFormat, w, h, format, type, pixels);
    }
};

Backend* g_current = nullptr;

}  // namespace

Backend& Api() {
    // Never destroyed: objects with static lifetime (the texture registry) may still release
    // GL names through the seam while the program exits.
    static RealBackend* const real = new RealBackend;
    return g_current ? *g_current : *real;
}

Backend* SetBackend(Backend* backend) {
    Backend* prev = g_current;
    g_current = backend;
    return prev;
}

}  // namespace tam::gl
