// Animated MD2 models: the loader (every count and offset validated against the file before
// anything is allocated), the animation clock, and drawing through the command list.
// Window thread only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tam {

// One animation: a range of frames played at a rate, looping.
struct AnimationRange {
    int32_t firstFrame, lastFrame, framesPerSecond;
};
inline constexpr int kAnimationCount = 21;
extern const AnimationRange AnimationTable[kAnimationCount];

inline constexpr int kBlendBufferVertices = 2048;

// Shared by every model and rewritten for each model drawn, so models are drawn one after
// another. Holds no model data between draws; ResetModelDraw() gives a fresh one (tests).
struct ModelDrawState {
    float BlendBuffer[kBlendBufferVertices][3] = {};  // blended, scaled positions
    float litColour[3] = {};
    int shadeRow = 0;  // row of ShadeTable in use
};
ModelDrawState& ModelDraw();
void ResetModelDraw();

class CMD2Model {
public:
    CMD2Model();

    // Reads a model file (the CP1251 name is resolved against the program folder). False, with
    // the model unchanged, for a missing or malformed file, which the path form reports in one
    // console line with the reason; a good file replaces any earlier one. The span form gives
    // the reason in `why` when asked.
    bool LoadMd2(const std::string& path);
    bool LoadMd2(std::span<const uint8_t> file, std::string* why = nullptr);
    // The skin is the registry's texture for `path`; false when that is the default texture.
    bool SetSkin(const std::string& path);
    void SetScale(float factor) { scale = factor; }
    // Entry `index` of AnimationTable (entry 0 when out of range); takes effect at the next step.
    void SelectAnimation(int index);
    // Animation clock: `time` in seconds; at most one frame step per call.
    void Advance(float time);
    // Advances when time > 0, then draws inside a pushed matrix turned -90 degrees about Z.
    // A model that has not loaded a file draws nothing.
    void Draw(float time);

    bool loaded() const { return !commands.empty(); }

    int32_t frameCount = 0;
    int32_t vertexCount = 0;
    int32_t commandCount = 0;
    std::vector<float> vertices;       // frameCount x vertexCount x 3
    std::vector<int32_t> commands;     // the command list as read (s and t are float bits)
    std::vector<int32_t> normalIndex;  // frameCount x vertexCount, each below 162
    uint32_t skin = 0;
    int32_t startFrame = 0, endFrame = 0, frameRate = 0;
    float currentTime = 0, previousTime = 0, blend = 0;
    int32_t animation = 0, currentFrame = 0, nextFrame = 0;
    float scale = 1.f;

private:
    void BlendFrames() const;
    void EmitCommands() const;
};

}  // namespace tam
