// A text-bearing control's font: the font's name, and while the control is active the Font handle that
// keeps the cached font loaded. Controls call SetActive(true) from OnActivated and SetActive(false) from
// OnDeactivated; SetFont swaps the font and keeps the activity.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/String.h"

#include <cstdint>

class Control;
class Font;

namespace Vemo {
struct PixelFormat;
} // namespace Vemo

class FontHelper {
public:
    FontHelper() = default;
    FontHelper(const FontHelper&) = delete;
    FontHelper& operator=(const FontHelper&) = delete;
    // Deletes the Font, which releases the cached font.
    virtual ~FontHelper();

    virtual const Vemo::String& GetFontName() const;
    // Null while no font is held.
    virtual Font* GetFont() const;
    // A name equal to the current one without regard to case, while a font is held, changes nothing.
    // Otherwise the name is stored, the owner invalidated when shown, and an active helper loads the font.
    virtual bool SetFont(const Vemo::String& name, Control* owner, const Vemo::PixelFormat* format);

    // Active: loads the named font for the format (the owner's manager's display format when none is
    // given); an empty name or no format leaves it without a font and succeeds. Inactive: lets the font go.
    bool SetActive(bool active, Control* owner, const Vemo::PixelFormat* format);
    bool IsActive() const { return m_active != 0; }

private:
    Vemo::String m_fontName;
    Font* m_font = nullptr;
    std::uint8_t m_active = 0;
};
