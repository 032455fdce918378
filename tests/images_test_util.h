// Helpers for the image reader tests: reading the committed pictures, parsing the PAM files
// convert wrote beside them, and building small files byte by byte.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tam::test {

inline std::vector<uint8_t> ReadTestFile(const std::string& name) {
    std::ifstream in(std::string(TAM_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian byte building.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(unsigned x) {
        v.push_back(static_cast<uint8_t>(x));
        return *this;
    }
    Bytes& u16(unsigned x) { return u8(x & 0xFF).u8((x >> 8) & 0xFF); }
    Bytes& u32(uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
    Bytes& fill(size_t n, uint8_t x = 0) {
        v.insert(v.end(), n, x);
        return *this;
    }
    Bytes& raw(std::initializer_list<uint8_t> xs) {
        v.insert(v.end(), xs);
        return *this;
    }
};

// The RGBA pixel at (x, y) of a decoded buffer of the given width.
using Px = std::vector<int>;
inline Px PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y) {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

// One reader's answer for a byte buffer.
using SpanReader = int (*)(std::span<const uint8_t>, std::vector<uint8_t>*, int32_t*, int32_t*, bool,
                          const char**);
struct Decoded {
    int status = 0;
    int32_t w = -1, h = -1;
    std::vector<uint8_t> px;
    Px at(int x, int y) const { return PixelAt(px, w, x, y); }
};
inline Decoded Decode(SpanReader read, const Bytes& b, bool top = true) {
    Decoded d;
    d.status = read(b.v, &d.px, &d.w, &d.h, top, nullptr);
    return d;
}

// A PAM picture (as convert writes them) expanded to RGBA, top row first; status 0 when the file
// is not a PAM we know.
inline Decoded ParsePam(const std::vector<uint8_t>& bytes) {
    Decoded pic;
    const std::string text(bytes.begin(), bytes.end());
    const size_t end = text.find("ENDHDR\n");
    if (text.rfind("P7\n", 0) != 0 || end == std::string::npos) return pic;
    std::istringstream head(text.substr(3, end - 3));
    std::string key;
    int depth = 0, maxval = 0;
    while (head >> key) {
        if (key == "WIDTH") head >> pic.w;
        else if (key == "HEIGHT") head >> pic.h;
        else if (key == "DEPTH") head >> depth;
        else if (key == "MAXVAL") head >> maxval;
        else head.ignore(1 << 20, '\n');
    }
    const size_t pixels = static_cast<size_t>(pic.w) * pic.h, start = end + 7;
    if (maxval != 255 || depth < 1 || depth > 4 || bytes.size() < start + pixels * depth) return pic;
    pic.px.resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* s = &bytes[start + i * depth];
        uint8_t* d = &pic.px[i * 4];
        if (depth <= 2) d[0] = d[1] = d[2] = s[0];
        else d[0] = s[0], d[1] = s[1], d[2] = s[2];
        d[3] = depth == 2 ? s[1] : depth == 4 ? s[3] : 255;
    }
    pic.status = 1;
    return pic;
}

// A file that `read` decodes to a picture `w` wide holding `want`, top row first.
struct PictureCase {
    const char* what;
    SpanReader read;
    Bytes file;
    int w;
    std::vector<Px> want;
};
inline void ExpectPictures(const std::vector<PictureCase>& cases) {
    for (const PictureCase& c : cases) {
        const Decoded d = Decode(c.read, c.file);
        ASSERT_EQ(d.status, 1) << c.what;
        ASSERT_EQ(d.w, c.w) << c.what;
        ASSERT_EQ(d.px.size(), c.want.size() * 4) << c.what;
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(d.at(int(i) % c.w, int(i) / c.w), c.want[i]) << c.what << " pixel " << i;
    }
}

// `b` with byte `at` (from the end when negative) set to `value`.
inline Bytes Patched(Bytes b, ptrdiff_t at, uint8_t value) {
    b.v[static_cast<size_t>(at < 0 ? static_cast<ptrdiff_t>(b.v.size()) + at : at)] = value;
    return b;
}

// Hand-made files; header fields not given are zero.
inline Bytes Tga(int type, int w, int h, int depth, int idLength = 0, int mapType = 0, int mapLength = 0,
                 int mapBits = 0) {
    Bytes b;
    b.u8(idLength).u8(mapType).u8(type).u16(0).u16(mapLength).u8(mapBits).u32(0).u16(w).u16(h).u8(depth).u8(0);
    return b;
}
// The 40-byte header, colour table entries given as (r, g, b), then `data` at `offset` (0: right
// after the table).
inline Bytes Bmp(int32_t w, int32_t h, int bpp, int compression, const std::vector<Px>& table = {},
                 const std::vector<uint8_t>& data = {}, uint32_t offset = 0) {
    Bytes b;
    if (offset == 0) offset = 14 + 40 + static_cast<uint32_t>(table.size()) * 4;
    b.raw({'B', 'M'}).u32(offset + static_cast<uint32_t>(data.size())).u32(0).u32(offset);
    b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
    b.fill(20);
    for (const Px& e : table) b.u8(e[2]).u8(e[1]).u8(e[0]).u8(0);
    b.v.insert(b.v.end(), data.begin(), data.end());
    return b;
}
// Header, `data`, marker and a palette whose entry i is PcxEntry(i).
inline Bytes Pcx(int xMin, int yMin, int xMax, int yMax, const std::vector<uint8_t>& data, int bytesPerLine = 0,
                 int version = 5, uint8_t marker = 12) {
    Bytes b;
    b.u8(10).u8(version).u8(1).u8(8).u16(xMin).u16(yMin).u16(xMax).u16(yMax);
    b.fill(66 - b.v.size()).u16(bytesPerLine).fill(128 - 68);
    b.v.insert(b.v.end(), data.begin(), data.end());
    b.u8(marker);
    for (int i = 0; i < 256; ++i) b.u8(i).u8(255 - i).u8(i / 2);
    return b;
}
inline Px PcxEntry(int i) { return {i, 255 - i, i / 2, 255}; }

}  // namespace tam::test
