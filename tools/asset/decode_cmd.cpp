// "tamasset decode IN OUT": reads a TGA, BMP or PCX file exactly as the engine does (reader
// chosen by the extension in IN, top row first) and writes the picture as PNG or PAM, chosen by
// OUT's extension; prints the size. Lets people check how the engine sees their textures.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "image_write.h"
#include "images/readers.h"
#include "tool.h"

namespace tam::asset {
namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put32BigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    Put32BigEndian(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n & 0xFF));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n & 0xFF));
        z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at), raw.begin() + static_cast<ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32BigEndian(z, (b << 16) | a);
    return z;
}

std::vector<uint8_t> EncodePng(const Picture& pic) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32BigEndian(header, static_cast<uint32_t>(pic.width));
    Put32BigEndian(header, static_cast<uint32_t>(pic.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    PutChunk(out, "IHDR", header);
    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(pic.width) * 4;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(pic.height));
    for (int y = 0; y < pic.height; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), pic.At(0, y), pic.At(0, y) + rowBytes);
    }
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int DecodeMain(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tamasset decode IN.tga|IN.bmp|IN.pcx OUT.png|OUT.pam\n");
        return 2;
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    const bool png = EndsWith(out, ".png") || EndsWith(out, ".PNG");
    if (!png && !EndsWith(out, ".pam") && !EndsWith(out, ".PAM")) {
        std::fprintf(stderr, "tamasset decode: %s: write .png or .pam\n", out.c_str());
        return 2;
    }
    if (!HasImageReader(in)) {
        std::fprintf(stderr,
                     "tamasset decode: %s: the engine reads only paths containing .tga, .TGA, "
                     ".bmp, .BMP, .pcx or .PCX\n",
                     in.c_str());
        return 1;
    }
    Picture pic;
    int32_t width = 0;
    int32_t height = 0;
    if (LoadImageFile(in, &pic.rgba, &width, &height, true) <= 0) {
        std::fprintf(stderr, "tamasset decode: %s: not read (missing, malformed or unsupported)\n",
                     in.c_str());
        return 1;
    }
    pic.width = width;
    pic.height = height;
    if (!WriteFileBytes(out, png ? EncodePng(pic) : EncodePam(pic))) return 1;
    std::printf("%s: %d x %d\n", in.c_str(), width, height);
    return 0;
}

const AssetCommand kDecode("decode", "decode IN.tga|IN.bmp|IN.pcx OUT.png|OUT.pam", DecodeMain);

}  // namespace
}  // namespace tam::asset
