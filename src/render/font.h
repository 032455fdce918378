// The texture font: 256 display lists, one per glyph of the 16 x 16 grid in the font texture, and
// printf-style HUD text in window pixels from the bottom-left corner.
#pragma once

#include <cstdint>

namespace tam {

struct FontState {
    uint32_t base = 0;     // first of the 256 lists; 0 until built
    uint32_t texture = 0;  // the font texture's name, as given to BuildFontLists
};
FontState& Font();

// Builds the lists on the font texture `texture` (an OpenGL texture name).
void BuildFontLists(uint32_t texture);
void FreeFontLists();
// Draws one line at (x, y) with glyph set 0 or 1 (values above 1 act as 1, negative ones as 0).
// A null format draws nothing. Output past 255 characters is cut; characters without a glyph in
// the set (codes below 32; 160 and above in set 1) draw nothing and do not move the pen.
void PrintText(float x, float y, int set, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

}  // namespace tam
