// Image files: decoding any TGA, BMP or PCX exactly as the engine does, and writing pictures as
// PNG, PAM and TGA for the other rooms.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int DecodeMain(const Args& args);

}  // namespace tam::asset
