// Placeholder: the texture font is being written.
#include "render/font.h"

namespace tam {

FontState& Font() {
    static FontState f;
    return f;
}
void BuildFontLists() {}
void FreeFontLists() {}
void PrintText(float, float, int, const char*, ...) {}

}  // namespace tam
