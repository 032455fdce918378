// The program folder, the turning of the program's names into file-system paths, and whole-file
// reads and writes.
#include "base/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/cp1251.h"

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

std::string DataRootFromExe(std::string_view exePath) {
    namespace fs = std::filesystem;
    const std::string exeDir = ProgramDirFromExe(exePath);
    std::error_code ec;
    if (fs::is_directory(exeDir + "Data", ec)) return exeDir;
    const std::string shared =
        fs::path(exeDir + "../share/tamberlo/").lexically_normal().generic_string();
    if (fs::is_directory(shared + "Data", ec)) return shared;
    return exeDir;
}

std::string ResolvePath(std::string_view name) {
    std::string path = Cp1251ToUtf8(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (!path.empty() && path[0] == '/') return path;
    return ProgramDir() + path;
}

std::string DisplayPath(std::string_view path) { return Utf8ToCp1251(path, '?'); }

bool FileExists(std::string_view path) {
    struct stat st {};
    const std::string p(path);
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path, size_t maxBytes) {
    const std::string p(path);
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return std::nullopt;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : ENOTSUP;
        return std::nullopt;
    }
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return std::nullopt;
    // One read at the size the file has now; should it have grown meanwhile, the rest is read
    // on in chunks, so its end is still found (or its excess reported).
    struct stat now {};
    const uint64_t expected = ::fstat(fileno(f), &now) == 0 ? static_cast<uint64_t>(now.st_size) : 0;
    std::vector<uint8_t> data;
    if (expected <= maxBytes) {
        data.resize(static_cast<size_t>(expected));
        data.resize(std::fread(data.data(), 1, data.size(), f));
    }
    uint8_t buf[65536];
    size_t n = 0;
    bool tooBig = expected > maxBytes;
    while (!tooBig && (n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (data.size() + n > maxBytes) {
            tooBig = true;
            break;
        }
        data.insert(data.end(), buf, buf + n);
    }
    const bool failed = std::ferror(f) != 0;
    const int readError = errno;
    std::fclose(f);
    if (failed || tooBig) {
        errno = tooBig ? EFBIG : readError;
        return std::nullopt;
    }
    return data;
}

int WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const size_t slash = path.rfind('/');
    const size_t folder = slash == std::string::npos ? 0 : slash + 1;
    std::string temp = path.substr(0, folder) + ".tamberlo-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return errno;
    int error = 0;
    for (size_t done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR) error = errno;
    }
    // mkstemp makes the file private; the result gets the mode any new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    if (error == 0 && fchmod(fd, 0666 & ~mask) != 0) error = errno;
    if (error == 0 && fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) unlink(temp.c_str());
    return error;
}

uint64_t HashBytes(std::span<const uint8_t> bytes) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace tam
