#include "engines/image/StandardImageTargetWriter.h"

#include "engines/graphics/ChannelPacking.h"

#include <algorithm>

namespace Vemo {

StandardImageTargetWriter::StandardImageTargetWriter() = default;

StandardImageTargetWriter::~StandardImageTargetWriter() = default;

bool StandardImageTargetWriter::Begin(std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                                      std::uint32_t sourceBits, std::uint32_t sourceColorTag, Graphic* target,
                                      bool topDown, const PixelValue* palette, std::uint32_t paletteCount,
                                      bool dither) {
    if (!Hold(sourceWidth, sourceHeight, sourceBits, sourceColorTag, target, topDown)) {
        return false;
    }
    m_palette.fill(0);
    m_ditheredRows = 0;
    for (std::uint32_t value = 0; value < 256; ++value) {
        const auto channel = static_cast<std::uint8_t>(value);
        m_redBits[value] = PackChannel(channel, m_format.redShift, m_format.redLoss);
        m_greenBits[value] = PackChannel(channel, m_format.greenShift, m_format.greenLoss);
        m_blueBits[value] = PackChannel(channel, m_format.blueShift, m_format.blueLoss);
    }
    if (dither) {
        m_errorRow.assign(static_cast<std::size_t>(std::max(GetGraphicWidth(), sourceWidth)) * 3 + 6, 0);
    }
    const std::uint32_t bits = std::min(sourceBits, GetGraphicBitsPerPixel());
    const std::uint32_t graphicBits = GetGraphicBitsPerPixel();
    if (palette != nullptr && bits <= 8 && (graphicBits == 16 || graphicBits == 24 || graphicBits == 32)) {
        const std::uint32_t count = std::min({paletteCount, 1u << bits, 256u});
        for (std::uint32_t index = 0; index < count; ++index) {
            const PixelValue color =
                PixelValue::Convert(sourceColorTag, palette[index], GetGraphicColorTag());
            m_palette[index] = m_format.PackColor(color);
        }
    }
    return true;
}

} // namespace Vemo
