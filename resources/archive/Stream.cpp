#include "resources/archive/Stream.h"

#include <cstring>

namespace Vemo {

Stream::Stream(void* data, std::uint64_t size, bool bigEndian)
    : m_data(static_cast<std::uint8_t*>(data)), m_size(data != nullptr ? size : 0), m_bigEndian(bigEndian) {}

Stream::~Stream() = default;

std::uint32_t Stream::ReadValue(std::uint64_t& value, std::uint32_t width) {
    value = 0;
    if (!Fits(width)) {
        return 0;
    }
    const std::uint8_t* bytes = m_data + m_position;
    for (std::uint32_t i = 0; i < width; ++i) {
        const std::uint32_t index = m_bigEndian ? i : width - 1 - i;
        value = (value << 8) | bytes[index];
    }
    m_position += width;
    return width;
}

std::uint32_t Stream::WriteValue(std::uint64_t value, std::uint32_t width) {
    if (!Fits(width)) {
        return 0;
    }
    std::uint8_t* bytes = m_data + m_position;
    for (std::uint32_t i = 0; i < width; ++i) {
        const std::uint32_t index = m_bigEndian ? width - 1 - i : i;
        bytes[index] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    m_position += width;
    return width;
}

std::uint32_t Stream::ReadU8(std::uint8_t& value) {
    std::uint64_t wide = 0;
    const std::uint32_t moved = ReadValue(wide, 1);
    value = static_cast<std::uint8_t>(wide);
    return moved;
}

std::uint32_t Stream::ReadU16(std::uint16_t& value) {
    std::uint64_t wide = 0;
    const std::uint32_t moved = ReadValue(wide, 2);
    value = static_cast<std::uint16_t>(wide);
    return moved;
}

std::uint32_t Stream::ReadU32(std::uint32_t& value) {
    std::uint64_t wide = 0;
    const std::uint32_t moved = ReadValue(wide, 4);
    value = static_cast<std::uint32_t>(wide);
    return moved;
}

std::uint32_t Stream::ReadU64(std::uint64_t& value) {
    return ReadValue(value, 8);
}

std::uint32_t Stream::ReadBytes(void* destination, std::uint32_t count) {
    if (count == 0 || !Fits(count)) {
        return 0;
    }
    std::memcpy(destination, m_data + m_position, count);
    m_position += count;
    return count;
}

std::uint32_t Stream::WriteU8(std::uint8_t value) {
    return WriteValue(value, 1);
}

std::uint32_t Stream::WriteU16(std::uint16_t value) {
    return WriteValue(value, 2);
}

std::uint32_t Stream::WriteU32(std::uint32_t value) {
    return WriteValue(value, 4);
}

std::uint32_t Stream::WriteU64(std::uint64_t value) {
    return WriteValue(value, 8);
}

std::uint32_t Stream::WriteBytes(const void* source, std::uint32_t count) {
    if (count == 0 || !Fits(count)) {
        return 0;
    }
    std::memcpy(m_data + m_position, source, count);
    m_position += count;
    return count;
}

void ByteSwap32(std::uint32_t& value) {
    value = ((value & 0x000000FFu) << 24) | ((value & 0x0000FF00u) << 8) | ((value & 0x00FF0000u) >> 8) |
            ((value & 0xFF000000u) >> 24);
}

void ByteSwap64(std::uint64_t& value) {
    std::uint32_t high = static_cast<std::uint32_t>(value >> 32);
    std::uint32_t low = static_cast<std::uint32_t>(value);
    ByteSwap32(high);
    ByteSwap32(low);
    value = (static_cast<std::uint64_t>(low) << 32) | high;
}

} // namespace Vemo
