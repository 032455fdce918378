// Placeholder: the image readers are being written.
#include "images/readers.h"

namespace tam {

int LoadTGA(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }
int LoadBMP(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }
int LoadPCX(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }
int LoadTGA(const std::string&, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }
int LoadBMP(const std::string&, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }
int LoadPCX(const std::string&, std::vector<uint8_t>*, int32_t*, int32_t*, bool) { return 0; }

}  // namespace tam
