// The console's picture without its window: 60 x 32 cells of CP1251 text, white on black, in a
// monospace TrueType face drawn with SDL2_ttf onto a plain surface that the console window
// copies to the screen. Needs TTF_Init, no video. Window thread only; internal to platform/.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"

struct SDL_Rect;
struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace tam::platform {

// The console's faces, tried in this order: DejaVu Sans Mono, then whatever fontconfig offers as
// monospace. A face fontconfig lacks is named on stderr with its package.
std::vector<std::string> ConsoleFontPaths();

class ConsoleImage {
  public:
    ConsoleImage() = default;
    ConsoleImage(const ConsoleImage&) = delete;
    ConsoleImage& operator=(const ConsoleImage&) = delete;
    ~ConsoleImage();

    // Opens the face at `fontPath` and sizes the picture; false (reason in TTF_GetError) when the
    // face cannot be opened or the surface cannot be made.
    bool Open(const char* fontPath);
    void Clear();                                     // every row blank
    void DrawLine(int row, std::string_view cp1251);  // row 0 at the top; its ink over black

    // A cell is as wide as "A" and as tall as the tallest ink any CP1251 character can have
    // (descenders and underscores included), so no line reaches into the next.
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // The picture (owned; XRGB8888) with every Clear and DrawLine so far applied.
    SDL_Surface* Surface();
    // Applies them and gives the rectangles that changed since the last call, one a row at most,
    // each from the left edge to the end of the wider of the row's old and new text (room for
    // kConsoleLines in `rows`); returns their count. Only those rows are drawn again, and a text
    // that moved to another row takes its rendering along.
    int Update(SDL_Rect* rows);

  private:
    SDL_Surface* Render(const std::string& cp1251) const;

    TTF_Font* font_ = nullptr;
    SDL_Surface* surface_ = nullptr;
    int cellWidth_ = 8;
    int cellHeight_ = 16;
    std::array<std::string, kConsoleLines> wanted_;  // each row's text as last drawn
    std::array<std::string, kConsoleLines> shown_;   // each row's text as the picture holds it
    std::array<SDL_Surface*, kConsoleLines> rendered_{};  // shown_ rendered; null when blank
};

}  // namespace tam::platform
