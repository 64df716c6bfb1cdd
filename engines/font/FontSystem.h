// The font family's system, named "Font System". Besides the base system's work it checks each criterion
// before an engine sees it, and shares an open font instead of opening the same font again: by path, by
// equal description, or by name, line height, average width, style and colours. The fonts it shares from
// are the open font handles it lists (containers are not listed).
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/BasicList.h"
#include "resources/ResourceSystem.h"

namespace Vemo {

class FontHandle;
class FontSearchCriterion;

class FontSystem : public ResourceSystem {
public:
    FontSystem();

    // Refuses an incomplete criterion with its Font System code; a container criterion without a font needs
    // its size, pixel format, graphic flags and colour tag, an attribute criterion all eight attributes, and
    // a description one of the source values. Sharing that fails reports ResourceSystemErrShareFailed with
    // the system's name.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    ~FontSystem() override;
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;

    // Runs the system base's factory on the given system, or on a new Font System.
    static FontSystem* Create(FontSystem* system = nullptr);

    const BasicList<FontHandle*>& GetFonts() const { return m_fonts; }

private:
    // The listed font the criterion names, or null; reports the code of what the criterion lacks through
    // refused.
    FontHandle* FindOpenFont(const FontSearchCriterion& criterion, ErrorCode& refused);
    ResourceHandle* ShareFont(FontHandle* font, Resource* resource);

    BasicList<FontHandle*> m_fonts;
};

} // namespace Vemo
