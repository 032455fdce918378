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

// A PAM picture expanded to RGBA, top row first; width 0 when the file is not a PAM we know.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline RgbaPicture ParsePam(const std::vector<uint8_t>& bytes) {
    RgbaPicture pic;
    const std::string text(bytes.begin(), bytes.end());
    const size_t end = text.find("ENDHDR\n");
    if (text.rfind("P7\n", 0) != 0 || end == std::string::npos) return pic;
    std::istringstream head(text.substr(3, end - 3));
    std::string key;
    int depth = 0, maxval = 0;
    while (head >> key) {
        if (key == "WIDTH") head >> pic.width;
        else if (key == "HEIGHT") head >> pic.height;
        else if (key == "DEPTH") head >> depth;
        else if (key == "MAXVAL") head >> maxval;
        else head.ignore(1 << 20, '\n');
    }
    const size_t pixels = static_cast<size_t>(pic.width) * pic.height;
    const size_t start = end + 7;
    if (maxval != 255 || depth < 1 || depth > 4 || bytes.size() < start + pixels * depth) {
        pic.width = 0;
        return pic;
    }
    pic.rgba.resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* s = &bytes[start + i * depth];
        uint8_t* d = &pic.rgba[i * 4];
        if (depth <= 2) d[0] = d[1] = d[2] = s[0];
        else d[0] = s[0], d[1] = s[1], d[2] = s[2];
        d[3] = depth == 2 ? s[1] : depth == 4 ? s[3] : 255;
    }
    return pic;
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

// A file that decodes to a picture `w` wide holding `want`, top row first.
struct PictureCase {
    const char* what;
    Bytes file;
    int w;
    std::vector<Px> want;
};
inline void ExpectPictures(SpanReader read, const std::vector<PictureCase>& cases) {
    for (const PictureCase& c : cases) {
        const Decoded d = Decode(read, c.file);
        ASSERT_EQ(d.status, 1) << c.what;
        ASSERT_EQ(d.w, c.w) << c.what;
        ASSERT_EQ(d.px.size(), c.want.size() * 4) << c.what;
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(d.at(int(i) % c.w, int(i) / c.w), c.want[i]) << c.what << " pixel " << i;
    }
}

}  // namespace tam::test
