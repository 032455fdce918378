// Laying out binary files: integers in either byte order, floats, tags, fixed-size names and byte
// runs appended to one growing buffer. The asset tool's file writers put their bytes through it.
// Short fields go in a byte at a time: GCC 12 at -O2 misreads vector::insert of a few bytes into
// a fresh vector as an overflow (-Wstringop-overflow), so Append is kept for longer runs.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tam::asset {

struct ByteWriter {
    std::vector<uint8_t> bytes;

    ByteWriter& U8(uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        return *this;
    }
    ByteWriter& Le16(uint32_t v) { return U8(v).U8(v >> 8); }
    ByteWriter& Le32(uint32_t v) { return Le16(v).Le16(v >> 16); }
    ByteWriter& Be16(uint32_t v) { return U8(v >> 8).U8(v); }
    ByteWriter& Be32(uint32_t v) { return Be16(v >> 16).Be16(v); }
    ByteWriter& LeFloat(float v) { return Le32(std::bit_cast<uint32_t>(v)); }
    ByteWriter& Zeros(size_t n) {
        bytes.resize(bytes.size() + n, 0);
        return *this;
    }
    // Characters as they are, without a terminator (tags such as "RIFF", text headers).
    ByteWriter& Text(std::string_view s) {
        for (const char c : s) U8(static_cast<uint8_t>(c));
        return *this;
    }
    // `name` in a field of `size` bytes: cut to leave at least one NUL, padded with NULs.
    ByteWriter& Name(std::string_view name, size_t size) {
        const size_t kept = size == 0 ? 0 : std::min(name.size(), size - 1);
        return Text(name.substr(0, kept)).Zeros(size - kept);
    }
    ByteWriter& Append(std::span<const uint8_t> run) {
        bytes.insert(bytes.end(), run.begin(), run.end());
        return *this;
    }
};

}  // namespace tam::asset
