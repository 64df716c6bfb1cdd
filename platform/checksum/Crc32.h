// The standard CRC-32 (reflected polynomial 0xEDB88320) over a block, as zlib computes it: the value passed
// in and returned is the finished CRC of everything so far (0 before the first block).
#pragma once

#include <cstddef>
#include <cstdint>

namespace checksum {

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);

} // namespace checksum
