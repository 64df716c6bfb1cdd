// The faces fonts are made from: fontconfig's configuration, plus the font files the test seam adds. Internal
// to the platform layer; called with the GDI lock held.
#pragma once

#include "platform/win32/Types.h"

#include <optional>
#include <string>

namespace win32::gdi {

struct MatchedFace {
    std::string file;
    int index = 0;
};

// fontconfig's best match for the description: its face name first, then the generic family its pitch and
// family ask for, then sans-serif; weight through FcWeightFromOpenType; italic as the slant. Empty when
// fontconfig offers no face at all.
std::optional<MatchedFace> MatchFace(const LOGFONTA& logFont);

// Adds every face of a font file to those matched (also kinds the configuration would turn away, such as
// bitmap fonts); false when the file holds no face fontconfig can read.
bool AddFontFile(const std::string& path);
void RemoveAddedFontFiles();

} // namespace win32::gdi
