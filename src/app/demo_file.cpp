// The demo file's writer and reader. Little-endian throughout; the reader goes through a bounded
// cursor and checks the magic, the format version and the checksum before it reads a field.
#include "app/demo_file.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace tam {
namespace {

constexpr std::array<uint8_t, 4> kMagic = {'T', 'D', 'E', 'M'};
constexpr size_t kChecksumBytes = 4;
constexpr size_t kMinFrameBytes = 4 + 4 + 4 + 4;  // command count, frame time, dx, dy
constexpr size_t kMinCommandBytes = 2 + 1;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void PutFloat(std::vector<uint8_t>& out, float value) {
    Put(out, std::bit_cast<uint32_t>(value), 4);
}
void PutBytes(std::vector<uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}
void Patch32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Reads little-endian values from a span; past the end it reports failure and never reads.
class Cursor {
  public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t left() const { return bytes_.size() - pos_; }
    bool Unsigned(uint64_t& out, int bytes) {
        if (left() < static_cast<size_t>(bytes)) return false;
        out = 0;
        for (int i = 0; i < bytes; ++i) out |= uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += static_cast<size_t>(bytes);
        return true;
    }
    bool U8(uint8_t& out) { return Read(out, 1); }
    bool U16(uint16_t& out) { return Read(out, 2); }
    bool U32(uint32_t& out) { return Read(out, 4); }
    bool U64(uint64_t& out) { return Unsigned(out, 8); }
    bool I32(int32_t& out) {
        uint32_t u = 0;
        if (!U32(u)) return false;
        out = static_cast<int32_t>(u);
        return true;
    }
    bool Float(float& out) {
        uint32_t u = 0;
        if (!U32(u)) return false;
        out = std::bit_cast<float>(u);
        return true;
    }
    bool Text(std::string& out, size_t length) {
        if (left() < length) return false;
        out.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
        pos_ += length;
        return true;
    }

  private:
    template <typename T>
    bool Read(T& out, int bytes) {
        uint64_t v = 0;
        if (!Unsigned(v, bytes)) return false;
        out = static_cast<T>(v);
        return true;
    }
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// The player's floats in file order, for both directions.
template <typename Record>
auto PlayerFloats(Record& p) {
    return std::array{&p.x,  &p.y,  &p.z,         &p.pitch,   &p.yaw,   &p.vx,
                      &p.vy, &p.vz, &p.pitchRate, &p.yawRate, &p.health};
}
template <typename Record>
auto PlayerFlags(Record& p) {
    return std::array{&p.moveLeft, &p.moveRight, &p.moveForward, &p.moveBack,
                      &p.dead,     &p.onGround,  &p.attacking};
}

bool ReadStart(Cursor& in, DemoStart& s, std::string& reason) {
    uint8_t versionLength = 0;
    uint16_t mapLength = 0;
    if (!in.U8(versionLength) || !in.Text(s.version, versionLength) || !in.U16(mapLength) ||
        !in.Text(s.mapFile, mapLength) || !in.U64(s.mapHash)) {
        reason = "truncated";
        return false;
    }
    if (versionLength == 0 || versionLength > kDemoMaxVersion || mapLength == 0 ||
        mapLength > kDemoMaxMapFile || s.mapFile.find('\0') != std::string::npos) {
        reason = "a bad version or map name";
        return false;
    }
    bool ok = true;
    for (float* f : PlayerFloats(s.player)) ok = in.Float(*f) && ok;
    ok = in.U32(s.player.aux) && ok;
    for (uint8_t* flag : PlayerFlags(s.player)) ok = in.U8(*flag) && ok;
    Settings& cv = s.settings;
    ok = in.I32(cv.fov) && in.Float(cv.cl_forwardspeed) && in.Float(cv.cl_sidespeed) &&
         in.Float(cv.sensitivity) && in.U8(s.noClip) && ok;
    if (!ok) {
        reason = "truncated";
        return false;
    }
    bool valid = s.noClip <= 1;
    for (float* f : PlayerFloats(s.player)) valid = valid && std::isfinite(*f);
    for (uint8_t* flag : PlayerFlags(s.player)) valid = valid && *flag <= 1;
    if (!valid) {
        reason = "a bad player record";
        return false;
    }
    const auto inRange = [](float v, float lo, float hi) { return v >= lo && v <= hi; };
    if (cv.fov < 10 || cv.fov > 120 || !inRange(cv.cl_forwardspeed, 1, 1000) ||
        !inRange(cv.cl_sidespeed, 1, 1000) || !inRange(cv.sensitivity, 1, 25)) {
        reason = "settings out of their ranges";
        return false;
    }
    return true;
}

bool ReadFrames(Cursor& in, Demo& d, std::string& reason) {
    uint32_t count = 0;
    if (!in.U32(count)) {
        reason = "truncated";
        return false;
    }
    if (uint64_t{count} * kMinFrameBytes > in.left()) {
        reason = "truncated";
        return false;
    }
    d.frames.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        DemoFrame& f = d.frames[i];
        uint32_t commands = 0;
        if (!in.U32(commands) || uint64_t{commands} * kMinCommandBytes > in.left()) {
            reason = "truncated";
            return false;
        }
        f.firstCommand = static_cast<uint32_t>(d.commands.size());
        f.commandCount = commands;
        for (uint32_t c = 0; c < commands; ++c) {
            uint16_t length = 0;
            std::string command;
            if (!in.U16(length) || !in.Text(command, length)) {
                reason = "truncated";
                return false;
            }
            if (!DemoCanHold(command)) {
                reason = "frame " + std::to_string(i) + ": a command that is no command line";
                return false;
            }
            d.commands.push_back(std::move(command));
        }
        if (!in.Float(f.frameTime) || !in.I32(f.dx) || !in.I32(f.dy)) {
            reason = "truncated";
            return false;
        }
        if (!(f.frameTime >= 0 && f.frameTime <= kDemoMaxFrameTime)) {
            reason = "frame " + std::to_string(i) + ": a bad frame time";
            return false;
        }
    }
    if (in.left() != 0) {
        reason = "bytes after the last frame";
        return false;
    }
    return true;
}

}  // namespace

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (const uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool DemoCanHold(std::string_view command) {
    if (command.empty() || command.size() > kDemoMaxCommand) return false;
    return command.find_first_of(std::string_view("\0\r\n;", 4)) == std::string_view::npos;
}

void DemoWriter::Begin(const DemoStart& s) {
    bytes_.clear();
    PutBytes(bytes_, std::string_view(reinterpret_cast<const char*>(kMagic.data()), kMagic.size()));
    Put(bytes_, kDemoFormat, 2);
    const std::string_view version = std::string_view(s.version).substr(0, kDemoMaxVersion);
    Put(bytes_, version.size(), 1);
    PutBytes(bytes_, version);
    const std::string_view map = std::string_view(s.mapFile).substr(0, kDemoMaxMapFile);
    Put(bytes_, map.size(), 2);
    PutBytes(bytes_, map);
    Put(bytes_, s.mapHash, 8);
    PlayerRecord p = s.player;
    for (const float* f : PlayerFloats(p)) PutFloat(bytes_, *f);
    Put(bytes_, p.aux, 4);
    for (const uint8_t* flag : PlayerFlags(p)) Put(bytes_, *flag, 1);
    Put(bytes_, static_cast<uint32_t>(s.settings.fov), 4);
    PutFloat(bytes_, s.settings.cl_forwardspeed);
    PutFloat(bytes_, s.settings.cl_sidespeed);
    PutFloat(bytes_, s.settings.sensitivity);
    Put(bytes_, s.noClip, 1);
    frameCountAt_ = bytes_.size();
    Put(bytes_, 0, 4);
    frames_ = 0;
    openFrameAt_ = bytes_.size();
    openCommands_ = 0;
    Put(bytes_, 0, 4);
}

void DemoWriter::Command(std::string_view command) {
    Put(bytes_, command.size(), 2);
    PutBytes(bytes_, command);
    Patch32(bytes_, openFrameAt_, ++openCommands_);
}

// The frame's end and the next frame's command count, appended in one piece: this runs every
// frame of a recording.
void DemoWriter::Frame(float frameTime, int32_t dx, int32_t dy) {
    const uint32_t words[4] = {std::bit_cast<uint32_t>(frameTime), static_cast<uint32_t>(dx),
                               static_cast<uint32_t>(dy), 0};
    uint8_t record[sizeof words];
    for (size_t i = 0; i < sizeof record; ++i)
        record[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    bytes_.insert(bytes_.end(), record, record + sizeof record);
    ++frames_;
    openFrameAt_ = bytes_.size() - 4;
    openCommands_ = 0;
}

std::vector<uint8_t> DemoWriter::Finish() {
    bytes_.resize(openFrameAt_);
    Patch32(bytes_, frameCountAt_, frames_);
    Put(bytes_, Crc32(bytes_), 4);
    std::vector<uint8_t> out = std::move(bytes_);
    bytes_ = {};
    frames_ = 0;
    return out;
}

bool ParseDemo(std::span<const uint8_t> bytes, Demo& out, std::string& reason) {
    Cursor head(bytes);
    uint64_t magic = 0;
    uint16_t format = 0;
    if (!head.Unsigned(magic, 4) || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) {
        reason = "not a demo file";
        return false;
    }
    if (!head.U16(format) || bytes.size() < 6 + kChecksumBytes) {
        reason = "truncated";
        return false;
    }
    if (format != kDemoFormat) {
        reason = "format version " + std::to_string(format) + ", this program reads " +
                 std::to_string(kDemoFormat);
        return false;
    }
    const std::span<const uint8_t> body = bytes.first(bytes.size() - kChecksumBytes);
    Cursor tail(bytes.subspan(body.size()));
    uint32_t checksum = 0;
    tail.U32(checksum);
    if (checksum != Crc32(body)) {
        reason = "checksum mismatch (damaged or truncated)";
        return false;
    }
    Cursor in(body.subspan(6));
    Demo demo;
    if (!ReadStart(in, demo.start, reason) || !ReadFrames(in, demo, reason)) return false;
    out = std::move(demo);
    return true;
}

}  // namespace tam
