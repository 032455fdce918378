// The fog: its set-up at every OpenGL initialisation and the fog command's effects. The fog
// settings live only in the OpenGL state; nothing here keeps a copy.
#include <GL/gl.h>

#include "render/gl_api.h"
#include "render/opengl.h"

namespace tam {
namespace {

constexpr GLint kFogModes[] = {GL_EXP, GL_EXP2, GL_LINEAR};
constexpr GLfloat kFogColour[4] = {0.7f, 0.7f, 0.5f, 1.0f};

}  // namespace

void FogSetup() {
    gl::Backend& api = gl::Api();
    api.Enable(GL_FOG);
    api.Fogi(GL_FOG_MODE, kFogModes[0]);
    api.Fogfv(GL_FOG_COLOR, kFogColour);
    api.Fogf(GL_FOG_DENSITY, 0.12f);
    api.Hint(GL_FOG_HINT, GL_DONT_CARE);
    api.Fogf(GL_FOG_START, 2.0f);
    api.Fogf(GL_FOG_END, 5.0f);
}

void FogOn() { gl::Api().Enable(GL_FOG); }

void FogOff() { gl::Api().Disable(GL_FOG); }

void FogMode(int entry) {
    if (entry < 1 || entry > 3) return;  // the command accepts only 1, 2 and 3
    gl::Api().Fogi(GL_FOG_MODE, kFogModes[entry - 1]);
}

// Unchecked: OpenGL itself rejects a negative density and keeps the previous one.
void FogDensity(float density) { gl::Api().Fogf(GL_FOG_DENSITY, density); }

}  // namespace tam
