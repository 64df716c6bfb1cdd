// The graphic of a font container: the images of one font's glyphs, side by side in rows. This base only
// records the attached font; an engine's container graphic draws the glyphs when a font is attached.
//
// Virtual operations are declared in their slot order, after the Graphic's.
#pragma once

#include "engines/graphics/Graphic.h"

namespace Vemo {

class FontHandle;

class FontContainerGraphic : public Graphic {
public:
    FontContainerGraphic();
    ~FontContainerGraphic() override;

    // A font already attached is detached first.
    virtual bool AttachFont(FontHandle* font);
    virtual bool DetachFont();
    virtual FontHandle* GetFont();

private:
    FontHandle* m_font = nullptr;
};

} // namespace Vemo
