// Fuzzes the map loader from memory and the text form: any bytes must load or be refused without
// a fault, a refused map must leave the map in force as it was, and every file the text form
// describes must compile back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "world/map.h"
#include "world/map_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    // The world's map is kept from run to run: loading over stale entries is part of the contract.
    const std::string name = tam::Map().name;
    const int8_t boxes = tam::Map().boxCount, starts = tam::Map().startPointCount;
    if (!tam::LoadMapBytes(bytes) &&
        (tam::Map().name != name || tam::Map().boxCount != boxes ||
         tam::Map().startPointCount != starts))
        std::abort();

    tam::MapTextError error;
    if (const auto text = tam::DecompileMap(bytes, error)) {
        const auto again = tam::CompileMapText(*text, error);
        if (!again || *again != std::vector<uint8_t>(bytes.begin(), bytes.end())) std::abort();
    }
    // The same bytes read as a text form.
    (void)tam::CompileMapText(
        std::string_view(reinterpret_cast<const char*>(data), size), error);
    return 0;
}
