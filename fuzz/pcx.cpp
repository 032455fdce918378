// libFuzzer target for the PCX reader: any bytes must give a status, never a read or write outside
// the buffers; a picture that is read has exactly width x height x 4 bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "images/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    for (bool top : {true, false}) {
        std::vector<uint8_t> pixels;
        int32_t width = 0;
        int32_t height = 0;
        const int status = tam::LoadPCX(file, &pixels, &width, &height, top);
        if (status == 1 && pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
            std::abort();
        if (status != 1 && !pixels.empty()) std::abort();
    }
    int32_t width = 0;
    tam::LoadPCX(file, nullptr, &width, nullptr, true);
    return 0;
}
