// A graphic that images are decoded into and encoded from, one at a time, inside an image engine. It owns
// its graphic and an Image front-end sharing the selected image's handle, and passes its decode options
// (dither flag, key colour) to every decode. The engine gives it its graphic when it is opened.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "resources/ResourceHandle.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Vemo {

class Graphic;
class Image;
class ImageContainerGraphic;

class ImageContainerHandle : public ResourceHandle {
public:
    explicit ImageContainerHandle(ResourceEngine* engine);
    // Closes the image and the graphic that are still there.
    ~ImageContainerHandle() override;

    // Loads the selected image, decodes it into the graphic (a read-only graphic is writable meanwhile) and
    // unloads it again; the image stays selected when the decode fails.
    virtual bool DecodeCurrentImage();
    // Encodes the graphic into the selected image and saves it with the mode, then unloads it.
    virtual bool SaveCurrentImage(std::uint8_t fileMode);
    // Makes the image the selected one; true at once when it is already selected.
    virtual bool SelectImage(const Image& image);
    virtual bool ReleaseImage();
    // Shares the selected image into out.
    virtual bool GetCurrentImage(Image& out);
    // Opens out on the container graphic.
    virtual bool GetGraphic(Graphic& out);
    // A null key colour keeps the one stored before.
    virtual bool SetDecodeOptions(bool dither, const TaggedColor* keyColor);
    // Releases the image and deletes the graphic.
    virtual void Close();
    // A new Image sharing the open image; null when it is not open or the share fails.
    virtual Image* CreateImage(const Image& image);

    ImageContainerGraphic* GetContainerGraphic() const { return m_graphic; }
    Image* GetCurrentImageFrontEnd() const { return m_currentImage; }
    bool GetDither() const { return m_dither != 0; }
    const TaggedColor* GetKeyColor() const { return m_keyColor ? &*m_keyColor : nullptr; }

protected:
    // Takes ownership of the graphic.
    void SetContainerGraphic(ImageContainerGraphic* graphic) { m_graphic = graphic; }

private:
    Image* m_currentImage = nullptr;
    ImageContainerGraphic* m_graphic = nullptr;
    std::uint8_t m_dither = 0;
    std::optional<TaggedColor> m_keyColor;
    // Selected images whose handle another closer was giving up when they were released (the system's shut
    // down closes every handle): that closer still holds the front-end, so it is deleted only with this
    // handle.
    std::vector<Image*> m_releasedImages;
};

} // namespace Vemo
