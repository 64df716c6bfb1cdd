#include "platform/checksum/Crc32.h"

#include <zlib.h>

#include <algorithm>

namespace checksum {

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const Bytef*>(data);
    uLong value = crc;
    // zlib's length argument is 32-bit, hence the steps.
    while (size > 0) {
        const std::size_t step = std::min<std::size_t>(size, 0x40000000);
        value = crc32(value, bytes, static_cast<uInt>(step));
        bytes += step;
        size -= step;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace checksum
