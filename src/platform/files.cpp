// The program folder, the turning of the program's names into file-system paths, and whole-file
// reads.
#include "platform/files.h"

#include <sys/stat.h>

#include <cstdio>

#include "console/cp1251.h"

namespace tam {
namespace {

std::string& Dir() {
    static std::string dir;
    return dir;
}

}  // namespace

const std::string& ProgramDir() { return Dir(); }
void SetProgramDir(std::string dir) { Dir() = std::move(dir); }

std::string ProgramDirFromExe(std::string_view exePath) {
    const size_t slash = exePath.find_last_of('/');
    if (slash == std::string_view::npos) return "./";
    if (slash == 0) return "/";
    return std::string(exePath.substr(0, slash)) + "/";
}

std::string ResolvePath(std::string_view name) {
    std::string path = Cp1251ToUtf8(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (!path.empty() && path[0] == '/') return path;
    return ProgramDir() + path;
}

std::string DisplayPath(std::string_view path) { return Utf8ToCp1251(path); }

bool FileExists(std::string_view path) {
    struct stat st {};
    const std::string p(path);
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path, size_t maxBytes) {
    if (!FileExists(path)) return std::nullopt;
    const std::string p(path);
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n = 0;
    bool tooBig = false;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (data.size() + n > maxBytes) {
            tooBig = true;
            break;
        }
        data.insert(data.end(), buf, buf + n);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed || tooBig) return std::nullopt;
    return data;
}

}  // namespace tam
