#include "engines/image/StandardImageRowAccess.h"

#include "engines/graphics/Graphic.h"

#include <algorithm>

namespace Vemo {

StandardImageRowAccess::StandardImageRowAccess() = default;

StandardImageRowAccess::~StandardImageRowAccess() {
    End();
}

bool StandardImageRowAccess::Hold(std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                                  std::uint32_t sourceBits, std::uint32_t sourceColorTag, Graphic* graphic,
                                  bool topDown) {
    if (m_graphic != nullptr || graphic == nullptr || !graphic->Lock()) {
        return false;
    }
    m_graphic = graphic;
    m_sourceWidth = sourceWidth;
    m_sourceHeight = sourceHeight;
    m_sourceBits = sourceBits;
    m_sourceColorTag = sourceColorTag;
    m_format = graphic->GetPixelFormat();
    m_graphicWidth = static_cast<std::uint32_t>(std::max(graphic->GetWidth(), 0));
    m_graphicHeight = static_cast<std::uint32_t>(std::max(graphic->GetHeight(), 0));
    m_graphicBits = BitsPerPixelFromDepth(m_format.depth);
    m_graphicColorTag = graphic->GetColorTag();
    std::uint8_t* pixels = graphic->GetPixels();
    const std::ptrdiff_t pitch = graphic->GetPitch();
    if (pixels == nullptr || m_format.format == StandardPixelFormat::None || m_graphicBits == 0 ||
        sourceBits == 0) {
        End();
        return false;
    }
    // The image's rows, in the order they come, land on the graphic's rows 0 to rows - 1 from the top.
    const std::uint32_t rows = std::min(sourceHeight, m_graphicHeight);
    const std::ptrdiff_t step = topDown ? pitch : -pitch;
    m_firstRow = topDown || rows == 0 ? pixels : pixels + pitch * static_cast<std::ptrdiff_t>(rows - 1);
    m_rowStep = step;
    return true;
}

void StandardImageRowAccess::End() {
    if (Graphic* graphic = m_graphic) {
        m_graphic = nullptr;
        m_format.Clear();
        m_firstRow = nullptr;
        m_rowStep = 0;
        graphic->Unlock();
    }
}

} // namespace Vemo
