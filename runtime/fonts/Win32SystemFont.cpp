#include "runtime/fonts/Win32SystemFont.h"

#include "engines/graphics/Viewport.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/gdi/Gdi.h"
#include "resources/error/Error.h"
#include "script/MessengerFactory.h"

#include <algorithm>
#include <cstring>

namespace {

const MessengerFactory::Registrar g_systemFontRegistrar(Win32SystemFont::ClassWord(),
                                                        &Win32SystemFont::Create);

constexpr win32::UINT kMeasureFormat = win32::DT_CALCRECT | win32::DT_NOPREFIX | win32::DT_EDITCONTROL;

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

// Text is drawn without a background; the colour is given only because the operations take one.
const Vemo::Color& Black() {
    static const Vemo::Color black(Vemo::PixelValue(0, 0, 0), 1);
    return black;
}

} // namespace

Win32SystemFont::Win32SystemFont(const Vemo::String& name, Messenger* owner, Script* script)
    : SystemFont(name, owner, script) {}

Win32SystemFont::~Win32SystemFont() {
    Unload();
}

const Vemo::String& Win32SystemFont::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("SystemFont");
    return *word;
}

Vemo::String Win32SystemFont::GetClassName() const {
    return Vemo::String("Win32SystemFont");
}

Messenger* Win32SystemFont::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<Win32SystemFont>(name, owner, script);
}

bool Win32SystemFont::ReadScript() {
    if (m_font != nullptr) {
        return Fail();
    }
    return ReadSettings();
}

std::uint8_t Win32SystemFont::CharSetOf(std::uint32_t codePage) {
    struct Entry {
        std::uint32_t codePage;
        std::uint8_t charSet;
    };
    static constexpr Entry kCharSets[] = {
        {874, 222},  // THAI_CHARSET
        {932, 128},  // SHIFTJIS_CHARSET
        {936, 134},  // GB2312_CHARSET
        {949, 129},  // HANGUL_CHARSET
        {950, 136},  // CHINESEBIG5_CHARSET
        {1250, 238}, // EASTEUROPE_CHARSET
        {1251, 204}, // RUSSIAN_CHARSET
        {1252, 0},   // ANSI_CHARSET
        {1253, 161}, // GREEK_CHARSET
        {1254, 162}, // TURKISH_CHARSET
        {1255, 177}, // HEBREW_CHARSET
        {1256, 178}, // ARABIC_CHARSET
        {1257, 186}, // BALTIC_CHARSET
    };
    for (const Entry& entry : kCharSets) {
        if (entry.codePage == codePage) {
            return entry.charSet;
        }
    }
    return win32::DEFAULT_CHARSET;
}

win32::LOGFONTA Win32SystemFont::MakeLogFont() const {
    win32::LOGFONTA logFont{};
    logFont.lfHeight = m_size;
    logFont.lfWeight = m_bold != 0 ? win32::FW_BOLD : 400;
    logFont.lfItalic = m_italic != 0 ? 1 : 0;
    logFont.lfCharSet = CharSetOf(win32::GetACP());
    logFont.lfQuality = win32::ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = win32::VARIABLE_PITCH | win32::FF_SWISS;
    // A longer face name is cut to what the field holds; the font keeps the whole name.
    const std::size_t length = std::min<std::size_t>(m_name.Length(), win32::LF_FACESIZE - 1);
    std::memcpy(logFont.lfFaceName, m_name.CStr(), length);
    logFont.lfFaceName[length] = '\0';
    return logFont;
}

bool Win32SystemFont::Load(const Vemo::PixelFormat*, void*) {
    if (m_font != nullptr) {
        return true;
    }
    const win32::LOGFONTA logFont = MakeLogFont();
    m_font = win32::CreateFontIndirectA(&logFont);
    return m_font != nullptr || Fail();
}

void Win32SystemFont::Unload() {
    if (m_font != nullptr) {
        win32::DeleteObject(m_font);
        m_font = nullptr;
    }
}

bool Win32SystemFont::Reload(const Vemo::PixelFormat*) {
    return true;
}

win32::HFONT Win32SystemFont::GetFontHandle() const {
    return m_font;
}

Vemo::Size& Win32SystemFont::MeasureText(Vemo::Size& out, const Vemo::Size& bounds, const Vemo::String& text,
                                         std::uint32_t first, std::uint32_t count) {
    out = Vemo::Size(0, 0);
    if (m_font == nullptr || first >= text.Length()) {
        return out;
    }
    const std::uint32_t length = std::min(count, text.Length() - first);
    const win32::HDC screen = win32::GetDC(nullptr);
    if (screen == nullptr) {
        return out;
    }
    const win32::HGDIOBJ previous = win32::SelectObject(screen, m_font);
    win32::RECT area{0, 0, bounds.width, bounds.height};
    const win32::UINT format = kMeasureFormat | (bounds.width > 0 ? win32::DT_WORDBREAK : 0);
    win32::DrawTextA(screen, text.CStr() + first, static_cast<int>(length), &area, format);
    if (previous != nullptr) {
        win32::SelectObject(screen, previous);
    }
    win32::ReleaseDC(nullptr, screen);
    out = Vemo::Size(area.right - area.left, area.bottom - area.top);
    return out;
}

bool Win32SystemFont::DrawText(Vemo::Viewport& target, const Vemo::Rect& area, VerticalAlignment vertical,
                               HorizontalAlignment horizontal, const Vemo::String& text, std::uint32_t first,
                               std::uint32_t count) {
    return target.DrawText(area, vertical, horizontal, text, first, count, m_font, m_color, Black(), true,
                           true);
}

bool Win32SystemFont::DrawTextRange(Vemo::Viewport& target, const Vemo::Point& at, const Vemo::String& text,
                                    std::uint32_t first, std::uint32_t count) {
    return target.DrawText(Vemo::Rect(at.x, at.y, at.x, at.y), text, first, count, m_font, m_color, Black(),
                           true, true);
}
