// Builds MD2 files in memory for the model tests: frames of packed vertices and a command list,
// laid out after the header in a chosen order, with every header field open to tampering.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tam::test {

struct Md2Vertex {
    uint8_t x, y, z, normal;
};

struct Md2Frame {
    float scale[3] = {1, 1, 1};
    float translate[3] = {0, 0, 0};
    std::string name = "frame";
    std::vector<Md2Vertex> vertices;
};

struct Md2CommandVertex {
    float s, t;
    int32_t index;
};

class Md2Builder {
public:
    std::vector<Md2Frame> frames;
    std::vector<int32_t> commands;  // raw words; use Strip/Fan/End to fill
    bool commandsFirst = false;     // command list before the frames instead of after them
    int32_t extraFrameBytes = 0;    // padding after each frame's vertices

    Md2Builder& Strip(const std::vector<Md2CommandVertex>& v) { return Group(int32_t(v.size()), v); }
    Md2Builder& Fan(const std::vector<Md2CommandVertex>& v) { return Group(-int32_t(v.size()), v); }
    Md2Builder& End() { return commands.push_back(0), *this; }

    // Header field offsets, for tampering with Put().
    enum Field {
        kMagic = 0, kVersion = 4, kFrameSize = 16, kVertexCount = 24, kCommandCount = 36,
        kFrameCount = 40, kFramesOffset = 56, kCommandsOffset = 60, kEndOffset = 64
    };

    std::vector<uint8_t> Build() const {
        const int32_t vertexCount = frames.empty() ? 0 : int32_t(frames[0].vertices.size());
        const int32_t frameSize = 40 + 4 * vertexCount + extraFrameBytes;
        const int32_t framesBytes = int32_t(frames.size()) * frameSize, commandBytes = int32_t(commands.size()) * 4;
        const int32_t framesOffset = commandsFirst ? 68 + commandBytes : 68;
        const int32_t commandsOffset = commandsFirst ? 68 : 68 + framesBytes;
        std::vector<uint8_t> out(size_t(68 + framesBytes + commandBytes), 0);
        std::memcpy(out.data(), "IDP2", 4);
        const int32_t header[16] = {8, 64, 64, frameSize, 0, vertexCount, 0, 0, int32_t(commands.size()),
                                    int32_t(frames.size()), 68, 68, 68, framesOffset, commandsOffset, int32_t(out.size())};
        for (int i = 0; i < 16; ++i) Put(out, size_t(4 + 4 * i), header[i]);
        size_t at = size_t(framesOffset);
        for (const Md2Frame& f : frames) {
            for (float v : f.scale) Put(out, at, std::bit_cast<int32_t>(v)), at += 4;
            for (float v : f.translate) Put(out, at, std::bit_cast<int32_t>(v)), at += 4;
            std::memcpy(&out[at], f.name.data(), f.name.size() < 15 ? f.name.size() : 15);
            at += 16;
            for (const Md2Vertex& v : f.vertices) out[at++] = v.x, out[at++] = v.y, out[at++] = v.z, out[at++] = v.normal;
            at += size_t(extraFrameBytes);
        }
        at = size_t(commandsOffset);
        for (int32_t w : commands) Put(out, at, w), at += 4;
        return out;
    }

    static void Put(std::vector<uint8_t>& b, size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
    }

private:
    Md2Builder& Group(int32_t count, const std::vector<Md2CommandVertex>& v) {
        commands.push_back(count);
        for (const auto& e : v)
            commands.insert(commands.end(), {std::bit_cast<int32_t>(e.s), std::bit_cast<int32_t>(e.t), e.index});
        return *this;
    }
};

// A frame of `n` vertices at (i, 2i, 3i) + offset with normal index i % 162.
inline Md2Frame RampFrame(int n, uint8_t offset = 0, const std::string& name = "ramp") {
    Md2Frame f;
    f.name = name;
    for (int i = 0; i < n; ++i)
        f.vertices.push_back({uint8_t(i + offset), uint8_t(2 * i + offset), uint8_t(3 * i + offset), uint8_t(i % 162)});
    return f;
}

// A model of `frames` ramp frames (frame f offset by f) with one strip over its first three
// vertices.
inline Md2Builder RampModel(int frames, int vertices = 4) {
    Md2Builder b;
    for (int f = 0; f < frames; ++f) b.frames.push_back(RampFrame(vertices, uint8_t(f)));
    b.Strip({{0, 0, 0}, {1, 0, 1}, {0, 1, 2}}).End();
    return b;
}

}  // namespace tam::test
