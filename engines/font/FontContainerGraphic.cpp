#include "engines/font/FontContainerGraphic.h"

namespace Vemo {

FontContainerGraphic::FontContainerGraphic() = default;

FontContainerGraphic::~FontContainerGraphic() = default;

bool FontContainerGraphic::AttachFont(FontHandle* font) {
    if (m_font != nullptr) {
        DetachFont();
    }
    m_font = font;
    return true;
}

bool FontContainerGraphic::DetachFont() {
    m_font = nullptr;
    return true;
}

FontHandle* FontContainerGraphic::GetFont() {
    return m_font;
}

} // namespace Vemo
