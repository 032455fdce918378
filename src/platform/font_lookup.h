// Installed font faces found through fontconfig, so no code knows where a distribution keeps its
// font files. Used by the console window and by the asset tool's HUD font.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tam {

struct FontFace {
    const char* family;   // fontconfig family name
    bool bold;            // the bold weight, else the regular one; always upright
    const char* package;  // the Debian package that installs the face, named in errors; null
                          // for a generic family ("monospace"), where any offered face counts
};

// The console's face and the HUD font's two faces.
inline constexpr FontFace kMonoRegular{"DejaVu Sans Mono", false, "fonts-dejavu-core"};
inline constexpr FontFace kMonoBold{"DejaVu Sans Mono", true, "fonts-dejavu-core"};
inline constexpr FontFace kAnyMono{"monospace", false, nullptr};

// The file of `face` as fontconfig knows it. For a named family, a substitute from another family
// or of the other weight does not count: then nullopt, with `error` naming the face and its
// package.
std::optional<std::string> FindFontFile(const FontFace& face, std::string* error);

// One face's lookup: its file, or else the error FindFontFile would give.
struct FontMatch {
    std::optional<std::string> file;
    std::string error;  // when there is no file
};

// FindFontFile for each of `faces` in order, with one fontconfig configuration for them all
// (loading it is nearly all of a lookup's cost).
std::vector<FontMatch> FindFontFiles(std::initializer_list<const FontFace*> faces);

}  // namespace tam
