// Maps: compiling the text form to the binary map file and back, and drawing a map's plan.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int MapMain(const Args& args);

}  // namespace tam::asset
