#include "resources/archive/MonolithTreeChunk.h"

#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/MonolithTreeFile.h"
#include "resources/archive/Stream.h"
#include "resources/archive/tests/ArchiveTestEnvironment.h"
#include "resources/error/ErrorCodes.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using ArchiveTest::Bytes;
using ArchiveTest::TreeRecords;
using Vemo::String;
using TreeChunk = Vemo::MonolithStorageEngine::MonolithTreeChunk;
using Directory = Vemo::MonolithStorageEngine::MonolithTreeDirectory;
using File = Vemo::MonolithStorageEngine::MonolithTreeFile;

// What Store would write: the root's record in the tree's byte order.
Bytes Written(const TreeChunk& tree) {
    Bytes bytes(static_cast<std::size_t>(tree.Root()->RecordSize()));
    Vemo::Stream stream(bytes.data(), bytes.size(), !tree.IsLittleEndian());
    EXPECT_TRUE(tree.Root()->Write(stream));
    EXPECT_EQ(stream.Position(), bytes.size());
    return bytes;
}

std::string Name(const Vemo::MonolithStorageEngine::MonolithTreeEntry* entry) {
    return std::string(entry->Name().CStr(), entry->Name().Length());
}

TEST(MonolithTreeChunkTest, ANewArchivesRootRecord) {
    TreeChunk tree(nullptr);
    Bytes payload = {0, 1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x14, 0, 0, 0, 0};
    ASSERT_TRUE(tree.LoadPayload(payload.data(), payload.size()));
    EXPECT_EQ(tree.Root()->Attributes(), 7u);
    EXPECT_TRUE(tree.Root()->Name().IsEmpty());
    EXPECT_EQ(tree.Root()->ChunkSize(), 20u);
    EXPECT_EQ(tree.Root()->ChildCount(), 0u);
    EXPECT_EQ(Written(tree), payload);
}

TEST(MonolithTreeChunkTest, ATreeReadsBackAsItWasWrittenInEitherByteOrder) {
    for (bool bigEndian : {true, false}) {
        TreeRecords records(bigEndian);
        records.Directory(7, "", 20 + 60 + 41, 2)
            .Directory(3, "music", 60, 1)
            .File(1, "theme.wav", 40)
            .File(0x1F, "a", 41);
        TreeChunk tree(nullptr);
        tree.SetLittleEndian(!bigEndian);
        ASSERT_TRUE(tree.LoadPayload(records.m_bytes.data(), records.m_bytes.size())) << bigEndian;
        const Directory* root = tree.Root();
        ASSERT_EQ(root->ChildCount(), 2u);
        const auto* music = dynamic_cast<const Directory*>(*root->GetChildren().Begin());
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(Name(music), "music");
        EXPECT_EQ(music->Attributes(), 3u);
        const auto* theme = dynamic_cast<const File*>(*music->GetChildren().Begin());
        ASSERT_NE(theme, nullptr);
        EXPECT_EQ(Name(theme), "theme.wav");
        EXPECT_EQ(theme->ContentSize(), 20u);
        EXPECT_EQ(theme->Time(0), 1u);
        EXPECT_EQ(theme->Time(2), 3u);
        EXPECT_EQ(root->ChildOffset(1), 60u);
        EXPECT_EQ(Written(tree), records.m_bytes) << bigEndian;
    }
}

TEST(MonolithTreeChunkTest, NameUnitsKeepOnlyTheirLowByte) {
    TreeRecords records;
    records.U16(1).U32(7).U16(0x0141).U16(0x0100).U16(0x0042).U16(0).U64(20).U32(0);
    TreeChunk tree(nullptr);
    ASSERT_TRUE(tree.LoadPayload(records.m_bytes.data(), records.m_bytes.size()));
    EXPECT_EQ(Name(tree.Root()), "AB");
    TreeRecords written;
    written.Directory(7, "AB", 20, 0);
    EXPECT_EQ(Written(tree), written.m_bytes);
}

TEST(MonolithTreeChunkTest, FieldsCutOffByTheEndReadAsZero) {
    TreeRecords records;
    records.Directory(7, "", 40, 1).U16(2).U32(5).U16('x');
    TreeChunk tree(nullptr);
    ASSERT_TRUE(tree.LoadPayload(records.m_bytes.data(), records.m_bytes.size()));
    ASSERT_EQ(tree.Root()->ChildCount(), 1u);
    const auto* file = dynamic_cast<const File*>(*tree.Root()->GetChildren().Begin());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Name(file), "x");
    EXPECT_EQ(file->Attributes(), 5u);
    EXPECT_EQ(file->ChunkSize(), 0u);
    EXPECT_EQ(file->ContentSize(), 0u);
}

TEST(MonolithTreeChunkTest, MalformedTreesAreRefused) {
    auto payload = [](TreeRecords records) { return records.m_bytes; };
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"one byte", {0}},
        {"a file record first", payload(TreeRecords().File(7, "f", 20))},
        {"an unknown tag", payload(TreeRecords().Directory(7, "", 40, 1).U16(3).U32(7).Name("z").U64(20))},
        {"fewer children than counted", payload(TreeRecords().Directory(7, "", 40, 2).File(7, "f", 20))},
        {"a bad grandchild", payload(TreeRecords().Directory(7, "", 40, 1).Directory(7, "d", 20, 1).U16(9))},
        {"a child count far beyond the payload", payload(TreeRecords().Directory(7, "", 40, 0xFFFFFFFF))},
    };
    for (const auto& c : cases) {
        TreeChunk tree(nullptr);
        Bytes bytes = c.bytes;
        EXPECT_FALSE(tree.LoadPayload(bytes.data(), bytes.size())) << c.what;
    }
}

TEST(MonolithTreeChunkTest, TreesDeeperThanTheBoundAreRefused) {
    auto nested = [](std::uint32_t levels) {
        TreeRecords records;
        for (std::uint32_t level = 1; level <= levels; ++level) {
            records.Directory(7, "d", 20, level < levels ? 1 : 0);
        }
        return records.m_bytes;
    };
    const std::uint32_t bound = Vemo::MonolithStorageEngine::kMaxTreeDepth;
    Bytes deepest = nested(bound);
    TreeChunk tree(nullptr);
    EXPECT_TRUE(tree.LoadPayload(deepest.data(), deepest.size()));
    Bytes deeper = nested(bound + 1);
    EXPECT_FALSE(tree.LoadPayload(deeper.data(), deeper.size()));
}

TEST(MonolithTreeChunkTest, StoringNeedsAContainer) {
    VemoTest::TestApplication application;
    TreeChunk tree(nullptr);
    EXPECT_FALSE(tree.Store());
    EXPECT_EQ(application.TakeReports(), VemoTest::Reports{Vemo::StorageEngineErrNoFile});
}

} // namespace
