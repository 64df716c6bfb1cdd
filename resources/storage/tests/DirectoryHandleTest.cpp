#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageEngine.h"
#include "resources/storage/Volume.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

constexpr std::size_t kStep = 0x100000;

// Copies and moves between the directories of an in-memory volume: the engine-neutral operations of every
// directory handle.
class DirectoryHandleTest : public ::testing::Test {
protected:
    DirectoryHandleTest() : m_application(StorageApplication::Engines::kNone) {
        m_memory = new MemoryStorageEngine;
        StorageEngine::Create(m_memory);
        m_application.Storage()->AddEngine(m_memory);
        m_rootNode = m_memory->AddVolume("MEM0");
        m_sourceNode = m_rootNode->Add("source", true);
        m_targetNode = m_rootNode->Add("target", true);
        const String volumeName("MEM0");
        const String source("source");
        const String target("target");
        EXPECT_TRUE(m_volume.Open(&volumeName, nullptr, false));
        EXPECT_TRUE(m_root.OpenRoot(m_volume));
        EXPECT_TRUE(m_source.Open(&source, m_root, false));
        EXPECT_TRUE(m_target.Open(&target, m_root, false));
    }

    StorageApplication m_application;
    MemoryStorageEngine* m_memory = nullptr;
    MemoryNode* m_rootNode = nullptr;
    MemoryNode* m_sourceNode = nullptr;
    MemoryNode* m_targetNode = nullptr;
    Volume m_volume;
    Directory m_root;
    Directory m_source;
    Directory m_target;
};

TEST_F(DirectoryHandleTest, FilesCopyInStepsOfOneMebibyte) {
    struct Case {
        std::size_t size;
        int reads;
        int writes;
    };
    // A whole step is followed by an empty read; a short last step ends the copy.
    const Case cases[] = {{0, 1, 0}, {kStep, 2, 1}, {kStep + 1, 2, 2}};
    for (const Case& c : cases) {
        std::string data(c.size, '\0');
        for (std::size_t i = 0; i < data.size(); ++i) {
            data[i] = static_cast<char>(i * 7);
        }
        m_sourceNode->Add("file", false, data);
        m_memory->m_reads = 0;
        m_memory->m_writes = 0;
        EXPECT_TRUE(m_target.Copy(String("file"), m_source, false, false)) << c.size;
        EXPECT_EQ(m_memory->m_reads, c.reads) << c.size;
        EXPECT_EQ(m_memory->m_writes, c.writes) << c.size;
        ASSERT_NE(m_targetNode->Find("file"), nullptr);
        EXPECT_TRUE(m_targetNode->Find("file")->m_data == data) << c.size;
        m_sourceNode->Remove("file");
        m_targetNode->Remove("file");
    }
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(DirectoryHandleTest, AShortWriteFailsTheCopyAndTheMoveKeepsTheSource) {
    const std::string data(kStep + kStep / 2, 'x');
    m_sourceNode->Add("file", false, data);
    m_memory->m_writesBeforeShort = 1;

    EXPECT_FALSE(m_target.Move(String("file"), m_source, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrAccessDenied}}));
    ASSERT_NE(m_sourceNode->Find("file"), nullptr);
    EXPECT_EQ(m_sourceNode->Find("file")->m_data.size(), data.size());
    // What did arrive stays, and nothing more: one whole step and half of the second.
    ASSERT_NE(m_targetNode->Find("file"), nullptr);
    EXPECT_EQ(m_targetNode->Find("file")->m_data.size(), kStep + kStep / 4);
}

TEST_F(DirectoryHandleTest, AMoveCopiesThenDeletesTheSource) {
    m_sourceNode->Add("file", false, "moved");
    EXPECT_TRUE(m_target.Move(String("file"), m_source, false, false));
    EXPECT_EQ(m_sourceNode->Find("file"), nullptr);
    ASSERT_NE(m_targetNode->Find("file"), nullptr);
    EXPECT_EQ(m_targetNode->Find("file")->m_data, "moved");
}

TEST_F(DirectoryHandleTest, ADirectoryCopiesWithItsWholeTree) {
    MemoryNode* tree = m_sourceNode->Add("tree", true);
    tree->Add("a", false, "A");
    tree->Add("sub", true)->Add("b", false, "B");
    EXPECT_TRUE(m_target.Copy(String("tree"), m_source, false, false));
    MemoryNode* copy = m_targetNode->Find("tree");
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->Find("a"), nullptr);
    EXPECT_EQ(copy->Find("a")->m_data, "A");
    ASSERT_NE(copy->Find("sub"), nullptr);
    ASSERT_NE(copy->Find("sub")->Find("b"), nullptr);
    EXPECT_EQ(copy->Find("sub")->Find("b")->m_data, "B");
}

TEST_F(DirectoryHandleTest, MergingAndOverwritingAreSeparateAllowances) {
    MemoryNode* tree = m_sourceNode->Add("tree", true);
    tree->Add("kept", false, "new");
    tree->Add("added", false, "added");
    MemoryNode* existing = m_targetNode->Add("tree", true);
    existing->Add("kept", false, "old");

    // Without merging the existing directory is not opened, and nothing is copied.
    EXPECT_FALSE(m_target.Copy(String("tree"), m_source, false, true));
    EXPECT_EQ(existing->Find("added"), nullptr);
    m_application.TakeReports();

    // Merging alone never replaces a file; the other entries are still copied and the copy reports false.
    EXPECT_FALSE(m_target.Copy(String("tree"), m_source, true, false));
    EXPECT_EQ(existing->Find("kept")->m_data, "old");
    ASSERT_NE(existing->Find("added"), nullptr);
    const Reports reports = m_application.TakeReports();
    EXPECT_NE(std::find(reports.begin(), reports.end(), Reported(StorageEngineErrAccessDenied, "kept")),
              reports.end());

    EXPECT_TRUE(m_target.Copy(String("tree"), m_source, true, true));
    EXPECT_EQ(existing->Find("kept")->m_data, "new");
}

TEST_F(DirectoryHandleTest, CopyingWhatIsNotThereNamesIt) {
    EXPECT_FALSE(m_target.Copy(String("ghost"), m_source, true, true));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrNotFound, "ghost"}}));
}

TEST_F(DirectoryHandleTest, TheBaseDirectoryCannotDelete) {
    DirectoryHandle plain(m_memory);
    EXPECT_FALSE(plain.Delete(String("x")));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrDeleteFailed}}));
    EXPECT_TRUE(plain.IsEmpty());
    EXPECT_TRUE(plain.SetName(String("renamed")));
    EXPECT_STREQ(plain.PathText(true, true)->CStr(), "renamed");
}

} // namespace
