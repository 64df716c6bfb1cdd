// Exact a * b / c for time values whose product may not fit 64 bits. Internal to the layer.
#pragma once

#include <cstdint>

namespace qt::detail {

// Rounded toward zero; c must not be 0.
inline std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    return static_cast<std::int64_t>(static_cast<__int128>(a) * b / c);
}

// Rounded up, for non-negative a and b and positive c.
inline std::int64_t MulDivCeil(std::int64_t a, std::int64_t b, std::int64_t c) {
    return static_cast<std::int64_t>((static_cast<__int128>(a) * b + c - 1) / c);
}

} // namespace qt::detail
