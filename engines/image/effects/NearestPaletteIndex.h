// The entry of a 256-colour palette nearest to a colour: the first entry equal to it, else the entry with the
// least sum of squared differences of the three 8-bit channels, the first of them on ties. Palette entries
// and the colour are 24-bit colour words (red in bits 0-7); bits above 23 are not compared.
#pragma once

#include <array>
#include <cstdint>

namespace Vemo {

using Palette256 = std::array<std::uint32_t, 256>;

std::uint8_t NearestPaletteIndex(const Palette256& palette, std::uint32_t color);

} // namespace Vemo
