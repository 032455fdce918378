// Per-frame cost of the model drawing path: blending two frames of a ~500-vertex model into the
// blend buffer and walking its command list, against a GL seam that does nothing, so the figure
// is the engine's own work per model per frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "models/md2.h"
#include "render/gl_api.h"

namespace {

class NullGl final : public tam::gl::Backend {
public:
    void Begin(GLenum) override {}
    void End() override {}
    void Vertex2i(GLint, GLint) override {}
    void Vertex3f(GLfloat x, GLfloat y, GLfloat z) override { sink += x + y + z; }
    void TexCoord2f(GLfloat s, GLfloat t) override { sink += s + t; }
    void Normal3f(GLfloat x, GLfloat, GLfloat) override { sink += x; }
    void Color3f(GLfloat r, GLfloat, GLfloat) override { sink += r; }
    GLuint GenLists(GLsizei) override { return 1; }
    void DeleteLists(GLuint, GLsizei) override {}
    void NewList(GLuint, GLenum) override {}
    void EndList() override {}
    void CallList(GLuint) override {}
    void ListBase(GLuint) override {}
    void CallLists(GLsizei, GLenum, const void*) override {}
    void Enable(GLenum) override {}
    void Disable(GLenum) override {}
    void Fogi(GLenum, GLint) override {}
    void Fogf(GLenum, GLfloat) override {}
    void Fogfv(GLenum, const GLfloat*) override {}
    void Hint(GLenum, GLenum) override {}
    void PushAttrib(GLbitfield) override {}
    void PopAttrib() override {}
    void FrontFace(GLenum) override {}
    void CullFace(GLenum) override {}
    void BlendFunc(GLenum, GLenum) override {}
    void Lightfv(GLenum, GLenum, const GLfloat*) override {}
    void LightModelfv(GLenum, const GLfloat*) override {}
    void Materialfv(GLenum, GLenum, const GLfloat*) override {}
    void Viewport(GLint, GLint, GLsizei, GLsizei) override {}
    void ClearColor(GLfloat, GLfloat, GLfloat, GLfloat) override {}
    void Clear(GLbitfield) override {}
    void Flush() override {}
    void ReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) override {}
    GLenum GetError() override { return GL_NO_ERROR; }
    void MatrixMode(GLenum) override {}
    void PushMatrix() override {}
    void PopMatrix() override {}
    void LoadIdentity() override {}
    void Rotatef(GLfloat, GLfloat, GLfloat, GLfloat) override {}
    void Translatef(GLfloat, GLfloat, GLfloat) override {}
    void Translated(GLdouble, GLdouble, GLdouble) override {}
    void Ortho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) override {}
    void Perspective(GLdouble, GLdouble, GLdouble, GLdouble) override {}
    GLuint GenTexture() override { return 1; }
    void DeleteTexture(GLuint) override {}
    void BindTexture(GLenum, GLuint) override {}
    void TexParameteri(GLenum, GLenum, GLint) override {}
    void TexEnvf(GLenum, GLenum, GLfloat) override {}
    void TexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                    const void*) override {}
    void Build2DMipmaps(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) override {}
    float sink = 0;
};

void Put(std::vector<uint8_t>& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
void PutF(std::vector<uint8_t>& b, float f) {
    int32_t bits;
    std::memcpy(&bits, &f, 4);
    Put(b, bits);
}

// A grid of rows x cols vertices drawn as one strip per row pair: about the size of a game model
// (rows x cols vertices; 2 x cols x (rows - 1) vertex entries, i.e. ~1900 for 500 vertices).
std::vector<uint8_t> GridModel(int rows, int cols, int frames) {
    const int vertices = rows * cols;
    std::vector<int32_t> commands;
    for (int r = 0; r + 1 < rows; ++r) {
        commands.push_back(2 * cols);
        for (int c = 0; c < cols; ++c)
            for (int k = 0; k < 2; ++k) {
                float s = float(c) / float(cols), t = float(r + k) / float(rows);
                int32_t si, ti;
                std::memcpy(&si, &s, 4);
                std::memcpy(&ti, &t, 4);
                commands.insert(commands.end(), {si, ti, (r + k) * cols + c});
            }
    }
    commands.push_back(0);
    const int frameSize = 40 + 4 * vertices;
    std::vector<uint8_t> b = {'I', 'D', 'P', '2'};
    const int32_t header[16] = {8, 256, 256, frameSize, 0, vertices, 0, 0, int32_t(commands.size()),
                                frames, 68, 68, 68, 68, 68 + frames * frameSize, 0};
    for (int32_t v : header) Put(b, v);
    for (int f = 0; f < frames; ++f) {
        for (int i = 0; i < 3; ++i) PutF(b, 0.1f);
        for (int i = 0; i < 3; ++i) PutF(b, -12.0f);
        b.insert(b.end(), 16, 0);
        for (int v = 0; v < vertices; ++v)
            b.insert(b.end(), {uint8_t(v % cols * 7), uint8_t(v / cols * 9), uint8_t((v + f) * 13),
                               uint8_t((v * 5 + f) % 162)});
    }
    for (int32_t w : commands) Put(b, w);
    return b;
}

void BM_Md2BlendAndDraw(benchmark::State& state) {
    const int rows = 20, cols = int(state.range(0)) / rows;
    const auto file = GridModel(rows, cols, 40);
    tam::CMD2Model model;
    if (!model.LoadMd2(std::span<const uint8_t>(file))) {
        state.SkipWithError("model refused");
        return;
    }
    model.SetScale(0.25f);
    NullGl gl;
    tam::gl::ScopedBackend sb(&gl);
    float t = 0;
    for (auto _ : state) {
        t += 1.0f / 60.0f;  // one 60 Hz frame
        model.Draw(t);
    }
    benchmark::DoNotOptimize(gl.sink);
    state.counters["vertices"] = double(model.vertexCount);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Md2BlendAndDraw)->Arg(500)->Arg(2000);

void BM_Md2Load(benchmark::State& state) {
    const auto file = GridModel(20, 25, 199);
    for (auto _ : state) {
        tam::CMD2Model model;
        benchmark::DoNotOptimize(model.LoadMd2(std::span<const uint8_t>(file)));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_Md2Load);

}  // namespace
