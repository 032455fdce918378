// "tamasset sound_demo OUT.mp3": the demo MP3, four seconds of plucked arpeggios over a soft pad
// (A minor, F, C, G), synthesised and encoded with LAME. "tamasset sound_tone HERTZ SECONDS
// OUT.mp3": a plain sine tone at half level, for checking playback.
#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "asset/sounds/sound_pcm.h"
#include "asset/sounds/sounds.h"
#include "asset/tool.h"

namespace tam::asset {

std::vector<uint8_t> EncodeMp3Stereo(const std::vector<float>& samples, int rate, int kbps) {
    lame_global_flags* gf = lame_init();
    if (!gf) return {};
    lame_set_in_samplerate(gf, rate);
    lame_set_out_samplerate(gf, rate);
    lame_set_num_channels(gf, 2);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 3);
    lame_set_bWriteVbrTag(gf, 0);
    std::vector<uint8_t> out;
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return {};
    }
    std::vector<short> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::fmax(-1.0f, std::fmin(1.0f, samples[i])) *
                                                32767.0f));
    const int frames = static_cast<int>(pcm.size() / 2);
    // The encoder's documented worst case: 1.25 x samples + 7200 bytes.
    std::vector<unsigned char> buffer(static_cast<size_t>(frames) * 5 / 4 + 7200);
    int n = lame_encode_buffer_interleaved(gf, pcm.data(), frames, buffer.data(),
                                           static_cast<int>(buffer.size()));
    if (n >= 0) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    const int tail = n >= 0 ? lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()))
                            : -1;
    lame_close(gf);
    if (n < 0 || tail < 0) return {};
    out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
    return out;
}

namespace {

constexpr int kRate = 44100;

// A plucked string (Karplus-Strong) added into interleaved stereo `out` from frame `start`.
void AddPluck(std::vector<float>& out, size_t start, double hertz, double seconds, float level,
              float pan, NoiseSource& noise) {
    std::vector<float> ring(static_cast<size_t>(kRate / hertz));
    for (float& s : ring) s = noise.Next();
    const size_t frames = static_cast<size_t>(seconds * kRate);
    for (size_t i = 0; i < frames && (start + i) * 2 + 1 < out.size(); ++i) {
        const size_t k = i % ring.size();
        const float v = ring[k] * level;
        ring[k] = 0.498f * (ring[k] + ring[(k + 1) % ring.size()]);
        out[(start + i) * 2] += v * (1.0f - pan);
        out[(start + i) * 2 + 1] += v * (1.0f + pan);
    }
}

double NoteHertz(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

std::vector<float> SynthesizeDemo() {
    constexpr double kChordSeconds = 1.0;
    constexpr int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
    constexpr int kArpeggio[8] = {0, 1, 2, 1, 0 + 12, 2, 1, 2};  // chord-tone index or +12
    const size_t frames = static_cast<size_t>(4 * kChordSeconds * kRate) + kRate / 2;
    std::vector<float> out(frames * 2, 0.0f);
    NoiseSource noise(0xD3E0u);
    for (int c = 0; c < 4; ++c) {
        const size_t chordStart = static_cast<size_t>(c * kChordSeconds * kRate);
        for (int step = 0; step < 8; ++step) {
            const int pick = kArpeggio[step];
            const int note = kChords[c][pick % 12] + 12 + (pick >= 12 ? 12 : 0);
            const float pan = step % 2 ? 0.35f : -0.35f;
            AddPluck(out, chordStart + static_cast<size_t>(step) * kRate / 8, NoteHertz(note), 0.6,
                     0.5f, pan, noise);
        }
        // The pad: the chord's three notes as soft sines, swelling in and out over the chord.
        const size_t padFrames = static_cast<size_t>(kChordSeconds * kRate);
        for (size_t i = 0; i < padFrames; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double swell = std::sin(std::numbers::pi * t / kChordSeconds);
            double v = 0;
            for (int tone = 0; tone < 3; ++tone)
                v += std::sin(2.0 * std::numbers::pi * NoteHertz(kChords[c][tone]) * t);
            const auto s = static_cast<float>(0.08 * swell * v);
            out[(chordStart + i) * 2] += s;
            out[(chordStart + i) * 2 + 1] += s;
        }
    }
    Normalize(out, 0.8f);
    return out;
}

std::vector<float> SynthesizeTone(double hertz, double seconds) {
    const size_t frames = static_cast<size_t>(seconds * kRate);
    std::vector<float> out(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const auto v = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * hertz * t));
        out[i * 2] = out[i * 2 + 1] = v;
    }
    return out;
}

bool WriteMp3(const std::string& path, const std::vector<float>& samples) {
    const std::vector<uint8_t> mp3 = EncodeMp3Stereo(samples, kRate, 128);
    if (mp3.empty()) {
        std::fprintf(stderr, "tamasset: MP3 encoding failed for %s\n", path.c_str());
        return false;
    }
    return WriteDataFile(path, mp3);
}

}  // namespace

int SoundDemoMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset sound_demo OUT.mp3\n");
        return 2;
    }
    return WriteMp3(args[0], SynthesizeDemo()) ? 0 : 1;
}

int SoundToneMain(const std::vector<std::string>& args) {
    char* end1 = nullptr;
    char* end2 = nullptr;
    const double hertz = args.size() == 3 ? std::strtod(args[0].c_str(), &end1) : 0;
    const double seconds = args.size() == 3 ? std::strtod(args[1].c_str(), &end2) : 0;
    if (args.size() != 3 || *end1 || *end2 || !(hertz > 0 && hertz < 20000) ||
        !(seconds > 0 && seconds <= 60)) {
        std::fprintf(stderr, "usage: tamasset sound_tone HERTZ SECONDS OUT.mp3\n");
        return 2;
    }
    return WriteMp3(args[2], SynthesizeTone(hertz, seconds)) ? 0 : 1;
}

}  // namespace tam::asset
