// Blends two source surfaces into a destination at a fade level: each colour channel becomes the first
// source's channel moved towards the second source's by level/256 (level 0 shows the first source, 256 the
// second), an exact half step going towards the second. The three surfaces share one pixel format, with a
// routine for the 5-5-5, 5-6-5, 24-bit and 32-bit layouts; the bits of a pixel that are no colour channel are
// written 0 (bit 15 of 5-5-5, the fourth byte of the 32-bit formats).
//
//     CrossFadeEffect effect(destination, first, second);
//     if (effect.Set(level, at, firstAt, secondAt, size, 255)) {
//         effect.Run();
//     }
//
// The routine clips the region to both sources and the destination's clip rectangle (a region clipped to
// nothing answers true and locks nothing), locks the destination, the first and the second source in that
// order, blends row by row and unlocks in reverse; a failed lock answers false with nothing written. A handle
// may play two roles; each pixel is read from both sources before it is written.
#pragma once

#include "engines/image/effects/RoutineEffect.h"
#include "foundation/Rect.h"

#include <cstdint>

namespace Vemo {

class CrossFadeEffect : public RoutineEffect<CrossFadeEffect> {
public:
    // The origins and the size 0, the refusing routine; the level and the quality wait for Set.
    CrossFadeEffect(GraphicHandle* destination, GraphicHandle* firstSource, GraphicHandle* secondSource);
    ~CrossFadeEffect() override;

    // Stores the origins, the size and the quality, then chooses the routine by the destination's format and
    // stores min(level, 256). False, with the refusing routine and the level as it was, when a handle is null
    // or lost, when the three format numbers differ, or for a format without a routine (the indexed ones,
    // 4-4-4-4, 1-5-5-5, 17, 18 and custom masks). Below quality 33 the 16-bit formats halve both sources at
    // levels 127 and 128 instead of blending (at most 1 off per channel).
    bool Set(std::uint32_t level, const Point& destinationOrigin, const Point& firstOrigin,
             const Point& secondOrigin, const Size& size, std::uint8_t quality);
    // Stores min(level, 256); true.
    bool SetLevel(std::uint32_t level);

    GraphicHandle* GetFirstSource() const { return m_firstSource; }
    GraphicHandle* GetSecondSource() const { return m_secondSource; }
    std::uint32_t GetLevel() const { return m_level; }
    const Point& GetDestinationOrigin() const { return m_destinationOrigin; }
    const Point& GetFirstOrigin() const { return m_firstOrigin; }
    const Point& GetSecondOrigin() const { return m_secondOrigin; }
    const Size& GetSize() const { return m_size; }
    std::uint8_t GetQuality() const { return m_quality; }

private:
    GraphicHandle* m_firstSource;
    GraphicHandle* m_secondSource;
    std::uint32_t m_level = 0;
    Point m_destinationOrigin;
    Point m_firstOrigin;
    Point m_secondOrigin;
    Size m_size;
    std::uint8_t m_quality = 0;
};

} // namespace Vemo
