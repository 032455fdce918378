// Sample-level helpers shared by the asset tool's sound commands: a repeatable noise source,
// WAV and MP3 encoding of float samples (-1..1, interleaved when stereo).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tam::asset {

// Repeatable white noise in -1..1 (the same sequence for the same seed on every machine).
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state_(seed ? seed : 1u) {}
    float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t state_;
};

// RIFF/WAVE bytes, 16-bit PCM; samples are clipped to -1..1.
std::vector<uint8_t> EncodeWav16(const std::vector<float>& samples, int channels, int rate);

// MP3 bytes (constant bit rate, no tag frame) of interleaved stereo samples; empty on failure.
std::vector<uint8_t> EncodeMp3Stereo(const std::vector<float>& samples, int rate, int kbps);

// Scales samples so that the largest magnitude becomes `peak`.
void Normalize(std::vector<float>& samples, float peak);

}  // namespace tam::asset
