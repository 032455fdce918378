// Font lookup with a private fontconfig configuration, released after every query so that
// nothing of fontconfig outlives the call.
#include "platform/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace tam {
namespace {

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The file of `face` under `config` (null when fontconfig could not load one).
std::optional<std::string> FindFontFileIn(FcConfig* config, const FontFace& face,
                                          std::string* error) {
    auto missing = [&]() -> std::optional<std::string> {
        if (error) {
            *error = std::string("font ") + face.family + (face.bold ? " Bold" : "") +
                     " is not installed";
            if (face.package) *error += std::string(" (Debian package ") + face.package + ")";
        }
        return std::nullopt;
    };
    if (!config) return missing();
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(face.family));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, face.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    if (!match) return missing();
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    int weight = 0, slant = 0;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight) != FcResultMatch)
        return missing();
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    const bool isBold = weight >= FC_WEIGHT_DEMIBOLD;
    const bool sameFamily =
        FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(face.family)) == 0;
    if (face.package && (!sameFamily || isBold != face.bold || slant != FC_SLANT_ROMAN))
        return missing();
    return std::string(reinterpret_cast<const char*>(file));
}

}  // namespace

std::optional<std::string> FindFontFile(const FontFace& face, std::string* error) {
    std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    return FindFontFileIn(config.get(), face, error);
}

std::vector<FontMatch> FindFontFiles(std::initializer_list<const FontFace*> faces) {
    std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    std::vector<FontMatch> matches;
    for (const FontFace* face : faces) {
        FontMatch& m = matches.emplace_back();
        m.file = FindFontFileIn(config.get(), *face, &m.error);
    }
    return matches;
}

}  // namespace tam
