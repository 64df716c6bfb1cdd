#include "engines/graphics/GraphicHandle.h"

#include "engines/graphics/Clipping.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/testing/MemoryGraphicHandle.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::uint32_t U(std::int32_t coordinate) {
    return static_cast<std::uint32_t>(coordinate);
}

std::string Text(const Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

// A memory handle that records what reaches the pixel layer, one line a call; its axis lines also draw, a
// pixel at a time, so that fills can be checked in memory.
class RecordingHandle : public MemoryGraphicHandle {
public:
    using MemoryGraphicHandle::MemoryGraphicHandle;

    bool BlitImpl(const Rect& destination, GraphicHandle*, const Rect& source, std::uint32_t mode) override {
        m_calls.push_back("scaled " + Text(destination) + " <- " + Text(source) + " m" +
                          std::to_string(mode));
        return true;
    }
    bool BlitRectImpl(const Point& destination, GraphicHandle*, const Rect& source,
                      std::uint32_t mode) override {
        m_calls.push_back("blit " + std::to_string(destination.x) + "," + std::to_string(destination.y) +
                          " <- " + Text(source) + " m" + std::to_string(mode));
        return true;
    }
    bool DrawLineImpl(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode) override {
        m_calls.push_back("line " + std::to_string(from.x) + "," + std::to_string(from.y) + " " +
                          std::to_string(to.x) + "," + std::to_string(to.y) + Tail(pixel, mode));
        return true;
    }
    bool DrawHorizontalLineImpl(std::uint32_t x1, std::uint32_t x2, std::uint32_t y, std::uint32_t pixel,
                                std::uint32_t mode) override {
        m_calls.push_back("h " + std::to_string(x1) + ".." + std::to_string(x2) + " y" + std::to_string(y) +
                          Tail(pixel, mode));
        for (std::uint32_t x = x1; x <= x2; ++x) {
            SetPixelImpl(pixel, Point(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
        }
        return !m_failLines;
    }
    bool DrawVerticalLineImpl(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, std::uint32_t pixel,
                              std::uint32_t mode) override {
        m_calls.push_back("v x" + std::to_string(x) + " " + std::to_string(y1) + ".." + std::to_string(y2) +
                          Tail(pixel, mode));
        for (std::uint32_t y = y1; y <= y2; ++y) {
            SetPixelImpl(pixel, Point(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
        }
        return !m_failLines;
    }
    bool DrawCircleImpl(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                        std::uint32_t mode) override {
        m_calls.push_back("circle " + std::to_string(centre.x) + "," + std::to_string(centre.y) + " r" +
                          std::to_string(radius) + (filled ? " filled" : "") + Tail(pixel, mode));
        return true;
    }

    std::vector<std::string> TakeCalls() {
        std::vector<std::string> taken;
        taken.swap(m_calls);
        return taken;
    }

    // The pixels of the memory that are not 0.
    int CountSet() {
        int count = 0;
        for (std::int32_t y = 0; y < GetHeight(); ++y) {
            for (std::int32_t x = 0; x < GetWidth(); ++x) {
                count += PixelAt(x, y) != 0 ? 1 : 0;
            }
        }
        return count;
    }

    bool m_failLines = false;

private:
    static std::string Tail(std::uint32_t pixel, std::uint32_t mode) {
        return " #" + std::to_string(pixel) + " m" + std::to_string(mode);
    }

    std::vector<std::string> m_calls;
};

using Calls = std::vector<std::string>;

class GraphicHandleTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(m_application.TakeReports().empty()); }

    TestApplication m_application;
};

TEST_F(GraphicHandleTest, ABareHandleHoldsNothingAndRefusesWhatSubclassesSupply) {
    BareGraphicHandle handle;
    EXPECT_EQ(handle.GetWidth(), 0);
    EXPECT_EQ(handle.GetHeight(), 0);
    EXPECT_EQ(handle.GetColorTag(), 0u);
    EXPECT_EQ(handle.GetPlacement(), 0u);
    EXPECT_EQ(handle.GetPixelFormat().format, StandardPixelFormat::None);
    EXPECT_EQ(handle.GetClipRect(), Rect(0, 0, 0, 0));
    EXPECT_FALSE(handle.IsReadOnly());
    EXPECT_EQ(handle.GetForegroundPixel(), 0u);
    EXPECT_FALSE(handle.IsFilled());
    EXPECT_FALSE(handle.IsColorKeyEnabled());
    EXPECT_EQ(handle.GetColorKeyPixel(), 0u);
    EXPECT_EQ(handle.GetBlitMode(), 1u);
    EXPECT_EQ(handle.GetDrawMode(), 3u);
    EXPECT_EQ(handle.GetLostFlag(), 0u);
    EXPECT_EQ(handle.GetLockCount(), 0u);
    EXPECT_TRUE(handle.GetGraphics().Empty());

    EXPECT_FALSE(handle.IsAvailable());
    EXPECT_FALSE(handle.Lock());
    EXPECT_FALSE(handle.Unlock());
    EXPECT_FALSE(handle.IsLocked());
    EXPECT_FALSE(handle.IsLost());
    EXPECT_FALSE(handle.Restore());
    EXPECT_FALSE(handle.HasBlitter());
    EXPECT_FALSE(handle.HasAlphaBlitter());
    EXPECT_FALSE(handle.SetAlphaGraphic(nullptr, 1));
    EXPECT_FALSE(handle.ClearAlphaGraphic(nullptr));
    EXPECT_FALSE(handle.SetPaletteEntryImpl(PixelValue(0xFFFFFF), 0));
    EXPECT_EQ(handle.GetPaletteEntryImpl(0), 0u);
    std::uint32_t info = 99;
    EXPECT_EQ(handle.GetAlphaGraphic(&info), nullptr);
    EXPECT_EQ(info, 0u);
    EXPECT_EQ(handle.GetAlphaGraphic(nullptr), nullptr);

    // The base holds no memory, so whatever has to lock it fails.
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 1, 1), 0u, true, 3));
    EXPECT_FALSE(handle.SetPixelImpl(1, Point(0, 0)));
    EXPECT_FALSE(handle.PlotPixelImpl(1, Point(0, 0), 3));
}

TEST_F(GraphicHandleTest, SetClipRectCutsToTheSurfaceAndAnswersWhetherAnythingIsLeft) {
    struct Row {
        Rect given;
        Rect stored;
        bool answer;
    };
    const Row rows[] = {
        {Rect(-10, -10, 5000, 5000), Rect(0, 0, 640, 480), true},
        {Rect(10, 20, 30, 40), Rect(10, 20, 30, 40), true},
        {Rect(5, 5, 5, 20), Rect(5, 5, 5, 20), false},
        // Reversed and off-surface rectangles are empty as well.
        {Rect(10, 0, 5, 10), Rect(10, 0, 5, 10), false},
        {Rect(700, 0, 800, 10), Rect(700, 0, 640, 10), false},
        {Rect(kMin, kMin, kMin, kMin), Rect(0, 0, kMin, kMin), false},
    };
    MemoryGraphicHandle handle(640, 480, PixelFormat(StandardPixelFormat::Rgb565));
    for (const Row& row : rows) {
        SCOPED_TRACE(Text(row.given));
        EXPECT_EQ(handle.SetClipRect(row.given), row.answer);
        EXPECT_EQ(handle.GetClipRect(), row.stored);
    }
}

TEST_F(GraphicHandleTest, ColoursOfADirectFormatArePackedAndUnpackedInTheSurfaceTag) {
    MemoryGraphicHandle handle(4, 4, PixelFormat(StandardPixelFormat::Rgb565), 1);
    EXPECT_TRUE(handle.SetForegroundColor(Color(PixelValue(0xFF, 0x80, 0x10), 1)));
    EXPECT_EQ(handle.GetForegroundPixel(), 0xFC02u);
    EXPECT_EQ(handle.GetForegroundColor(), Color(PixelValue(0xF8, 0x80, 0x10), 1));
    EXPECT_EQ(handle.ColorToPixel(Color(PixelValue(0xFF, 0x80, 0x10), 1)), 0xFC02u);
    EXPECT_EQ(handle.NearestColor(Color(PixelValue(0xFF, 0x80, 0x10), 1)),
              Color(PixelValue(0xF8, 0x80, 0x10), 1));

    EXPECT_TRUE(handle.SetColorKey(Color(PixelValue(0x00, 0xFF, 0x00), 1)));
    EXPECT_EQ(handle.GetColorKeyPixel(), 0x07E0u);
    EXPECT_EQ(handle.GetColorKey(), Color(PixelValue(0x00, 0xFC, 0x00), 1));

    // A colour of another tag is black.
    EXPECT_TRUE(handle.SetForegroundColor(Color(PixelValue(0xFFFFFF), 2)));
    EXPECT_EQ(handle.GetForegroundPixel(), 0u);
    EXPECT_EQ(handle.GetForegroundColor(), Color(PixelValue(), 1));
    EXPECT_EQ(handle.ColorToPixel(Color(PixelValue(0xFFFFFF), 2)), 0u);
    EXPECT_EQ(handle.NearestColor(Color(PixelValue(0xFFFFFF), 2)), Color(PixelValue(), 1));
}

// An 8-bit indexed handle with a palette of greys, entry i holding (i, i, i), and a few colours.
class IndexedHandleTest : public GraphicHandleTest {
protected:
    void SetUp() override {
        for (std::uint32_t index = 0; index < 256; ++index) {
            const auto level = static_cast<std::uint8_t>(index);
            ASSERT_TRUE(m_handle.SetPaletteEntryImpl(PixelValue(level, level, level), index));
        }
    }

    MemoryGraphicHandle m_handle{8, 2, PixelFormat(StandardPixelFormat::Indexed8), 1};
};

TEST_F(IndexedHandleTest, AnExactPaletteEntryEndsTheSearch) {
    m_handle.SetPaletteEntryImpl(PixelValue(0x10, 0x20, 0x30), 7);
    const int before = m_handle.PaletteReads();
    EXPECT_EQ(m_handle.ColorToPixelImpl(PixelValue(0xFF302010)), 7u) << "the spare byte is not compared";
    EXPECT_EQ(m_handle.PaletteReads() - before, 8);
}

TEST_F(IndexedHandleTest, TheFirstOfTheNearestEntriesWins) {
    for (std::uint32_t index = 0; index < 256; ++index) {
        m_handle.SetPaletteEntryImpl(PixelValue(0xFF, 0xFF, 0xFF), index);
    }
    m_handle.SetPaletteEntryImpl(PixelValue(0x10, 0x10, 0x12), 3);
    m_handle.SetPaletteEntryImpl(PixelValue(0x10, 0x10, 0x0E), 9);
    EXPECT_EQ(m_handle.ColorToPixelImpl(PixelValue(0x10, 0x10, 0x10)), 3u);
    EXPECT_EQ(m_handle.ColorToPixel(Color(PixelValue(0x10, 0x10, 0x10), 1)), 3u);
}

TEST_F(IndexedHandleTest, ColoursGoThroughThePalette) {
    EXPECT_EQ(m_handle.ColorToPixel(Color(PixelValue(0x41, 0x40, 0x3F), 1)), 0x40u);
    // Another tag is black, and black is entry 0 here.
    EXPECT_EQ(m_handle.ColorToPixel(Color(PixelValue(0xFFFFFF), 5)), 0u);

    EXPECT_TRUE(m_handle.SetForegroundColor(Color(PixelValue(0x80, 0x80, 0x81), 1)));
    EXPECT_EQ(m_handle.GetForegroundPixel(), 0x80u);
    EXPECT_EQ(m_handle.GetForegroundColor(), Color(PixelValue(0x80, 0x80, 0x80), 1));
    EXPECT_EQ(m_handle.NearestColor(Color(PixelValue(0x12, 0x10, 0x11), 1)),
              Color(PixelValue(0x11, 0x11, 0x11), 1));

    EXPECT_TRUE(m_handle.SetPixel(Color(PixelValue(0x21, 0x20, 0x20), 1), Point(3, 1)));
    EXPECT_EQ(m_handle.PixelAt(3, 1), 0x20u);
    EXPECT_EQ(m_handle.GetPixelColor(Point(3, 1)), Color(PixelValue(0x20, 0x20, 0x20), 1));
}

TEST_F(IndexedHandleTest, PaletteEntriesCarryTheSurfaceTag) {
    EXPECT_TRUE(m_handle.SetPaletteEntry(Color(PixelValue(0x102030), 1), 5));
    EXPECT_EQ(m_handle.GetPaletteEntry(5), Color(PixelValue(0x102030), 1));
    EXPECT_TRUE(m_handle.SetPaletteEntry(Color(PixelValue(0x102030), 2), 6));
    EXPECT_EQ(m_handle.GetPaletteEntryImpl(6), 0u) << "a foreign colour is stored as black";
    EXPECT_FALSE(m_handle.SetPaletteEntry(Color(PixelValue(0x102030), 1), 256));
}

// One pixel of every depth code, written at x = 5 of row 1 into memory of 0xFF bytes.
struct PixelCase {
    const char* name;
    StandardPixelFormat format;
    std::uint32_t value;
    std::uint32_t offset;
    std::vector<std::uint8_t> bytes;
    std::uint32_t readBack;
};

void PrintTo(const PixelCase& pixel, std::ostream* out) {
    *out << pixel.name;
}

class PixelLayoutTest : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelLayoutTest, WritesThePixelsBitsInPlaceOnBothRowOrders) {
    const PixelCase& pixel = GetParam();
    for (const int direction : {1, -1}) {
        SCOPED_TRACE(direction);
        MemoryGraphicHandle handle(8, 2, PixelFormat(pixel.format), 1, 32 * direction);
        std::fill(handle.Memory().begin(), handle.Memory().end(), 0xFF);
        ASSERT_TRUE(handle.SetPixel(pixel.value, Point(5, 1)));
        const std::uint8_t* row = handle.Row(1);
        EXPECT_EQ(std::vector<std::uint8_t>(row + pixel.offset, row + pixel.offset + pixel.bytes.size()),
                  pixel.bytes);
        EXPECT_EQ(std::count(handle.Memory().begin(), handle.Memory().end(), 0xFF),
                  static_cast<long>(handle.Memory().size() - pixel.bytes.size()) +
                      std::count(pixel.bytes.begin(), pixel.bytes.end(), 0xFF))
            << "no other byte changes";
        EXPECT_EQ(handle.GetPixel(Point(5, 1)), pixel.readBack);
        EXPECT_EQ(handle.GetLockCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, PixelLayoutTest,
    testing::Values(
        PixelCase{"Depth1", StandardPixelFormat::Indexed1, 0, 0, {0xFB}, 0},
        PixelCase{"Depth1HighBitsIgnored", StandardPixelFormat::Indexed1, 0xFE, 0, {0xFB}, 0},
        PixelCase{"Depth2", StandardPixelFormat::Indexed2, 1, 1, {0xDF}, 1},
        PixelCase{"Depth4LowNibble", StandardPixelFormat::Indexed4, 0x5, 2, {0xF5}, 5},
        PixelCase{"Depth8", StandardPixelFormat::Indexed8, 0x7F, 5, {0x7F}, 0x7F},
        PixelCase{"Depth16", StandardPixelFormat::Rgb565, 0xBEEF, 10, {0xEF, 0xBE}, 0xBEEF},
        PixelCase{"Depth24", StandardPixelFormat::Rgb24, 0xAB123456, 15, {0x56, 0x34, 0x12}, 0x123456},
        PixelCase{
            "Depth32", StandardPixelFormat::Xrgb32, 0xDEADBEEF, 20, {0xEF, 0xBE, 0xAD, 0xDE}, 0xDEADBEEF}),
    [](const testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicHandleTest, TheHighNibbleHoldsTheEvenPixel) {
    MemoryGraphicHandle handle(4, 1, PixelFormat(StandardPixelFormat::Indexed4));
    EXPECT_TRUE(handle.SetPixel(0xA, Point(2, 0)));
    EXPECT_TRUE(handle.SetPixel(0x3, Point(3, 0)));
    EXPECT_EQ(handle.Row(0)[1], 0xA3);
}

TEST_F(GraphicHandleTest, PixelsOutsideTheClipRectAreNeitherWrittenNorRead) {
    MemoryGraphicHandle handle(8, 8, PixelFormat(StandardPixelFormat::Indexed8));
    handle.PutPixel(1, 1, 9);
    ASSERT_TRUE(handle.SetClipRect(Rect(2, 2, 6, 6)));
    for (const Point point : {Point(1, 1), Point(6, 3), Point(3, 6), Point(-1, 3), Point(kMin, kMax)}) {
        EXPECT_TRUE(handle.SetPixel(7, point));
        EXPECT_TRUE(handle.PlotPixel(7, point, 3));
    }
    EXPECT_EQ(handle.GetPixel(Point(1, 1)), 0u);
    EXPECT_EQ(handle.PixelAt(1, 1), 9u);
    EXPECT_EQ(std::count(handle.Memory().begin(), handle.Memory().end(), 7), 0);
    EXPECT_EQ(handle.LocksAsked(), 0);
}

TEST_F(GraphicHandleTest, ReadOnlyLostAndUnlockableSurfacesKeepTheirPixels) {
    MemoryGraphicHandle handle(4, 4, PixelFormat(StandardPixelFormat::Indexed8));
    handle.PutPixel(1, 1, 9);

    EXPECT_TRUE(handle.SetReadOnly(true));
    EXPECT_FALSE(handle.SetPixel(7, Point(1, 1)));
    EXPECT_FALSE(handle.PlotPixel(7, Point(1, 1), 3));
    EXPECT_EQ(handle.GetPixel(Point(1, 1)), 9u) << "reading a read-only surface is allowed";
    handle.SetReadOnly(false);

    handle.SetLost(1);
    EXPECT_FALSE(handle.SetPixel(7, Point(1, 1)));
    EXPECT_EQ(handle.GetPixel(Point(1, 1)), 0u);
    handle.SetLost(0);

    handle.FailLocks(1);
    EXPECT_FALSE(handle.SetPixel(7, Point(1, 1)));
    handle.FailLocks(1);
    EXPECT_EQ(handle.GetPixel(Point(1, 1)), 0u);
    handle.FailLocks(1);
    EXPECT_FALSE(handle.PlotPixel(7, Point(1, 1), 3));

    EXPECT_EQ(handle.PixelAt(1, 1), 9u);
    EXPECT_EQ(handle.GetLockCount(), 0u);
}

TEST_F(GraphicHandleTest, PlotPixelReplacesOnlyInMode3) {
    MemoryGraphicHandle handle(4, 4, PixelFormat(StandardPixelFormat::Xrgb32));
    handle.PutPixel(2, 2, 0x123456);
    EXPECT_TRUE(handle.PlotPixel(0xFF, Point(2, 2), 5));
    EXPECT_EQ(handle.PixelAt(2, 2), 0x123456u);
    EXPECT_TRUE(handle.PlotPixel(0xFF, Point(2, 2), 6));
    EXPECT_EQ(handle.PixelAt(2, 2), 0x123456u);
    EXPECT_TRUE(handle.PlotPixel(0xFF, Point(2, 2), 3));
    EXPECT_EQ(handle.PixelAt(2, 2), 0xFFu);
    EXPECT_EQ(handle.GetLockCount(), 0u);
}

TEST_F(GraphicHandleTest, DirectPixelsReadAsColoursOfTheSurfaceTag) {
    MemoryGraphicHandle handle(4, 4, PixelFormat(StandardPixelFormat::Rgb555), 7);
    EXPECT_TRUE(handle.SetPixel(Color(PixelValue(0xFF, 0x0F, 0x88), 7), Point(1, 2)));
    EXPECT_EQ(handle.PixelAt(1, 2), 0x7C00u | 0x1u << 5 | 0x11u);
    EXPECT_EQ(handle.GetPixelColor(Point(1, 2)), Color(PixelValue(0xF8, 0x08, 0x88), 7));
    EXPECT_TRUE(handle.SetPixel(Color(PixelValue(0xFFFFFF), 1), Point(1, 2)));
    EXPECT_EQ(handle.PixelAt(1, 2), 0u);
}

TEST_F(GraphicHandleTest, LockedMemoryIsReachableOnlyWhileLocked) {
    MemoryGraphicHandle handle(4, 4, PixelFormat(StandardPixelFormat::Rgb565), 1, -8);
    EXPECT_EQ(handle.GetLockedPitch(), 0);
    EXPECT_EQ(handle.GetLockedPixels(), nullptr);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{GraphicSystemErrNoPixelMemory}, {GraphicSystemErrNoPixelMemory}}));
    EXPECT_EQ(GraphicSystemErrNoPixelMemory, 0x010101000000003Du);

    ASSERT_TRUE(handle.Lock());
    ASSERT_TRUE(handle.Lock());
    EXPECT_TRUE(handle.IsLocked());
    EXPECT_EQ(handle.GetLockedPitch(), -8);
    EXPECT_EQ(handle.GetLockedPixels(), handle.Row(0));
    EXPECT_TRUE(handle.Unlock());
    EXPECT_EQ(handle.GetLockedPixels(), handle.Row(0)) << "locks nest";
    EXPECT_TRUE(handle.Unlock());
    EXPECT_FALSE(handle.IsLocked());
    EXPECT_FALSE(handle.Unlock());
}

// A surface whose lock succeeds but gives no memory.
class MemorylessHandle : public BareGraphicHandle {
public:
    MemorylessHandle() { m_pixelFormat = PixelFormat(StandardPixelFormat::Indexed8); }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
};

TEST_F(GraphicHandleTest, PixelAccessWithoutMemoryReportsIt) {
    MemorylessHandle handle;
    EXPECT_FALSE(handle.SetPixelImpl(1, Point(0, 0)));
    EXPECT_EQ(handle.GetPixelImpl(Point(0, 0)), 0u);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{GraphicSystemErrNoPixelMemory}, {GraphicSystemErrNoPixelMemory}}));
}

TEST_F(GraphicHandleTest, AxisLinesOrderAndClipTheirEndsAsSignedNumbers) {
    struct Row {
        const char* name;
        bool horizontal;
        std::int32_t a;
        std::int32_t b;
        std::int32_t at;
        Calls calls;
    };
    const Row rows[] = {
        {"ends ordered, the far end cut", true, 700, 0, 10, {"h 0..639 y10 #5 m3"}},
        {"a negative end is cut to the clip", true, -10, 10, 5, {"h 0..10 y5 #5 m3"}},
        {"far negative ends", true, kMin, kMax, 0, {"h 0..639 y0 #5 m3"}},
        {"wholly left", true, -20, -1, 5, {}},
        {"above", true, 0, 10, -1, {}},
        {"below", true, 0, 10, 480, {}},
        {"a vertical line from above", false, -3, 4, 3, {"v x3 0..4 #5 m3"}},
        {"vertical, ends ordered", false, 900, 470, 639, {"v x639 470..479 #5 m3"}},
        {"at the clip's right edge", false, 0, 10, 640, {}},
        {"left of the clip", false, 0, 10, -1, {}},
    };
    RecordingHandle handle(640, 480, PixelFormat(StandardPixelFormat::Indexed8));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool answer = row.horizontal ? handle.DrawHorizontalLine(U(row.a), U(row.b), U(row.at), 5u, 3)
                                           : handle.DrawVerticalLine(U(row.at), U(row.a), U(row.b), 5u, 3);
        EXPECT_TRUE(answer);
        EXPECT_EQ(handle.TakeCalls(), row.calls);
    }

    handle.SetReadOnly(true);
    EXPECT_FALSE(handle.DrawHorizontalLine(0, 10, 5, 5u, 3));
    EXPECT_FALSE(handle.DrawVerticalLine(5, 0, 10, 5u, 3));
    EXPECT_TRUE(handle.TakeCalls().empty());
}

TEST_F(GraphicHandleTest, DrawLineClipsByOutcodes) {
    RecordingHandle handle(640, 480, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.DrawLine(Point(-10, -10), Point(10, 10), 5u, 3));
    EXPECT_TRUE(handle.DrawLine(Point(-5, -20), Point(30, -1), 5u, 3)) << "wholly above";
    EXPECT_TRUE(handle.DrawLine(Point(1, 2), Point(3, 4), 5u, 3));
    EXPECT_TRUE(handle.DrawLine(Point(-100, 500), Point(700, -20), 5u, 3));
    EXPECT_TRUE(handle.DrawLine(Point(5, 7), Point(9, 7), 5u, 3));
    EXPECT_TRUE(handle.DrawLine(Point(5, 7), Point(5, -7), 5u, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"line 0,0 10,10 #5 m3", "line 1,2 3,4 #5 m3",
                                         "line 0,436 639,19 #5 m3", "h 5..9 y7 #5 m3", "v x5 0..7 #5 m3"}));
}

TEST_F(GraphicHandleTest, ClippedLinesEndInsideTheBox) {
    // Every segment between points of a grid around a small clip box, with rounding at every step.
    const Rect box(3, 2, 11, 8);
    for (std::int32_t x1 = -4; x1 <= 16; x1 += 2) {
        for (std::int32_t y1 = -5; y1 <= 14; y1 += 3) {
            for (std::int32_t x2 = -6; x2 <= 18; ++x2) {
                for (std::int32_t y2 = -4; y2 <= 13; ++y2) {
                    Point from(x1, y1);
                    Point to(x2, y2);
                    if (!ClipLineToBox(from, to, box)) {
                        continue;
                    }
                    ASSERT_TRUE(from.x >= 3 && from.x <= 10 && from.y >= 2 && from.y <= 7)
                        << x1 << "," << y1 << " " << x2 << "," << y2;
                    ASSERT_TRUE(to.x >= 3 && to.x <= 10 && to.y >= 2 && to.y <= 7)
                        << x1 << "," << y1 << " " << x2 << "," << y2;
                }
            }
        }
    }
    Point from(0, 0);
    Point to(5, 5);
    EXPECT_FALSE(ClipLineToBox(from, to, Rect(4, 4, 4, 9))) << "an empty box shows nothing";
    from = Point(kMin, kMin);
    to = Point(kMax, kMax);
    EXPECT_TRUE(ClipLineToBox(from, to, Rect(0, 0, 640, 480)));
    EXPECT_EQ(from, Point(0, 0));
    EXPECT_EQ(to, Point(479, 479));
}

TEST_F(GraphicHandleTest, UnscaledBlitsClipSourceAndDestination) {
    RecordingHandle handle(100, 50, PixelFormat(StandardPixelFormat::Indexed8));
    MemoryGraphicHandle source(20, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.Blit(Point(-5, 0), &source, 3));
    EXPECT_TRUE(handle.Blit(Point(10, 10), &source, Rect(-4, -2, 30, 5), 6));
    EXPECT_TRUE(handle.Blit(Point(95, 45), &source, Rect(0, 0, 20, 10), 3));
    EXPECT_TRUE(handle.Blit(Point(100, 0), &source, 3)) << "wholly right of the clip";
    EXPECT_TRUE(handle.Blit(Point(0, 0), &source, Rect(20, 0, 30, 10), 3)) << "wholly outside the source";
    EXPECT_TRUE(handle.Blit(Point(kMax, kMax), &source, Rect(kMin, kMin, kMax, kMax), 3));
    handle.SetClipRect(Rect(10, 10, 20, 20));
    EXPECT_TRUE(handle.Blit(Point(5, 5), &source, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"blit 0,0 <- 5,0,20,10 m3", "blit 14,12 <- 0,0,20,5 m6",
                                         "blit 95,45 <- 0,0,5,5 m3", "blit 10,10 <- 5,5,15,10 m3"}));

    MemoryGraphicHandle empty(0, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.Blit(Point(0, 0), &empty, 3));
    EXPECT_TRUE(handle.BlitScaled(Rect(0, 0, 10, 10), &empty, 3));
    EXPECT_FALSE(handle.Blit(Point(0, 0), nullptr, 3));
    EXPECT_FALSE(handle.BlitScaled(Rect(0, 0, 10, 10), nullptr, 3));
    handle.SetReadOnly(true);
    EXPECT_FALSE(handle.Blit(Point(10, 10), &source, 3));
    EXPECT_TRUE(handle.TakeCalls().empty());
}

TEST_F(GraphicHandleTest, ScaledBlitsCarryEachCutOverInProportion) {
    RecordingHandle handle(100, 50, PixelFormat(StandardPixelFormat::Indexed8));
    MemoryGraphicHandle source(100, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.BlitScaled(Rect(-50, 0, 150, 20), &source, 3));
    EXPECT_TRUE(handle.BlitScaled(Rect(10, 10, 30, 20), &source, Rect(-10, 0, 10, 5), 3));
    EXPECT_TRUE(handle.BlitScaled(Rect(5, 5, 15, 15), &source, Rect(0, 0, 10, 10), 6))
        << "same size: unscaled";
    EXPECT_EQ(handle.TakeCalls(), (Calls{"scaled 0,0,100,20 <- 25,0,75,10 m3",
                                         "scaled 20,10,30,20 <- 0,0,10,5 m3", "blit 5,5 <- 0,0,10,10 m6"}));
}

TEST_F(GraphicHandleTest, ScaledBlitsThatClipToNothingNeverDivideByAnEmptyExtent) {
    RecordingHandle handle(20, 10, PixelFormat(StandardPixelFormat::Indexed8));
    MemoryGraphicHandle source(20, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.BlitScaled(Rect(0, 0, 20, 10), &source, Rect(-5, 0, -5, 10), 3)) << "empty as given";
    EXPECT_TRUE(handle.BlitScaled(Rect(-50, 0, -30, 10), &source, Rect(-10, 0, 0, 10), 3))
        << "empty once cut";
    EXPECT_TRUE(handle.BlitScaled(Rect(0, 0, 20, 10), &source, Rect(5, 5, 1, 1), 3));
    EXPECT_TRUE(handle.BlitScaled(Rect(30, 0, 40, 5), &source, Rect(0, 0, 20, 10), 3));
    EXPECT_TRUE(handle.TakeCalls().empty());

    // Extents of 32 bits scale without overflow.
    EXPECT_TRUE(handle.BlitScaled(Rect(kMin, 0, kMax, 10), &source, Rect(0, 0, 20, 10), 3));
    EXPECT_TRUE(handle.BlitScaled(Rect(0, 0, 20, 5), &source, Rect(kMin, 0, kMax, 10), 3));
    EXPECT_EQ(handle.TakeCalls(),
              (Calls{"scaled 0,0,20,10 <- 10,0,11,10 m3", "scaled 10,0,11,5 <- 0,0,20,10 m3"}));
}

TEST_F(GraphicHandleTest, AFilledRectangleCoversExactlyItsClippedArea) {
    RecordingHandle handle(10, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(handle.FillRect(Rect(2, 2, 5, 5), 7u, true, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"h 2..4 y2 #7 m3", "h 2..4 y3 #7 m3", "h 2..4 y4 #7 m3"}));
    EXPECT_EQ(handle.CountSet(), 9);
    for (std::int32_t y = 2; y < 5; ++y) {
        for (std::int32_t x = 2; x < 5; ++x) {
            EXPECT_EQ(handle.PixelAt(x, y), 7u);
        }
    }
    EXPECT_EQ(handle.GetLockCount(), 0u);

    RecordingHandle wide(200, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_TRUE(wide.FillRect(Rect(-40000, 0, 100, 10), 1u, true, 3));
    const Calls calls = wide.TakeCalls();
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls.front(), "h 0..99 y0 #1 m3");
    EXPECT_EQ(calls.back(), "h 0..99 y9 #1 m3");
    EXPECT_EQ(wide.CountSet(), 1000);
}

TEST_F(GraphicHandleTest, AFilledRectangleOutsideTheClipAnswersFalse) {
    RecordingHandle handle(10, 10, PixelFormat(StandardPixelFormat::Indexed8));
    EXPECT_FALSE(handle.FillRect(Rect(10, 0, 20, 10), 7u, true, 3));
    EXPECT_FALSE(handle.FillRect(Rect(3, 3, 3, 8), 7u, true, 3));
    handle.FailLocks(1);
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 5, 5), 7u, true, 3));
    handle.m_failLines = true;
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 5, 5), 7u, true, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"h 0..4 y0 #7 m3"})) << "the first failing row stops the fill";
    EXPECT_EQ(handle.GetLockCount(), 0u);
    handle.SetReadOnly(true);
    handle.m_failLines = false;
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 5, 5), 7u, true, 3));
    EXPECT_TRUE(handle.TakeCalls().empty());
}

TEST_F(GraphicHandleTest, AnOutlineDrawsTheEdgesOnTheFarCoordinates) {
    struct Row {
        const char* name;
        Rect rect;
        Calls calls;
    };
    const Row rows[] = {
        {"square",
         Rect(1, 1, 4, 4),
         {"v x1 2..3 #7 m3", "v x4 2..3 #7 m3", "h 1..4 y4 #7 m3", "h 1..4 y1 #7 m3"}},
        {"height 0", Rect(1, 1, 4, 1), {"h 1..4 y1 #7 m3"}},
        {"height 1", Rect(1, 1, 4, 2), {"h 1..4 y2 #7 m3", "h 1..4 y1 #7 m3"}},
        {"width 1", Rect(1, 1, 2, 4), {"v x1 2..3 #7 m3", "h 1..2 y4 #7 m3", "h 1..2 y1 #7 m3"}},
        {"reaching out of the clip", Rect(-2, 8, 12, 12), {"h 0..9 y8 #7 m3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingHandle handle(10, 10, PixelFormat(StandardPixelFormat::Indexed8));
        EXPECT_TRUE(handle.FillRect(row.rect, 7u, false, 3));
        EXPECT_EQ(handle.TakeCalls(), row.calls);
    }
}

TEST_F(GraphicHandleTest, TheFormsWithoutPixelTakeTheDrawingState) {
    RecordingHandle handle(10, 10, PixelFormat(StandardPixelFormat::Rgb565));
    handle.SetForegroundPixel(0x1234);
    handle.SetDrawMode(6);
    handle.SetFilled(true);
    EXPECT_TRUE(handle.DrawLine(Point(0, 0), Point(3, 2)));
    EXPECT_TRUE(handle.DrawHorizontalLine(1, 2, 3));
    EXPECT_TRUE(handle.DrawVerticalLine(1, 2, 3));
    EXPECT_TRUE(handle.FillRect(Rect(0, 0, 2, 1)));
    EXPECT_TRUE(handle.DrawCircle(Point(5, 5), 3));
    EXPECT_TRUE(handle.DrawLine(Point(0, 0), Point(3, 2), Color(PixelValue(0xFF, 0x80, 0x10), 1), 9));
    EXPECT_TRUE(handle.DrawCircle(Point(5, 5), 2, Color(PixelValue(0xFFFFFF), 2), false, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"line 0,0 3,2 #4660 m6", "h 1..2 y3 #4660 m6", "v x1 2..3 #4660 m6",
                                         "h 0..1 y0 #4660 m6", "circle 5,5 r3 filled #4660 m6",
                                         "line 0,0 3,2 #64514 m9", "circle 5,5 r2 #0 m3"}));

    EXPECT_FALSE(handle.ReservedRect(Rect(0, 0, 2, 2)));
    handle.SetReadOnly(true);
    EXPECT_FALSE(handle.DrawLine(Point(0, 0), Point(3, 2)));
    EXPECT_FALSE(handle.DrawCircle(Point(5, 5), 3));
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 2, 1)));
    EXPECT_TRUE(handle.TakeCalls().empty());
}

TEST_F(GraphicHandleTest, ClearFillsTheWholeSurfaceWithBlack) {
    RecordingHandle handle(4, 3, PixelFormat(StandardPixelFormat::Rgb565), 5);
    std::fill(handle.Memory().begin(), handle.Memory().end(), 0xFF);
    handle.SetClipRect(Rect(1, 1, 2, 2));
    handle.SetReadOnly(true);
    EXPECT_FALSE(handle.Clear());
    EXPECT_EQ(handle.GetClipRect(), Rect(1, 1, 2, 2));
    handle.SetReadOnly(false);

    EXPECT_TRUE(handle.Clear());
    EXPECT_EQ(handle.GetClipRect(), Rect(0, 0, 4, 3));
    EXPECT_EQ(handle.TakeCalls(), (Calls{"h 0..3 y0 #0 m3", "h 0..3 y1 #0 m3", "h 0..3 y2 #0 m3"}));
    EXPECT_EQ(handle.CountSet(), 0);
}

} // namespace
