// Pictures: the eight world textures, the five sky faces, the HUD font picture and the
// program's icon, all made from our own noise and glyph code; and previews of HUD text.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int TexturesMain(const Args& args);
int SkyMain(const Args& args);
int FontMain(const Args& args);
int IconMain(const Args& args);
int FontPreviewMain(const Args& args);

}  // namespace tam::asset
