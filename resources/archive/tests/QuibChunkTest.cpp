#include "resources/archive/QuibChunk.h"

#include "resources/archive/QuibFile.h"
#include "resources/archive/tests/ArchiveTestEnvironment.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ArchiveTest;
using Vemo::String;
using QuibFile = Vemo::QuibStorageEngine::QuibFile;
using QuibChunk = Vemo::QuibStorageEngine::QuibChunk;
using Ident = Vemo::QuibStorageEngine::QuibChunkIdent;

constexpr std::uint64_t kNone = Vemo::QuibStorageEngine::kNoOffset;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 9));
    }
    return bytes;
}

class QuibChunkTest : public ::testing::Test {
protected:
    void OpenBytes(const Bytes& bytes) {
        m_environment.WriteHostFile("t.qib", bytes);
        ASSERT_TRUE(m_file.Open(m_environment.Host(), String("t"), false));
    }

    Bytes HostBytes() { return m_environment.ReadHostFile("t.qib"); }

    // Exactly the bytes asked for, or nothing.
    Bytes ReadAll(QuibChunk& chunk, std::uint64_t offset, std::uint64_t length) {
        Vemo::AccessStatus* record = chunk.Read(nullptr, offset, length, nullptr);
        if (record == nullptr) {
            return {};
        }
        const auto* data = static_cast<const std::uint8_t*>(record->m_buffer);
        Bytes bytes(data, data + record->m_count);
        record->Release();
        return bytes;
    }

    ArchiveTestEnvironment m_environment;
    QuibFile m_file;
};

TEST_F(QuibChunkTest, ChildrenAreAppendedAtTheEndOfTheirContainer) {
    ASSERT_TRUE(m_file.Open(m_environment.Host(), String("t"), true));
    QuibChunk container(&m_file, Ident(1, 1), 0);
    ASSERT_TRUE(container.Open(true, nullptr, kNone));
    QuibChunk first(&container, Ident(1, 2), 1);
    ASSERT_TRUE(first.Create());
    EXPECT_EQ(first.Position(), 20u);
    EXPECT_EQ(GetU64(HostBytes(), 18 + 4), 40u);
    QuibChunk second(&container, Ident(1, 3), 0);
    ASSERT_TRUE(second.Open(true, nullptr, kNone));
    EXPECT_EQ(second.Position(), 40u);
    EXPECT_EQ(container.Size(), 60u);
    EXPECT_EQ(GetU64(HostBytes(), 18 + 4), 60u);
    EXPECT_EQ(second.FileOffset(), 58u);
    EXPECT_TRUE(m_file.Verify());

    QuibChunk refused(&first, Ident(1, 4), 0);
    EXPECT_FALSE(refused.Create());
    QuibChunk zero(&container, Ident(0, 4), 0);
    EXPECT_FALSE(zero.Create());
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrNotAContainer, "1.2"},
                                                    {Vemo::QuibErrCreateFailed, "1.4"},
                                                    {Vemo::QuibErrCreateFailed, "0.4"}}));
}

TEST_F(QuibChunkTest, WritingPastTheEndGrowsTheChunkAndMovesWhatFollows) {
    OpenBytes(BuildQuibFile({DataChunk(1, 1), DataChunk(2, 2, {5, 6, 7})}));
    QuibChunk data(&m_file, Ident(1, 1), 1);
    QuibChunk later(&m_file, Ident(2, 2), 1);
    ASSERT_TRUE(data.Open(false, nullptr, kNone));
    ASSERT_TRUE(later.Open(false, nullptr, kNone));
    EXPECT_EQ(later.Position(), 38u);

    const Bytes ten = Pattern(10, 1);
    ASSERT_TRUE(data.Write(nullptr, 20, ten.size(), ten.data()));
    ASSERT_TRUE(data.UpdateHeader());
    EXPECT_EQ(data.Size(), 30u);
    EXPECT_EQ(later.Position(), 48u);
    EXPECT_EQ(ReadAll(later, 20, 3), (Bytes{5, 6, 7}));
    EXPECT_EQ(ReadAll(data, 20, 10), ten);
    EXPECT_EQ(HostBytes().size(), 18u + 30 + 23);
    EXPECT_TRUE(m_file.Verify());
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(QuibChunkTest, ReadsAreCutAtTheEndAndRefusedPastIt) {
    OpenBytes(BuildQuibFile({DataChunk(1, 1, Pattern(30, 3))}));
    QuibChunk chunk(&m_file, Ident(1, 1), 1);
    ASSERT_TRUE(chunk.Open(false, nullptr, kNone));
    EXPECT_EQ(ReadAll(chunk, 20, 100), Pattern(30, 3));
    EXPECT_EQ(ReadAll(chunk, 50, 1), Bytes{});
    EXPECT_EQ(m_environment.TakeReports(), Reports{});

    EXPECT_EQ(chunk.Read(nullptr, 60, 1, nullptr), nullptr);
    EXPECT_EQ(chunk.Read(nullptr, 21, ~std::uint64_t{0}, nullptr), nullptr);
    std::uint8_t byte = 0;
    EXPECT_FALSE(chunk.Write(nullptr, 21, ~std::uint64_t{0}, &byte));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrBeyondEnd, "1.1"},
                                                    {Vemo::QuibErrBeyondEnd, "1.1"},
                                                    {Vemo::QuibErrResizeFailed, "1.1"}}));
    EXPECT_EQ(chunk.Size(), 50u);
}

// Moves bigger than one 131,072-byte step, in both directions, inside a container and in the file, keep
// every byte.
TEST_F(QuibChunkTest, ResizingAChildMovesTheBytesAfterIt) {
    const Bytes tail = Pattern(300000, 9);
    OpenBytes(BuildQuibFile({Container(1, 1, {DataChunk(1, 2, {1, 2}), DataChunk(1, 3, tail)}),
                             DataChunk(2, 2, Pattern(150000, 4))}));
    QuibChunk top(&m_file, Ident(1, 1), 0);
    QuibChunk next(&m_file, Ident(2, 2), 1);
    ASSERT_TRUE(top.Open(false, nullptr, kNone));
    ASSERT_TRUE(next.Open(false, nullptr, kNone));
    QuibChunk small(&top, Ident(1, 2), 1);
    QuibChunk big(&top, Ident(1, 3), 1);
    ASSERT_TRUE(small.Open(false, nullptr, kNone));
    ASSERT_TRUE(big.Open(false, nullptr, kNone));
    const std::uint64_t nextBefore = next.Position();

    ASSERT_TRUE(top.ResizeChild(&small, 22 + 200000));
    EXPECT_EQ(big.Position(), 20u + 22 + 200000);
    EXPECT_EQ(next.Position(), nextBefore + 200000);
    EXPECT_EQ(ReadAll(big, 20, tail.size()), tail);
    EXPECT_EQ(ReadAll(next, 20, 150000), Pattern(150000, 4));

    ASSERT_TRUE(top.ResizeChild(&small, 22));
    ASSERT_TRUE(small.UpdateHeader());
    EXPECT_EQ(big.Position(), 42u);
    EXPECT_EQ(next.Position(), nextBefore);
    EXPECT_EQ(ReadAll(big, 20, tail.size()), tail);
    EXPECT_EQ(ReadAll(next, 20, 150000), Pattern(150000, 4));
    EXPECT_TRUE(m_file.Verify());

    EXPECT_FALSE(top.ResizeChild(&small, 19));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrResizeFailed, "1.2"}}));
}

TEST_F(QuibChunkTest, RemovingAChild) {
    OpenBytes(BuildQuibFile(
        {Container(1, 1, {DataChunk(1, 2, {1, 2, 3}), DataChunk(1, 3, {4, 5}), DataChunk(1, 4, {6})})}));
    QuibChunk top(&m_file, Ident(1, 1), 0);
    ASSERT_TRUE(top.Open(false, nullptr, kNone));
    QuibChunk middle(&top, Ident(1, 3), 1);
    QuibChunk last(&top, Ident(1, 4), 1);
    ASSERT_TRUE(middle.Open(false, nullptr, kNone));
    ASSERT_TRUE(last.Open(false, nullptr, kNone));
    const Bytes before = HostBytes();

    EXPECT_FALSE(top.RemoveChildAt(23));
    EXPECT_FALSE(top.RemoveChildAt(1));
    EXPECT_EQ(m_environment.TakeReports(),
              (Reports{{Vemo::QuibErrChildOpen}, {Vemo::QuibErrAccessFailed, "1.1"}}));
    EXPECT_EQ(HostBytes(), before);

    ASSERT_TRUE(top.RemoveChildAt(0));
    EXPECT_EQ(middle.Position(), 20u);
    EXPECT_EQ(last.Position(), 42u);
    EXPECT_EQ(top.Size(), 63u);
    EXPECT_EQ(ReadAll(last, 20, 1), Bytes{6});
    EXPECT_TRUE(m_file.Verify());
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(QuibChunkTest, AChildSearchStopsAtADamagedHeader) {
    OpenBytes(BuildQuibFile({Container(1, 1, {WithSize(DataChunk(1, 2), 10)})}));
    QuibChunk top(&m_file, Ident(1, 1), 0);
    ASSERT_TRUE(top.Open(false, nullptr, kNone));
    const Bytes before = HostBytes();
    QuibChunk child(&top, Ident(1, 9), 0);
    EXPECT_FALSE(child.Open(true, nullptr, kNone));
    EXPECT_EQ(HostBytes(), before);
    EXPECT_FALSE(top.UpdateHeader());
    EXPECT_EQ(m_environment.TakeReports(),
              (Reports{{Vemo::QuibErrAccessFailed, "1.1"}, {Vemo::QuibErrAccessFailed, "1.1"}}));
}

TEST_F(QuibChunkTest, ALargeDataChunkIsChecksummedInSteps) {
    const Bytes data = Pattern(5 * 1024 * 1024 / 2, 1);
    ASSERT_TRUE(m_file.Open(m_environment.Host(), String("t"), true));
    QuibChunk chunk(&m_file, Ident(1, 1), 1);
    ASSERT_TRUE(chunk.Open(true, nullptr, kNone));
    ASSERT_TRUE(chunk.SetSize(data.size()));
    ASSERT_TRUE(chunk.Write(nullptr, 20, data.size(), data.data()));
    ASSERT_TRUE(chunk.UpdateHeader());
    EXPECT_EQ(chunk.Crc(), Crc(data));
    EXPECT_EQ(chunk.Remaining(), data.size());
    EXPECT_TRUE(m_file.Verify());
}

} // namespace
