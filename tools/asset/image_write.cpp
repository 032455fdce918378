// Image file writers of the asset tool.
#include "image_write.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

// stb's PNG writer (Debian's libstb-dev header); its one definition is the engine's, in
// src/render/screenshot.cpp.
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace tam::asset {
namespace {

void Put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutPixel(std::vector<uint8_t>& out, const uint8_t* p, int bits) {
    out.push_back(p[2]);
    out.push_back(p[1]);
    out.push_back(p[0]);
    if (bits == 32) out.push_back(p[3]);
}

}  // namespace

Picture MakePicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    return p;
}

std::vector<uint8_t> EncodeTga(const Picture& pic, int bits, bool rle) {
    std::vector<uint8_t> out;
    out.push_back(0);                 // ID length
    out.push_back(0);                 // no colour map
    out.push_back(rle ? 10 : 2);      // true colour
    for (int i = 0; i < 5; ++i) out.push_back(0);  // colour-map fields (none)
    Put16(out, 0);
    Put16(out, 0);                    // origin
    Put16(out, pic.width);
    Put16(out, pic.height);
    out.push_back(static_cast<uint8_t>(bits));
    out.push_back(bits == 32 ? 8 : 0);  // alpha bits, bottom-left origin
    for (int y = pic.height - 1; y >= 0; --y) {
        if (!rle) {
            for (int x = 0; x < pic.width; ++x) PutPixel(out, pic.At(x, y), bits);
            continue;
        }
        int x = 0;
        while (x < pic.width) {
            // A run of equal pixels (2..128) becomes a run packet; otherwise a raw packet up to
            // the next run. Packets never cross a row end.
            int run = 1;
            while (x + run < pic.width && run < 128 &&
                   std::equal(pic.At(x, y), pic.At(x, y) + 4, pic.At(x + run, y)))
                ++run;
            if (run >= 2) {
                out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                PutPixel(out, pic.At(x, y), bits);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < pic.width && raw < 128 &&
                   !(x + raw + 1 < pic.width &&
                     std::equal(pic.At(x + raw, y), pic.At(x + raw, y) + 4, pic.At(x + raw + 1, y))))
                ++raw;
            out.push_back(static_cast<uint8_t>(raw - 1));
            for (int k = 0; k < raw; ++k) PutPixel(out, pic.At(x + k, y), bits);
            x += raw;
        }
    }
    return out;
}

std::vector<uint8_t> EncodePcx(int width, int height, const std::vector<uint8_t>& indices,
                               const std::array<uint8_t, 768>& palette) {
    std::vector<uint8_t> out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    auto set16 = [&](int at, int v) {
        out[at] = static_cast<uint8_t>(v & 0xFF);
        out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    };
    set16(8, width - 1);
    set16(10, height - 1);
    set16(12, 72);
    set16(14, 72);
    out[65] = 1;            // planes
    set16(66, width);       // bytes per line (the engine reads one stream of width x height)
    set16(68, 1);           // palette type: colour
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &indices[static_cast<size_t>(y) * width];
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 0xC0) {
                out.push_back(static_cast<uint8_t>(0xC0 | run));
                out.push_back(row[x]);
            } else {
                out.push_back(row[x]);
            }
            x += run;
        }
    }
    out.push_back(12);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

std::vector<uint8_t> EncodePam(const Picture& pic) {
    const std::string head = "P7\nWIDTH " + std::to_string(pic.width) + "\nHEIGHT " +
                             std::to_string(pic.height) +
                             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<uint8_t> out(head.begin(), head.end());
    out.insert(out.end(), pic.rgba.begin(), pic.rgba.end());
    return out;
}

std::vector<uint8_t> EncodePng(const Picture& pic) {
    std::vector<uint8_t> out;
    const auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<uint8_t*>(data);
        static_cast<std::vector<uint8_t>*>(context)->insert(
            static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
    };
    if (pic.width <= 0 || pic.height <= 0 ||
        !stbi_write_png_to_func(append, &out, pic.width, pic.height, 4, pic.rgba.data(),
                                pic.width * 4))
        return {};
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "tamasset: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) {
        std::fprintf(stderr, "tamasset: error writing %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace tam::asset
