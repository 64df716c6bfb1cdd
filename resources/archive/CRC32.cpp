#include "resources/archive/CRC32.h"

#include "platform/checksum/Crc32.h"

namespace {

std::uint32_t g_table[256];
bool g_tableBuilt = false;

} // namespace

CRC32::~CRC32() = default;

void CRC32::BuildTable() {
    for (std::uint32_t index = 0; index < 256; ++index) {
        std::uint32_t value = index;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        }
        g_table[index] = value;
    }
    g_tableBuilt = true;
}

void CRC32::Update(std::uint8_t byte) {
    if (!g_tableBuilt) {
        BuildTable();
    }
    m_value = g_table[(m_value ^ byte) & 0xFF] ^ (m_value >> 8);
}

// zlib keeps the register inverted at both ends of a call, so it continues a run from our register's inverse.
void CRC32::Update(const void* data, std::size_t size) { m_value = ~checksum::Crc32(~m_value, data, size); }
