// The MD2 file layout and its validation, shared by the model loader and the asset tool's checker.
// Everything here reads a caller-owned byte span through a bounded cursor and allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace tam::md2 {

inline constexpr size_t kHeaderSize = 68;
inline constexpr size_t kFrameHeaderSize = 40;  // scale, translate, 16-byte name
inline constexpr int32_t kVersion = 8;
inline constexpr int32_t kMaxVertices = 2048;  // per frame: what the blend buffer holds
inline constexpr int32_t kMaxFrames = 4096;

struct Header {
    char magic[4];
    int32_t version, skinWidth, skinHeight, frameSize, skinCount, vertexCount, texCoordCount,
        triangleCount, commandCount, frameCount, skinsOffset, texCoordsOffset, trianglesOffset,
        framesOffset, commandsOffset, endOffset;
};

// Little-endian reads from a byte span. A read past the end fails and leaves the cursor where
// it was; the cursor never touches bytes outside the span.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t pos() const { return pos_; }
    size_t size() const { return bytes_.size(); }
    bool Seek(uint64_t pos) {
        if (pos > bytes_.size()) return false;
        pos_ = static_cast<size_t>(pos);
        return true;
    }
    bool U8(uint8_t& out) {
        if (bytes_.size() - pos_ < 1) return false;
        out = bytes_[pos_++];
        return true;
    }
    bool I32(int32_t& out) {
        if (bytes_.size() - pos_ < 4) return false;
        const uint32_t v = uint32_t{bytes_[pos_]} | uint32_t{bytes_[pos_ + 1]} << 8 |
                           uint32_t{bytes_[pos_ + 2]} << 16 | uint32_t{bytes_[pos_ + 3]} << 24;
        pos_ += 4;
        out = static_cast<int32_t>(v);
        return true;
    }
    bool F32(float& out) {
        int32_t bits;
        if (!I32(bits)) return false;
        std::memcpy(&out, &bits, sizeof out);
        return true;
    }
    bool Bytes(void* out, size_t n) {
        if (bytes_.size() - pos_ < n) return false;
        std::memcpy(out, bytes_.data() + pos_, n);
        pos_ += n;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// The 68-byte header; false when the span is shorter than that.
bool ReadHeader(std::span<const uint8_t> file, Header& out);

// Why `file` cannot be loaded as a model, or an empty string when it can: magic and version,
// counts within limits, every section inside the file, the command list well formed with its
// vertex indices below the vertex count, every normal index inside the normal table.
std::string Problem(std::span<const uint8_t> file);

}  // namespace tam::md2
