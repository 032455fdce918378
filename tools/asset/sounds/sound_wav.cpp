// "tamasset sound_shot OUT.wav": the weapon's shot, synthesised: a bright crack, a noisy body, a
// falling low thump and a short room tail, soft-clipped for punch. 44.1 kHz mono, 16-bit.
// Also the WAV encoder and normalising shared by the sound commands.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "asset/byte_writer.h"
#include "asset/sounds/sound_pcm.h"
#include "asset/sounds/sounds.h"
#include "asset/tool.h"

namespace tam::asset {

std::vector<uint8_t> EncodeWav16(const std::vector<float>& samples, int channels, int rate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.bytes.reserve(44 + dataBytes);
    out.Text("RIFF").Le32(36 + dataBytes).Text("WAVE");
    out.Text("fmt ").Le32(16).Le16(1).Le16(channels);  // PCM
    out.Le32(rate).Le32(rate * channels * 2).Le16(channels * 2).Le16(16);
    out.Text("data").Le32(dataBytes);
    for (const float s : samples)  // signed 16-bit, two's complement
        out.Le16(static_cast<uint32_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
    return std::move(out.bytes);
}

void Normalize(std::vector<float>& samples, float peak) {
    float largest = 0;
    for (float s : samples) largest = std::max(largest, std::fabs(s));
    if (largest <= 0) return;
    for (float& s : samples) s *= peak / largest;
}

namespace {

constexpr int kShotRate = 44100;
constexpr double kShotSeconds = 0.45;

std::vector<float> SynthesizeShot() {
    const int frames = static_cast<int>(kShotSeconds * kShotRate);
    std::vector<float> out(static_cast<size_t>(frames));
    NoiseSource noise(0x5107u);
    float previousNoise = 0, body = 0, tail = 0;
    double phase = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kShotRate;
        const float n = noise.Next();
        const float crack = (n - previousNoise) * 0.5f * static_cast<float>(std::exp(-t / 0.010));
        previousNoise = n;
        body += 0.18f * (n - body);
        tail += 0.05f * (n - tail);
        // Thump: a sine whose pitch falls from 170 Hz toward 45 Hz.
        const double hertz = 45.0 + 125.0 * std::exp(-t / 0.035);
        phase += 2.0 * std::numbers::pi * hertz / kShotRate;
        const double thump = std::sin(phase) * std::exp(-t / 0.07);
        double v = 0.9 * crack + 1.4 * body * std::exp(-t / 0.05) + 0.9 * thump +
                   1.6 * tail * std::exp(-t / 0.16);
        v = std::tanh(2.2 * v);
        const double fadeOut = std::min(1.0, (kShotSeconds - t) / 0.02);
        out[static_cast<size_t>(i)] = static_cast<float>(v * fadeOut);
    }
    Normalize(out, 0.95f);
    return out;
}

}  // namespace

int SoundShotMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset sound_shot OUT.wav\n");
        return 2;
    }
    return WriteDataFile(args[0], EncodeWav16(SynthesizeShot(), 1, kShotRate)) ? 0 : 1;
}

}  // namespace tam::asset
