#include "engines/image/effects/NearestPaletteIndex.h"

#include <gtest/gtest.h>

namespace {

using Vemo::NearestPaletteIndex;
using Vemo::Palette256;

Palette256 Gray() {
    Palette256 palette;
    for (std::uint32_t index = 0; index < 256; ++index) {
        palette[index] = index * 0x010101;
    }
    return palette;
}

TEST(NearestPaletteIndexTest, TheFirstEqualEntryElseTheFirstNearest) {
    Palette256 palette = Gray();
    EXPECT_EQ(NearestPaletteIndex(palette, 0x404040), 0x40);
    // Bits above the colour are not compared.
    EXPECT_EQ(NearestPaletteIndex(palette, 0xFF404040), 0x40);
    palette[0x90] = 0x404040;
    EXPECT_EQ(NearestPaletteIndex(palette, 0x404040), 0x40);
    // (0x40, 0x40, 0x41) is as near to entry 0x40 as to entry 0x41 (0x41 in every channel): 0x40 comes first.
    EXPECT_EQ(NearestPaletteIndex(palette, 0x414040), 0x40);
    EXPECT_EQ(NearestPaletteIndex(palette, 0x424140), 0x41);

    Palette256 flat;
    flat.fill(0x102030);
    EXPECT_EQ(NearestPaletteIndex(flat, 0xFFFFFF), 0);
}

} // namespace
