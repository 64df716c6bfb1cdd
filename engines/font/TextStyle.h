// How a font container spaces and draws text.
#pragma once

#include <cstdint>

namespace Vemo {

struct TextStyle {
    // Added before every character of a range but the first.
    std::int32_t characterSpacing = 0;
    // Added to the distance between the lines of a text box.
    std::int32_t lineSpacing = 0;
    // The container's background (its colour key) is not copied.
    bool transparent = false;
};

} // namespace Vemo
