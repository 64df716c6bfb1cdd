#include "engines/font/FontEngine.h"

#include "engines/font/FontContainerGraphic.h"
#include "engines/font/FontContainerHandle.h"
#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontHandle.h"
#include "engines/font/FontSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"

#include <memory>

namespace Vemo {

namespace {

template <class T>
T ValueOr(const T* given, T fallback) {
    return given != nullptr ? *given : fallback;
}

// Reports the code when the operation made nothing.
template <class Handle>
Handle* ReportIfNull(Handle* handle, ErrorCode code) {
    if (handle == nullptr) {
        RaiseError(code);
    }
    return handle;
}

} // namespace

FontEngine::FontEngine() : ResourceEngine(kFontTypeId, "Font Engine") {}

FontEngine::FontEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

FontEngine::~FontEngine() = default;

FontEngine* FontEngine::Create(FontEngine* engine) {
    return CreateThrough(
        engine, [] { return new FontEngine; }, [](FontEngine* made) { return ResourceEngine::Create(made); });
}

ResourceHandle* FontEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* font = dynamic_cast<FontSearchCriterion*>(criterion);
    if (font == nullptr) {
        RaiseError(FontSystemErrNoFontNamed);
        return nullptr;
    }
    if (font->m_kind == FontSearchCriterion::kContainer) {
        FontHandle* model = font->m_font;
        const Size size = font->m_containerSize != nullptr ? *font->m_containerSize
                          : model != nullptr               ? model->GetContainerSize(0, 0)
                                                           : Size(0, 0);
        const std::uint32_t pixelFormat =
            ValueOr(font->m_pixelFormat, model != nullptr ? model->GetContainerPixelFormat() : 0u);
        const std::uint32_t colorTag =
            ValueOr(font->m_colorTag, model != nullptr ? model->GetContainerColorTag() : 0u);
        return ReportIfNull(OpenContainer(size, pixelFormat, ValueOr(font->m_graphicFlags, 0u), colorTag),
                            FontEngineErrMakeContainer);
    }
    if (font->m_directory != nullptr || font->m_path != nullptr) {
        return ReportIfNull(font->m_directory != nullptr ? OpenFromDirectory(*font->m_directory)
                                                         : OpenFromPath(*font->m_path),
                            FontEngineErrOpenFromPath);
    }
    if (font->m_description != nullptr) {
        if (font->m_firstSourceValue == 0 && font->m_secondSourceValue == 0) {
            RaiseError(FontSystemErrNoFontNamed);
            return nullptr;
        }
        return ReportIfNull(font->m_firstSourceValue != 0
                                ? OpenFromDescription(*font->m_description, font->m_firstSourceValue)
                                : OpenFromDescriptionShared(*font->m_description, font->m_secondSourceValue),
                            FontEngineErrOpenFromDescription);
    }
    if (font->HasAttributes()) {
        const TaggedColor black(PixelValue(), 1);
        return ReportIfNull(
            OpenByAttributes(ValueOr(font->m_name, String()), ValueOr(font->m_size, 0u),
                             static_cast<std::int32_t>(ValueOr(font->m_width, 0u)),
                             ValueOr(font->m_cellHeight, true), ValueOr(font->m_pixelUnits, false),
                             ValueOr(font->m_style, FontStyle()), ValueOr(font->m_foreground, black),
                             ValueOr(font->m_background, black)),
            FontEngineErrOpenByAttributes);
    }
    RaiseError(FontSystemErrNoFontNamed);
    return nullptr;
}

bool FontEngine::DestroyHandle(ResourceHandle* handle, Resource* resource) {
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    if (auto* font = dynamic_cast<FontHandle*>(handle)) {
        if (FontContainerHandle* container = font->GetContainer()) {
            if (container->GetFont() == font) {
                container->DetachFont();
            }
            font->DetachContainer();
        }
        if (!CloseFont(font)) {
            RaiseError(FontEngineErrCloseFont);
            return false;
        }
        return true;
    }
    if (auto* container = dynamic_cast<FontContainerHandle*>(handle)) {
        if (FontHandle* font = container->GetFont()) {
            if (font->GetContainer() == container) {
                font->DetachContainer();
            }
            container->DetachFont();
        }
        if (!CloseContainer(container)) {
            RaiseError(FontEngineErrCloseContainer);
            return false;
        }
        return true;
    }
    return ResourceEngine::DestroyHandle(handle, resource);
}

bool FontEngine::AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                              ResourceHandle* handle) {
    if (auto* font = dynamic_cast<FontHandle*>(handle)) {
        m_fonts.PushBack(font);
    }
    return ResourceEngine::AttachHandle(criterion, resource, handle);
}

bool FontEngine::DetachHandle(ResourceHandle* handle, Resource* resource) {
    if (!ResourceEngine::DetachHandle(handle, resource)) {
        return false;
    }
    UnlistClosedFont(m_fonts, handle);
    return true;
}

FontHandle* FontEngine::OpenFromDirectory(const Directory& directory) {
    Path path;
    path.Assign(directory);
    return OpenFromPath(path);
}

FontHandle* FontEngine::OpenFromPath(const Path& path) {
    return new FontHandle(this, path);
}

FontHandle* FontEngine::OpenByAttributes(const String&, std::uint32_t, std::int32_t, bool, bool,
                                         const FontStyle&, const TaggedColor&, const TaggedColor&) {
    return new FontHandle(this);
}

FontHandle* FontEngine::OpenFromDescriptionShared(const FontDescription& description, std::uint32_t source) {
    return new FontHandle(this, description, source);
}

FontHandle* FontEngine::OpenFromDescription(const FontDescription& description, std::uint32_t source) {
    return new FontHandle(this, description, source);
}

FontContainerHandle* FontEngine::OpenContainer(const Size& size, std::uint32_t pixelFormat,
                                               std::uint32_t graphicFlags, std::uint32_t colorTag) {
    auto graphic = std::make_unique<FontContainerGraphic>();
    if (!graphic->Open(size.width, size.height, DepthCode{pixelFormat},
                       static_cast<GraphicSystem::Memory>(graphicFlags), PaletteReference(), colorTag,
                       kGraphicTypeId)) {
        RaiseError(FontEngineErrOpenContainerGraphic);
        return nullptr;
    }
    return new FontContainerHandle(this, graphic.release());
}

bool FontEngine::CloseFont(FontHandle* font) {
    delete font;
    return true;
}

bool FontEngine::CloseContainer(FontContainerHandle* container) {
    delete container;
    return true;
}

} // namespace Vemo
