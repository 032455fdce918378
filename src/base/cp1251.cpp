// CP1251 <-> UTF-8 conversion and CP1251 case mapping.
#include "base/cp1251.h"

#include <array>

namespace tam {
namespace {

// Unicode code points of CP1251 bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F.
constexpr std::array<uint16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

uint32_t ToUnicode(uint8_t c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0);
    return kHigh[c - 0x80];
}

int FromUnicode(uint32_t u) {
    if (u < 0x80) return static_cast<int>(u);
    if (u >= 0x0410 && u <= 0x044F) return static_cast<int>(0xC0 + (u - 0x0410));
    if (u == 0xFFFD) return -1;
    for (int i = 0; i < 64; ++i)
        if (kHigh[i] == u) return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string& out, uint32_t u) {
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

// Pairs of (capital, small) outside the regular ranges.
constexpr std::array<std::array<uint8_t, 2>, 15> kExtraCase = {{
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E},
    {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
    {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
}};

}  // namespace

std::string Utf8ToCp1251(std::string_view s, char missing) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const uint8_t b = static_cast<uint8_t>(s[i]);
        uint32_t u = 0;
        size_t len = 0;
        if (b < 0x80) {
            u = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            u = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            u = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            u = b & 0x07;
            len = 4;
        } else {
            ++i;  // stray continuation or invalid lead byte
            if (missing != '\0') out.push_back(missing);
            continue;
        }
        if (i + len > s.size()) {
            if (missing != '\0') out.push_back(missing);
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            const uint8_t cb = static_cast<uint8_t>(s[i + k]);
            if ((cb & 0xC0) != 0x80) {
                ok = false;
                len = k;
                break;
            }
            u = (u << 6) | (cb & 0x3F);
        }
        i += len;
        const int c = ok ? FromUnicode(u) : -1;
        if (c >= 0) out.push_back(static_cast<char>(c));
        else if (missing != '\0') out.push_back(missing);
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) AppendUtf8(out, ToUnicode(static_cast<uint8_t>(ch)));
    return out;
}

uint8_t LowerCp1251(uint8_t c) {
    if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<uint8_t>(c + 32);
    for (const auto& p : kExtraCase)
        if (p[0] == c) return p[1];
    return c;
}

uint8_t UpperCp1251(uint8_t c) {
    if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 32);
    if (c >= 0xE0) return static_cast<uint8_t>(c - 32);
    for (const auto& p : kExtraCase)
        if (p[1] == c) return p[0];
    return c;
}

std::string LowerCp1251(std::string_view text) {
    std::string out(text);
    for (char& ch : out) ch = static_cast<char>(LowerCp1251(static_cast<uint8_t>(ch)));
    return out;
}

std::string UpperCp1251(std::string_view text) {
    std::string out(text);
    for (char& ch : out) ch = static_cast<char>(UpperCp1251(static_cast<uint8_t>(ch)));
    return out;
}

}  // namespace tam
