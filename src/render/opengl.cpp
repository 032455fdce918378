// The OpenGL context of the main window and the render state that stays in force for the run.
#include "render/opengl.h"

#include "console/console.h"
#include "render/gl_api.h"

namespace tam {
namespace {

constexpr GLfloat kGlobalAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
constexpr GLfloat kLightPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat kLightAmbient[4] = {0.5f, 0.5f, 0.4f, 1.0f};
constexpr GLfloat kLightDiffuse[4] = {1.0f, 1.0f, 0.8f, 1.0f};
constexpr GLfloat kLightSpecular[4] = {0.2f, 0.2f, 0.2f, 1.0f};

constexpr double kAspect = 4.0 / 3.0;
constexpr double kNear = 1.0;
constexpr double kFar = 160.0;

// The window in force before start-up installs one: there is none.
class NoWindow final : public GlWindow {
public:
    bool Exists() override { return false; }
    bool HasGlDrawable() override { return false; }
    void OuterSize(int& w, int& h) override { w = h = 0; }
    void* CreateGlContext() override { return nullptr; }
    bool MakeGlCurrent(void*) override { return false; }
    void ReleaseGlCurrent() override {}
    void DeleteGlContext(void*) override {}
};

GlWindow& Window() {
    static NoWindow none;
    return RenderState().window ? *RenderState().window : none;
}

}  // namespace

void ConfigureOpenGL() {
    gl::Backend& g = gl::Api();
    g.Enable(GL_DEPTH_TEST);
    g.Enable(GL_NORMALIZE);
    g.Enable(GL_COLOR_MATERIAL);
    g.Enable(GL_LIGHTING);
    g.Enable(GL_LIGHT0);
    g.LightModelfv(GL_LIGHT_MODEL_AMBIENT, kGlobalAmbient);
    // A position is taken through the model-view matrix. With the identity the light sits at the
    // viewer and moves with the camera; after a display-mode switch the matrix would still hold
    // the last frame's camera and pin the light to a point of the world.
    g.MatrixMode(GL_MODELVIEW);
    g.LoadIdentity();
    g.Lightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    g.Lightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
    g.Lightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    g.Lightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
    g.Materialfv(GL_FRONT, GL_AMBIENT, kLightAmbient);
    int w = 0, h = 0;
    Window().OuterSize(w, h);
    RenderState().viewportW = w;
    RenderState().viewportH = h;
    g.Viewport(0, 0, w, h);
    g.ClearColor(0, 0, 0, 1);
    FogSetup();
    ApplyProjection(90);
}

GlState& RenderState() {
    static GlState state;
    return state;
}

int SetupPixelFormat() { return Window().HasGlDrawable() ? 0 : 1; }

bool InitOpenGL() {
    ConsolePrint("Initializatig OpenGL...", true);
    ConsolePrint("  Setting Pixel Format Descriptor...", true);
    RenderState().drawableHeld = Window().Exists();
    if (SetupPixelFormat() != 0) {
        ConsolePrint("OpenGL Error: Cannot set PFD", true);
        return false;
    }
    ConsolePrint("  Setting HRC...", true);
    // After a display-mode switch the window keeps its drawable, so the context made at
    // start-up is kept too: textures, font lists and the terrain list stay valid.
    if (!RenderState().hRC) RenderState().hRC = Window().CreateGlContext();
    if (!RenderState().hRC) {
        ConsolePrint("OpenGL Error: HRC = NULL", true);
        return false;
    }
    ConsolePrint("  Making Current...", true);
    if (!Window().MakeGlCurrent(RenderState().hRC)) {
        ConsolePrint("OpenGL Error: Cannot MakeCurrent", true);
        return false;
    }
    ConsolePrint("  Configuring OpenGL...", true);
    ConfigureOpenGL();
    ConsolePrint("OpenGL initializated successfully", false);
    ConsolePrint(SeparatorLine(), true);
    return true;
}

void ApplyProjection(int fov) {
    gl::Backend& g = gl::Api();
    g.MatrixMode(GL_PROJECTION);
    g.LoadIdentity();
    g.Perspective(static_cast<double>(fov), kAspect, kNear, kFar);
    g.MatrixMode(GL_MODELVIEW);
    g.LoadIdentity();
}

void ShutdownOpenGL() {
    if (RenderState().hRC) {
        Window().ReleaseGlCurrent();
        Window().DeleteGlContext(RenderState().hRC);
        RenderState().hRC = nullptr;
    }
    RenderState().drawableHeld = false;
}

}  // namespace tam
