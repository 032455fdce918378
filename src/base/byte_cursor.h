// The one way file bytes are read: a bounded little-endian cursor over a caller-owned byte span,
// shared by the picture readers, the binary map loader and the model loader. A read that would
// pass the end reads nothing, leaves the position where it was and turns ok() false for good; no
// byte outside the span is ever touched. Counts are taken as 64-bit values, so a size computed
// from file fields is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tam {

class ByteCursor {
public:
    // The span must outlive the cursor. A start past the end leaves the cursor at the end, not ok.
    explicit ByteCursor(std::span<const uint8_t> data, uint64_t pos = 0) : data_(data) {
        if (!Seek(pos)) pos_ = data_.size();
    }
    // False once any read, skip or seek has failed.
    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }
    bool Has(uint64_t n) const { return n <= remaining(); }
    // Moves to byte `pos` of the span; false past its end, and the position stays.
    bool Seek(uint64_t pos) {
        if (pos > data_.size()) return Fail();
        pos_ = static_cast<size_t>(pos);
        return true;
    }

    // Value forms: 0 past the end.
    uint8_t U8() {
        uint8_t v = 0;
        U8(v);
        return v;
    }
    uint16_t U16() {
        if (!Has(2)) {
            Fail();
            return 0;
        }
        const uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    uint32_t U32() {
        if (!Has(4)) {
            Fail();
            return 0;
        }
        const uint32_t v = static_cast<uint32_t>(data_[pos_]) |
                           (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
                           (static_cast<uint32_t>(data_[pos_ + 2]) << 16) |
                           (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }

    // Out-parameter forms: false past the end, with `out` untouched.
    bool U8(uint8_t& out) {
        if (!Has(1)) return Fail();
        out = data_[pos_++];
        return true;
    }
    bool I8(int8_t& out) {
        uint8_t v = 0;
        if (!U8(v)) return false;
        out = static_cast<int8_t>(v);
        return true;
    }
    bool I32(int32_t& out) {
        if (!Has(4)) return Fail();
        out = static_cast<int32_t>(U32());
        return true;
    }
    bool F32(float& out) {
        int32_t bits = 0;
        if (!I32(bits)) return false;
        std::memcpy(&out, &bits, sizeof out);
        return true;
    }
    bool Bytes(void* out, uint64_t n) {
        if (n == 0) return true;
        const uint8_t* p = Take(n);
        if (!p) return false;
        std::memcpy(out, p, static_cast<size_t>(n));
        return true;
    }

    // The next n bytes, consumed; nullptr when fewer remain (and possibly for n = 0).
    const uint8_t* Take(uint64_t n) {
        if (!Has(n)) {
            Fail();
            return nullptr;
        }
        const uint8_t* p = data_.data() + pos_;
        pos_ += static_cast<size_t>(n);
        return p;
    }
    bool Skip(uint64_t n) { return Take(n) != nullptr || n == 0; }

private:
    bool Fail() {
        ok_ = false;
        return false;
    }
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace tam
