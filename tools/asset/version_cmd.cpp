// "tamasset version" and "tamasset --version": the tool's version, the project's release.
#include <cstdio>

#include "tam_version.h"
#include "tool.h"

namespace tam::asset {
namespace {

int VersionMain(const std::vector<std::string>&) {
    std::puts("tamasset " TAM_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const AssetCommand kVersion("version", "version   (also --version)", VersionMain);

}  // namespace
}  // namespace tam::asset
