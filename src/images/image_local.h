// Internals shared by the TGA, BMP and PCX readers: the checks every reader makes on a picture's
// size before it allocates, the reasons a reader gives for refusing a file, and a writer that
// places pixels, given in file order, into the RGBA output with the requested row order. Bytes
// are read through the shared ByteCursor.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "base/byte_cursor.h"

namespace tam::img {

// Largest picture any reader accepts: 4096 x 4096 pixels (64 MiB of RGBA). Run-length data lets
// a small file describe a far larger picture, so the cap is on the decoded size, checked before
// anything is allocated.
inline constexpr uint64_t kMaxPixels = uint64_t{4096} * 4096;

// Why a reader refused a file: each phrase is kept here once and handed out as a pointer to
// static storage; the texture registry prints it.
namespace why {
inline constexpr const char* kFileMissing = "file not found";
inline constexpr const char* kFileUnreadable = "file cannot be read";
inline constexpr const char* kNoReader = "no reader for its extension";
inline constexpr const char* kShortHeader = "file shorter than its header";
inline constexpr const char* kSignature = "wrong signature";
inline constexpr const char* kEmpty = "width or height below 1";
inline constexpr const char* kTooLarge = "picture larger than 4096 x 4096 pixels";
inline constexpr const char* kMoreThanFileHolds = "more pixels than the file can hold";
inline constexpr const char* kUnsupported = "unsupported image type";
inline constexpr const char* kColourMap = "colour map outside the file or of an unsupported entry size";
inline constexpr const char* kDataOffset = "data offset past the end of the file";
inline constexpr const char* kNoPalette = "no 256-colour palette at the end of the file";
inline constexpr const char* kTruncated = "truncated pixel data";
inline constexpr const char* kBmpHeaderSize = "BMP information header of unknown size";
inline constexpr const char* kBmpJpeg = "BMP with JPEG data";
inline constexpr const char* kBmpPng = "BMP with PNG data";
inline constexpr const char* kBmpHuffman = "BMP with Huffman compression";
inline constexpr const char* kBmpRle24 = "BMP with RLE24 compression";
inline constexpr const char* kBmpCompression = "BMP of unknown compression";
inline constexpr const char* kBmpTwoBit = "BMP of 2 bits per pixel";
inline constexpr const char* kBmpSixtyFourBit = "BMP of 64 bits per pixel";
inline constexpr const char* kBmpDepth = "BMP pixel depth other than 1, 4, 8, 16, 24 or 32 bits";
inline constexpr const char* kBmpFieldsDepth = "BMP bit fields at other than 16 or 32 bits per pixel";
inline constexpr const char* kBmpMaskGaps = "BMP bit-field mask not contiguous";
inline constexpr const char* kBmpMaskOverlap = "BMP bit-field masks overlap";
inline constexpr const char* kBmpMaskWide = "BMP bit-field mask wider than its pixel";
inline constexpr const char* kBmpTopDownRle = "top-down BMP with run-length data";
inline constexpr const char* kBmpDataInHeader = "BMP data offset inside its headers";
inline constexpr const char* kTgaNoMap = "colour-mapped TGA without a colour map";
inline constexpr const char* kTgaIndexDepth = "colour-mapped TGA with indices of other than 8 bits";
inline constexpr const char* kTgaTrueColourDepth = "true-colour TGA of other than 15, 16, 24 or 32 bits";
inline constexpr const char* kTgaGreyDepth = "grey TGA of other than 8 or 16 bits";
inline constexpr const char* kPcxFewBits = "PCX of 1, 2 or 4 bits per pixel";
inline constexpr const char* kPcxThreePlanes = "24-bit PCX of three colour planes";
inline constexpr const char* kPcxPlanes = "PCX of other than one 8-bit plane";
}  // namespace why

// Stores `reason` into `*out` when a destination is given; returns status 0 (not read).
inline int Refuse(const char** out, const char* reason) {
    if (out) *out = reason;
    return 0;
}

using tam::ByteCursor;

// Why width x height is not a picture the readers accept (both positive, at most kMaxPixels),
// or nullptr when it is.
inline const char* SizeProblem(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return why::kEmpty;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels) return why::kTooLarge;
    return nullptr;
}

inline uint32_t PackRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t px[4] = {r, g, b, a};
    uint32_t v;
    std::memcpy(&v, px, 4);
    return v;
}

// Places pixels into a zeroed width x height RGBA buffer in file order: file row k goes to
// output row height - 1 - k when `flip` is set, else to row k. A run that passes the end of a
// row continues on the next file row; nothing is written after the last pixel. The buffer must
// outlive the writer.
class RowWriter {
public:
    RowWriter(std::vector<uint8_t>& pixels, int32_t width, int32_t height, bool flip)
        : base_(pixels.data()), width_(width), height_(height), flip_(flip),
          left_(static_cast<uint64_t>(width) * static_cast<uint64_t>(height)) {
        StartRow();
    }
    bool Full() const { return left_ == 0; }
    uint64_t Left() const { return left_; }

    // Writes one pixel. Precondition: !Full().
    void Put(uint32_t rgba) {
        std::memcpy(cur_, &rgba, 4);
        cur_ += 4;
        --left_;
        if (cur_ == rowEnd_) NextRow();
    }
    // Writes `rgba` n times, cut at the end of the picture.
    void Fill(uint32_t rgba, uint64_t n) {
        if (n > left_) n = left_;
        while (n > 0) {
            const uint64_t inRow = static_cast<uint64_t>(rowEnd_ - cur_) / 4;
            const uint64_t k = n < inRow ? n : inRow;
            for (uint64_t i = 0; i < k; ++i, cur_ += 4) std::memcpy(cur_, &rgba, 4);
            n -= k;
            left_ -= k;
            if (cur_ == rowEnd_) NextRow();
        }
    }
    // Where the next pixel goes, with the number of pixels the current row still takes in `room`.
    // Precondition: !Full(). Advance(k) with k <= room then moves past k written pixels.
    uint8_t* Here(uint64_t& room) const {
        room = static_cast<uint64_t>(rowEnd_ - cur_) / 4;
        return cur_;
    }
    void Advance(uint64_t k) {
        cur_ += k * 4;
        left_ -= k;
        if (cur_ == rowEnd_) NextRow();
    }
    // Leaves the rest of the current row unwritten and moves to the next row.
    void EndRow() {
        if (Full()) return;
        left_ -= static_cast<uint64_t>(rowEnd_ - cur_) / 4;
        NextRow();
    }
    // The output row that file row k lands on.
    uint8_t* FileRow(int32_t k) const {
        const int32_t out = flip_ ? height_ - 1 - k : k;
        return base_ + static_cast<size_t>(out) * static_cast<size_t>(width_) * 4;
    }

private:
    void NextRow() {
        ++row_;
        StartRow();
    }
    void StartRow() {
        if (row_ >= height_) {
            cur_ = rowEnd_ = nullptr;
            return;
        }
        cur_ = FileRow(row_);
        rowEnd_ = cur_ + static_cast<size_t>(width_) * 4;
    }
    uint8_t* base_;
    int32_t width_;
    int32_t height_;
    bool flip_;
    uint64_t left_;
    int32_t row_ = 0;
    uint8_t* cur_ = nullptr;
    uint8_t* rowEnd_ = nullptr;
};

// Stores the size into the optional outputs.
inline void DeliverSize(int32_t width, int32_t height, int32_t* outWidth, int32_t* outHeight) {
    if (outWidth) *outWidth = width;
    if (outHeight) *outHeight = height;
}

}  // namespace tam::img
