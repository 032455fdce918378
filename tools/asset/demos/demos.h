// Demos: the bundled tour through the arena, scripted here and written as a demo file.
// The commands' entry points; main.cpp lists them with their usage.
#pragma once

#include "asset/tool.h"

namespace tam::asset {

int DemoMain(const Args& args);

}  // namespace tam::asset
