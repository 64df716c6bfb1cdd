#include "platform/win32/gdi/GdiObject.h"

#include "platform/win32/gdi/FontFace.h"

namespace win32::gdi {

GdiObject::~GdiObject() = default;

std::shared_ptr<GdiFont> MakeFontObject(const LOGFONTA& logFont) {
    std::shared_ptr<FontFace> face = FontFace::Open(logFont);
    if (!face) {
        return nullptr;
    }
    auto font = std::make_shared<GdiFont>();
    font->logFont = logFont;
    font->face = std::move(face);
    return font;
}

} // namespace win32::gdi
