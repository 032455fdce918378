// The OpenGL context on the main window and the render state that stays in force for the run:
// depth test, one light with colour material, fog, viewport and projection.
#pragma once

namespace tam {

// What the render state needs of the main window; the platform layer implements it.
class GlWindow {
public:
    virtual ~GlWindow() = default;
    virtual bool Exists() = 0;
    virtual bool HasGlDrawable() = 0;
    virtual void OuterSize(int& w, int& h) = 0;  // including the frame
    virtual void ClientSize(int& w, int& h) { OuterSize(w, h); }  // the drawable part
    virtual void* CreateGlContext() = 0;         // null on failure
    virtual bool MakeGlCurrent(void* ctx) = 0;
    virtual void ReleaseGlCurrent() = 0;
    virtual void DeleteGlContext(void* ctx) = 0;
};

struct GlState {
    void* hRC = nullptr;   // the rendering context; null when not held
    bool drawableHeld = false;     // the main window's drawable is held
    int viewportW = 0;     // the size given to glViewport (the window's outer size)
    int viewportH = 0;
    GlWindow* window = nullptr;  // null: no main window (start-up installs the platform's)
};
GlState& RenderState();

// Creates (or, after a display-mode switch, re-uses) the context on the main window, makes it
// current and configures the render state, logging each step. False after one error line.
bool InitOpenGL();
// The render state of the run on the current context: depth test, normalising, colour material,
// the light (placed at the viewer) and material, viewport (the window's outer size), clear colour,
// fog, and the 90-degree projection. Leaves the model-view matrix at identity.
void ConfigureOpenGL();
// 0 on success, non-zero when the main window offers no usable pixel format.
int SetupPixelFormat();
// Perspective projection for `fov` degrees (4/3, near 1, far 160); model-view reset to identity.
void ApplyProjection(int fov);
// Releases what InitOpenGL acquired; nothing for what is not held.
void ShutdownOpenGL();

// Fog: the set-up run at every OpenGL initialisation, and the fog command's effects.
void FogSetup();
void FogOn();
void FogOff();
void FogMode(int entry);  // 1 GL_EXP, 2 GL_EXP2, 3 GL_LINEAR
void FogDensity(float density);  // OpenGL units: the command passes its X x 0.01, unchecked

}  // namespace tam
