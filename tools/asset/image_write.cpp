// Image file writers of the asset tool.
#include "image_write.h"

#include <algorithm>
#include <string>

#include "byte_writer.h"

namespace tam::asset {
namespace {

void PutPixel(ByteWriter& out, const uint8_t* p, int bits) {
    out.U8(p[2]).U8(p[1]).U8(p[0]);
    if (bits == 32) out.U8(p[3]);
}

}  // namespace

Picture MakePicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    return p;
}

std::vector<uint8_t> EncodeTga(const Picture& pic, int bits, bool rle) {
    ByteWriter out;
    out.U8(0).U8(0);                // no ID, no colour map
    out.U8(rle ? 10 : 2).Zeros(5);  // true colour; colour-map fields (none)
    out.Le16(0).Le16(0);            // origin
    out.Le16(pic.width).Le16(pic.height).U8(bits);
    out.U8(bits == 32 ? 8 : 0);  // alpha bits, bottom-left origin
    for (int y = pic.height - 1; y >= 0; --y) {
        if (!rle) {
            for (int x = 0; x < pic.width; ++x) PutPixel(out, pic.At(x, y), bits);
            continue;
        }
        int x = 0;
        while (x < pic.width) {
            // A run of equal pixels (2..128) becomes a run packet; otherwise a raw packet up to
            // the next run. Packets never cross a row end.
            int run = 1;
            while (x + run < pic.width && run < 128 &&
                   std::equal(pic.At(x, y), pic.At(x, y) + 4, pic.At(x + run, y)))
                ++run;
            if (run >= 2) {
                out.U8(0x80 | (run - 1));
                PutPixel(out, pic.At(x, y), bits);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < pic.width && raw < 128 &&
                   !(x + raw + 1 < pic.width &&
                     std::equal(pic.At(x + raw, y), pic.At(x + raw, y) + 4, pic.At(x + raw + 1, y))))
                ++raw;
            out.U8(raw - 1);
            for (int k = 0; k < raw; ++k) PutPixel(out, pic.At(x + k, y), bits);
            x += raw;
        }
    }
    return std::move(out.bytes);
}

std::vector<uint8_t> EncodePcx(int width, int height, const std::vector<uint8_t>& indices,
                               const std::array<uint8_t, 768>& palette) {
    // The 128-byte header: maker, version, RLE, bits; the window; dots per inch; an unused
    // 16-colour palette; planes, bytes per line (the engine reads one stream of width x height)
    // and palette type (colour).
    ByteWriter out;
    out.U8(10).U8(5).U8(1).U8(8);
    out.Le16(0).Le16(0).Le16(width - 1).Le16(height - 1);
    out.Le16(72).Le16(72).Zeros(48);
    out.U8(0).U8(1).Le16(width).Le16(1).Zeros(58);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &indices[static_cast<size_t>(y) * width];
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 0xC0) out.U8(0xC0 | run);
            out.U8(row[x]);
            x += run;
        }
    }
    out.U8(12).Append(palette);
    return std::move(out.bytes);
}

std::vector<uint8_t> EncodePam(const Picture& pic) {
    ByteWriter out;
    out.Text("P7\nWIDTH " + std::to_string(pic.width) + "\nHEIGHT " + std::to_string(pic.height) +
             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
    out.Append(pic.rgba);
    return std::move(out.bytes);
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutChunk(ByteWriter& out, std::string_view type, std::span<const uint8_t> data) {
    out.Be32(static_cast<uint32_t>(data.size()));
    const size_t start = out.bytes.size();
    out.Text(type).Append(data);
    out.Be32(Crc32(&out.bytes[start], out.bytes.size() - start));
}

}  // namespace

std::vector<uint8_t> EncodePng(const Picture& pic) {
    // Raw scanlines, each led by filter type 0.
    const size_t stride = static_cast<size_t>(pic.width) * 4;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * pic.height);
    for (int y = 0; y < pic.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pic.rgba.begin() + y * stride, pic.rgba.begin() + (y + 1) * stride);
    }
    // zlib stream of stored deflate blocks (at most 65535 bytes each) and the Adler-32 sum.
    ByteWriter z;
    z.U8(0x78).U8(0x01);
    size_t pos = 0;
    do {
        const auto n = static_cast<uint32_t>(std::min<size_t>(65535, raw.size() - pos));
        z.U8(pos + n == raw.size() ? 1 : 0).Le16(n).Le16(~n);
        z.Append(std::span(raw).subspan(pos, n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (const uint8_t v : raw) {
        a = (a + v) % 65521u;
        b = (b + a) % 65521u;
    }
    z.Be32((b << 16) | a);

    ByteWriter header;
    header.Be32(pic.width).Be32(pic.height);
    header.U8(8).U8(6).U8(0).U8(0).U8(0);  // 8 bits, RGBA, deflate, no filter, no interlace
    ByteWriter out;
    out.U8(0x89).Text("PNG\r\n\x1A\n");
    PutChunk(out, "IHDR", header.bytes);
    PutChunk(out, "IDAT", z.bytes);
    PutChunk(out, "IEND", {});
    return std::move(out.bytes);
}

}  // namespace tam::asset
