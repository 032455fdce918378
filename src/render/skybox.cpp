// The sky: five textured faces of a cube around a point, plus the extra texture drawn over the
// top face. The cube has no bottom; every normal points inward.
#include "render/skybox.h"

#include <GL/gl.h>

#include <cstddef>

#include "render/gl_api.h"

namespace tam {
namespace {

// One corner of a face: texture coordinate and the sign of each axis offset from the centre.
struct Corner {
    float s, t;
    float dx, dy, dz;
};
struct Face {
    int texture;  // index into the face textures
    float nx, ny, nz;
    Corner corners[4];
};

// Front, left, back, right, top, and the extra texture on the top plane again.
constexpr Face kFaces[] = {
    {0, 0, -1, 0, {{0, 1, +1, +1, +1}, {0, 0, +1, +1, -1}, {1, 0, -1, +1, -1}, {1, 1, -1, +1, +1}}},
    {1, 1, 0, 0, {{0, 1, -1, +1, +1}, {0, 0, -1, +1, -1}, {1, 0, -1, -1, -1}, {1, 1, -1, -1, +1}}},
    {2, 0, 1, 0, {{0, 1, -1, -1, +1}, {0, 0, -1, -1, -1}, {1, 0, +1, -1, -1}, {1, 1, +1, -1, +1}}},
    {3, -1, 0, 0, {{0, 1, +1, -1, +1}, {0, 0, +1, -1, -1}, {1, 0, +1, +1, -1}, {1, 1, +1, +1, +1}}},
    {4, 0, 0, -1, {{0, 0, +1, +1, +1}, {1, 0, -1, +1, +1}, {1, 1, -1, -1, +1}, {0, 1, +1, -1, +1}}},
    {5, 0, 0, -1, {{0, 0, +1, +1, +1}, {1, 0, -1, +1, +1}, {1, 1, -1, -1, +1}, {0, 1, +1, -1, +1}}},
};

}  // namespace

bool TSkyBox::SetTextures(uint32_t front, uint32_t left, uint32_t back, uint32_t right, uint32_t top,
                          uint32_t extra) {
    if (front == 0 || left == 0 || back == 0 || right == 0 || top == 0 || extra == 0) return false;
    textures_ = {front, left, back, right, top, extra};
    return true;
}

void TSkyBox::SetSize(float halfSize) {
    if (halfSize != 0.0f) halfSize_ = halfSize;
}

void TSkyBox::Draw(float x, float y, float z) const {
    auto& gl = gl::Api();
    const float s = halfSize_;
    gl.Color3f(1, 1, 1);
    for (const Face& f : kFaces) {
        gl.BindTexture(GL_TEXTURE_2D, textures_[static_cast<std::size_t>(f.texture)]);
        gl.Begin(GL_QUADS);
        gl.Normal3f(f.nx, f.ny, f.nz);
        for (const Corner& c : f.corners) {
            gl.TexCoord2f(c.s, c.t);
            gl.Vertex3f(x + c.dx * s, y + c.dy * s, z + c.dz * s);
        }
        gl.End();
    }
}

}  // namespace tam
