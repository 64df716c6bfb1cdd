// What a font front-end asks the Font System for: a font (by directory, path, description or attributes) or
// a font container. Every attribute is optional (a null pointer, or a source value of 0: not given); the
// pointers lead into the builder's stack frame, so a criterion lives for one open call only.
#pragma once

#include "engines/font/FontDescription.h"
#include "engines/font/FontStyle.h"
#include "engines/graphics/Color.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class Directory;
class FontHandle;
class Path;

class FontSearchCriterion : public ResourceSearchCriterion {
public:
    static constexpr std::uint32_t kFont = 1;
    static constexpr std::uint32_t kContainer = 2;

    // Of the font family, quick search. The family's own type id stands for any font engine; any other id
    // is the one engine wanted (the criterion points at the caller's value).
    FontSearchCriterion(std::uint32_t kind, const std::uint32_t& engineId);
    ~FontSearchCriterion() override;

    // Whether any of the attributes of an open by attributes is given.
    bool HasAttributes() const;

    std::uint32_t m_kind;
    // A font.
    const Directory* m_directory = nullptr;
    const Path* m_path = nullptr;
    const FontDescription* m_description = nullptr;
    std::uint32_t m_firstSourceValue = 0;
    std::uint32_t m_secondSourceValue = 0;
    const String* m_name = nullptr;
    const std::uint32_t* m_size = nullptr;
    const std::uint32_t* m_width = nullptr;
    // The size is the cell's height, else the character's (the em).
    const bool* m_cellHeight = nullptr;
    // The size and width are pixels, else points.
    const bool* m_pixelUnits = nullptr;
    const FontStyle* m_style = nullptr;
    const TaggedColor* m_foreground = nullptr;
    const TaggedColor* m_background = nullptr;
    // A container: the font it is made for, and the values of its graphic.
    FontHandle* m_font = nullptr;
    const Size* m_containerSize = nullptr;
    const std::uint32_t* m_pixelFormat = nullptr;
    const std::uint32_t* m_graphicFlags = nullptr;
    const std::uint32_t* m_colorTag = nullptr;
};

} // namespace Vemo
