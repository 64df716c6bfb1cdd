#include "engines/font/FontSystem.h"

#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontHandle.h"
#include "engines/font/FontSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace Vemo {

namespace {

// The same name in the same opened directory (or neither in one).
bool SamePath(const Path& a, const Path& b) {
    if (a.GetName().Compare(b.GetName()) != 0) {
        return false;
    }
    const Directory* first = a.GetDirectory();
    const Directory* second = b.GetDirectory();
    if (first == nullptr || second == nullptr) {
        return first == second;
    }
    return first->GetHandle() == second->GetHandle();
}

// The code of the first missing value, in the order the codes are numbered; 0 when none is missing.
ErrorCode FirstMissing(std::initializer_list<std::pair<bool, ErrorCode>> values) {
    for (const auto& [given, code] : values) {
        if (!given) {
            return code;
        }
    }
    return 0;
}

} // namespace

FontSystem::FontSystem() : ResourceSystem(kFontTypeId, "Font System") {}

FontSystem::~FontSystem() = default;

FontSystem* FontSystem::Create(FontSystem* system) {
    return CreateThrough(
        system, [] { return new FontSystem; }, [](FontSystem* made) { return ResourceSystem::Create(made); });
}

ResourceHandle* FontSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* font = dynamic_cast<FontSearchCriterion*>(criterion);
    if (font == nullptr) {
        RaiseError(FontSystemErrNoFontNamed);
        return nullptr;
    }
    ErrorCode refused = 0;
    FontHandle* open = FindOpenFont(*font, refused);
    if (refused != 0) {
        RaiseError(refused);
        return nullptr;
    }
    return open != nullptr ? ShareFont(open, resource) : ResourceSystem::Open(criterion, resource);
}

FontHandle* FontSystem::FindOpenFont(const FontSearchCriterion& criterion, ErrorCode& refused) {
    if (criterion.m_kind == FontSearchCriterion::kContainer) {
        if (criterion.m_font == nullptr) {
            refused =
                FirstMissing({{criterion.m_containerSize != nullptr, FontSystemErrContainerNoSize},
                              {criterion.m_pixelFormat != nullptr, FontSystemErrContainerNoPixelFormat},
                              {criterion.m_graphicFlags != nullptr, FontSystemErrContainerNoGraphicFlags},
                              {criterion.m_colorTag != nullptr, FontSystemErrContainerNoColorTag}});
        }
        return nullptr;
    }
    auto find = [this](auto matches) -> FontHandle* {
        const auto found = std::find_if(m_fonts.begin(), m_fonts.end(), matches);
        return found != m_fonts.end() ? *found : nullptr;
    };
    if (criterion.m_directory != nullptr || criterion.m_path != nullptr) {
        Path wanted;
        if (criterion.m_directory != nullptr) {
            wanted.Assign(*criterion.m_directory);
        } else {
            wanted = *criterion.m_path;
        }
        return find([&wanted](FontHandle* listed) {
            Path path;
            return listed->GetPath(path) && SamePath(path, wanted);
        });
    }
    if (criterion.m_description != nullptr) {
        if (criterion.m_firstSourceValue == 0 && criterion.m_secondSourceValue == 0) {
            refused = FontSystemErrNoSourceValue;
            return nullptr;
        }
        return find([&criterion](FontHandle* listed) {
            return *listed->GetDescription() == *criterion.m_description;
        });
    }
    if (!criterion.HasAttributes()) {
        refused = FontSystemErrNoFontNamed;
        return nullptr;
    }
    refused = FirstMissing({{criterion.m_name != nullptr, FontSystemErrNoName},
                            {criterion.m_size != nullptr, FontSystemErrNoSize},
                            {criterion.m_width != nullptr, FontSystemErrNoWidth},
                            {criterion.m_cellHeight != nullptr, FontSystemErrNoCellHeightFlag},
                            {criterion.m_pixelUnits != nullptr, FontSystemErrNoPixelUnitsFlag},
                            {criterion.m_style != nullptr, FontSystemErrNoStyle},
                            {criterion.m_foreground != nullptr, FontSystemErrNoForeground},
                            {criterion.m_background != nullptr, FontSystemErrNoBackground}});
    if (refused != 0) {
        return nullptr;
    }
    // The cell-height and pixel-units flags are not compared: the size is compared with the line height.
    return find([&criterion](FontHandle* listed) {
        String name;
        return listed->GetName(name) && name.Compare(*criterion.m_name) == 0 &&
               std::int64_t{listed->GetLineHeight()} == *criterion.m_size &&
               std::int64_t{listed->GetAverageWidth()} == *criterion.m_width &&
               *listed->GetStyle() == *criterion.m_style &&
               *listed->GetForegroundColor() == *criterion.m_foreground &&
               *listed->GetBackgroundColor() == *criterion.m_background;
    });
}

ResourceHandle* FontSystem::ShareFont(FontHandle* font, Resource* resource) {
    ResourceHandle* shared = Share(font, resource);
    if (shared == nullptr) {
        RaiseError(ResourceSystemErrShareFailed, &GetName());
    }
    return shared;
}

bool FontSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                              ResourceHandle* handle) {
    if (auto* font = dynamic_cast<FontHandle*>(handle)) {
        m_fonts.PushBack(font);
    }
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

bool FontSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    UnlistClosedFont(m_fonts, handle);
    return true;
}

} // namespace Vemo
