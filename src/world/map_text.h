// The readable text form of a map file, for people who make maps. Compiling the text gives the
// binary map file; writing the text of a binary file and compiling it again gives the same bytes.
//
//   name "Courtyard"       # map name: quoted, \" \\ and \xHH escapes, no zero byte
//   floor 100 100          # floor half-width and half-depth, 0..255
//   reserved 0 0           # the two reserved header bytes, -128..127
//   gravity 10             # -128..127
//   floor_texture 5        # world texture index 0..7
//   scroll 0 0             # texture scroll speeds, thousandths per second, -128..127
//   start X Y              # a start point; at most 127
//   box X1 Y1 Z1 X2 Y2 Z2 NX NY NZ TEXTURE   # a wall panel; at most 127
//
// Every coordinate and normal component lies in -128..127. Header lines may come in any order,
// each at most once; start and box lines keep their order. Pure functions, no state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tam {

// Why a text or binary map was refused: `line` is the 1-based text line (0 for binary input);
// `message` names the field and the rule it broke.
struct MapTextError {
    int line = 0;
    std::string message;
};

inline constexpr int kWorldTextureCount = 8;

// The map file bytes for a text form, or nullopt with the first error.
std::optional<std::vector<uint8_t>> CompileMapText(std::string_view text, MapTextError& error);

// Whether file bytes hold the text form rather than a binary map: no zero byte (every binary map
// ends its name with one), and the first line that is not blank or a comment opens with a word
// of the text form.
bool IsMapText(std::span<const uint8_t> bytes);

// The text form of a complete map file, or nullopt when the bytes are truncated, hold a negative
// count, an unknown texture index or bytes after the last box (the text form cannot say those).
std::optional<std::string> DecompileMap(std::span<const uint8_t> bytes, MapTextError& error);

}  // namespace tam
