// Files: the program folder, joining typed names with it, existence tests and whole-file reads.
// Names inside the program are CP1251 and may use backslashes; the file system's paths are UTF-8
// with "/". ResolvePath is the one crossing from names to paths; everything that opens or tests
// a file the program names goes through it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tam {

// The data root followed by "/" (see DataRootFromExe), as the file system spells it; empty until
// start-up sets it.
const std::string& ProgramDir();
void SetProgramDir(std::string dir);
// The folder of an executable path, with one "/" appended (start-up uses /proc/self/exe).
std::string ProgramDirFromExe(std::string_view exePath);
// The data root of an executable: its folder when a Data folder is beside it (a build tree or
// an unpacked copy); else ../share/tamberlo/ from that folder when Data is there (an installed
// copy); else the executable's folder, whose missing files the commands then report.
std::string DataRootFromExe(std::string_view exePath);

// The file-system path for a CP1251 name: converted to UTF-8, backslashes turned into "/",
// absolute names as they are, others under ProgramDir().
std::string ResolvePath(std::string_view name);
// A file-system path as the console shows it (CP1251); what the code page lacks, and bytes that
// are not UTF-8, show as "?".
std::string DisplayPath(std::string_view path);
bool FileExists(std::string_view path);  // a regular file at `path` (not resolved)
// The whole file at `path` (not resolved); nullopt when it cannot be read or exceeds maxBytes,
// errno then says why (EISDIR for a folder, ENOTSUP for other non-regular files, EFBIG past
// maxBytes).
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path,
                                                  size_t maxBytes = size_t{256} << 20);
// Writes `bytes` as the file at `path` (not resolved): into a temporary file in the same folder,
// renamed over `path` only once all of it is on disk, so a failure (a full disk) leaves neither a
// part of a file nor a changed old one. The file gets the mode the umask gives. 0 when done, else
// the errno.
int WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// A 64-bit FNV-1a hash of `bytes`: tells one file's contents from another's (not a protection
// against a file made to collide).
uint64_t HashBytes(std::span<const uint8_t> bytes);

}  // namespace tam
