// What a storage handle or a listed entry is and what may be done with it. Each flag is 0 or 1; a new record
// is all 0 and the engine that makes a handle or a listing entry sets what applies.
#pragma once

#include <cstdint>

namespace Vemo {

struct StorageFlags {
    std::uint8_t m_directory = 0;
    std::uint8_t m_readable = 0;
    std::uint8_t m_writeable = 0;
    std::uint8_t m_deletable = 0;
    std::uint8_t m_archive = 0;
    std::uint8_t m_hidden = 0;
};

} // namespace Vemo
