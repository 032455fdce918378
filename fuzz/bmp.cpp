// libFuzzer target for the BMP reader (see reader_fuzz.h for what every input must satisfy).
#include "reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageReader(static_cast<ImageReader>(tam::LoadBMP), data, size);
}
