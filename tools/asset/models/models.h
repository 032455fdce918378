// Models: the three MD2 models built from our own rigs and skins, their previews, and a check
// of any MD2 file.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int Md2Main(const Args& args);
int ModelsMain(const Args& args);
int ModelPreviewMain(const Args& args);

}  // namespace tam::asset
