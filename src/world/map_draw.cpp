// Drawing the arena each frame: the wall panels in immediate mode (or the generated island's
// display list once one exists), then the floor quad at z = -2.
#include <GL/gl.h>

#include "images/texture.h"
#include "render/gl_api.h"
#include "world/map.h"

namespace tam {
namespace {

constexpr float kFloorZ = -2.0f;

void DrawPanel(gl::Backend& api, const MapBox& b) {
    api.BindTexture(GL_TEXTURE_2D, WorldTextureName(b.texture));
    api.Begin(GL_QUADS);
    api.Color3f(1, 1, 1);
    api.Normal3f(b.nx, b.ny, b.nz);
    api.TexCoord2f(0, 0);
    api.Vertex3f(b.x1, b.y1, b.z1);
    api.TexCoord2f(b.length, 0);
    api.Vertex3f(b.x2, b.y2, b.z1);
    api.TexCoord2f(b.length, b.height);
    api.Vertex3f(b.x2, b.y2, b.z2);
    api.TexCoord2f(0, b.height);
    api.Vertex3f(b.x1, b.y1, b.z2);
    api.End();
}

void DrawFloor(gl::Backend& api, const MapState& m) {
    const float w = m.floorHalfWidth;
    const float h = m.floorHalfDepth;
    api.BindTexture(GL_TEXTURE_2D, WorldTextureName(m.floorTexture));
    // White, so the floor is not tinted by whatever colour the previous frame left (the HUD's).
    api.Color3f(1, 1, 1);
    api.Begin(GL_QUADS);
    api.Normal3f(0, 0, 1);
    api.TexCoord2f(0, 0);
    api.Vertex3f(-w, h, kFloorZ);
    api.TexCoord2f(2 * w, 0);
    api.Vertex3f(w, h, kFloorZ);
    api.TexCoord2f(2 * w, 2 * h);
    api.Vertex3f(w, -h, kFloorZ);
    api.TexCoord2f(0, 2 * h);
    api.Vertex3f(-w, -h, kFloorZ);
    api.End();
}

}  // namespace

uint32_t WorldTextureName(int index) {
    const auto& names = Tex().WorldTextures;
    if (index < 0 || index >= static_cast<int>(names.size())) return LoadTexture("default");
    return names[static_cast<size_t>(index)];
}

void DrawMap(float frameTime) {
    WorldState& w = World();
    MapState& m = w.map;
    m.scrollOffsetX += m.scrollSpeedX * 0.001f * frameTime;
    m.scrollOffsetY += m.scrollSpeedY * 0.001f * frameTime;

    gl::Backend& api = gl::Api();
    if (w.terrainMode) {
        api.Color3f(1, 1, 1);
        api.CallList(w.terrainList);
    } else {
        for (int i = 0; i < m.boxCount; ++i) DrawPanel(api, m.boxes[static_cast<size_t>(i)]);
    }
    DrawFloor(api, m);
    api.Flush();
}

}  // namespace tam
