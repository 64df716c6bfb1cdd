#include "platform/win32/gdi/SystemPalette.h"

#include <gtest/gtest.h>

#include <tuple>

namespace win32::tests {
namespace {

std::tuple<int, int, int> Color(const RGBQUAD& entry) {
    return {entry.rgbRed, entry.rgbGreen, entry.rgbBlue};
}

TEST(GdiPaletteTest, TheSystemPaletteHoldsTheStaticColoursACubeAndGreys) {
    std::span<const RGBQUAD, 256> system = SystemPalette();
    EXPECT_EQ(Color(system[0]), std::make_tuple(0, 0, 0));
    EXPECT_EQ(Color(system[8]), std::make_tuple(192, 220, 192));
    EXPECT_EQ(Color(system[9]), std::make_tuple(166, 202, 240));
    EXPECT_EQ(Color(system[246]), std::make_tuple(255, 251, 240));
    EXPECT_EQ(Color(system[255]), std::make_tuple(255, 255, 255));
    EXPECT_EQ(Color(system[10 + 36 * 5 + 6 * 2 + 1]), std::make_tuple(255, 102, 51));
    EXPECT_EQ(Color(system[226]), std::make_tuple(12, 12, 12));
    EXPECT_EQ(Color(system[245]), std::make_tuple(242, 242, 242));
    EXPECT_EQ(FixedPalette(1).size(), 2u);
    EXPECT_EQ(FixedPalette(4).size(), 16u);
    EXPECT_EQ(FixedPalette(8).size(), 256u);
    EXPECT_TRUE(FixedPalette(16).empty());
    EXPECT_EQ(Color(StandardPalette()[3]), std::make_tuple(128, 128, 0));
    EXPECT_EQ(Color(StandardPalette()[8]), std::make_tuple(128, 128, 128));
}

TEST(GdiPaletteTest, AColourBecomesItsNearestEntryTheFirstOfEquals) {
    for (std::size_t i = 0; i < StandardPalette().size(); ++i) {
        const RGBQUAD& entry = StandardPalette()[i];
        EXPECT_EQ(NearestPaletteIndex(StandardPalette(), entry.rgbRed, entry.rgbGreen, entry.rgbBlue), i);
    }
    EXPECT_EQ(NearestPaletteIndex(StandardPalette(), 250, 10, 5), 9u);
    EXPECT_EQ(NearestPaletteIndex(MonochromePalette(), 127, 127, 127), 0u);
    EXPECT_EQ(NearestPaletteIndex(MonochromePalette(), 128, 128, 128), 1u);
    // Black and white are both static colours and cube corners: the first one wins.
    EXPECT_EQ(NearestPaletteIndex(SystemPalette(), 0, 0, 0), 0u);
    EXPECT_EQ(NearestPaletteIndex(SystemPalette(), 255, 255, 255), 225u);
    EXPECT_EQ(NearestPaletteIndex({}, 1, 2, 3), 0u);
}

} // namespace
} // namespace win32::tests
