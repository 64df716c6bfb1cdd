// The system font as a GDI font, made under the class word "SystemFont". Measuring goes through the screen
// DC; drawing through the viewport's text operations, which wrap the run at the area's width and align the
// block in the area. The GDI font exists from Load to Unload; its character set follows the machine's ANSI
// code page.
#pragma once

#include "platform/win32/Types.h"
#include "runtime/fonts/SystemFont.h"

#include <cstdint>

class Win32SystemFont : public SystemFont {
public:
    Win32SystemFont(const Vemo::String& name, Messenger* owner, Script* script);
    ~Win32SystemFont() override;

    Vemo::String GetClassName() const override;
    // Reads the font's own keys only. Refused without a script and once the GDI font exists.
    bool ReadScript() override;

    Vemo::Size& MeasureText(Vemo::Size& out, const Vemo::Size& bounds, const Vemo::String& text,
                            std::uint32_t first, std::uint32_t count) override;
    bool DrawText(Vemo::Viewport& target, const Vemo::Rect& area, VerticalAlignment vertical,
                  HorizontalAlignment horizontal, const Vemo::String& text, std::uint32_t first,
                  std::uint32_t count) override;
    bool DrawTextRange(Vemo::Viewport& target, const Vemo::Point& at, const Vemo::String& text,
                       std::uint32_t first, std::uint32_t count) override;
    // Creates the GDI font; neither argument matters to it.
    bool Load(const Vemo::PixelFormat* format, void* extra) override;
    void Unload() override;
    // A GDI font does not depend on the display format.
    bool Reload(const Vemo::PixelFormat* format) override;

    win32::HFONT GetFontHandle() const override;

    // The description Load hands to CreateFontIndirectA.
    win32::LOGFONTA MakeLogFont() const;
    // The character set GDI is asked for on a machine of that ANSI code page.
    static std::uint8_t CharSetOf(std::uint32_t codePage);

    // The class word "SystemFont" makes one.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    win32::HFONT m_font = nullptr;
};
