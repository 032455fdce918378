// The shared body of the image readers' libFuzzer targets: any bytes must give a status, never a
// read or write outside the buffers; a picture that is read has exactly width x height x 4 bytes
// and at most 4096 x 4096 pixels, and one that is not leaves no pixels and gives a reason.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "images/readers.h"

using ImageReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*,
                            bool, const char**);

inline int FuzzImageReader(ImageReader read, const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    for (bool top : {true, false}) {
        std::vector<uint8_t> pixels;
        int32_t width = 0;
        int32_t height = 0;
        const char* why = nullptr;
        const int status = read(file, &pixels, &width, &height, top, &why);
        const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        if (status == 1 && (pixels.size() != count * 4 || count > uint64_t{4096} * 4096)) std::abort();
        if (status != 1 && (!pixels.empty() || !why)) std::abort();
    }
    int32_t width = 0;
    read(file, nullptr, &width, nullptr, true, nullptr);  // no pixel destination: size only
    return 0;
}
