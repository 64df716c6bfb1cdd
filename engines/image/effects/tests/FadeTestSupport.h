// The fade written as its table, for the tests of the cross-fade and its rows: a channel becomes
// a + T[b - a], T[k] = (k level + 128) >> 8 for k = 1 to K and T[-k] = -T[k].
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace VemoTest {

inline std::int32_t TableStep(std::int32_t difference, std::uint32_t level) {
    const auto size = static_cast<std::uint32_t>(difference < 0 ? -difference : difference);
    const auto step = static_cast<std::int32_t>((size * level + 128) >> 8);
    return difference < 0 ? -step : step;
}

inline std::uint32_t TableChannel(std::uint32_t a, std::uint32_t b, std::uint32_t level) {
    return static_cast<std::uint32_t>(
        static_cast<std::int32_t>(a) +
        TableStep(static_cast<std::int32_t>(b) - static_cast<std::int32_t>(a), level));
}

// The blend of one pixel by the table, channel by channel: (shift, width) of each channel; other bits 0.
struct Layout {
    std::uint32_t bytesPerPixel;
    std::vector<std::pair<int, int>> channels;
};

inline std::uint32_t BlendPixel(const Layout& layout, std::uint32_t a, std::uint32_t b, std::uint32_t level) {
    std::uint32_t pixel = 0;
    for (const auto& [shift, width] : layout.channels) {
        const std::uint32_t mask = (1u << width) - 1;
        pixel |= TableChannel(a >> shift & mask, b >> shift & mask, level) << shift;
    }
    return pixel;
}

inline const Layout k555{2, {{10, 5}, {5, 5}, {0, 5}}};
inline const Layout k565{2, {{11, 5}, {5, 6}, {0, 5}}};
inline const Layout k24{3, {{16, 8}, {8, 8}, {0, 8}}};
inline const Layout k32Low{4, {{16, 8}, {8, 8}, {0, 8}}};
inline const Layout k32High{4, {{24, 8}, {16, 8}, {8, 8}}};

} // namespace VemoTest
