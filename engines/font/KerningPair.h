// The extra space, in pixels, between two characters of a font when the second follows the first.
#pragma once

#include <cstdint>

namespace Vemo {

struct KerningPair {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::int32_t amount = 0;

    bool operator==(const KerningPair& other) const = default;
};

// By first code, then by second code: one pair per ordered pair of codes.
struct KerningPairSort {
    bool operator()(const KerningPair& a, const KerningPair& b) const {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    }
};

} // namespace Vemo
