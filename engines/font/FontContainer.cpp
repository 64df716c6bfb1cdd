#include "engines/font/FontContainer.h"

#include "engines/font/Font.h"
#include "engines/font/FontContainerHandle.h"
#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontHandle.h"
#include "engines/font/FontSearchCriterion.h"
#include "engines/font/ForwardToHandle.h"
#include "engines/font/OpenFontResource.h"
#include "engines/graphics/Graphic.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainer.h"

namespace Vemo {

namespace {

const String& FrontEndName() {
    static const String name("Font Container");
    return name;
}

template <class Result, class Call>
Result Forward(FontContainerHandle* handle, Result fallback, Call call) {
    return ForwardToHandle(handle, FrontEndName(), fallback, call);
}

} // namespace

FontContainer::FontContainer() = default;

FontContainer::~FontContainer() {
    if (m_font != nullptr) {
        LetGoOf(*m_font);
    }
    ReleaseHandle();
}

void FontContainer::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_containerHandle = dynamic_cast<FontContainerHandle*>(handle);
}

bool FontContainer::Create(std::int32_t width, std::int32_t height, std::uint32_t pixelFormat,
                           std::uint32_t graphicFlags, std::uint32_t colorTag, std::uint32_t engineId) {
    const Size size(width, height);
    FontSearchCriterion criterion(FontSearchCriterion::kContainer, engineId);
    criterion.m_containerSize = &size;
    criterion.m_pixelFormat = &pixelFormat;
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_colorTag = &colorTag;
    return OpenFontResource(*this, criterion);
}

bool FontContainer::OpenLike(const Graphic& graphic, std::uint32_t engineId) {
    if (RefuseIfOpen(*this)) {
        return false;
    }
    const Size size = graphic.GetSize();
    return Create(size.width, size.height, graphic.GetDepth(), graphic.GetPlacement(), graphic.GetColorTag(),
                  engineId);
}

bool FontContainer::OpenLike(Image& image, std::uint32_t engineId) {
    if (RefuseIfOpen(*this)) {
        return false;
    }
    ImageContainer decoded;
    Graphic graphic;
    if (!decoded.Open(image, static_cast<std::uint32_t>(GraphicSystem::Memory::System)) ||
        !decoded.SelectImage(image) || !image.Decode(false, nullptr) || !decoded.GetGraphic(graphic)) {
        RaiseError(FontSystemErrImageDecodeFailed);
        return false;
    }
    return OpenLike(graphic, engineId);
}

bool FontContainer::OpenForFont(const Font* font, std::uint32_t graphicFlags, std::uint32_t engineId) {
    if (RefuseIfOpen(*this)) {
        return false;
    }
    const Font* chosen = font != nullptr ? font : m_font;
    if (chosen == nullptr || chosen->GetFontHandle() == nullptr) {
        RaiseError(FontSystemErrNoFontHandle);
        return false;
    }
    const Size size = chosen->GetContainerSize(0, 0);
    const std::uint32_t pixelFormat = chosen->GetContainerPixelFormat();
    const std::uint32_t colorTag = chosen->GetContainerColorTag();
    FontSearchCriterion criterion(FontSearchCriterion::kContainer, engineId);
    criterion.m_font = chosen->GetFontHandle();
    criterion.m_containerSize = &size;
    criterion.m_pixelFormat = &pixelFormat;
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_colorTag = &colorTag;
    return OpenFontResource(*this, criterion);
}

bool FontContainer::AttachFont(Font* font) {
    if (m_containerHandle == nullptr) {
        RaiseError(ResourceSystemErrNoHandle, &FrontEndName());
        return false;
    }
    if (m_font != nullptr) {
        DetachFont();
    }
    Font* chosen = font != nullptr ? font : m_font;
    FontHandle* fontHandle = chosen != nullptr ? chosen->GetFontHandle() : nullptr;
    if (fontHandle == nullptr) {
        RaiseError(FontSystemErrNoFontHandle);
        return false;
    }
    // A font handle shared by two Fonts is in a container as soon as one of them is.
    if (chosen->m_container != nullptr || fontHandle->GetContainer() != nullptr) {
        RaiseError(FontSystemErrFontInContainer);
        return false;
    }
    if (!m_containerHandle->AttachFont(fontHandle)) {
        RaiseError(FontSystemErrContainerRefusedFont);
        return false;
    }
    if (!fontHandle->AttachContainer(m_containerHandle)) {
        RaiseError(FontSystemErrFontRefusedContainer);
        m_containerHandle->DetachFont();
        return false;
    }
    m_font = chosen;
    chosen->m_container = this;
    return true;
}

bool FontContainer::DetachFont() {
    if (m_font == nullptr) {
        return true;
    }
    FontHandle* fontHandle = m_font->GetFontHandle();
    if (fontHandle == nullptr) {
        RaiseError(FontSystemErrNoFontHandle);
        return false;
    }
    if (m_font->m_container != this) {
        RaiseError(FontSystemErrNotLinkedBack);
        return false;
    }
    Unlink();
    bool detached = true;
    if (!fontHandle->DetachContainer()) {
        RaiseError(FontSystemErrFontDetachFailed);
        detached = false;
    }
    if (m_containerHandle != nullptr && !m_containerHandle->DetachFont()) {
        RaiseError(FontSystemErrContainerDetachFailed);
        return false;
    }
    return detached;
}

void FontContainer::LetGoOf(Font& font) {
    if (m_font != &font) {
        return;
    }
    if (m_containerHandle != nullptr && font.GetFontHandle() != nullptr) {
        DetachFont();
    }
    Unlink();
}

void FontContainer::Unlink() {
    if (m_font != nullptr && m_font->m_container == this) {
        m_font->m_container = nullptr;
    }
    m_font = nullptr;
}

Size FontContainer::MeasureText(const String& text, const TextStyle* style) const {
    return Forward<Size>(m_containerHandle, Size(0, 0),
                         [&](FontContainerHandle& h) { return h.MeasureText(text, style); });
}

Size FontContainer::MeasureText(const String& text, std::uint32_t first, std::uint32_t count,
                                const TextStyle* style) const {
    return Forward<Size>(m_containerHandle, Size(0, 0),
                         [&](FontContainerHandle& h) { return h.MeasureText(text, first, count, style); });
}

std::uint32_t FontContainer::FitText(const String& text, std::uint32_t first, std::uint32_t maxWidth,
                                     const TextStyle* style) const {
    return Forward<std::uint32_t>(m_containerHandle, 0, [&](FontContainerHandle& h) {
        return h.FitText(text, first, maxWidth, style);
    });
}

bool FontContainer::DrawTextLine(const String& text, Graphic* target, const Point* point,
                                 const TextAlignment* alignment, const TextStyle* style) const {
    return Forward<bool>(m_containerHandle, false, [&](FontContainerHandle& h) {
        return h.DrawTextLine(text, target, point, alignment, style);
    });
}

bool FontContainer::DrawTextLine(const String& text, std::uint32_t first, std::uint32_t count,
                                 Graphic* target, const Point* point, const TextAlignment* alignment,
                                 const TextStyle* style) const {
    return Forward<bool>(m_containerHandle, false, [&](FontContainerHandle& h) {
        return h.DrawTextLine(text, first, count, target, point, alignment, style);
    });
}

bool FontContainer::DrawTextBox(const String& text, Graphic* target, const Rect* box,
                                const TextAlignment* alignment, const TextStyle* style) const {
    return Forward<bool>(m_containerHandle, false, [&](FontContainerHandle& h) {
        return h.DrawTextBox(text, target, box, alignment, style);
    });
}

bool FontContainer::DrawTextBox(const String& text, std::uint32_t first, std::uint32_t count, Graphic* target,
                                const Rect* box, const TextAlignment* alignment,
                                const TextStyle* style) const {
    return Forward<bool>(m_containerHandle, false, [&](FontContainerHandle& h) {
        return h.DrawTextBox(text, first, count, target, box, alignment, style);
    });
}

bool FontContainer::ReservedOperation(std::uint32_t a, std::uint32_t b) const {
    return Forward<bool>(m_containerHandle, false,
                         [=](FontContainerHandle& h) { return h.ReservedOperation(a, b); });
}

} // namespace Vemo
