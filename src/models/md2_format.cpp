// MD2 header reading and whole-file validation. The loader trusts a file only after Problem()
// has found nothing wrong with it, so every check that keeps later reads inside the file and the
// model's arrays lives here.
#include "models/md2_format.h"

#include "models/md2_tables.h"

#include <string>

namespace tam::md2 {
namespace {

std::string Section(const char* name, int32_t offset, uint64_t bytes, size_t fileSize) {
    if (offset < 0) return std::string(name) + " offset " + std::to_string(offset) + " is negative";
    if (uint64_t(offset) + bytes > fileSize)
        return std::string(name) + " (" + std::to_string(bytes) + " bytes at " +
               std::to_string(offset) + ") runs past the end of the " + std::to_string(fileSize) +
               "-byte file";
    return {};
}

// Walks the command list word by word: each group is a count n (strip n > 0, fan n < 0) and |n|
// entries of s, t, vertex index; a count of 0 ends the list. Words after the end are ignored.
std::string CheckCommands(ByteCursor cur, int32_t commandCount, int32_t vertexCount) {
    uint64_t left = uint64_t(commandCount);
    for (;;) {
        int32_t count;
        if (left == 0 || !cur.I32(count)) return "command list has no terminating 0";
        --left;
        if (count == 0) return {};
        if (count == INT32_MIN) return "command list group count " + std::to_string(count);
        const uint64_t entries = uint64_t(count < 0 ? -int64_t(count) : int64_t(count));
        if (entries * 3 > left)
            return "command list group of " + std::to_string(entries) +
                   " vertices runs past the list's end";
        for (uint64_t i = 0; i < entries; ++i) {
            float s, t;
            int32_t index;
            if (!cur.F32(s) || !cur.F32(t) || !cur.I32(index))
                return "command list runs past the end of the file";
            if (index < 0 || index >= vertexCount)
                return "command list vertex index " + std::to_string(index) +
                       " outside 0.." + std::to_string(vertexCount - 1);
        }
        left -= entries * 3;
    }
}

}  // namespace

bool ReadHeader(std::span<const uint8_t> file, Header& out) {
    ByteCursor cur(file);
    Header h{};
    if (!cur.Bytes(h.magic, 4)) return false;
    int32_t* fields[] = {&h.version,        &h.skinWidth,       &h.skinHeight,
                         &h.frameSize,      &h.skinCount,       &h.vertexCount,
                         &h.texCoordCount,  &h.triangleCount,   &h.commandCount,
                         &h.frameCount,     &h.skinsOffset,     &h.texCoordsOffset,
                         &h.trianglesOffset, &h.framesOffset,   &h.commandsOffset,
                         &h.endOffset};
    for (int32_t* f : fields)
        if (!cur.I32(*f)) return false;
    out = h;
    return true;
}

std::string Problem(std::span<const uint8_t> file) {
    Header h;
    if (!ReadHeader(file, h))
        return "file of " + std::to_string(file.size()) + " bytes is shorter than the header";
    if (std::memcmp(h.magic, "IDP2", 4) != 0) return "not an MD2 file (no IDP2 magic)";
    if (h.version != kVersion)
        return "version " + std::to_string(h.version) + ", expected " + std::to_string(kVersion);
    if (h.vertexCount < 1 || h.vertexCount > kMaxVertices)
        return "vertex count " + std::to_string(h.vertexCount) + " outside 1.." +
               std::to_string(kMaxVertices);
    if (h.frameCount < 1 || h.frameCount > kMaxFrames)
        return "frame count " + std::to_string(h.frameCount) + " outside 1.." +
               std::to_string(kMaxFrames);
    if (h.commandCount < 1)
        return "command count " + std::to_string(h.commandCount) + " leaves no command list";
    const int64_t minFrameSize = int64_t(kFrameHeaderSize) + 4 * int64_t(h.vertexCount);
    if (h.frameSize < minFrameSize)
        return "frame size " + std::to_string(h.frameSize) + " is below the " +
               std::to_string(minFrameSize) + " bytes its vertices need";
    std::string why = Section("frames", h.framesOffset,
                              uint64_t(h.frameCount) * uint64_t(h.frameSize), file.size());
    if (why.empty())
        why = Section("command list", h.commandsOffset, uint64_t(h.commandCount) * 4, file.size());
    if (!why.empty()) return why;

    // Only the sections are read from here on, and both lie inside the file: every frame's
    // vertices are within the frames section, checked above with the frame size bounded below.
    for (int32_t f = 0; f < h.frameCount; ++f) {
        const uint8_t* vertices = file.data() + uint64_t(h.framesOffset) +
                                  uint64_t(f) * uint64_t(h.frameSize) + kFrameHeaderSize;
        for (int32_t v = 0; v < h.vertexCount; ++v) {
            const uint8_t normal = vertices[4 * size_t(v) + 3];
            if (normal >= kNormalCount)
                return "frame " + std::to_string(f) + " vertex " + std::to_string(v) +
                       " has normal index " + std::to_string(normal) + " (table holds " +
                       std::to_string(kNormalCount) + ")";
        }
    }
    ByteCursor commands(file);
    commands.Seek(uint64_t(h.commandsOffset));
    return CheckCommands(commands, h.commandCount, h.vertexCount);
}

}  // namespace tam::md2
