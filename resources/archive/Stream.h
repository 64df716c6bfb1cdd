// A cursor over a caller's memory block that reads and writes fixed-width integers and byte runs in a chosen
// byte order. It is how every binary record of the archives is taken apart and put together.
//
// Every item is all-or-nothing: it moves only when position + width <= size, and an item that does not fit
// moves nothing and counts 0 bytes (a read then yields 0). Callers read a whole record without testing each
// field and let the checks on the values (a magic, a tag, a size) catch a short block.
#pragma once

#include <cstdint>

namespace Vemo {

class Stream {
public:
    // The block is not owned. bigEndian chooses the byte order of the multi-byte items.
    Stream(void* data, std::uint64_t size, bool bigEndian);
    virtual ~Stream();

    std::uint32_t ReadU8(std::uint8_t& value);
    std::uint32_t ReadU16(std::uint16_t& value);
    std::uint32_t ReadU32(std::uint32_t& value);
    std::uint32_t ReadU64(std::uint64_t& value);
    // Copies the bytes as they are, whatever the byte order.
    std::uint32_t ReadBytes(void* destination, std::uint32_t count);

    std::uint32_t WriteU8(std::uint8_t value);
    std::uint32_t WriteU16(std::uint16_t value);
    std::uint32_t WriteU32(std::uint32_t value);
    std::uint32_t WriteU64(std::uint64_t value);
    // Copies the bytes as they are; nothing at all when they do not all fit.
    std::uint32_t WriteBytes(const void* source, std::uint32_t count);

    // Changes the byte order of the items that follow.
    void SetBigEndian(bool bigEndian) { m_bigEndian = bigEndian; }

    std::uint64_t Position() const { return m_position; }
    std::uint64_t Size() const { return m_size; }
    bool IsBigEndian() const { return m_bigEndian; }

private:
    bool Fits(std::uint64_t count) const { return count <= m_size && m_position <= m_size - count; }
    std::uint32_t ReadValue(std::uint64_t& value, std::uint32_t width);
    std::uint32_t WriteValue(std::uint64_t value, std::uint32_t width);

    std::uint8_t* m_data;
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
    bool m_bigEndian;
};

// Reverse the bytes of a value in place.
void ByteSwap32(std::uint32_t& value);
void ByteSwap64(std::uint64_t& value);

} // namespace Vemo
