// Fuzzes the map file parser and the text form: any bytes must parse or be refused without a
// fault, and every file the text form describes must compile back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "world/map.h"
#include "world/map_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tam::MapState map;  // reused: parsing over stale entries is part of the contract
    const std::span<const uint8_t> bytes(data, size);
    tam::ParseMap(bytes, map);

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
