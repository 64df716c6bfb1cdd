#include "engines/font/win32/Win32FontEngine.h"

#include "engines/font/FontErrorCodes.h"
#include "engines/font/win32/ConfigureTextDC.h"
#include "engines/font/win32/Win32FontContainerGraphic.h"
#include "engines/font/win32/Win32FontContainerHandle.h"
#include "engines/font/win32/Win32FontHandle.h"
#include "engines/font/win32/Win32GdiWrappers.h"
#include "platform/win32/gdi/Gdi.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

#include <memory>
#include <vector>

namespace Vemo {

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kBoldWeightAbove = 500;
constexpr std::uint32_t kContainerColorTag = 1;
// 16 bits per pixel.
constexpr std::uint32_t kContainerPixelFormat = 5;

constexpr win32::MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

FontCharacterSet CharacterSetFrom(win32::BYTE charSet) {
    switch (charSet) {
    case 0:
        return FontCharacterSet::Ansi;
    case 2:
        return FontCharacterSet::Symbol;
    case 128:
        return FontCharacterSet::ShiftJis;
    case 136:
        return FontCharacterSet::ChineseBig5;
    case 161:
        return FontCharacterSet::Greek;
    case 162:
        return FontCharacterSet::Turkish;
    case 163:
        return FontCharacterSet::Vietnamese;
    case 177:
        return FontCharacterSet::Hebrew;
    case 178:
        return FontCharacterSet::Arabic;
    case 186:
        return FontCharacterSet::Baltic;
    case 204:
        return FontCharacterSet::Cyrillic;
    case 222:
        return FontCharacterSet::Thai;
    case 238:
        return FontCharacterSet::EastEurope;
    default:
        return FontCharacterSet::Other;
    }
}

// Points at the screen's resolution, or pixels as they are.
int DevicePixels(win32::HDC dc, int value, bool pixelUnits, int axis) {
    return pixelUnits ? value : win32::MulDiv(value, win32::GetDeviceCaps(dc, axis), kPointsPerInch);
}

} // namespace

Win32FontEngine::Win32FontEngine() : FontEngine(kWin32FontTypeId, "Win32 Font Engine") {}

Win32FontEngine::~Win32FontEngine() = default;

Win32FontEngine* Win32FontEngine::Create(Win32FontEngine* engine) {
    return CreateThrough(
        engine, [] { return new Win32FontEngine; },
        [](Win32FontEngine* made) { return FontEngine::Create(made); });
}

FontHandle* Win32FontEngine::OpenFromPath(const Path&) {
    RaiseError(ResourceSystemErrNotSupported);
    return nullptr;
}

FontHandle* Win32FontEngine::OpenFromDescriptionShared(const FontDescription&, std::uint32_t) {
    RaiseError(ResourceSystemErrNotSupported);
    return nullptr;
}

FontHandle* Win32FontEngine::OpenFromDescription(const FontDescription&, std::uint32_t) {
    RaiseError(ResourceSystemErrNotSupported);
    return nullptr;
}

FontHandle* Win32FontEngine::OpenByAttributes(const String& name, std::uint32_t size, std::int32_t width,
                                              bool cellHeight, bool pixelUnits, const FontStyle& style,
                                              const TaggedColor& foreground, const TaggedColor& background) {
    auto font = std::make_unique<Win32FontHandle>(this);
    const win32::HDC dc = win32::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        RaiseError(Win32FontEngineErrCreateDC);
        return nullptr;
    }
    if (const ErrorCode failed = ConfigureTextDC(dc, TextDCUse::Font)) {
        RaiseError(failed);
        win32::DeleteDC(dc);
        return nullptr;
    }
    int height = DevicePixels(dc, static_cast<int>(size), pixelUnits, win32::LOGPIXELSY);
    if (!cellHeight) {
        height = -height;
    }
    const int deviceWidth = width == 0 ? 0 : DevicePixels(dc, width, pixelUnits, win32::LOGPIXELSX);
    const win32::HFONT gdiFont = Win32CreateFont(
        height, deviceWidth, 0, 0, style.bold ? win32::FW_BOLD : win32::FW_NORMAL, style.italic ? 1 : 0,
        style.underline ? 1 : 0, 0, win32::DEFAULT_CHARSET, win32::OUT_DEFAULT_PRECIS,
        win32::CLIP_DEFAULT_PRECIS,
        style.antialiased ? win32::ANTIALIASED_QUALITY : win32::NONANTIALIASED_QUALITY, 0, name);
    if (gdiFont == nullptr) {
        RaiseError(Win32FontEngineErrCreateFont);
        win32::DeleteDC(dc);
        return nullptr;
    }
    const win32::HGDIOBJ previous = win32::SelectObject(dc, gdiFont);
    if (previous == nullptr) {
        RaiseError(Win32FontEngineErrSelectObject);
        win32::DeleteObject(gdiFont);
        win32::DeleteDC(dc);
        return nullptr;
    }
    font->SetDeviceContext(dc);
    font->SetFont(gdiFont, previous);
    if (const ErrorCode failed = ReadFont(*font, name, style, foreground, background)) {
        RaiseError(failed);
        ReleaseGdiObjects(*font, false);
        return nullptr;
    }
    return font.release();
}

ErrorCode Win32FontEngine::ReadFont(Win32FontHandle& font, const String& name, const FontStyle& style,
                                    const TaggedColor& foreground, const TaggedColor& background) {
    win32::TEXTMETRICA metrics{};
    if (!Win32GetTextMetrics(font.GetDeviceContext(), &metrics)) {
        return Win32FontEngineErrGetTextMetrics;
    }
    FontDescription& description = font.EditDescription();
    description.name = name;
    description.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    description.ascent = metrics.tmAscent;
    description.descent = metrics.tmDescent;
    description.internalLeading = metrics.tmInternalLeading;
    description.externalLeading = metrics.tmExternalLeading;
    description.averageWidth = metrics.tmAveCharWidth;
    description.maximumWidth = metrics.tmMaxCharWidth;
    // GDI sets the bit for a proportional face.
    description.fixedPitch = (metrics.tmPitchAndFamily & win32::TMPF_FIXED_PITCH) == 0;
    description.style.bold = metrics.tmWeight > kBoldWeightAbove;
    description.style.italic = metrics.tmItalic != 0;
    description.style.underline = metrics.tmUnderlined != 0;
    description.style.extra = style.extra;
    description.characterSet = CharacterSetFrom(metrics.tmCharSet);
    description.firstCharacter = metrics.tmFirstChar;
    description.lastCharacter = metrics.tmLastChar;
    description.containerColorTag = kContainerColorTag;
    description.containerPixelFormat = kContainerPixelFormat;
    description.foreground = foreground;
    description.background = background;
    if (const ErrorCode failed = ReadGlyphs(font)) {
        return failed;
    }
    return ReadKerningPairs(font);
}

ErrorCode Win32FontEngine::ReadGlyphs(Win32FontHandle& font) {
    const win32::HDC dc = font.GetDeviceContext();
    const FontDescription& description = font.EditDescription();
    for (std::uint32_t code = description.firstCharacter; code <= description.lastCharacter; ++code) {
        win32::GLYPHMETRICS metrics{};
        if (Win32GetGlyphOutline(dc, code, win32::GGO_METRICS, &metrics, 0, nullptr, &kIdentity) ==
            win32::GDI_ERROR) {
            return Win32FontEngineErrGetGlyphOutline;
        }
        win32::ABC widths{};
        if (!Win32GetCharABCWidths(dc, code, code, &widths)) {
            return Win32FontEngineErrGetCharABCWidths;
        }
        GlyphDescriptor glyph;
        glyph.code = code;
        glyph.leftBearing = widths.abcA;
        glyph.rightBearing = widths.abcC;
        glyph.blackWidth = static_cast<std::int32_t>(widths.abcB);
        const win32::POINT origin = metrics.gmptGlyphOrigin;
        glyph.box = Rect(origin.x, origin.y, origin.x + static_cast<std::int32_t>(metrics.gmBlackBoxX),
                         origin.y + static_cast<std::int32_t>(metrics.gmBlackBoxY));
        glyph.advance = Point(metrics.gmCellIncX, metrics.gmCellIncY);
        font.AddGlyph(glyph);
    }
    return 0;
}

ErrorCode Win32FontEngine::ReadKerningPairs(Win32FontHandle& font) {
    const win32::HDC dc = font.GetDeviceContext();
    const win32::DWORD count = Win32GetKerningPairs(dc, 0, nullptr);
    if (count == 0) {
        return 0;
    }
    std::vector<win32::KERNINGPAIR> pairs(count);
    if (Win32GetKerningPairs(dc, count, pairs.data()) == 0) {
        return Win32FontEngineErrGetKerningPairs;
    }
    for (const win32::KERNINGPAIR& pair : pairs) {
        font.EditDescription().kerningPairs.Insert(KerningPair{pair.wFirst, pair.wSecond, pair.iKernAmount});
    }
    return 0;
}

bool Win32FontEngine::ReleaseGdiObjects(Win32FontHandle& font, bool report) {
    bool released = true;
    auto step = [&](bool ok, ErrorCode code) {
        if (!ok) {
            released = false;
            if (report) {
                RaiseError(code);
            }
        }
    };
    step(win32::SelectObject(font.GetDeviceContext(), font.GetPreviousObject()) != nullptr,
         Win32FontEngineErrSelectObject);
    step(win32::DeleteObject(font.GetGdiFont()) != 0, Win32FontEngineErrDeleteObject);
    step(win32::DeleteDC(font.GetDeviceContext()) != 0, Win32FontEngineErrDeleteDC);
    return released;
}

bool Win32FontEngine::CloseFont(FontHandle* font) {
    auto* gdiFont = dynamic_cast<Win32FontHandle*>(font);
    if (gdiFont == nullptr) {
        return FontEngine::CloseFont(font);
    }
    const bool released = ReleaseGdiObjects(*gdiFont, true);
    delete gdiFont;
    return released;
}

FontContainerHandle* Win32FontEngine::OpenContainer(const Size& size, std::uint32_t pixelFormat,
                                                    std::uint32_t graphicFlags, std::uint32_t colorTag) {
    auto graphic = std::make_unique<Win32FontContainerGraphic>();
    if (!graphic->OpenForFont(size.width, size.height, pixelFormat, graphicFlags, PaletteReference(),
                              colorTag)) {
        RaiseError(Win32FontEngineErrOpenContainer);
        return nullptr;
    }
    return new Win32FontContainerHandle(this, graphic.release());
}

} // namespace Vemo
