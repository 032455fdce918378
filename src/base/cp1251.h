// Text inside the program is single-byte Windows code page 1251. These routines convert between
// it and UTF-8 (the platform's keyboard and font encoding) and lowercase it by the code page's
// own rules. All are pure functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tam {

// UTF-8 to CP1251. Characters the code page lacks, and malformed UTF-8 sequences, become
// `missing`; a NUL `missing` drops them.
std::string Utf8ToCp1251(std::string_view utf8, char missing = '\0');

// CP1251 to UTF-8. Every byte maps to a character; the one unassigned byte (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Lowercase by CP1251 rules: A-Z, the Cyrillic capitals 0xC0-0xDF, and the extra capitals
// (0xA8 Ё, 0x80 Ђ, 0x81 Ѓ, 0x8A Љ, 0x8C Њ, 0x8D Ќ, 0x8E Ћ, 0x8F Џ, 0xA1 Ў, 0xA3 Ј, 0xA5 Ґ,
// 0xAA Є, 0xAF Ї, 0xB2 І, 0xBD Ѕ).
uint8_t LowerCp1251(uint8_t c);
std::string LowerCp1251(std::string_view text);
// Uppercase, the inverse mapping.
uint8_t UpperCp1251(uint8_t c);
std::string UpperCp1251(std::string_view text);

namespace literals {
// "Файл"_cp: a UTF-8 literal in the source, CP1251 bytes in the program.
inline std::string operator""_cp(const char* s, size_t n) { return Utf8ToCp1251({s, n}); }
}  // namespace literals

}  // namespace tam
