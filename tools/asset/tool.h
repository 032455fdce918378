// The asset tool's command registry: each command file registers one sub-command by a static
// AssetCommand object. Commands take their arguments after the command word and return the
// process exit status; they report errors on stderr.
#pragma once

#include <string>
#include <vector>

namespace tam::asset {

using CommandMain = int (*)(const std::vector<std::string>& args);

struct AssetCommand {
    AssetCommand(const char* name, const char* usage, CommandMain main);
};

}  // namespace tam::asset
