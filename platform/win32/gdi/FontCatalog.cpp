#include "platform/win32/gdi/FontCatalog.h"

#include "platform/win32/gdi/Gdi.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace win32::gdi {
namespace {

struct Catalog {
    FcConfig* config = nullptr;
    FcFontSet* added = nullptr;
};

Catalog& TheCatalog() {
    static Catalog catalog = [] {
        Catalog made;
        // The process's current configuration: fontconfig keeps it reachable (a configuration of our own made
        // with FcInitLoadConfigAndFonts loses a little memory even when destroyed).
        made.config = FcInit() ? FcConfigGetCurrent() : nullptr;
        made.added = FcFontSetCreate();
        return made;
    }();
    return catalog;
}

const char* GenericFamily(BYTE pitchAndFamily) {
    if ((pitchAndFamily & 0x03) == FIXED_PITCH) {
        return "monospace";
    }
    switch (pitchAndFamily & 0xF0) {
    case FF_ROMAN:
        return "serif";
    case FF_MODERN:
        return "monospace";
    default:
        return "sans-serif";
    }
}

bool IsGenericFamily(const char* family) {
    return std::strcmp(family, "sans-serif") == 0 || std::strcmp(family, "serif") == 0 ||
           std::strcmp(family, "monospace") == 0;
}

// Whether the configuration's rules give the name a generic family of their own (a monospace one for
// "Courier New"), beside the one the request carries.
bool RulesKnowTheName(FcConfig* config, const FcPattern* pattern, const char* requestedGeneric) {
    FcPattern* probe = FcPatternDuplicate(pattern);
    FcConfigSubstitute(config, probe, FcMatchPattern);
    bool known = false;
    FcChar8* family = nullptr;
    for (int i = 0; !known && FcPatternGetString(probe, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        const char* name = reinterpret_cast<const char*>(family);
        known = IsGenericFamily(name) && std::strcmp(name, requestedGeneric) != 0;
    }
    FcPatternDestroy(probe);
    return known;
}

// The name is the one strong family. The generic family of the pitch and family bits decides only for a name
// the configuration does not know: as a weak family, since a strong one would outrank the faces its rules
// give a known name, and only then, since its preferred faces would come before theirs. Without a name the
// generic family is all there is.
FcPattern* MakePattern(FcConfig* config, const LOGFONTA& logFont) {
    FcPattern* pattern = FcPatternCreate();
    int weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<int>(logFont.lfWeight, 1000);
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, logFont.lfFaceName, LF_FACESIZE);
    name[LF_FACESIZE - 1] = '\0';
    const char* genericName = GenericFamily(logFont.lfPitchAndFamily);
    FcValue generic{};
    generic.type = FcTypeString;
    generic.u.s = reinterpret_cast<const FcChar8*>(genericName);
    if (name[0] == '\0') {
        FcPatternAdd(pattern, FC_FAMILY, generic, FcTrue);
        return pattern;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    FcPatternAddWeak(pattern, FC_FAMILY, generic, FcTrue);
    if (RulesKnowTheName(config, pattern, genericName)) {
        FcPatternRemove(pattern, FC_FAMILY, 1);
    }
    return pattern;
}

} // namespace

std::optional<MatchedFace> MatchFace(const LOGFONTA& logFont) {
    Catalog& catalog = TheCatalog();
    if (catalog.config == nullptr) {
        return std::nullopt;
    }
    FcPattern* pattern = MakePattern(catalog.config, logFont);
    FcConfigSubstitute(catalog.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    std::vector<FcFontSet*> sets;
    for (FcFontSet* set : {FcConfigGetFonts(catalog.config, FcSetSystem),
                           FcConfigGetFonts(catalog.config, FcSetApplication), catalog.added}) {
        if (set != nullptr && set->nfont > 0) {
            sets.push_back(set);
        }
    }
    FcResult result = FcResultNoMatch;
    FcPattern* match = sets.empty() ? nullptr
                                    : FcFontSetMatch(catalog.config, sets.data(),
                                                     static_cast<int>(sets.size()), pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return std::nullopt;
    }
    std::optional<MatchedFace> face;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        MatchedFace found;
        found.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
        face = std::move(found);
    }
    FcPatternDestroy(match);
    return face;
}

bool AddFontFile(const std::string& path) {
    Catalog& catalog = TheCatalog();
    int count = 0;
    unsigned int faces = FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(path.c_str()),
                                            static_cast<unsigned>(-1), nullptr, &count, catalog.added);
    return faces > 0;
}

void RemoveAddedFontFiles() {
    Catalog& catalog = TheCatalog();
    FcFontSetDestroy(catalog.added);
    catalog.added = FcFontSetCreate();
}

} // namespace win32::gdi

// fontconfig links the parts of its patterns by offsets, which the leak checker of sanitizer builds cannot
// follow: every pattern it keeps would be reported lost. SDL's X11 video starts D-Bus, whose library keeps a
// buffer of its own after SDL has closed its connection. The hosted web engine (WebKitGTK, its JavaScript
// engine, GTK and GDK) keeps its process-wide objects until exit; some are GLib's own allocations, whose
// callers a fast unwind through GLib does not see. Without that checker nothing calls this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\nleak:libwebkit2gtk-4.1.so\nleak:libjavascriptcoregtk-4."
           "1.so\n"
           "leak:libgtk-3.so\nleak:libgdk-3.so\nleak:libglib-2.0.so\n";
}
