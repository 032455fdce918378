// The console's picture: cell sizing from the face's full ink extent, and text drawn as ink over
// a background filled once, so a line never paints over the one above it.
#include "platform/console_image.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/cp1251.h"
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
    std::string error;
    for (const FontFace* face : {&kMonoRegular, &kAnyMono}) {
        if (auto path = FindFontFile(*face, &error)) paths.push_back(std::move(*path));
        else std::fprintf(stderr, "tamberlo: console: %s\n", error.c_str());
    }
    return paths;
}

ConsoleImage::~ConsoleImage() {
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
    if (!surface_) TTF_SetError("%s", SDL_GetError());
    return surface_ != nullptr;
}

void ConsoleImage::Clear() {
    if (surface_) SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));
}

void ConsoleImage::DrawLine(int row, std::string_view cp1251) {
    if (!surface_ || !font_ || cp1251.empty()) return;
    const std::string utf8 = Cp1251ToUtf8(cp1251);
    SDL_Surface* text = TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!text) return;
    SDL_Rect at{0, row * cellHeight_, text->w, text->h};
    SDL_BlitSurface(text, nullptr, surface_, &at);
    SDL_FreeSurface(text);
}

}  // namespace tam::platform
