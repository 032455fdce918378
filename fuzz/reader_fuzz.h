// The shared body of the image readers' libFuzzer targets: any bytes must give a status, never a
// read or write outside the buffers; a picture that is read has exactly width x height x 4 bytes,
// and one that is not leaves no pixels.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "images/readers.h"

using ImageReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*,
                            bool);

inline int FuzzImageReader(ImageReader read, const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    for (bool top : {true, false}) {
        std::vector<uint8_t> pixels;
        int32_t width = 0;
        int32_t height = 0;
        const int status = read(file, &pixels, &width, &height, top);
        if (status == 1 && pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
            std::abort();
        if (status != 1 && !pixels.empty()) std::abort();
    }
    int32_t width = 0;
    read(file, nullptr, &width, nullptr, true);  // no pixel destination: size only
    return 0;
}
