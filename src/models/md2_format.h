// The MD2 file layout and its validation, shared by the model loader and the asset tool's checker.
// Everything here reads a caller-owned byte span through a bounded cursor and allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/byte_cursor.h"

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

// The 68-byte header; false when the span is shorter than that.
bool ReadHeader(std::span<const uint8_t> file, Header& out);

// Why `file` cannot be loaded as a model, or an empty string when it can: magic and version,
// counts within limits, every section inside the file, the command list well formed with its
// vertex indices below the vertex count, every normal index inside the normal table.
std::string Problem(std::span<const uint8_t> file);

}  // namespace tam::md2
