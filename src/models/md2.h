// Animated MD2 models: the loader (every count and offset validated against the file before
// anything is allocated), the animation clock, and drawing through the command list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tam {

class CMD2Model {
public:
    CMD2Model();

    // Reads a model file (resolved against the program folder). False, with the model unchanged,
    // for a missing or malformed file.
    bool LoadMd2(const std::string& path);
    bool LoadMd2(std::span<const uint8_t> file);
    bool SetSkin(const std::string& path);
    void SetScale(float factor) { scale = factor; }
    void SelectAnimation(int index);
    void Advance(float time);
    // Advances when time > 0, then draws inside a pushed matrix turned -90 degrees about Z.
    void Draw(float time);

    int32_t frameCount = 0;
    int32_t vertexCount = 0;
    int32_t commandCount = 0;
    std::vector<float> vertices;       // frameCount x vertexCount x 3
    std::vector<int32_t> commands;     // the command list as read
    std::vector<int32_t> normalIndex;  // frameCount x vertexCount
    uint32_t skin = 0;
    int32_t startFrame = 0, endFrame = 0, frameRate = 0;
    float currentTime = 0, previousTime = 0, blend = 0;
    int32_t animation = 0, currentFrame = 0, nextFrame = 0;
    float scale = 1.f;
};

}  // namespace tam
