#include "resources/archive/Stream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

using Vemo::Stream;

TEST(StreamTest, ReadsAChunkHeaderBigEndianAndStopsAtTheEnd) {
    std::array<std::uint8_t, 20> bytes = {0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0x01, 0x2C, 0x00, 0x00, 0x00, 0x01, 0xDE, 0xAD, 0xBE, 0xEF};
    Stream stream(bytes.data(), bytes.size(), true);
    std::uint16_t family = 0;
    std::uint16_t type = 0;
    std::uint64_t size = 0;
    std::uint32_t flags = 0;
    std::uint32_t crc = 0;
    EXPECT_EQ(stream.ReadU16(family), 2u);
    EXPECT_EQ(stream.ReadU16(type), 2u);
    EXPECT_EQ(stream.ReadU64(size), 8u);
    EXPECT_EQ(stream.ReadU32(flags), 4u);
    EXPECT_EQ(stream.ReadU32(crc), 4u);
    EXPECT_EQ(family, 1);
    EXPECT_EQ(type, 5);
    EXPECT_EQ(size, 300u);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(crc, 0xDEADBEEFu);
    EXPECT_EQ(stream.Position(), 20u);

    std::uint16_t past = 0x7777;
    EXPECT_EQ(stream.ReadU16(past), 0u);
    EXPECT_EQ(past, 0);
    EXPECT_EQ(stream.Position(), 20u);
}

TEST(StreamTest, AnItemThatOnlyPartlyFitsMovesNothing) {
    std::array<std::uint8_t, 5> bytes = {0xAA, 0x12, 0x34, 0x56, 0x78};
    Stream stream(bytes.data(), bytes.size(), true);
    std::uint8_t skip = 0;
    ASSERT_EQ(stream.ReadBytes(&skip, 1), 1u);
    ASSERT_EQ(stream.ReadBytes(&skip, 1), 1u);

    std::uint32_t word = 0x99;
    EXPECT_EQ(stream.ReadU32(word), 0u);
    EXPECT_EQ(word, 0u);
    EXPECT_EQ(stream.Position(), 2u);
    std::uint64_t wide = 0x99;
    EXPECT_EQ(stream.ReadU64(wide), 0u);
    EXPECT_EQ(wide, 0u);

    std::uint16_t half = 0;
    EXPECT_EQ(stream.ReadU16(half), 2u);
    EXPECT_EQ(half, 0x3456);
    EXPECT_EQ(stream.WriteU16(0xFFFF), 0u);
    EXPECT_EQ(bytes[4], 0x78);
    EXPECT_EQ(stream.Position(), 4u);
}

TEST(StreamTest, WritesInTheChosenByteOrder) {
    struct Case {
        bool bigEndian;
        std::array<std::uint8_t, 14> expected;
    };
    const Case cases[] = {
        {true, {0, 0, 0, 0, 0, 0, 0, 0x12, 0xAB, 0xCD, 0x01, 0x02, 0x03, 0x04}},
        {false, {0x12, 0, 0, 0, 0, 0, 0, 0, 0xCD, 0xAB, 0x04, 0x03, 0x02, 0x01}},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 14> bytes{};
        Stream stream(bytes.data(), bytes.size(), c.bigEndian);
        EXPECT_EQ(stream.WriteU64(0x12), 8u);
        EXPECT_EQ(stream.WriteU16(0xABCD), 2u);
        EXPECT_EQ(stream.WriteU32(0x01020304), 4u);
        EXPECT_EQ(bytes, c.expected) << "big-endian " << c.bigEndian;

        Stream back(bytes.data(), bytes.size(), c.bigEndian);
        std::uint64_t wide = 0;
        std::uint16_t half = 0;
        std::uint32_t word = 0;
        back.ReadU64(wide);
        back.ReadU16(half);
        back.ReadU32(word);
        EXPECT_EQ(wide, 0x12u);
        EXPECT_EQ(half, 0xABCD);
        EXPECT_EQ(word, 0x01020304u);
    }
}

TEST(StreamTest, ReadBytesNeverReorders) {
    std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    for (bool bigEndian : {true, false}) {
        Stream stream(bytes.data(), bytes.size(), bigEndian);
        std::array<std::uint8_t, 4> out{};
        EXPECT_EQ(stream.ReadBytes(out.data(), 4), 4u);
        EXPECT_EQ(out, bytes);
        EXPECT_EQ(stream.ReadBytes(out.data(), 1), 0u);
    }
}

TEST(StreamTest, AZeroSizeStreamRefusesEveryItem) {
    std::uint8_t byte = 0x55;
    Stream stream(&byte, 0, true);
    std::uint16_t half = 1;
    std::uint32_t word = 1;
    std::uint64_t wide = 1;
    EXPECT_EQ(stream.ReadU16(half), 0u);
    EXPECT_EQ(stream.ReadU32(word), 0u);
    EXPECT_EQ(stream.ReadU64(wide), 0u);
    EXPECT_EQ(half + word + wide, 0u);
    EXPECT_EQ(stream.WriteU16(1), 0u);
    EXPECT_EQ(stream.WriteU32(1), 0u);
    EXPECT_EQ(stream.WriteU64(1), 0u);
    EXPECT_EQ(stream.ReadBytes(&byte, 0), 0u);
    EXPECT_EQ(stream.ReadBytes(&byte, 1), 0u);
    EXPECT_EQ(byte, 0x55);
}

TEST(StreamTest, FitTestDoesNotWrapNearTheTopOfTheRange) {
    std::uint8_t bytes[8] = {};
    Stream stream(bytes, 8, true);
    EXPECT_EQ(stream.ReadBytes(bytes, 0xFFFFFFFFu), 0u);
    EXPECT_EQ(stream.Position(), 0u);
}

TEST(StreamTest, ByteSwapReversesTheBytes) {
    std::uint32_t word = 0x11223344;
    Vemo::ByteSwap32(word);
    EXPECT_EQ(word, 0x44332211u);
    std::uint64_t wide = 0x0102030405060708ull;
    Vemo::ByteSwap64(wide);
    EXPECT_EQ(wide, 0x0807060504030201ull);
}

} // namespace

TEST(StreamTest, SingleBytesAndByteRunsStopAtTheEnd) {
    std::array<std::uint8_t, 3> bytes = {0x42, 0, 0};
    Stream stream(bytes.data(), bytes.size(), false);
    std::uint8_t byte = 0;
    EXPECT_EQ(stream.ReadU8(byte), 1u);
    EXPECT_EQ(byte, 0x42);
    const std::uint8_t run[] = {7, 8, 9};
    EXPECT_EQ(stream.WriteBytes(run, 3), 0u);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{0x42, 0, 0}));
    EXPECT_EQ(stream.WriteBytes(run, 2), 2u);
    EXPECT_EQ(stream.WriteU8(1), 0u);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{0x42, 7, 8}));

    byte = 0x99;
    EXPECT_EQ(stream.ReadU8(byte), 0u);
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(stream.Position(), 3u);
}

TEST(StreamTest, TheByteOrderCanChangeBetweenItems) {
    std::array<std::uint8_t, 4> bytes = {'B', 'M', 'B', 'M'};
    Stream stream(bytes.data(), bytes.size(), true);
    std::uint16_t first = 0;
    std::uint16_t second = 0;
    stream.ReadU16(first);
    stream.SetBigEndian(false);
    stream.ReadU16(second);
    EXPECT_EQ(first, 0x424D);
    EXPECT_EQ(second, 0x4D42);
    EXPECT_FALSE(stream.IsBigEndian());
}
