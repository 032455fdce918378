// Screenshots as PNG files, written with stb_image_write (its one implementation in the engine).
#include "render/screenshot.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "console/console.h"
#include "base/cp1251.h"
#include "base/files.h"
#include "render/gl_api.h"
#include "render/opengl.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace tam {
namespace {

std::string Home() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

// The value of XDG_PICTURES_DIR in a user-dirs.dirs text: "$HOME/..." or an absolute path.
std::string PicturesFromUserDirs(std::string_view text) {
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.starts_with(kKey)) continue;
        line.remove_prefix(kKey.size());
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
            line = line.substr(1, line.size() - 2);
        if (line.starts_with("$HOME")) return Home() + std::string(line.substr(5));
        if (line.starts_with("/")) return std::string(line);
    }
    return {};
}

// A free file name for now: YYYY-MM-DD_HH-MM-SS.png, then -2, -3, ... on a clash.
std::string FreeName(const std::string& folder) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::string path = folder + "/" + stamp + ".png";
    for (int n = 2; FileExists(path); ++n) path = folder + "/" + stamp + "-" + std::to_string(n) + ".png";
    return path;
}

void AppendBytes(void* out, void* data, int size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(out)->insert(static_cast<std::vector<uint8_t>*>(out)->end(),
                                                    bytes, bytes + size);
}

}  // namespace

ScreenshotState& Shots() {
    static ScreenshotState state;
    return state;
}

void ResetScreenshots() { Shots() = ScreenshotState{}; }

std::string PicturesDir() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder = config && config[0] == '/' ? config : Home() + "/.config";
    if (const auto text = ReadWholeFile(folder + "/user-dirs.dirs", size_t{1} << 16)) {
        const std::string dir = PicturesFromUserDirs(
            std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
        if (!dir.empty()) return dir;
    }
    return Home() + "/Pictures";
}

void TakePendingScreenshot() {
    if (!std::exchange(Shots().pending, false)) return;
    int w = 0, h = 0;
    if (RenderState().window && RenderState().window->Exists()) RenderState().window->ClientSize(w, h);
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) {
        ConsolePrint("Screenshot: no window to take", true);
        return;
    }
    const std::string folder = PicturesDir() + "/Tamberlo";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    int error = ec.value();
    if (error == 0) {
        const size_t row = static_cast<size_t>(w) * 3;
        std::vector<uint8_t> pixels(row * static_cast<size_t>(h));
        gl::Api().ReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        std::vector<uint8_t> png;
        // GL rows run bottom to top; a negative stride writes them top to bottom.
        if (stbi_write_png_to_func(AppendBytes, &png, w, h, 3, pixels.data() + row * (h - 1),
                                   -static_cast<int>(row)) == 0)
            error = ENOMEM;
        const std::string path = FreeName(folder);
        if (error == 0) error = WriteWholeFile(path, png);
        if (error == 0) {
            ConsolePrint("Screenshot " + DisplayPath(path), true);
            return;
        }
    }
    ConsolePrint("Screenshot: cannot write to " + DisplayPath(folder) + ": " +
                     Utf8ToCp1251(std::strerror(error), '?'),
                 true);
}

namespace commands {

void Screenshot(const Words& w) {
    if (w[1] == "?") {
        ConsolePrint("screenshot - the main window as PNG in the pictures folder", true);
        return;
    }
    Shots().pending = true;
}

}  // namespace commands
}  // namespace tam
