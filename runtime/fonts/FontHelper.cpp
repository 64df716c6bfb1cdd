#include "runtime/fonts/FontHelper.h"

#include "resources/error/Error.h"
#include "runtime/fonts/Font.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/ControlManager.h"

FontHelper::~FontHelper() {
    delete m_font;
}

const Vemo::String& FontHelper::GetFontName() const {
    return m_fontName;
}

Font* FontHelper::GetFont() const {
    return m_font;
}

bool FontHelper::SetActive(bool active, Control* owner, const Vemo::PixelFormat* format) {
    m_active = active ? 1 : 0;
    if (!active) {
        delete m_font;
        m_font = nullptr;
        return true;
    }
    if (m_font != nullptr) {
        return true;
    }
    if (owner != nullptr && format == nullptr && owner->GetManager() != nullptr) {
        format = &owner->GetManager()->GetDisplayPixelFormat();
    }
    if (m_fontName.IsEmpty() || format == nullptr) {
        return true;
    }
    auto* font = new Font;
    if (!font->Load(m_fontName, format, nullptr)) {
        delete font;
        RaiseError(Messenger::kErrorSettings);
        return false;
    }
    m_font = font;
    return true;
}

bool FontHelper::SetFont(const Vemo::String& name, Control* owner, const Vemo::PixelFormat* format) {
    if (m_font != nullptr && Vemo::CompareNoCase(name.CStr(), m_fontName.CStr()) == 0) {
        return true;
    }
    delete m_font;
    m_font = nullptr;
    m_fontName = name;
    if (owner != nullptr && owner->GetManager() != nullptr && owner->IsShown()) {
        owner->GetManager()->InvalidateControl(owner, nullptr);
    }
    return SetActive(m_active != 0, owner, format);
}
