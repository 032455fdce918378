// "tamasset sound_tune OUT.mid": the start-up music file, a short original eight-bar tune in
// D minor (flute melody, finger bass, drums) written as a standard MIDI file, format 0.
#include <algorithm>
#include <cstdio>

#include "asset/byte_writer.h"
#include "asset/sounds/sounds.h"
#include "asset/tool.h"

namespace tam::asset {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kEighth = kTicksPerQuarter / 2;
constexpr uint32_t kMicrosecondsPerQuarter = 517241;  // 116 beats a minute
constexpr int kBarTicks = 4 * kTicksPerQuarter;

// The melody: MIDI note and length in eighths, eight bars of eight eighths.
struct Step {
    uint8_t note;
    uint8_t eighths;
};
constexpr Step kMelody[] = {
    {74, 2}, {77, 1}, {81, 1}, {79, 2}, {77, 2},  // D F A G F
    {76, 3}, {74, 1}, {72, 4},                    // E D C
    {74, 1}, {76, 1}, {77, 2}, {81, 2}, {84, 2},  // D E F A C
    {82, 6}, {81, 2},                             // Bb A
    {79, 2}, {82, 1}, {81, 1}, {79, 2}, {77, 2},  // G Bb A G F
    {76, 2}, {79, 2}, {81, 4},                    // E G A
    {77, 1}, {76, 1}, {74, 2}, {72, 2}, {76, 2},  // F E D C E
    {74, 8},                                      // D
};
// The bass root of each bar; each bar plays root, fifth, octave, fifth in quarters.
constexpr uint8_t kBassRoots[] = {38, 36, 41, 34, 43, 45, 38, 38};

constexpr uint8_t kMelodyChannel = 0, kBassChannel = 1, kDrumChannel = 9;
constexpr uint8_t kFlute = 73, kFingerBass = 33;
constexpr uint8_t kKick = 36, kSnare = 38, kClosedHat = 42, kCrash = 49;

struct Event {
    uint32_t tick;
    int order;  // note-offs before note-ons at the same tick
    std::vector<uint8_t> bytes;
};

void AddNote(std::vector<Event>& events, uint32_t tick, uint32_t length, uint8_t channel,
             uint8_t note, uint8_t velocity) {
    events.push_back({tick, 1, {static_cast<uint8_t>(0x90 | channel), note, velocity}});
    events.push_back({tick + length, 0, {static_cast<uint8_t>(0x80 | channel), note, 0}});
}

void PutVarLen(ByteWriter& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = v & 0x7F;
    while (v >>= 7) bytes[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
    while (n) out.U8(bytes[--n]);
}

std::vector<uint8_t> ComposeTune() {
    std::vector<Event> events;
    events.push_back({0, -1,
                      {0xFF, 0x51, 3, static_cast<uint8_t>(kMicrosecondsPerQuarter >> 16),
                       static_cast<uint8_t>(kMicrosecondsPerQuarter >> 8),
                       static_cast<uint8_t>(kMicrosecondsPerQuarter)}});
    events.push_back({0, -1, {0xFF, 0x58, 4, 4, 2, 24, 8}});  // 4/4
    events.push_back({0, -1, {static_cast<uint8_t>(0xC0 | kMelodyChannel), kFlute}});
    events.push_back({0, -1, {static_cast<uint8_t>(0xC0 | kBassChannel), kFingerBass}});

    uint32_t tick = 0;
    for (const Step& s : kMelody) {
        const uint32_t length = s.eighths * kEighth;
        AddNote(events, tick, length - 20, kMelodyChannel, s.note, 96);
        tick += length;
    }
    const uint32_t end = tick;

    constexpr int kBassPattern[] = {0, 7, 12, 7};
    for (size_t bar = 0; bar < std::size(kBassRoots); ++bar) {
        const uint32_t barStart = static_cast<uint32_t>(bar) * kBarTicks;
        if (bar + 1 == std::size(kBassRoots)) {
            AddNote(events, barStart, kBarTicks - 40, kBassChannel, kBassRoots[bar], 100);
            AddNote(events, barStart, kTicksPerQuarter, kDrumChannel, kCrash, 100);
            AddNote(events, barStart, kTicksPerQuarter, kDrumChannel, kKick, 110);
            continue;
        }
        for (int beat = 0; beat < 4; ++beat) {
            const uint32_t t = barStart + static_cast<uint32_t>(beat) * kTicksPerQuarter;
            AddNote(events, t, kTicksPerQuarter - 30, kBassChannel,
                    static_cast<uint8_t>(kBassRoots[bar] + kBassPattern[beat]), 92);
            AddNote(events, t, kEighth, kDrumChannel, beat % 2 ? kSnare : kKick, 100);
            AddNote(events, t, kEighth / 2, kDrumChannel, kClosedHat, 70);
            AddNote(events, t + kEighth, kEighth / 2, kDrumChannel, kClosedHat, 55);
        }
    }
    events.push_back({end + kTicksPerQuarter, 2, {0xFF, 0x2F, 0}});

    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    ByteWriter track;
    uint32_t previous = 0;
    for (const Event& e : events) {
        PutVarLen(track, e.tick - previous);
        previous = e.tick;
        track.Append(e.bytes);
    }

    // Header: six bytes of format 0, one track, ticks per quarter note.
    ByteWriter file;
    file.Text("MThd").Be32(6).Be16(0).Be16(1).Be16(kTicksPerQuarter);
    file.Text("MTrk").Be32(static_cast<uint32_t>(track.bytes.size())).Append(track.bytes);
    return std::move(file.bytes);
}

}  // namespace

int SoundTuneMain(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tamasset sound_tune OUT.mid\n");
        return 2;
    }
    return WriteDataFile(args[0], ComposeTune()) ? 0 : 1;
}

}  // namespace tam::asset
