// The texture font: 256 display lists, one per glyph cell of the 16 x 16 grid in the font texture,
// each drawing a 16 x 16 textured quad and moving the pen 10 units right; and PrintText, which
// formats one line and draws it in window pixels.
#include "render/font.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "render/gl_api.h"
#include "render/opengl.h"

namespace tam {
namespace {

constexpr int kGlyphCount = 256;
constexpr int kGlyphsPerSet = 128;
constexpr int kFirstCode = 32;  // character code of glyph 0 in set 0
constexpr float kCell = 0.0625f;
constexpr float kWindowWidth = 0.075f;  // texture window of a quad: its cell and a bit more
constexpr int kQuadSize = 16;
constexpr double kAdvance = 10.0;
constexpr size_t kTextBuffer = 256;  // one line: at most 255 characters

}  // namespace

FontState& Font() {
    static FontState f;
    return f;
}

void BuildFontLists(uint32_t texture) {
    auto& gl = gl::Api();
    const uint32_t base = gl.GenLists(kGlyphCount);
    Font().base = base;
    Font().texture = texture;
    gl.BindTexture(GL_TEXTURE_2D, texture);
    for (int g = 0; g < kGlyphCount; ++g) {
        const float cx = static_cast<float>(g % 16) * kCell;
        const float cy = static_cast<float>(g / 16) * kCell;
        gl.NewList(base + static_cast<uint32_t>(g), GL_COMPILE);
        gl.Begin(GL_QUADS);
        gl.TexCoord2f(cx, 1 - cy - kCell);
        gl.Vertex2i(0, 0);
        gl.TexCoord2f(cx + kWindowWidth, 1 - cy - kCell);
        gl.Vertex2i(kQuadSize, 0);
        gl.TexCoord2f(cx + kWindowWidth, 1 - cy);
        gl.Vertex2i(kQuadSize, kQuadSize);
        gl.TexCoord2f(cx, 1 - cy);
        gl.Vertex2i(0, kQuadSize);
        gl.End();
        gl.Translated(kAdvance, 0, 0);
        gl.EndList();
    }
}

void FreeFontLists() { gl::Api().DeleteLists(Font().base, kGlyphCount); }

void PrintText(float x, float y, int set, const char* format, ...) {
    if (!format) return;
    char text[kTextBuffer];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    const size_t length = written < 0 ? 0 : std::min<size_t>(static_cast<size_t>(written), kTextBuffer - 1);
    if (set > 1) set = 1;
    if (set < 0) set = 0;

    // Glyph numbers relative to the set's first list; characters whose glyph lies outside the
    // font's 256 are left out, so they neither draw nor advance the pen.
    const int firstGlyph = kGlyphsPerSet * set;
    unsigned char glyphs[kTextBuffer];
    GLsizei count = 0;
    for (size_t i = 0; i < length; ++i) {
        const int glyph = static_cast<unsigned char>(text[i]) - kFirstCode + firstGlyph;
        if (glyph >= 0 && glyph < kGlyphCount) glyphs[count++] = static_cast<unsigned char>(glyph - firstGlyph);
    }

    auto& gl = gl::Api();
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_ONE, GL_ONE);
    gl.BindTexture(GL_TEXTURE_2D, Font().texture);
    gl.Disable(GL_DEPTH_TEST);
    gl.MatrixMode(GL_PROJECTION);
    gl.PushMatrix();
    gl.LoadIdentity();
    gl.Ortho(0, RenderState().viewportW, 0, RenderState().viewportH, -1, 1);
    gl.MatrixMode(GL_MODELVIEW);
    gl.PushMatrix();
    gl.LoadIdentity();
    gl.Translated(x, y, 0);
    gl.ListBase(Font().base + static_cast<uint32_t>(firstGlyph));
    gl.CallLists(count, GL_UNSIGNED_BYTE, glyphs);
    gl.MatrixMode(GL_PROJECTION);
    gl.PopMatrix();
    gl.MatrixMode(GL_MODELVIEW);
    gl.PopMatrix();
    gl.Enable(GL_DEPTH_TEST);
    gl.Disable(GL_BLEND);
}

}  // namespace tam
