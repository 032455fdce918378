// libFuzzer target for the MD2 loader: any bytes either load or are refused, never crash; a loaded
// model animates and draws through a recording GL seam with exactly the vertices its command list
// names, and a refused file leaves the previously loaded model as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "../tests/gl_recorder.h"
#include "models/md2.h"
#include "models/md2_format.h"

namespace {

// A small valid model: two frames of three vertices and one strip.
const uint8_t kBase[] = {
    'I', 'D', 'P', '2', 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 52, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 68, 0,
    0, 0, 172, 0, 0, 0, 216, 0, 0, 0,
    // frame 0: scale 1 (0x3f800000), translate 0, name, three vertices
    0, 0, 128, 63, 0, 0, 128, 63, 0, 0, 128, 63, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6, 1, 7, 8, 9, 2,
    // frame 1
    0, 0, 128, 63, 0, 0, 128, 63, 0, 0, 128, 63, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 8, 7, 3, 6, 5, 4, 4, 3, 2, 1, 5,
    // command list: strip of 3, then 0
    3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 128, 63, 0, 0, 0, 0, 1, 0, 0, 0,
    0, 0, 128, 63, 0, 0, 128, 63, 2, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tam;
    test::GlRecorder rec;
    gl::ScopedBackend sb(&rec);

    CMD2Model model;
    if (!model.LoadMd2(std::span<const uint8_t>(kBase, sizeof kBase))) std::abort();
    const auto before = model.vertices;

    const std::span<const uint8_t> input(data, size);
    const bool accepted = md2::Problem(input).empty();
    if (model.LoadMd2(input) != accepted) std::abort();
    if (!accepted && model.vertices != before) std::abort();

    size_t expected = 0;
    for (size_t at = 0; model.commands[at] != 0;) {
        const int64_t n = model.commands[at];
        const size_t m = size_t(n < 0 ? -n : n);
        expected += m;
        at += 1 + 3 * m;
    }
    const int animation = size > 0 ? int(data[size - 1]) % 23 - 1 : 0;
    model.SelectAnimation(animation);
    float t = 0;
    for (int i = 0; i < 4; ++i) {
        rec.Clear();
        t += 0.07f * float(i + 1);
        model.Draw(t);
        if (rec.Count("Vertex3f") != expected || rec.Count("Begin") != rec.Count("End")) std::abort();
    }
    return 0;
}
