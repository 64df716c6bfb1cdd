#include "engines/font/win32/Win32FontContainerGraphic.h"

#include "engines/font/FontErrorCodes.h"
#include "engines/font/win32/ConfigureTextDC.h"
#include "engines/font/win32/Win32FontHandle.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/SystemPalette.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"

#include <algorithm>
#include <limits>
#include <span>

namespace Vemo {

namespace {

constexpr std::uint32_t kDefaultGraphicFlags = 3;
constexpr std::int64_t kPitchAlignment = 8;

struct SectionLayout {
    std::uint32_t bitsPerPixel;
    StandardPixelFormat format;
};

bool LayoutFor(std::uint32_t pixelFormat, SectionLayout& layout) {
    switch (pixelFormat) {
    case 0:
    case 7:
        layout = {32, StandardPixelFormat::Xrgb32};
        return true;
    case 1:
        layout = {1, StandardPixelFormat::Indexed1};
        return true;
    case 3:
        layout = {4, StandardPixelFormat::Indexed4};
        return true;
    case 4:
        layout = {8, StandardPixelFormat::Indexed8};
        return true;
    case 5:
        layout = {16, StandardPixelFormat::Rgb555};
        return true;
    case 6:
        layout = {24, StandardPixelFormat::Rgb24};
        return true;
    default:
        return false;
    }
}

// A section header followed by its colour table, as CreateDIBSection reads them.
struct SectionInfo {
    win32::BITMAPV4HEADER header{};
    win32::RGBQUAD colors[256]{};

    SectionInfo(std::int32_t width, std::int32_t height, std::uint32_t bitsPerPixel) {
        header.bV4Size = sizeof(win32::BITMAPV4HEADER);
        header.bV4Width = width;
        // Top-down rows.
        header.bV4Height = static_cast<win32::LONG>(-std::int64_t{height});
        header.bV4Planes = 1;
        header.bV4BitCount = static_cast<win32::WORD>(bitsPerPixel);
        header.bV4V4Compression = win32::BI_RGB;
        const std::span<const win32::RGBQUAD> table = win32::FixedPalette(bitsPerPixel);
        std::copy(table.begin(), table.end(), colors);
        header.bV4ClrUsed = static_cast<win32::DWORD>(table.size());
    }

    const win32::BITMAPINFO* Info() const { return reinterpret_cast<const win32::BITMAPINFO*>(this); }
};

// The row pitch every graphic engine takes over caller memory: the row's bytes rounded up to a multiple of 8.
// 0 for a width that makes no section, which CreateDIBSection then refuses.
std::int32_t PaddedPitch(std::int32_t width, DepthCode depth) {
    if (width <= 0) {
        return 0;
    }
    const std::int64_t bytes = BytesFromPixels(static_cast<std::uint32_t>(width), depth);
    const std::int64_t pitch = (bytes + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    return pitch <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(pitch) : 0;
}

win32::COLORREF ColorRefFrom(const TaggedColor& color) {
    return color.ConvertTo(1).Rgb();
}

// Draws the glyph with its pen where its ink starts at the cell's left edge, clipped to the cell: a glyph's
// ink can reach beyond its cell (accents hinted a row above the ascent, antialiasing past the black box),
// and in a container that ink would land in a neighbour's cell.
void DrawInCell(win32::HDC dc, const GlyphDescriptor& glyph) {
    const Rect& cell = glyph.box;
    const win32::HRGN clip = win32::CreateRectRgn(cell.left, cell.top, cell.right, cell.bottom);
    win32::SelectClipRgn(dc, clip);
    if (clip != nullptr) {
        win32::DeleteObject(clip);
    }
    const char character = static_cast<char>(glyph.code);
    win32::TextOutA(dc, cell.left - glyph.leftBearing, cell.top, &character, 1);
}

} // namespace

Win32FontContainerGraphic::Win32FontContainerGraphic() = default;

Win32FontContainerGraphic::~Win32FontContainerGraphic() {
    ReleaseHandle();
    if (m_dc == nullptr) {
        return;
    }
    if (m_previousBeforeFont != nullptr) {
        win32::SelectObject(m_dc, m_previousBeforeFont);
    }
    if (m_section != nullptr) {
        win32::SelectObject(m_dc, m_previousBeforeSection);
        win32::DeleteObject(m_section);
    }
    win32::DeleteDC(m_dc);
}

bool Win32FontContainerGraphic::OpenForFont(std::int32_t width, std::int32_t height,
                                            std::uint32_t pixelFormat, std::uint32_t graphicFlags,
                                            const PaletteReference& palette, std::uint32_t colorTag) {
    if (!palette.IsEmpty()) {
        RaiseError(Win32FontEngineErrPaletteReference);
        return false;
    }
    if (colorTag > 1) {
        RaiseError(Win32FontEngineErrColorTag);
        return false;
    }
    SectionLayout layout{};
    if (!LayoutFor(pixelFormat, layout)) {
        RaiseError(Win32FontEngineErrPixelFormat);
        return false;
    }
    const DepthCode depth = DepthFromBitsPerPixel(layout.bitsPerPixel);
    const std::int32_t pitch = PaddedPitch(width, depth);
    const std::int32_t sectionWidth =
        pitch != 0 ? static_cast<std::int32_t>(PixelsFromBytes(pitch, depth)) : width;
    const SectionInfo info(sectionWidth, height, layout.bitsPerPixel);

    const win32::HDC dc = win32::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        RaiseError(Win32FontEngineErrCreateDC);
        return false;
    }
    if (const ErrorCode failed = ConfigureTextDC(dc, TextDCUse::Container)) {
        RaiseError(failed);
        win32::DeleteDC(dc);
        return false;
    }
    void* pixels = nullptr;
    const win32::HBITMAP section =
        win32::CreateDIBSection(dc, info.Info(), win32::DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (section == nullptr) {
        RaiseError(Win32FontEngineErrCreateDIBSection);
        win32::DeleteDC(dc);
        return false;
    }
    const win32::HGDIOBJ previous = win32::SelectObject(dc, section);
    if (previous == nullptr) {
        RaiseError(Win32FontEngineErrSelectObject);
    }
    if (previous == nullptr ||
        !OpenOverSection(pixels, width, height, pitch, layout.bitsPerPixel, layout.format,
                         graphicFlags != 0 ? graphicFlags : kDefaultGraphicFlags)) {
        if (previous != nullptr) {
            win32::SelectObject(dc, previous);
        }
        win32::DeleteObject(section);
        win32::DeleteDC(dc);
        return false;
    }
    m_dc = dc;
    m_section = section;
    m_previousBeforeSection = previous;
    return true;
}

bool Win32FontContainerGraphic::OpenOverSection(void* pixels, std::int32_t width, std::int32_t height,
                                                std::int32_t pitch, std::uint32_t bitsPerPixel,
                                                StandardPixelFormat standard, std::uint32_t graphicFlags) {
    const PixelFormat format(standard);
    if (!Create(pixels, width, height, &format, pitch, static_cast<GraphicSystem::Memory>(graphicFlags), 1,
                kGraphicTypeId)) {
        return false;
    }
    const std::span<const win32::RGBQUAD> table = win32::FixedPalette(bitsPerPixel);
    for (std::uint32_t index = 0; index < table.size(); ++index) {
        const win32::RGBQUAD& entry = table[index];
        if (!SetPaletteEntryImpl(PixelValue(entry.rgbRed, entry.rgbGreen, entry.rgbBlue), index)) {
            ReleaseHandle();
            return false;
        }
    }
    return true;
}

bool Win32FontContainerGraphic::AttachFont(FontHandle* font) {
    auto* gdiFont = dynamic_cast<Win32FontHandle*>(font);
    if (gdiFont == nullptr || gdiFont->GetEngine()->GetTypeId() != kWin32FontTypeId) {
        RaiseError(Win32FontEngineErrForeignFont);
        return false;
    }
    const Size size = GetSize();
    const Size needed = font->GetContainerSize(static_cast<std::uint32_t>(size.width),
                                               static_cast<std::uint32_t>(size.height));
    if (needed.width == 0 && needed.height == 0) {
        RaiseError(Win32FontEngineErrFontDoesNotFit);
        return false;
    }
    if (GetFont() != nullptr) {
        DetachFont();
    }
    const win32::HBRUSH brush = win32::CreateSolidBrush(ColorRefFrom(*font->GetBackgroundColor()));
    if (brush == nullptr) {
        RaiseError(Win32FontEngineErrCreateSolidBrush);
        return false;
    }
    const win32::RECT whole{0, 0, size.width, size.height};
    const bool filled = win32::FillRect(m_dc, &whole, brush) != 0;
    const bool deleted = win32::DeleteObject(brush) != 0;
    if (!filled || !deleted) {
        RaiseError(filled ? Win32FontEngineErrDeleteObject : Win32FontEngineErrFillRect);
        return false;
    }
    // The first glyph's cell starts at (0, 0): read the background there before a glyph can cover it.
    const Color background = GetPixelColor(Point(0, 0));
    if (win32::SetTextColor(m_dc, ColorRefFrom(*font->GetForegroundColor())) == win32::CLR_INVALID) {
        RaiseError(Win32FontEngineErrSetTextColor);
        return false;
    }
    m_previousBeforeFont = win32::SelectObject(m_dc, gdiFont->GetGdiFont());
    if (m_previousBeforeFont == nullptr) {
        RaiseError(Win32FontEngineErrSelectObject);
        return false;
    }
    LayOut(*gdiFont);
    SetColorKey(background);
    SetColorKeyEnabled(false);
    return FontContainerGraphic::AttachFont(font);
}

void Win32FontContainerGraphic::LayOut(Win32FontHandle& font) {
    FontDescription& description = font.EditDescription();
    const std::int32_t width = GetWidth();
    const std::int32_t line = description.lineHeight;
    std::int32_t x = 0;
    std::int32_t y = 0;
    GlyphDescriptor* previous = nullptr;
    description.VisitGlyphs([&](GlyphDescriptor& glyph) {
        if (x + glyph.blackWidth > width) {
            x = 0;
            y += line;
        }
        glyph.box = Rect(x, y, x + glyph.blackWidth, y + line);
        DrawInCell(m_dc, glyph);
        if (previous != nullptr) {
            previous->advance = Point(x - previous->box.left, y - previous->box.top);
        }
        previous = &glyph;
        x += glyph.blackWidth;
    });
    win32::SelectClipRgn(m_dc, nullptr);
}

bool Win32FontContainerGraphic::DetachFont() {
    if (auto* font = dynamic_cast<Win32FontHandle*>(GetFont())) {
        const GlyphTable& pristine = font->GetPristineGlyphs();
        font->EditDescription().VisitGlyphs([&pristine](GlyphDescriptor& glyph) {
            const auto opened = pristine.Find(glyph);
            if (opened != pristine.end()) {
                glyph.box = opened->box;
                glyph.advance = opened->advance;
            }
        });
        if (m_previousBeforeFont != nullptr) {
            win32::SelectObject(m_dc, m_previousBeforeFont);
            m_previousBeforeFont = nullptr;
        }
    }
    return FontContainerGraphic::DetachFont();
}

} // namespace Vemo
