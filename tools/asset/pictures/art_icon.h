// The program's icon: the arena's octagonal rock tower in front of the courtyard wall, under the
// game's sky, on a rounded square with transparent corners. Drawn with the game's own textures.
#pragma once

#include "asset/images/image_write.h"

namespace tam::asset {

// A size x size RGBA picture (size >= 16), supersampled; the same bytes on every run.
Picture MakeIcon(int size);

}  // namespace tam::asset
