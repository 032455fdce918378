// Renders the HUD font picture from TrueType faces with SDL2_ttf, and models the HUD's drawing
// of text in software so the picture can be checked without a window.
#include "asset/pictures/art_font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>

#include "asset/tool.h"
#include "base/cp1251.h"
#include "base/files.h"

namespace tam::asset {
namespace {

constexpr int kGlyphsPerSet = 128;
constexpr int kFirstCode = 32;
constexpr int kBoxWidth = kInkRight - kInkLeft;
constexpr int kBoxHeight = kInkBottom - kInkTop;
// Rendered coverage below this is dropped: a faint fringe adds nothing readable on screen.
constexpr int kMinCoverage = 24;
constexpr std::string_view kSizingCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A rendered glyph cut to its ink: coverage bytes, and the ink's top row relative to the
// baseline (negative above it).
struct Ink {
    int width = 0, height = 0, top = 0;
    std::vector<uint8_t> coverage;
};

// The Unicode code point of CP1251 code `code`, or 0 for codes with no printable character.
uint32_t CodePoint(int code) {
    if (code <= kFirstCode || code == 127) return 0;
    const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(code)));
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    uint32_t cp = 0;
    if (utf8.size() == 1)
        cp = b[0];
    else if (utf8.size() == 2)
        cp = ((b[0] & 0x1Fu) << 6) | (b[1] & 0x3Fu);
    else if (utf8.size() == 3)
        cp = ((b[0] & 0x0Fu) << 12) | ((b[1] & 0x3Fu) << 6) | (b[2] & 0x3Fu);
    return cp == 0xFFFD ? 0 : cp;
}

// Owns the TTF library for one font-making run.
struct TtfSession {
    bool ok = TTF_Init() == 0;
    ~TtfSession() {
        if (ok) TTF_Quit();
    }
};

// An open face and the file bytes it reads from, which outlive it.
struct FontHandle {
    std::vector<uint8_t> file;
    TTF_Font* font = nullptr;
    ~FontHandle() {
        if (font) TTF_CloseFont(font);
    }
    // False with `error` set when the file cannot be read or holds no face.
    bool Open(const std::string& path, std::string* error) {
        auto bytes = ReadWholeFile(path);
        if (!bytes) {
            *error = CannotRead(path);
            return false;
        }
        file = std::move(*bytes);
        font =
            TTF_OpenFontRW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1, 12);
        if (!font) *error = "cannot open font " + path + ": " + TTF_GetError();
        return font != nullptr;
    }
};

bool RenderInk(TTF_Font* font, uint32_t cp, Ink* ink) {
    SDL_Surface* s = TTF_RenderGlyph32_Blended(font, cp, SDL_Color{255, 255, 255, 255});
    if (!s) return false;
    SDL_LockSurface(s);
    const int ascent = TTF_FontAscent(font);
    int x0 = s->w, x1 = -1, y0 = s->h, y1 = -1;
    std::vector<uint8_t> alpha(static_cast<size_t>(s->w) * s->h, 0);
    for (int y = 0; y < s->h; ++y) {
        const auto* row =
            static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
        for (int x = 0; x < s->w; ++x) {
            Uint32 pixel = 0;
            SDL_memcpy(&pixel, row + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, s->format, &r, &g, &b, &a);
            if (a < kMinCoverage) continue;
            alpha[static_cast<size_t>(y) * s->w + x] = a;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    const int surfaceWidth = s->w;
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    *ink = Ink{};
    if (x1 < 0) return true;  // a glyph without ink
    ink->width = x1 - x0 + 1;
    ink->height = y1 - y0 + 1;
    ink->top = y0 - ascent;
    ink->coverage.resize(static_cast<size_t>(ink->width) * ink->height);
    for (int y = 0; y < ink->height; ++y)
        for (int x = 0; x < ink->width; ++x)
            ink->coverage[static_cast<size_t>(y) * ink->width + x] =
                alpha[static_cast<size_t>(y0 + y) * surfaceWidth + x0 + x];
    return true;
}

// The largest size at which every letter and digit of both faces fits the ink box, and the
// baseline row that centres their common extent in it. False when none fits. (Taller signs such
// as brackets are moved or drawn smaller to fit: see MakeFontPicture.)
bool ChooseSize(TTF_Font* const faces[2], int* size, int* baseline) {
    for (int s = 18; s >= 6; --s) {
        int top = 0, bottom = 0, widest = 0;
        bool rendered = true;
        for (int f = 0; f < 2 && rendered; ++f) {
            TTF_SetFontSize(faces[f], s);
            for (const char code : kSizingCharacters) {
                Ink ink;
                rendered = RenderInk(faces[f], static_cast<unsigned char>(code), &ink);
                if (!rendered) break;
                if (ink.width == 0) continue;
                top = std::min(top, ink.top);
                bottom = std::max(bottom, ink.top + ink.height);
                widest = std::max(widest, ink.width);
            }
        }
        if (!rendered) return false;
        if (widest <= kBoxWidth && bottom - top <= kBoxHeight) {
            *size = s;
            *baseline = kInkTop - top + (kBoxHeight - (bottom - top)) / 2;
            return true;
        }
    }
    return false;
}

bool FitsNearBaseline(const Ink& ink, int baseline) {
    if (ink.width > kBoxWidth || ink.height > kBoxHeight) return false;
    const int top = baseline + ink.top;
    return top >= kInkTop - 1 && top + ink.height <= kInkBottom + 1;
}

// Places `ink` into glyph g's cell, centred across the box, its baseline at `baseline` unless
// that would leave the box (then moved just inside).
void PlaceInk(const Ink& ink, int glyph, int baseline, Picture* pic) {
    const int left = kInkLeft + (kBoxWidth - ink.width) / 2;
    const int top = std::clamp(baseline + ink.top, kInkTop, kInkBottom - ink.height);
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            const uint8_t v = ink.coverage[static_cast<size_t>(y) * ink.width + x];
            uint8_t* p = pic->At(GlyphPictureX(glyph, left + x), GlyphPictureY(glyph, top + y));
            p[0] = p[1] = p[2] = v;
        }
    }
}

}  // namespace

int GlyphPictureX(int glyph, int col) {
    return (glyph % 16) * kFontCell + col;
}

int GlyphPictureY(int glyph, int row) {
    // Row band r covers t from 1 - (r + 1) / 16 to 1 - r / 16, that is picture rows
    // 256 - 16 (r + 1) .. 256 - 16 r - 1; the glyph's top (t = 1 - r / 16) is the band's last row.
    const int band = glyph / 16;
    return kFontPictureSize - kFontCell * band - 1 - row;
}

bool MakeFontPicture(const std::string& regularTtf, const std::string& boldTtf, Picture* out,
                     std::string* error) {
    TtfSession session;
    if (!session.ok) {
        *error = std::string("cannot start the font renderer: ") + TTF_GetError();
        return false;
    }
    FontHandle regular, bold;
    if (!regular.Open(regularTtf, error) || !bold.Open(boldTtf, error)) return false;
    TTF_Font* const faces[2] = {regular.font, bold.font};
    for (TTF_Font* f : faces) TTF_SetFontHinting(f, TTF_HINTING_NORMAL);
    int size = 0, baseline = 0;
    if (!ChooseSize(faces, &size, &baseline)) {
        *error = "no font size fits the 16 x 16 cells";
        return false;
    }
    Picture pic = MakePicture(kFontPictureSize, kFontPictureSize);
    for (uint8_t* p = pic.rgba.data(); p < pic.rgba.data() + pic.rgba.size(); p += 4) p[3] = 255;
    for (int set = 0; set < 2; ++set) {
        TTF_Font* face = faces[set];
        for (int k = 0; k < kGlyphsPerSet; ++k) {
            const uint32_t cp = CodePoint(kFirstCode + k);
            if (cp == 0) continue;
            if (!TTF_GlyphIsProvided32(face, cp)) {
                *error = "the font has no glyph for U+" + std::to_string(cp);
                return false;
            }
            // Characters that do not fit the box at the common size, or would have to move more
            // than a pixel off the baseline, are drawn smaller.
            Ink ink;
            for (int s = size; s >= 4; --s) {
                TTF_SetFontSize(face, s);
                if (!RenderInk(face, cp, &ink)) {
                    *error = std::string("cannot render a glyph: ") + TTF_GetError();
                    return false;
                }
                if (FitsNearBaseline(ink, baseline)) break;
            }
            TTF_SetFontSize(face, size);
            if (ink.width > kBoxWidth || ink.height > kBoxHeight) {
                *error = "glyph U+" + std::to_string(cp) + " does not fit its cell";
                return false;
            }
            if (ink.width > 0) PlaceInk(ink, set * kGlyphsPerSet + k, baseline, &pic);
        }
    }
    *out = std::move(pic);
    return true;
}

}  // namespace tam::asset
