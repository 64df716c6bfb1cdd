// Text forms of the media tests' values, for comparing them readably.
#pragma once

#include "foundation/Rect.h"

#include <string>

namespace VemoTest {

// "WIDTHxHEIGHT".
inline std::string Dimensions(const Vemo::Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

} // namespace VemoTest
