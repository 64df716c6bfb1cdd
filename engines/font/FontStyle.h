// How a font looks: four flags, and a value of the caller's that the font family carries and compares but
// never reads.
#pragma once

#include <cstdint>

namespace Vemo {

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool antialiased = false;
    std::uint32_t extra = 0;

    bool operator==(const FontStyle& other) const = default;
};

} // namespace Vemo
