// The sky: a textured cube without a bottom face, drawn around the current player every frame.
#pragma once

#include <array>
#include <cstdint>

namespace tam {

class TSkyBox {
public:
    TSkyBox() = default;
    // Refuses the whole set (false) when any name is 0.
    bool SetTextures(uint32_t front, uint32_t left, uint32_t back, uint32_t right, uint32_t top,
                     uint32_t extra);
    void SetSize(float halfSize);  // 0.0 is ignored
    void Draw(float x, float y, float z) const;

    const std::array<uint32_t, 6>& textures() const { return textures_; }
    float size() const { return halfSize_; }

private:
    std::array<uint32_t, 6> textures_{};  // front, left, back, right, top, extra
    float halfSize_ = 100.f;
};

}  // namespace tam
