#include "resources/archive/CRC32.h"

#include "platform/checksum/Crc32.h"

namespace {

constexpr CRC32::Table kTable = CRC32::BuildTable();

static_assert(kTable[1] == 0x77073096u && kTable[128] == 0xEDB88320u && kTable[255] == 0x2D02EF8Du);

} // namespace

CRC32::~CRC32() = default;

void CRC32::Update(std::uint8_t byte) {
    m_value = kTable[(m_value ^ byte) & 0xFF] ^ (m_value >> 8);
}

// zlib keeps the register inverted at both ends of a call, so it continues a run from our register's inverse.
void CRC32::Update(const void* data, std::size_t size) {
    m_value = ~checksum::Crc32(~m_value, data, size);
}
