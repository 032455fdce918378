// The console's picture: cell sizing from the face's full ink extent, and each row's text drawn
// as ink over its black cell, so a line never paints over the one above it. A row is drawn
// again only when its text changed: a refresh that adds one line costs about one line.
#include "platform/console_image.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console.h"
#include "base/cp1251.h"
#include "platform/font_lookup.h"

namespace tam::platform {
namespace {

constexpr int kConsolePointSize = 12;

// Every character a log line can hold (CP1251 0x21..0xFF without DEL and the unassigned 0x98).
std::string PrintableCharacters() {
    std::string cp1251;
    for (int code = 0x21; code <= 0xFF; ++code)
        if (code != 0x7F && code != 0x98) cp1251 += static_cast<char>(code);
    return Cp1251ToUtf8(cp1251);
}

}  // namespace

std::vector<std::string> ConsoleFontPaths() {
    std::vector<std::string> paths;
    for (FontMatch& m : FindFontFiles({&kMonoRegular, &kAnyMono})) {
        if (m.file) paths.push_back(std::move(*m.file));
        else std::fprintf(stderr, "tamberlo: console: %s\n", m.error.c_str());
    }
    return paths;
}

ConsoleImage::~ConsoleImage() {
    for (SDL_Surface* text : rendered_)
        if (text) SDL_FreeSurface(text);
    if (surface_) SDL_FreeSurface(surface_);
    if (font_) TTF_CloseFont(font_);
}

bool ConsoleImage::Open(const char* fontPath) {
    if (surface_) SDL_FreeSurface(surface_);
    if (font_) TTF_CloseFont(font_);
    surface_ = nullptr;
    font_ = TTF_OpenFont(fontPath, kConsolePointSize);
    if (!font_) return false;
    int width = 0, height = 0, inkWidth = 0, inkHeight = 0;
    TTF_SizeUTF8(font_, "A", &width, &height);
    // The face's line height alone is not enough: some glyphs (underscore, g, p, y, р, у) reach
    // a row below it.
    TTF_SizeUTF8(font_, PrintableCharacters().c_str(), &inkWidth, &inkHeight);
    cellWidth_ = width > 0 ? width : 8;
    cellHeight_ = std::max({height, inkHeight, TTF_FontLineSkip(font_)});
    if (cellHeight_ <= 0) cellHeight_ = 16;
    surface_ = SDL_CreateRGBSurfaceWithFormat(
        0, kConsoleColumns * cellWidth_, kConsoleLines * cellHeight_, 32, SDL_PIXELFORMAT_XRGB8888);
    if (!surface_) {
        TTF_SetError("%s", SDL_GetError());
        return false;
    }
    SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));
    for (SDL_Surface*& text : rendered_) {
        if (text) SDL_FreeSurface(text);
        text = nullptr;
    }
    wanted_ = shown_ = {};
    return true;
}

void ConsoleImage::Clear() {
    for (std::string& row : wanted_) row.clear();
}

void ConsoleImage::DrawLine(int row, std::string_view cp1251) {
    if (row >= 0 && row < kConsoleLines) wanted_[static_cast<size_t>(row)] = cp1251;
}

SDL_Surface* ConsoleImage::Surface() {
    SDL_Rect rows[kConsoleLines];
    Update(rows);
    return surface_;
}

int ConsoleImage::Update(SDL_Rect* rows) {
    if (!surface_ || !font_) return 0;
    std::array<SDL_Surface*, kConsoleLines> spare = rendered_;  // renderings free to move
    const std::array<std::string, kConsoleLines> spareText = shown_;
    for (size_t r = 0; r < kConsoleLines; ++r)
        if (wanted_[r] == shown_[r]) spare[r] = nullptr;
    int count = 0;
    for (size_t r = 0; r < kConsoleLines; ++r) {
        if (wanted_[r] == shown_[r]) continue;
        SDL_Surface* text = nullptr;
        for (size_t q = 0; q < kConsoleLines && !text && !wanted_[r].empty(); ++q)
            if (spare[q] && spareText[q] == wanted_[r]) std::swap(text, spare[q]);
        if (!text && !wanted_[r].empty()) text = Render(wanted_[r]);
        // Past the wider of the old and the new text the row is black before and after.
        const int oldWidth = rendered_[r] ? rendered_[r]->w : 0;
        const int width = std::min(surface_->w, std::max(oldWidth, text ? text->w : 0));
        rendered_[r] = text;
        shown_[r] = wanted_[r];
        const SDL_Rect changed{0, static_cast<int>(r) * cellHeight_, width, cellHeight_};
        SDL_FillRect(surface_, &changed, SDL_MapRGB(surface_->format, 0, 0, 0));
        if (text) {
            SDL_Rect from{0, 0, text->w, cellHeight_}, to = changed;
            SDL_BlitSurface(text, &from, surface_, &to);
        }
        if (width > 0) rows[count++] = changed;
    }
    for (SDL_Surface* unused : spare)
        if (unused) SDL_FreeSurface(unused);
    return count;
}

SDL_Surface* ConsoleImage::Render(const std::string& cp1251) const {
    const std::string utf8 = Cp1251ToUtf8(cp1251);
    return TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
}

}  // namespace tam::platform
