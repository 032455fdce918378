// Decode throughput of the TGA, BMP and PCX readers on a 512 x 512 picture in each kind of file,
// with stb_image decoding the very same bytes in the same run as the yardstick (stb_image reads
// neither PCX nor run-length BMP, so those have no yardstick). Bytes counted are RGBA output.
// Each of our readers runs right after stb_image on the same file and reports counter stb_x:
// stb_image's CPU time over ours (above 1 means ours is faster).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

// The yardstick comes from Debian's libstb-dev; without it only our readers are measured.
#if __has_include(<stb/stb_image.h>)
#define TAM_HAVE_STB 1
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#endif

#include "bench_common.h"
#include "images/readers.h"

namespace {

constexpr int kSide = 512;

// A picture with smooth areas, flat blocks and noise, as textures have; palette indices too.
struct Source {
    std::vector<uint8_t> rgba;     // top row first
    std::vector<uint8_t> indices;  // top row first
    std::array<uint8_t, 768> palette{};
};

const Source& Picture() {
    static const Source s = [] {
        Source p;
        p.rgba.resize(kSide * kSide * 4);
        p.indices.resize(kSide * kSide);
        uint32_t seed = 12345;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1103515245u + 12345u;
                const bool flat = ((x / 64) + (y / 64)) % 3 == 0;
                const uint8_t noise = static_cast<uint8_t>(seed >> 24);
                uint8_t* px = &p.rgba[(y * kSide + x) * 4];
                px[0] = flat ? 40 : static_cast<uint8_t>(x / 2);
                px[1] = flat ? 90 : static_cast<uint8_t>(y / 2);
                px[2] = flat ? 140 : noise;
                px[3] = flat ? 255 : static_cast<uint8_t>(128 + noise / 2);
                p.indices[y * kSide + x] = flat ? 7 : static_cast<uint8_t>((x / 4 + noise / 32) & 0xFF);
            }
        for (int i = 0; i < 256; ++i) {
            p.palette[i * 3] = static_cast<uint8_t>(i);
            p.palette[i * 3 + 1] = static_cast<uint8_t>(255 - i);
            p.palette[i * 3 + 2] = static_cast<uint8_t>(i * 7);
        }
        return p;
    }();
    return s;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// TGA, bottom row first: 24/32-bit true colour (raw or RLE) or 8-bit colour-mapped.
std::vector<uint8_t> MakeTga(int bits, bool rle) {
    const Source& s = Picture();
    const bool mapped = bits == 8;
    std::vector<uint8_t> out = {0, static_cast<uint8_t>(mapped), static_cast<uint8_t>((mapped ? 1 : 2) + (rle ? 8 : 0))};
    Put16(out, 0);
    Put16(out, mapped ? 256 : 0);
    out.push_back(mapped ? 24 : 0);
    Put32(out, 0);
    Put16(out, kSide);
    Put16(out, kSide);
    out.push_back(static_cast<uint8_t>(bits));
    out.push_back(bits == 32 ? 8 : 0);
    if (mapped)
        for (int i = 0; i < 256; ++i)
            out.insert(out.end(), {s.palette[i * 3 + 2], s.palette[i * 3 + 1], s.palette[i * 3]});
    const int bytes = bits / 8;
    auto pixel = [&](int x, int y, uint8_t* p) {
        if (mapped) {
            p[0] = s.indices[y * kSide + x];
            return;
        }
        const uint8_t* c = &s.rgba[(y * kSide + x) * 4];
        p[0] = c[2], p[1] = c[1], p[2] = c[0], p[3] = c[3];
    };
    for (int y = kSide - 1; y >= 0; --y) {
        int x = 0;
        while (x < kSide) {
            uint8_t a[4], b[4];
            pixel(x, y, a);
            int run = 1;
            while (rle && x + run < kSide && run < 128) {
                pixel(x + run, y, b);
                if (!std::equal(a, a + bytes, b)) break;
                ++run;
            }
            if (!rle) {
                out.insert(out.end(), a, a + bytes);
                ++x;
            } else if (run > 1) {
                out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                out.insert(out.end(), a, a + bytes);
                x += run;
            } else {
                out.push_back(0);
                out.insert(out.end(), a, a + bytes);
                ++x;
            }
        }
    }
    return out;
}

// BMP with the 40-byte header: 24-bit, 8-bit, or 8-bit RLE8; bottom row first.
std::vector<uint8_t> MakeBmp(int bits, bool rle) {
    const Source& s = Picture();
    std::vector<uint8_t> data;
    for (int y = kSide - 1; y >= 0; --y) {
        if (bits == 24) {
            for (int x = 0; x < kSide; ++x) {
                const uint8_t* c = &s.rgba[(y * kSide + x) * 4];
                data.insert(data.end(), {c[2], c[1], c[0]});
            }
            continue;
        }
        const uint8_t* row = &s.indices[y * kSide];
        if (!rle) {
            data.insert(data.end(), row, row + kSide);
            continue;
        }
        for (int x = 0; x < kSide;) {
            int run = 1;
            while (x + run < kSide && run < 255 && row[x + run] == row[x]) ++run;
            data.insert(data.end(), {static_cast<uint8_t>(run), row[x]});
            x += run;
        }
        data.insert(data.end(), {0, 0});
    }
    const uint32_t table = bits == 8 ? 1024 : 0;
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, 54 + table + static_cast<uint32_t>(data.size()));
    Put32(out, 0);
    Put32(out, 54 + table);
    Put32(out, 40);
    Put32(out, kSide);
    Put32(out, kSide);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, rle ? 1 : 0);
    for (int i = 0; i < 5; ++i) Put32(out, 0);
    if (bits == 8)
        for (int i = 0; i < 256; ++i)
            out.insert(out.end(), {s.palette[i * 3 + 2], s.palette[i * 3 + 1], s.palette[i * 3], 0});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// BMP with the 124-byte header and bit fields, bottom row first: 32-bit B G R A (what convert
// writes for pictures with transparency) or 16-bit 5-6-5.
std::vector<uint8_t> MakeBmpFields(int bits) {
    const Source& s = Picture();
    std::vector<uint8_t> data;
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x) {
            const uint8_t* c = &s.rgba[(y * kSide + x) * 4];
            if (bits == 32) {
                data.insert(data.end(), {c[2], c[1], c[0], c[3]});
            } else {
                const unsigned v = ((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3);
                Put16(data, v);
            }
        }
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, 14 + 124 + static_cast<uint32_t>(data.size()));
    Put32(out, 0);
    Put32(out, 14 + 124);
    Put32(out, 124);
    Put32(out, kSide);
    Put32(out, kSide);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 3);
    for (int i = 0; i < 5; ++i) Put32(out, 0);
    const uint32_t masks32[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const uint32_t masks16[4] = {0xF800, 0x07E0, 0x001F, 0};
    for (uint32_t m : bits == 32 ? masks32 : masks16) Put32(out, m);
    out.resize(14 + 124, 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> MakePcx() {
    const Source& s = Picture();
    std::vector<uint8_t> out(128, 0);
    out[0] = 10, out[1] = 5, out[2] = 1, out[3] = 8;
    out[8] = out[10] = (kSide - 1) & 0xFF;
    out[9] = out[11] = (kSide - 1) >> 8;
    out[65] = 1;
    out[66] = kSide & 0xFF;
    out[67] = kSide >> 8;
    for (int y = 0; y < kSide; ++y) {
        const uint8_t* row = &s.indices[y * kSide];
        for (int x = 0; x < kSide;) {
            int run = 1;
            while (x + run < kSide && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(row[x]);
            x += run;
        }
    }
    out.push_back(12);
    out.insert(out.end(), s.palette.begin(), s.palette.end());
    return out;
}

using tam::bench::ThreadSeconds;

// CPU seconds per decode in the latest stb_image run on each file.
std::map<const std::vector<uint8_t>*, double> stbSeconds;

using Reader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool,
                      const char**);

void Ours(benchmark::State& state, Reader read, const std::vector<uint8_t>& file) {
    std::vector<uint8_t> pixels;
    int32_t w = 0, h = 0;
    const double start = ThreadSeconds();
    for (auto _ : state) {
        if (read(file, &pixels, &w, &h, true, nullptr) != 1) state.SkipWithError("not read");
        benchmark::DoNotOptimize(pixels.data());
    }
    const double seconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kSide * kSide * 4);
    state.counters["file_bytes"] = static_cast<double>(file.size());
    if (const auto it = stbSeconds.find(&file); it != stbSeconds.end())
        state.counters["stb_x"] = it->second / seconds;
}

void Stb(benchmark::State& state, const std::vector<uint8_t>& file) {
#ifndef TAM_HAVE_STB
    state.SkipWithError("libstb-dev is not installed");
    (void)file;
    return;
#else
    const double start = ThreadSeconds();
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc* p = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 4);
        if (!p) state.SkipWithError(stbi_failure_reason());
        benchmark::DoNotOptimize(p);
        stbi_image_free(p);
    }
    stbSeconds[&file] = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kSide * kSide * 4);
#endif
}

const std::vector<uint8_t>& File(int which) {
    static const std::vector<uint8_t> files[] = {MakeTga(24, false), MakeTga(32, true), MakeTga(8, false),
                                                 MakeTga(8, true),   MakeBmp(24, false), MakeBmp(8, false),
                                                 MakeBmp(8, true),   MakePcx(),          MakeBmpFields(32),
                                                 MakeBmpFields(16)};
    return files[which];
}

void Tga24(benchmark::State& s) { Ours(s, &tam::LoadTGA, File(0)); }
void Tga24Stb(benchmark::State& s) { Stb(s, File(0)); }
void Tga32Rle(benchmark::State& s) { Ours(s, &tam::LoadTGA, File(1)); }
void Tga32RleStb(benchmark::State& s) { Stb(s, File(1)); }
void TgaMapped(benchmark::State& s) { Ours(s, &tam::LoadTGA, File(2)); }
void TgaMappedStb(benchmark::State& s) { Stb(s, File(2)); }
void TgaMappedRle(benchmark::State& s) { Ours(s, &tam::LoadTGA, File(3)); }
void TgaMappedRleStb(benchmark::State& s) { Stb(s, File(3)); }
void Bmp24(benchmark::State& s) { Ours(s, &tam::LoadBMP, File(4)); }
void Bmp24Stb(benchmark::State& s) { Stb(s, File(4)); }
void Bmp8(benchmark::State& s) { Ours(s, &tam::LoadBMP, File(5)); }
void Bmp8Stb(benchmark::State& s) { Stb(s, File(5)); }
void BmpRle8(benchmark::State& s) { Ours(s, &tam::LoadBMP, File(6)); }
void Pcx8(benchmark::State& s) { Ours(s, &tam::LoadPCX, File(7)); }
void Bmp32Fields(benchmark::State& s) { Ours(s, &tam::LoadBMP, File(8)); }
void Bmp32FieldsStb(benchmark::State& s) { Stb(s, File(8)); }
void Bmp565(benchmark::State& s) { Ours(s, &tam::LoadBMP, File(9)); }
void Bmp565Stb(benchmark::State& s) { Stb(s, File(9)); }

BENCHMARK(Tga24Stb);
BENCHMARK(Tga24);
BENCHMARK(Tga32RleStb);
BENCHMARK(Tga32Rle);
BENCHMARK(TgaMappedStb);
BENCHMARK(TgaMapped);
BENCHMARK(TgaMappedRleStb);
BENCHMARK(TgaMappedRle);
BENCHMARK(Bmp24Stb);
BENCHMARK(Bmp24);
BENCHMARK(Bmp8Stb);
BENCHMARK(Bmp8);
BENCHMARK(BmpRle8);
BENCHMARK(Pcx8);
BENCHMARK(Bmp32FieldsStb);
BENCHMARK(Bmp32Fields);
BENCHMARK(Bmp565Stb);
BENCHMARK(Bmp565);

}  // namespace
