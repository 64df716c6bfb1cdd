// One entry of a directory listing (EntryAt). Times are in FILETIME units, 100 ns since 1 January 1601, as
// the listing engine gives them. The caller owns the descriptors it is handed.
#pragma once

#include "foundation/String.h"
#include "resources/storage/StorageFlags.h"

#include <cstdint>

namespace Vemo {

class Descriptor {
public:
    Descriptor() = default;
    Descriptor(const Descriptor&) = default;
    Descriptor& operator=(const Descriptor&) = default;
    Descriptor(Descriptor&&) noexcept = default;
    Descriptor& operator=(Descriptor&&) noexcept = default;

    String m_name;
    StorageFlags m_flags;
    std::uint64_t m_creationTime = 0;
    std::uint64_t m_lastWriteTime = 0;
    std::uint64_t m_lastAccessTime = 0;
    std::uint64_t m_size = 0;
};

} // namespace Vemo
