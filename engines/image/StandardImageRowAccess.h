// Row access to a graphic's pixels for the codecs: holds the graphic locked from Begin to End and walks its
// rows in the order the image's rows come, top-down or bottom-up, whatever way the graphic's rows run in
// memory. Row 0 is the image's first row as stored: the top row of a top-down image, the bottom row of a
// bottom-up one; the rows of the image start at the graphic's top-left corner either way.
#pragma once

#include "engines/graphics/PixelFormat.h"

#include <cstddef>
#include <cstdint>

namespace Vemo {

class Graphic;

class StandardImageRowAccess {
public:
    StandardImageRowAccess();
    StandardImageRowAccess(const StandardImageRowAccess&) = delete;
    StandardImageRowAccess& operator=(const StandardImageRowAccess&) = delete;
    // Ends.
    ~StandardImageRowAccess();

    // Forgets the format, unlocks the graphic and lets it go.
    void End();

    // Row index of the image, in the order its rows are stored.
    std::uint8_t* Row(std::uint32_t index) const {
        return m_firstRow + m_rowStep * static_cast<std::ptrdiff_t>(index);
    }
    std::ptrdiff_t GetRowStep() const { return m_rowStep; }
    std::uint32_t GetGraphicWidth() const { return m_graphicWidth; }
    std::uint32_t GetGraphicHeight() const { return m_graphicHeight; }
    std::uint32_t GetGraphicBitsPerPixel() const { return m_graphicBits; }
    std::uint32_t GetGraphicColorTag() const { return m_graphicColorTag; }
    const PixelFormat& GetFormat() const { return m_format; }
    std::uint32_t GetSourceWidth() const { return m_sourceWidth; }
    std::uint32_t GetSourceHeight() const { return m_sourceHeight; }
    bool IsHeld() const { return m_graphic != nullptr; }

protected:
    // Locks the graphic and reads its layout; rows is the image's row count. False (the graphic left
    // unlocked) when this access is in use, the lock fails, the graphic has no memory or no pixel format, or
    // either side has 0 bits per pixel.
    bool Hold(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t sourceBits,
              std::uint32_t sourceColorTag, Graphic* graphic, bool topDown);

    std::uint32_t m_sourceWidth = 0;
    std::uint32_t m_sourceHeight = 0;
    std::uint32_t m_sourceBits = 0;
    std::uint32_t m_sourceColorTag = 0;
    PixelFormat m_format;

private:
    Graphic* m_graphic = nullptr;
    std::uint32_t m_graphicWidth = 0;
    std::uint32_t m_graphicHeight = 0;
    std::uint32_t m_graphicBits = 0;
    std::uint32_t m_graphicColorTag = 0;
    std::uint8_t* m_firstRow = nullptr;
    std::ptrdiff_t m_rowStep = 0;
};

} // namespace Vemo
