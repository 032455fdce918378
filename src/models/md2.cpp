// The MD2 model: loading a validated file into unpacked float frames, the animation clock that
// steps and blends frames, and drawing the blended mesh through the command list's strips and
// fans, tinted by the fixed light.
#include "models/md2.h"

#include "console/console.h"
#include "base/files.h"
#include "images/texture.h"
#include "models/md2_format.h"
#include "models/md2_tables.h"
#include "render/gl_api.h"

#include <cstring>

namespace tam {

const AnimationRange AnimationTable[kAnimationCount] = {
    {0, 39, 9},     {40, 45, 10},   {46, 53, 10},   {54, 57, 7},    {58, 61, 7},
    {62, 65, 7},    {66, 71, 7},    {72, 83, 7},    {84, 94, 7},    {95, 111, 10},
    {112, 122, 7},  {123, 134, 6},  {135, 153, 10}, {154, 159, 7},  {160, 168, 10},
    {169, 172, 7},  {173, 177, 5},  {178, 183, 7},  {184, 189, 7},  {190, 197, 7},
    {198, 198, 5},
};

namespace {

// The fixed light for the whole run.
constexpr int32_t kAmbientLight = 32;
constexpr float kShadeLight = 128.0f;
constexpr float kLightColour[3] = {1.0f, 1.0f, 1.0f};
constexpr float kLightAngle = 0.0f;  // degrees

void UpdateLighting() {
    ModelDrawState& d = ModelDraw();
    const float lightScale = (float(kAmbientLight) + kShadeLight) * (1.0f / 256.0f);
    for (int i = 0; i < 3; ++i) d.litColour[i] = kLightColour[i] * lightScale;
    d.shadeRow = int(kLightAngle * (16.0f / 360.0f)) & 15;
}

}  // namespace

ModelDrawState& ModelDraw() {
    static ModelDrawState state;
    return state;
}

void ResetModelDraw() { ModelDraw() = ModelDrawState{}; }

CMD2Model::CMD2Model() { SelectAnimation(0); }

bool CMD2Model::LoadMd2(const std::string& path) {
    const std::string fsPath = ResolvePath(path);
    std::string why = "file not found";
    if (FileExists(fsPath)) {
        const auto file = ReadWholeFile(fsPath);
        if (file && LoadMd2(std::span<const uint8_t>(*file), &why)) return true;
        if (!file) why = "file cannot be read";
    }
    ConsolePrint("Model " + path + " not loaded: " + why, true);
    return false;
}

bool CMD2Model::LoadMd2(std::span<const uint8_t> file, std::string* why) {
    md2::Header h;
    std::string problem = md2::Problem(file);
    if (problem.empty() && !md2::ReadHeader(file, h)) problem = "file shorter than its header";
    if (!problem.empty()) {
        if (why) *why = std::move(problem);
        return false;
    }

    // Problem() has bounded every count and section, so the sizes below are bounded by the file
    // and every read succeeds; the model is only touched once the new arrays are complete.
    const size_t perFrame = size_t(h.vertexCount);
    std::vector<float> newVertices(size_t(h.frameCount) * perFrame * 3);
    std::vector<int32_t> newNormals(size_t(h.frameCount) * perFrame);
    std::vector<int32_t> newCommands(size_t(h.commandCount));

    // Frame f: scale and translation (three floats each), a 16-byte name, then per vertex three
    // packed coordinates and a normal index.
    for (int32_t f = 0; f < h.frameCount; ++f) {
        ByteCursor header(file);
        header.Seek(uint64_t(h.framesOffset) + uint64_t(f) * uint64_t(h.frameSize));
        float s[3] = {}, t[3] = {};
        for (float& v : s) header.F32(v);
        for (float& v : t) header.F32(v);
        const uint8_t* packed = file.data() + header.pos() + 16;
        float* out = &newVertices[size_t(f) * perFrame * 3];
        int32_t* normals = &newNormals[size_t(f) * perFrame];
        for (size_t v = 0; v < perFrame; ++v, packed += 4, out += 3) {
            for (int i = 0; i < 3; ++i) out[i] = float(packed[i]) * s[i] + t[i];
            normals[v] = packed[3];
        }
    }
    ByteCursor cur(file);
    bool ok = cur.Seek(uint64_t(h.commandsOffset));
    for (int32_t& word : newCommands) ok = ok && cur.I32(word);
    if (!ok) {
        if (why) *why = "sections run past the end of the file";
        return false;
    }

    frameCount = h.frameCount;
    vertexCount = h.vertexCount;
    commandCount = h.commandCount;
    vertices = std::move(newVertices);
    normalIndex = std::move(newNormals);
    commands = std::move(newCommands);
    return true;
}

bool CMD2Model::SetSkin(const std::string& path) {
    skin = LoadTexture(path);
    return skin != LoadTexture("default");
}

void CMD2Model::SelectAnimation(int index) {
    if (index < 0 || index >= kAnimationCount) index = 0;
    const AnimationRange& a = AnimationTable[index];
    startFrame = a.firstFrame;
    endFrame = a.lastFrame;
    nextFrame = a.firstFrame + 1;
    frameRate = a.framesPerSecond;
    animation = index;
}

void CMD2Model::Advance(float time) {
    currentTime = time;
    if (currentTime - previousTime > 1.0f / float(frameRate)) {
        currentFrame = nextFrame;
        if (++nextFrame > endFrame) nextFrame = startFrame;
        previousTime = currentTime;
    }
    if (currentFrame > frameCount - 1) currentFrame = 0;
    if (nextFrame > frameCount - 1) nextFrame = 0;
    blend = float(frameRate) * (currentTime - previousTime);
}

void CMD2Model::Draw(float time) {
    if (time > 0) Advance(time);
    if (!loaded()) return;

    gl::Backend& gl = gl::Api();
    gl.PushMatrix();
    gl.Rotatef(-90, 0, 0, 1);
    gl.PushAttrib(GL_POLYGON_BIT);
    gl.FrontFace(GL_CW);
    gl.Enable(GL_CULL_FACE);
    gl.CullFace(GL_BACK);
    UpdateLighting();
    BlendFrames();
    gl.BindTexture(GL_TEXTURE_2D, skin);
    EmitCommands();
    gl.Disable(GL_CULL_FACE);
    gl.PopAttrib();
    gl.PopMatrix();
}

// Frames the model does not have (a fresh model, or one whose animation points past its last
// frame and has not stepped since) are drawn as frame 0, the rule Advance() applies.
void CMD2Model::BlendFrames() const {
    const auto frameStart = [this](int32_t f) {
        if (f < 0 || f >= frameCount) f = 0;
        return &vertices[size_t(f) * size_t(vertexCount) * 3];
    };
    const float* cur = frameStart(currentFrame);
    const float* nxt = frameStart(nextFrame);
    float(*out)[3] = ModelDraw().BlendBuffer;
    const int32_t n = vertexCount < kBlendBufferVertices ? vertexCount : kBlendBufferVertices;
    for (int32_t i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c) {
            const float a = cur[i * 3 + c];
            out[i][c] = ((nxt[i * 3 + c] - a) * blend + a) * scale;
        }
}

// The command list was checked when loaded: every group lies inside it, it ends with 0, and
// every vertex index is below the vertex count (and so inside the blend buffer).
void CMD2Model::EmitCommands() const {
    gl::Backend& gl = gl::Api();
    const ModelDrawState& d = ModelDraw();
    const float* shades = ShadeTable[d.shadeRow];
    const int32_t* word = commands.data();
    for (int32_t count = *word++; count != 0; count = *word++) {
        gl.Begin(count < 0 ? GL_TRIANGLE_FAN : GL_TRIANGLE_STRIP);
        for (int32_t left = count < 0 ? -count : count; left > 0; --left, word += 3) {
            float s, t;
            std::memcpy(&s, &word[0], sizeof s);
            std::memcpy(&t, &word[1], sizeof t);
            const int32_t index = word[2];
            const int32_t k = normalIndex[size_t(index)];
            const float shade = shades[k];
            gl.Color3f(shade * d.litColour[0], shade * d.litColour[1], shade * d.litColour[2]);
            gl.TexCoord2f(s, t);
            gl.Normal3f(NormalTable[k][0], NormalTable[k][1], NormalTable[k][2]);
            const float* p = d.BlendBuffer[index];
            gl.Vertex3f(p[0], p[1], p[2]);
        }
        gl.End();
    }
}

}  // namespace tam
