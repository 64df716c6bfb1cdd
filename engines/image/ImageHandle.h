// One encoded image (a file, a File or a block of memory) inside an image engine: its size and pixel format,
// its encoded bytes while loaded, and the container whose graphic it is decoded into or encoded from while it
// is selected there. The base answers 0, false or empty; the engines' handles fill in the work.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/PixelFormat.h"
#include "foundation/Rect.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace Vemo {

class Graphic;
class ImageContainerHandle;

class ImageHandle : public ResourceHandle {
public:
    explicit ImageHandle(ResourceEngine* engine);
    ~ImageHandle() override;

    virtual std::uint32_t GetWidth();
    virtual std::uint32_t GetHeight();
    virtual Size GetSize();
    // A depth code.
    virtual std::uint32_t GetDepth();
    virtual std::uint32_t GetColorTag();
    virtual bool HasPalette();
    virtual PixelFormat GetPixelFormat();
    // Makes the encoded bytes available and reads the header.
    virtual bool Load();
    // Writes the encoded bytes to the image's file; the mode is passed to the File's create.
    virtual bool Save(std::uint8_t fileMode);
    // Drops the encoded bytes and the file.
    virtual void Unload();
    // Into the target's graphic.
    virtual bool Decode(bool dither, const TaggedColor* keyColor);
    // The target's graphic into encoded bytes.
    virtual bool Encode();
    // Asks the target to let go of this image, and forgets it.
    virtual void ReleaseTarget();
    virtual bool SetTarget(ImageContainerHandle* target, Graphic* graphic);
    virtual bool ClearTarget();

    const Path& GetPath() const { return m_path; }
    ImageContainerHandle* GetTarget() const { return m_target; }

protected:
    // Where the image lives; empty for an image in memory.
    Path m_path;
    // The container that has this image selected; not owned.
    ImageContainerHandle* m_target = nullptr;
};

} // namespace Vemo
