// Placeholder: the OpenGL context set-up is being written.
#include "render/opengl.h"

namespace tam {

GlState& Gl() {
    static GlState g;
    return g;
}
bool InitOpenGL() { return false; }
int SetupPixelFormat() { return 1; }
void ApplyProjection(int) {}
void ShutdownOpenGL() {}

}  // namespace tam
