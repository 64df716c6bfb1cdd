// The base of the font family's engines, and the plain "Font Engine" itself. CreateHandle turns a font search
// criterion into one of eight font operations (the slots after the resource engine's); an engine overrides
// those it carries out. The plain engine keeps fonts as descriptions only and makes containers whose graphic
// draws nothing.
//
// It keeps a list of the font handles it made (containers are not listed). Closing a font or a container that
// is attached to the other detaches the two first, so neither is left pointing at what is gone.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/font/FontDescription.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class Directory;
class FontContainerHandle;
class FontHandle;
class Path;

class FontEngine : public ResourceEngine {
public:
    FontEngine();

    // The first rule that applies: a container criterion makes a container (FontEngineErrMakeContainer when
    // none comes), a directory or a path opens from it (...OpenFromPath), a description makes a font from it
    // (...OpenFromDescription; FontSystemErrNoFontNamed without a source value), any attribute opens by
    // attributes with defaults for the missing ones (...OpenByAttributes); nothing at all is
    // FontSystemErrNoFontNamed.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // A handle still referenced stays. Fonts go to CloseFont, containers to CloseContainer
    // (FontEngineErrCloseFont, ...CloseContainer when that fails).
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    ~FontEngine() override;
    bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                      ResourceHandle* handle) override;
    bool DetachHandle(ResourceHandle* handle, Resource* resource) override;

    // A font from the path of the directory's own name.
    virtual FontHandle* OpenFromDirectory(const Directory& directory);
    // A font with that path and the default description.
    virtual FontHandle* OpenFromPath(const Path& path);
    // A font with the default description: the plain engine has no fonts of its own.
    virtual FontHandle* OpenByAttributes(const String& name, std::uint32_t size, std::int32_t width,
                                         bool cellHeight, bool pixelUnits, const FontStyle& style,
                                         const TaggedColor& foreground, const TaggedColor& background);
    // Both make a font whose description is a copy of the given one.
    virtual FontHandle* OpenFromDescriptionShared(const FontDescription& description, std::uint32_t source);
    virtual FontHandle* OpenFromDescription(const FontDescription& description, std::uint32_t source);
    // A plain container graphic opened by depth code through any graphic engine
    // (FontEngineErrOpenContainerGraphic when that fails).
    virtual FontContainerHandle* OpenContainer(const Size& size, std::uint32_t pixelFormat,
                                               std::uint32_t graphicFlags, std::uint32_t colorTag);
    // Both delete the handle: true.
    virtual bool CloseFont(FontHandle* font);
    virtual bool CloseContainer(FontContainerHandle* container);

    // Runs the engine base's factory on the given engine, or on a new plain Font Engine.
    static FontEngine* Create(FontEngine* engine = nullptr);

    const BasicList<FontHandle*>& GetFonts() const { return m_fonts; }

protected:
    FontEngine(std::uint32_t typeId, const String& name);

private:
    BasicList<FontHandle*> m_fonts;
};

} // namespace Vemo
