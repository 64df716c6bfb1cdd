#include "engines/font/FontContainerHandle.h"

#include "engines/font/FontContainerGraphic.h"
#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontHandle.h"
#include "engines/image/effects/RasterOp.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"

#include <algorithm>
#include <vector>

namespace Vemo {

namespace {

using Horizontal = GraphicSystem::HorizontalAlignment;
using Vertical = GraphicSystem::VerticalAlignment;

std::uint32_t ByteAt(const String& text, std::uint32_t index) {
    return static_cast<unsigned char>(*text.At(index));
}

// Space, tab, line feed, vertical tab, form feed and carriage return; never a byte from 0x80 on.
bool IsWhiteSpace(std::uint32_t code) {
    return code == ' ' || (code >= '\t' && code <= '\r');
}

std::int64_t HalfUnsigned(std::int64_t value) {
    return static_cast<std::uint32_t>(value) / 2;
}

} // namespace

FontContainerHandle::FontContainerHandle(ResourceEngine* engine, FontContainerGraphic* graphic)
    : ResourceHandle(engine), m_graphic(graphic) {}

FontContainerHandle::~FontContainerHandle() {
    m_graphic.reset();
}

const FontDescription* FontContainerHandle::Description() {
    FontHandle* font = GetFont();
    if (font == nullptr) {
        RaiseError(FontEngineErrNoFont);
        return nullptr;
    }
    return font->GetDescription();
}

Size FontContainerHandle::MeasureText(const String& text, std::uint32_t first, std::uint32_t count,
                                      const TextStyle* style) {
    const FontDescription* font = Description();
    if (font == nullptr) {
        return Size(0, 0);
    }
    const TextStyle spacing = style != nullptr ? *style : TextStyle();
    std::int64_t width = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t code = ByteAt(text, first + i);
        const GlyphDescriptor* glyph = font->FindGlyph(code);
        if (glyph == nullptr) {
            continue;
        }
        if (i > 0) {
            width += glyph->leftBearing + std::int64_t{spacing.characterSpacing};
        }
        width += glyph->blackWidth;
        if (i < count - 1) {
            width += glyph->rightBearing + std::int64_t{font->FindKerning(code, ByteAt(text, first + i + 1))};
        }
    }
    return Size(static_cast<std::int32_t>(width), font->lineHeight);
}

Size FontContainerHandle::MeasureText(const String& text, const TextStyle* style) {
    return MeasureText(text, 0, text.Length(), style);
}

std::uint32_t FontContainerHandle::FitText(const String& text, std::uint32_t first, std::uint32_t maxWidth,
                                           const TextStyle* style) {
    const FontDescription* font = Description();
    if (font == nullptr) {
        return first;
    }
    const TextStyle spacing = style != nullptr ? *style : TextStyle();
    std::int64_t width = 0;
    std::uint32_t fitted = 0;
    for (std::uint32_t index = first; index < text.Length(); ++index, ++fitted) {
        const std::uint32_t code = ByteAt(text, index);
        const GlyphDescriptor* glyph = font->FindGlyph(code);
        if (glyph == nullptr) {
            continue;
        }
        if (fitted > 0) {
            const std::uint32_t previousCode = ByteAt(text, index - 1);
            if (const GlyphDescriptor* previous = font->FindGlyph(previousCode)) {
                width += previous->rightBearing + std::int64_t{font->FindKerning(previousCode, code)};
            }
            width += glyph->leftBearing + std::int64_t{spacing.characterSpacing};
        }
        width += glyph->blackWidth;
        if (static_cast<std::uint32_t>(width) > maxWidth) {
            break;
        }
    }
    return first + fitted - 1;
}

bool FontContainerHandle::DrawTextLine(const String& text, std::uint32_t first, std::uint32_t count,
                                       Graphic* target, const Point* point, const TextAlignment* alignment,
                                       const TextStyle* style) {
    const FontDescription* font = Description();
    if (font == nullptr || target == nullptr || point == nullptr) {
        return false;
    }
    const TextStyle spacing = style != nullptr ? *style : TextStyle();
    const TextAlignment align = alignment != nullptr ? *alignment : TextAlignment();
    std::int64_t x = point->x;
    std::int64_t y = point->y;
    if (align.horizontal == Horizontal::Right) {
        x -= MeasureText(text, first, count, &spacing).width;
    } else if (align.horizontal == Horizontal::Center) {
        x -= MeasureText(text, first, count, &spacing).width / 2;
    }
    if (align.vertical == Vertical::Bottom) {
        y -= font->lineHeight;
    } else if (align.vertical == Vertical::Center) {
        y -= HalfUnsigned(font->lineHeight);
    } else if (align.vertical == kTextBaseline) {
        y -= font->ascent;
    }
    const Size targetSize = target->GetSize();
    if (y > targetSize.height) {
        return true;
    }
    m_graphic->SetColorKeyEnabled(spacing.transparent);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t code = ByteAt(text, first + i);
        const GlyphDescriptor* glyph = font->FindGlyph(code);
        if (glyph == nullptr) {
            continue;
        }
        const std::int64_t lead = i > 0 ? glyph->leftBearing + std::int64_t{spacing.characterSpacing} : 0;
        std::int64_t advance = glyph->blackWidth;
        if (i < count - 1) {
            advance +=
                glyph->rightBearing + std::int64_t{font->FindKerning(code, ByteAt(text, first + i + 1))};
        }
        if (x + lead + advance < 0) {
            x += lead + advance;
            continue;
        }
        if (x > targetSize.width) {
            break;
        }
        x += lead;
        target->Blit(Point(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)), *m_graphic,
                     glyph->box, static_cast<std::uint32_t>(RasterOp::Copy));
        x += advance;
    }
    return true;
}

bool FontContainerHandle::DrawTextLine(const String& text, Graphic* target, const Point* point,
                                       const TextAlignment* alignment, const TextStyle* style) {
    return DrawTextLine(text, 0, text.Length(), target, point, alignment, style);
}

std::uint32_t FontContainerHandle::BreakLine(const String& text, std::uint32_t start, std::uint32_t end,
                                             std::uint32_t width, const TextStyle* style) {
    const std::uint32_t fit = FitText(text, start, width, style);
    if (fit + 1 == start) {
        // Not even the first character fits: it makes a line of its own, clipped to the box.
        return start;
    }
    if (fit + 1 >= end || IsWhiteSpace(ByteAt(text, fit + 1))) {
        return std::min(fit, end - 1);
    }
    std::uint32_t space = fit;
    while (!IsWhiteSpace(ByteAt(text, space))) {
        if (space == start) {
            // A word longer than the line is cut where it stops fitting.
            return fit;
        }
        --space;
    }
    std::uint32_t last = space;
    while (last > start && IsWhiteSpace(ByteAt(text, last))) {
        --last;
    }
    // White space that runs back to the line's first index leaves no word before it to end the line on.
    return IsWhiteSpace(ByteAt(text, last)) ? fit : last;
}

bool FontContainerHandle::DrawTextBox(const String& text, std::uint32_t first, std::uint32_t count,
                                      Graphic* target, const Rect* box, const TextAlignment* alignment,
                                      const TextStyle* style) {
    const FontDescription* font = Description();
    if (font == nullptr || target == nullptr || box == nullptr) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    const TextStyle spacing = style != nullptr ? *style : TextStyle();
    const TextAlignment align = alignment != nullptr ? *alignment : TextAlignment();
    // A range that runs past 2^32 - 1 throws at the text's end before its own end matters.
    const std::uint32_t end = first + count < first ? 0xFFFFFFFF : first + count;
    const auto width = static_cast<std::uint32_t>(std::int64_t{box->right} - box->left);

    std::vector<std::pair<std::uint32_t, std::uint32_t>> lines;
    for (std::uint32_t start = first;;) {
        const std::uint32_t last = BreakLine(text, start, end, width, &spacing);
        lines.emplace_back(start, last);
        start = last + 1;
        while (start < end && IsWhiteSpace(ByteAt(text, start))) {
            ++start;
        }
        if (start >= end) {
            break;
        }
    }

    const std::int64_t lineHeight = font->lineHeight;
    const std::int64_t pitch = lineHeight + font->externalLeading + spacing.lineSpacing;
    const std::int64_t totalHeight = static_cast<std::int64_t>(lines.size() - 1) * pitch + lineHeight;
    std::int64_t x = 0;
    if (align.horizontal == Horizontal::Left) {
        x = box->left;
    } else if (align.horizontal == Horizontal::Right) {
        x = box->right;
    } else if (align.horizontal == Horizontal::Center || align.horizontal == Horizontal::Justified) {
        x = (std::int64_t{box->left} + box->right) / 2;
    }
    std::int64_t y = 0;
    if (align.vertical == Vertical::Top) {
        y = box->top;
    } else if (align.vertical == Vertical::Bottom) {
        y = box->bottom - totalHeight + lineHeight;
    } else if (align.vertical == Vertical::Center || align.vertical == kTextBaseline) {
        y = (std::int64_t{box->top} + box->bottom) / 2 - HalfUnsigned(totalHeight) + HalfUnsigned(lineHeight);
    }

    const Rect savedClip = target->GetClipRect();
    target->SetClipRect(*box);
    for (const auto& [start, last] : lines) {
        const Point at(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
        DrawTextLine(text, start, last - start + 1, target, &at, &align, &spacing);
        y += pitch;
    }
    target->SetClipRect(savedClip);
    return true;
}

bool FontContainerHandle::DrawTextBox(const String& text, Graphic* target, const Rect* box,
                                      const TextAlignment* alignment, const TextStyle* style) {
    return DrawTextBox(text, 0, text.Length(), target, box, alignment, style);
}

bool FontContainerHandle::ReservedOperation(std::uint32_t, std::uint32_t) {
    return false;
}

bool FontContainerHandle::AttachFont(FontHandle* font) {
    if (font == nullptr || font->GetEngine()->GetTypeId() != GetEngine()->GetTypeId()) {
        RaiseError(FontSystemErrForeignFont);
        return false;
    }
    if (m_font != nullptr) {
        DetachFont();
    }
    if (!m_graphic->AttachFont(font)) {
        RaiseError(FontSystemErrGraphicRefusedFont);
        return false;
    }
    m_font = font;
    return true;
}

bool FontContainerHandle::DetachFont() {
    m_font = nullptr;
    return m_graphic->DetachFont();
}

FontHandle* FontContainerHandle::GetFont() {
    return m_font;
}

} // namespace Vemo
