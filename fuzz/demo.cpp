// Fuzzes the demo reader: any bytes must be read or refused without a fault, both as given and
// with their last four bytes made the right checksum (so the fields behind it are reached), and
// a demo that is read must be written back by the writer to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/demo_file.h"

namespace {

std::vector<uint8_t> Rewrite(const tam::Demo& d) {
    tam::DemoWriter w;
    w.Begin(d.start);
    for (const tam::DemoFrame& f : d.frames) {
        for (uint32_t i = 0; i < f.commandCount; ++i) w.Command(d.commands[f.firstCommand + i]);
        w.Frame(f.frameTime, f.dx, f.dy);
    }
    return w.Finish();
}

void Check(std::span<const uint8_t> bytes) {
    tam::Demo demo;
    std::string reason;
    if (tam::ParseDemo(bytes, demo, reason)) {
        if (Rewrite(demo) != std::vector<uint8_t>(bytes.begin(), bytes.end())) std::abort();
    } else if (reason.empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(std::span<const uint8_t>(data, size));
    if (size >= 4) {
        std::vector<uint8_t> fixed(data, data + size);
        const uint32_t crc = tam::Crc32(std::span<const uint8_t>(fixed).first(size - 4));
        for (int i = 0; i < 4; ++i) fixed[size - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
        Check(fixed);
    }
    return 0;
}
