// Files: the program folder, joining typed names with it, existence tests and whole-file reads.
// Typed names may use backslashes; they are turned into "/" before the file system sees them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tam {

// The executable's folder followed by "/"; empty until start-up sets it.
const std::string& ProgramDir();
void SetProgramDir(std::string dir);
// The folder of an executable path, with one "/" appended (start-up uses /proc/self/exe).
std::string ProgramDirFromExe(std::string_view exePath);

// The file-system path for a name: absolute names as they are, others under ProgramDir();
// backslashes become "/".
std::string ResolvePath(std::string_view name);
bool FileExists(std::string_view path);  // a regular file at `path` (not resolved)
// The whole file at `path` (not resolved); nullopt when it cannot be read or exceeds maxBytes.
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path,
                                                  size_t maxBytes = size_t{256} << 20);

}  // namespace tam
