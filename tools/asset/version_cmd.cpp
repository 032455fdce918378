// "tamasset version": prints the tool's version (lets the build check the tool runs).
#include <cstdio>

#include "tool.h"

namespace tam::asset {
namespace {

int VersionMain(const std::vector<std::string>&) {
    std::puts("tamasset 1");
    return 0;
}

const AssetCommand kVersion("version", "version", VersionMain);

}  // namespace
}  // namespace tam::asset
