// The HUD font picture Data/Font/Font.tga and a software model of how the HUD draws text with
// it. The picture is 256 x 256: a 16 x 16 grid of 16 x 16 cells; glyph g sits in column g % 16,
// row g / 16, where row 0 is the bottom band of the picture and every glyph is stored upside down
// (the HUD's texture coordinates run t = 0 at the picture's top row). Glyphs 0..127 are
// characters 32..159 (CP1251) in the regular face, glyphs 128..255 the same characters in bold.
// White ink on black: the HUD adds the texels onto the scene, tinted by the current colour.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "asset/images/image_write.h"
#include "asset/pictures/art_noise.h"

namespace tam::asset {

using namespace art;  // the art helpers: noise, colours

constexpr int kFontPictureSize = 256;
constexpr int kFontCell = 16;
// The ink box inside a cell, in upright cell coordinates (row 0 at the glyph's top). The HUD
// samples a window 1.2 cells wide (the cell plus the next cell's first 3.2 columns) at a level of
// detail of log2(1.2), so it blends the full picture with its half-size mipmap. With the first 4
// and the last 2 columns of every cell dark, no texel of a side neighbour reaches a drawn glyph.
// Vertically the window is exactly one cell; only the half-size mipmap reaches one texel (two
// picture rows) into the cells above and below, at a weight of at most a few percent, so the
// first and last row of every cell stay dark and the glyphs use the 14 rows between.
constexpr int kInkLeft = 4, kInkRight = 14;  // columns [kInkLeft, kInkRight)
constexpr int kInkTop = 1, kInkBottom = 15;  // rows [kInkTop, kInkBottom)

// Picture coordinates of upright pixel (col, row) of glyph g's cell.
int GlyphPictureX(int glyph, int col);
int GlyphPictureY(int glyph, int row);

// Renders both glyph sets from the two TrueType files. False with `error` set when a font cannot
// be opened or a character cannot be rendered.
bool MakeFontPicture(const std::string& regularTtf, const std::string& boldTtf, Picture* out,
                     std::string* error);

// One line of HUD text: CP1251 bytes drawn with glyph set `set` (0 or 1), lower-left corner at
// (x, y) in pixels from the bottom-left of the screen.
struct HudLine {
    float x = 0.f, y = 0.f;
    int set = 0;
    std::string text;
};
// Draws the lines onto a black width x height screen the way the HUD does: 16 x 16 quads with
// a 0.075-wide texture window, a pen advance of 10, linear-mipmap-linear sampling with repeat
// wrapping, the texel colour times `colour` added to the screen. Returns the screen, top row
// first.
Picture SimulateHudText(const Picture& font, const std::vector<HudLine>& lines, int width,
                        int height, Rgb colour);

}  // namespace tam::asset
