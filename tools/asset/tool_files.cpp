// Whole-file reads and writes of the asset tool's commands, reporting failures with errno's text.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "asset/tool.h"
#include "base/files.h"

namespace tam::asset {

std::string CannotRead(const std::string& path) {
    const int reason = errno;
    return "cannot read " + path + ": " + std::strerror(reason);
}

std::optional<std::vector<uint8_t>> ReadInputFile(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) std::fprintf(stderr, "tamasset: %s\n", CannotRead(path).c_str());
    return bytes;
}

bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    const bool toStdout = path == "-";
    FILE* f = toStdout ? stdout : std::fopen(path.c_str(), "wb");
    int reason = errno;
    bool ok = f != nullptr;
    if (ok) {
        // An empty span may have no data pointer, which fwrite must not be given.
        ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (!ok) reason = errno;
        if ((toStdout ? std::fflush(f) : std::fclose(f)) != 0 && ok) {
            ok = false;
            reason = errno;
        }
    }
    if (!ok)
        std::fprintf(stderr, "tamasset: cannot write %s: %s\n",
                     toStdout ? "standard output" : path.c_str(), std::strerror(reason));
    return ok;
}

bool WriteDataFile(const std::string& path, std::span<const uint8_t> bytes) {
    const auto folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "tamasset: cannot make folder %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return false;
    }
    return WriteFileBytes(path, bytes);
}

}  // namespace tam::asset
