#include "host/draw/fonts.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <map>

namespace ardelvine::hostapp {

namespace {

// True when fontconfig draws `face` in a font of that name or one of the
// stand-ins its configuration binds firmly to the name. Its weak defaults
// (the generic sans-serif list it appends to every request) do not count.
bool installed(const std::string& face) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool found = false;
    FcChar8* family = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
        FcValue value;
        FcValueBinding binding;
        for (int i = 0; !found && FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i)
            found = binding != FcValueBindingWeak && value.type == FcTypeString &&
                    strcasecmp(reinterpret_cast<const char*>(value.u.s), reinterpret_cast<const char*>(family)) == 0;
    }
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

const std::string& font_for_face(const std::string& face) {
    static std::map<std::string, std::string> known;
    if (const auto it = known.find(face); it != known.end()) return it->second;
    std::string family;
    if (face.empty() || strcasecmp(face.c_str(), "Arial") == 0)
        family = kFallbackFont;
    else if (strcasecmp(face.c_str(), "Quartz") == 0)
        family = "DSEG7 Classic";
    else
        family = installed(face) ? face : kFallbackFont;
    return known.emplace(face, std::move(family)).first->second;
}

}  // namespace ardelvine::hostapp
