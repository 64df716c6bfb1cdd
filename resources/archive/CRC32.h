// The standard CRC-32 (ISO 3309, ITU-T V.42; the one of zlib and PNG): reflected polynomial 0xEDB88320,
// register starting at all ones, result inverted. The CRC of nothing is 0. Every checksum of the archives is
// this one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class CRC32 {
public:
    using Table = std::array<std::uint32_t, 256>;

    CRC32() = default;
    virtual ~CRC32();

    // One byte through the program-wide 256-entry table.
    void Update(std::uint8_t byte);
    // A block of bytes; the same result as feeding them one by one, only faster.
    void Update(const void* data, std::size_t size);
    // The checksum of everything fed so far; feeding may go on afterwards.
    std::uint32_t Result() const { return ~m_value; }

    // The table, for each index eight shifts right that bring in the polynomial whenever a 1 is shifted out.
    // The program's table is made from it while compiling, so no thread ever sees it half built.
    static constexpr Table BuildTable() {
        Table table{};
        for (std::uint32_t index = 0; index < table.size(); ++index) {
            std::uint32_t value = index;
            for (int bit = 0; bit < 8; ++bit) {
                value = (value & 1) != 0 ? (value >> 1) ^ 0xEDB88320u : value >> 1;
            }
            table[index] = value;
        }
        return table;
    }

private:
    std::uint32_t m_value = 0xFFFFFFFF;
};
