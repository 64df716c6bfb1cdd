// What the tests of the pixel effects share: a fixture whose application records reported errors (and expects
// none), surfaces over test memory filled with random bytes, and a depth-0 handle that records the pixel
// writes that reach it.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/testing/MemoryGraphicHandle.h"
#include "engines/image/effects/RasterOp.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace VemoTest {

class EffectTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(m_application.TakeReports().empty()); }

    TestApplication m_application;
};

inline Vemo::PixelFormat Format(Vemo::StandardPixelFormat number) {
    return Vemo::PixelFormat(number);
}

inline std::uint32_t FormatNumber(Vemo::StandardPixelFormat number) {
    return static_cast<std::uint32_t>(number);
}

// Every byte of the surface's memory random, padding included, and a random palette for an indexed format.
inline void FillRandom(MemoryGraphicHandle& surface, std::mt19937& random) {
    for (std::uint8_t& byte : surface.Memory()) {
        byte = static_cast<std::uint8_t>(random());
    }
    const std::uint32_t entries = surface.GetPixelFormat().colorCount;
    for (std::uint32_t index = 0; index < entries && index < 256; ++index) {
        surface.SetPaletteEntryImpl(Vemo::PixelValue(static_cast<std::uint32_t>(random())), index);
    }
}

// The pixel at (x, y) of a surface, as a number, for messages.
inline std::string PixelText(MemoryGraphicHandle& surface, std::int32_t x, std::int32_t y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")=" + std::to_string(surface.PixelAt(x, y));
}

// Every pixel that differs between two surfaces of one size and format, for messages.
inline std::string Differences(MemoryGraphicHandle& actual, MemoryGraphicHandle& expected) {
    std::string text;
    int shown = 0;
    for (std::int32_t y = 0; y < actual.GetHeight(); ++y) {
        for (std::int32_t x = 0; x < actual.GetWidth(); ++x) {
            if (actual.PixelAt(x, y) != expected.PixelAt(x, y) && shown++ < 8) {
                text += " got " + PixelText(actual, x, y) + " want " + std::to_string(expected.PixelAt(x, y));
            }
        }
    }
    return text;
}

inline std::string OpName(Vemo::RasterOp op) {
    static const char* const kNames[] = {
        "Clear", "And",   "AndReverse", "Copy",      "AndInverted",  "NoOp",       "Xor",  "Or",
        "Nor",   "Equiv", "Invert",     "OrReverse", "CopyInverted", "OrInverted", "Nand", "Set"};
    const auto number = static_cast<std::uint32_t>(op);
    return number < 16 ? kNames[number] : "Op" + std::to_string(number);
}

inline std::vector<Vemo::RasterOp> AllRasterOps() {
    std::vector<Vemo::RasterOp> ops;
    for (std::uint32_t op = 0; op < Vemo::kRasterOpCount; ++op) {
        ops.push_back(static_cast<Vemo::RasterOp>(op));
    }
    return ops;
}

// A handle without pixel format (depth 0) and without memory, which records the points written through
// SetPixelImpl and answers each write with `accept`.
class PointRecordingHandle : public BareGraphicHandle {
public:
    PointRecordingHandle(std::int32_t width, std::int32_t height) {
        m_width = width;
        m_height = height;
        SetClipRect(Vemo::Rect(0, 0, width, height));
    }

    bool SetPixelImpl(std::uint32_t pixel, const Vemo::Point& point) override {
        m_points.emplace_back(point.x, point.y);
        m_pixels.push_back(pixel);
        return m_accept;
    }

    void SetLost(std::uint32_t lost) { m_lost = lost; }

    std::vector<std::pair<int, int>> m_points;
    std::vector<std::uint32_t> m_pixels;
    bool m_accept = true;
};

} // namespace VemoTest
