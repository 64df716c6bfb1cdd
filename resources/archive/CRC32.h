// The standard CRC-32 (ISO 3309, ITU-T V.42; the one of zlib and PNG): reflected polynomial 0xEDB88320,
// register starting at all ones, result inverted. The CRC of nothing is 0. Every checksum of the archives is
// this one.
#pragma once

#include <cstddef>
#include <cstdint>

class CRC32 {
public:
    CRC32() = default;
    virtual ~CRC32();

    // One byte through the program-wide 256-entry table, built on first use.
    void Update(std::uint8_t byte);
    // A block of bytes; the same result as feeding them one by one, only faster.
    void Update(const void* data, std::size_t size);
    // The checksum of everything fed so far; feeding may go on afterwards.
    std::uint32_t Result() const { return ~m_value; }

    static void BuildTable();

private:
    std::uint32_t m_value = 0xFFFFFFFF;
};
