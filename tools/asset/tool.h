// What every room of the asset tool shares: the form of a command (its arguments after the
// command word in, the process exit status out, errors reported on stderr), and the commands'
// whole-file reads and writes, which name the file and the system's reason when they fail.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tam::asset {

using Args = std::vector<std::string>;
using CommandMain = int (*)(const Args& args);

// "cannot read PATH: REASON" for a read that has just failed, REASON from errno.
std::string CannotRead(const std::string& path);
// The whole file; nullopt after "tamasset: cannot read PATH: REASON" on stderr.
std::optional<std::vector<uint8_t>> ReadInputFile(const std::string& path);
// Writes `bytes` to `path` ("-" is standard output) in a folder that must exist; false after
// "tamasset: cannot write PATH: REASON" on stderr.
bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
// WriteFileBytes after making the missing folders of `path`: for the game-data makers, which
// fill a tree of their own.
bool WriteDataFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace tam::asset
