// The unit that travels with every movie and sound time value.
#pragma once

#include <cstdint>

namespace Vemo {

enum class MediaTimeUnit : std::uint32_t {
    // The movie's own time units: as many a second as its time scale.
    Native = 1,
    Milliseconds = 2,
};

} // namespace Vemo
