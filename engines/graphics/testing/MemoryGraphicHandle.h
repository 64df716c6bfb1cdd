// Graphic handles for the tests of the graphic handles and the pixel effects: BareGraphicHandle, the base
// class made concrete, and MemoryGraphicHandle over memory of the test's own:
//
//     MemoryGraphicHandle surface(10, 4, PixelFormat(StandardPixelFormat::Rgb565));
//     surface.SetPixel(0xF800, Point(2, 1));
//     EXPECT_EQ(surface.PixelAt(2, 1), 0xF800u);
//
// Its memory is zeroed rows of the given pitch (a negative pitch stores row 0 last, as bottom-up bitmaps do).
// Lock nests, and fills pitch and pixels only while the handle is locked; a test can make the next locks fail
// and set the lost field. The clip rectangle starts as the whole surface. Indexed formats get a palette of
// colorCount entries (at most 256), all black.
#pragma once

#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/PixelAccess.h"
#include "engines/graphics/PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace VemoTest {

// The base class's behaviour, as it stands.
class BareGraphicHandle : public Vemo::GraphicHandle {
public:
    explicit BareGraphicHandle(Vemo::ResourceEngine* engine = nullptr) : GraphicHandle(engine) {}
};

class MemoryGraphicHandle : public BareGraphicHandle {
public:
    // A pitch of 0 takes the row's bytes rounded up to 4.
    MemoryGraphicHandle(std::int32_t width, std::int32_t height, const Vemo::PixelFormat& format,
                        std::uint32_t colorTag = 1, std::int32_t pitch = 0,
                        Vemo::ResourceEngine* engine = nullptr)
        : BareGraphicHandle(engine) {
        m_width = width;
        m_height = height;
        m_pixelFormat = format;
        m_colorTag = colorTag;
        m_placement = 3;
        const auto rowBytes =
            static_cast<std::int32_t>(Vemo::BytesFromPixels(static_cast<std::uint32_t>(width), format.depth));
        m_rowPitch = pitch != 0 ? pitch : (rowBytes + 3) / 4 * 4;
        m_memory.assign(static_cast<std::size_t>(std::abs(m_rowPitch)) * static_cast<std::size_t>(height), 0);
        m_palette.assign(format.colorCount <= 256 ? format.colorCount : 256, Vemo::PixelValue());
        SetClipRect(Vemo::Rect(0, 0, width, height));
    }

    bool Lock() override {
        ++m_locksAsked;
        if (m_failLocks > 0) {
            --m_failLocks;
            return false;
        }
        if (++m_lockCount == 1) {
            m_pitch = m_rowPitch;
            m_pixels = Row(0);
        }
        return true;
    }

    bool Unlock() override {
        if (m_lockCount == 0) {
            return false;
        }
        if (--m_lockCount == 0) {
            m_pitch = 0;
            m_pixels = nullptr;
        }
        return true;
    }

    bool SetPaletteEntryImpl(Vemo::PixelValue color, std::uint32_t index) override {
        if (index >= m_palette.size()) {
            return false;
        }
        m_palette[index] = color;
        return true;
    }

    Vemo::PixelValue GetPaletteEntryImpl(std::uint32_t index) override {
        ++m_paletteReads;
        return index < m_palette.size() ? m_palette[index] : Vemo::PixelValue();
    }

    // The next count locks fail.
    void FailLocks(int count) { m_failLocks = count; }
    void SetLost(std::uint32_t lost) { m_lost = lost; }
    void SetPixelFormat(const Vemo::PixelFormat& format) { m_pixelFormat = format; }

    // Row y of the memory, locked or not.
    std::uint8_t* Row(std::int32_t y) {
        std::uint8_t* first =
            m_rowPitch < 0 ? m_memory.data() + m_memory.size() + m_rowPitch : m_memory.data();
        return first + static_cast<std::ptrdiff_t>(m_rowPitch) * y;
    }
    // The pixel at (x, y), read from the memory without a lock.
    std::uint32_t PixelAt(std::int32_t x, std::int32_t y) {
        return Vemo::ReadPixel(Row(y), static_cast<std::uint32_t>(x), m_pixelFormat.depth);
    }
    void PutPixel(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
        Vemo::WritePixel(Row(y), static_cast<std::uint32_t>(x), m_pixelFormat.depth, pixel);
    }

    std::vector<std::uint8_t>& Memory() { return m_memory; }
    std::int32_t RowPitch() const { return m_rowPitch; }
    int LocksAsked() const { return m_locksAsked; }
    int PaletteReads() const { return m_paletteReads; }

private:
    std::vector<std::uint8_t> m_memory;
    std::vector<Vemo::PixelValue> m_palette;
    std::int32_t m_rowPitch = 0;
    int m_failLocks = 0;
    int m_locksAsked = 0;
    int m_paletteReads = 0;
};

} // namespace VemoTest
