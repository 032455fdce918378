// Internals of the command interpreter shared by its source files.
#pragma once

#include "console/commands.h"

namespace tam::commands {

// The chain's last link: a word no entry matched.
void Unrecognised(const Words& w);

}  // namespace tam::commands
