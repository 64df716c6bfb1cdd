#include "resources/archive/CRC32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::uint32_t BytewiseCrc(const std::vector<std::uint8_t>& bytes) {
    CRC32 crc;
    for (std::uint8_t byte : bytes) {
        crc.Update(byte);
    }
    return crc.Result();
}

std::uint32_t BlockCrc(const void* data, std::size_t size) {
    CRC32 crc;
    crc.Update(data, size);
    return crc.Result();
}

TEST(CRC32Test, KnownValues) {
    EXPECT_EQ(CRC32().Result(), 0u);
    const char* check = "123456789";
    EXPECT_EQ(BlockCrc(check, std::strlen(check)), 0xCBF43926u);
    EXPECT_EQ(BytewiseCrc(std::vector<std::uint8_t>(check, check + 9)), 0xCBF43926u);

    // An empty chunk header of ident (1,1), the first top-level chunk of a new archive.
    const std::uint8_t header[20] = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x14, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(BlockCrc(header, sizeof header), 0xAEBDC3EBu);
    // The descriptor payload: version 1, flags 0.
    const std::uint8_t descriptor[6] = {0, 1, 0, 0, 0, 0};
    EXPECT_EQ(BlockCrc(descriptor, sizeof descriptor), 0x8CA28813u);
}

// The table exists before the program runs: built by the compiler, it cannot be half built when two threads
// feed their first bytes at once.
constexpr CRC32::Table kCompiledTable = CRC32::BuildTable();
static_assert(kCompiledTable[0] == 0 && kCompiledTable[1] == 0x77073096u &&
              kCompiledTable[128] == 0xEDB88320u && kCompiledTable[255] == 0x2D02EF8Du);

TEST(CRC32Test, BlocksAndBytesMixInOneRun) {
    std::vector<std::uint8_t> bytes(3 * 1024 * 1024 + 17);
    std::uint32_t seed = 12345;
    for (std::uint8_t& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(seed >> 16);
    }
    const std::uint32_t expected = BytewiseCrc(bytes);

    CRC32 mixed;
    mixed.Update(bytes.data(), 1000);
    for (std::size_t i = 1000; i < 1010; ++i) {
        mixed.Update(bytes[i]);
    }
    mixed.Update(bytes.data() + 1010, bytes.size() - 1010);
    EXPECT_EQ(mixed.Result(), expected);
    EXPECT_EQ(BlockCrc(bytes.data(), bytes.size()), expected);
}

} // namespace
