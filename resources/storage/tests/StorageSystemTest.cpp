#include "resources/storage/StorageSystem.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/StorageEngine.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/Volume.h"
#include "resources/storage/VolumeHandle.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

class StorageSystemTest : public ::testing::Test {
protected:
    StorageSystemTest() : m_application(StorageApplication::Engines::kNone) {
        m_memory = new MemoryStorageEngine;
        StorageEngine::Create(m_memory);
        m_application.Storage()->AddEngine(m_memory);
        MemoryNode* root = m_memory->AddVolume("MEM0");
        root->Add("d", true)->Add("inner", true);
        root->Add("f", false, "data");
        m_volumeName = "MEM0";
        EXPECT_TRUE(m_volume->Open(&m_volumeName, nullptr, false));
        EXPECT_TRUE(m_root->OpenRoot(*m_volume));
        m_application.TakeReports();
    }

    StorageSystem* Storage() { return m_application.Storage(); }

    StorageApplication m_application;
    MemoryStorageEngine* m_memory = nullptr;
    String m_volumeName;
    std::unique_ptr<Volume> m_volume = std::make_unique<Volume>();
    std::unique_ptr<Directory> m_root = std::make_unique<Directory>();
};

TEST_F(StorageSystemTest, ADirectoryOpenedTwiceIsSharedAndItsLinksComeDownWithTheLastHolder) {
    const String name("d");
    auto first = std::make_unique<Directory>();
    auto second = std::make_unique<Directory>();
    ASSERT_TRUE(first->Open(&name, *m_root, false));
    ASSERT_TRUE(second->Open(&name, *m_root, false));

    DirectoryHandle* handle = first->GetDirectoryHandle();
    EXPECT_EQ(second->GetDirectoryHandle(), handle);
    // Two front-ends and the parent's list of open children.
    EXPECT_EQ(handle->GetReferenceCount(), 3u);
    EXPECT_EQ(handle->Parent(), m_root->GetDirectoryHandle());
    ASSERT_EQ(m_root->GetDirectoryHandle()->ChildDirectories().Size(), 1u);

    const std::uint32_t rootCount = m_root->GetDirectoryHandle()->GetReferenceCount();
    first.reset();
    EXPECT_EQ(handle->GetReferenceCount(), 2u);
    EXPECT_EQ(m_root->GetDirectoryHandle()->ChildDirectories().Size(), 1u);

    second.reset();
    EXPECT_TRUE(m_root->GetDirectoryHandle()->ChildDirectories().Empty());
    // The child gave back the reference it held on its parent.
    EXPECT_EQ(m_root->GetDirectoryHandle()->GetReferenceCount(), rootCount - 1);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(StorageSystemTest, AnOpenDirectoryIsRefusedToACriterionThatOnlyCreates) {
    const String name("d");
    Directory open;
    ASSERT_TRUE(open.Open(&name, *m_root, false));

    StorageSearchCriterion onlyCreate(StorageSearchCriterion::kDirectory);
    onlyCreate.m_createAllowed = 1;
    onlyCreate.m_name = &name;
    onlyCreate.m_parentDirectory = m_root->GetDirectoryHandle();
    EXPECT_EQ(Storage()->Open(&onlyCreate, nullptr), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrExists}}));

    onlyCreate.m_openExistingAllowed = 1;
    ResourceHandle* shared = Storage()->Open(&onlyCreate, nullptr);
    EXPECT_EQ(shared, open.GetDirectoryHandle());
    Storage()->Close(shared, nullptr);
}

TEST_F(StorageSystemTest, EveryOpenOfAFileMakesAHandleOfItsOwnListedUnderItsName) {
    const String name("f");
    File first;
    File second;
    ASSERT_TRUE(first.Open(&name, *m_root, nullptr, false));
    ASSERT_TRUE(second.Open(&name, *m_root, nullptr, false));
    EXPECT_NE(first.GetFileHandle(), second.GetFileHandle());
    EXPECT_EQ(first.GetFileHandle()->GetReferenceCount(), 2u);
    const DirectoryHandle::FileList* open = m_root->GetDirectoryHandle()->OpenFilesNamed(name);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Size(), 2u);
    EXPECT_TRUE(first.IsSame(second));
}

TEST_F(StorageSystemTest, CriteriaThatNameNothingToOpenAreRefused) {
    const String name("x");
    struct Case {
        std::uint32_t kind;
        bool withName;
        bool withParent;
        ErrorCode expected;
    };
    const Case cases[] = {
        {0, true, true, StorageSystemErrBadKind},
        {4, true, true, StorageSystemErrBadKind},
        {StorageSearchCriterion::kVolume, false, false, StorageSystemErrNoName},
        {StorageSearchCriterion::kDirectory, true, false, StorageSystemErrNoParent},
        {StorageSearchCriterion::kDirectory, false, true, StorageSystemErrNoName},
        {StorageSearchCriterion::kFile, true, false, StorageSystemErrNoParent},
        {StorageSearchCriterion::kFile, false, true, StorageSystemErrNoName},
    };
    for (const Case& c : cases) {
        StorageSearchCriterion criterion(c.kind);
        criterion.m_createAllowed = 1;
        criterion.m_openExistingAllowed = 1;
        criterion.m_name = c.withName ? &name : nullptr;
        criterion.m_parentDirectory = c.withParent ? m_root->GetDirectoryHandle() : nullptr;
        EXPECT_EQ(Storage()->Open(&criterion, nullptr), nullptr);
        EXPECT_EQ(m_application.TakeReports(), (Reports{{c.expected}})) << "kind " << c.kind;
    }
}

TEST_F(StorageSystemTest, AVolumeAndItsRootAreOpenedThroughTheEngineOnlyOnce) {
    Volume again;
    ASSERT_TRUE(again.Open(&m_volumeName, nullptr, false));
    EXPECT_EQ(again.GetVolumeHandle(), m_volume->GetVolumeHandle());
    ASSERT_EQ(Storage()->GetOpenVolumes().Size(), 1u);

    Directory root;
    ASSERT_TRUE(root.OpenRoot(again));
    EXPECT_EQ(root.GetDirectoryHandle(), m_root->GetDirectoryHandle());
    EXPECT_EQ(m_volume->GetVolumeHandle()->GetRootDirectory(), m_root->GetDirectoryHandle());
}

TEST_F(StorageSystemTest, AVolumeLeavesTheOpenListWithItsLastReference) {
    m_root.reset();
    EXPECT_EQ(Storage()->GetOpenVolumes().Size(), 1u);
    m_volume.reset();
    EXPECT_TRUE(Storage()->GetOpenVolumes().Empty());
    EXPECT_EQ(Storage()->GetFirstHandle(), nullptr);
}

TEST_F(StorageSystemTest, AVolumeLaidOnAFileIsFoundByThatFileOrByItsNameInItsDirectory) {
    const String pack("f");
    File container;
    ASSERT_TRUE(container.Open(&pack, *m_root, nullptr, false));
    Volume archive;
    ASSERT_TRUE(archive.Open(container));
    Directory archiveRoot;
    ASSERT_TRUE(archiveRoot.OpenRoot(archive));
    // A volume in a file is named by the file's path.
    EXPECT_STREQ(archive.PathText(true, false)->CStr(), "MEM0:/f");
    EXPECT_STREQ(archive.PathText(false, false)->CStr(), "f");
    m_memory->m_archives["f"]->Add("d", true);
    const String d("d");
    Directory inside;
    ASSERT_TRUE(inside.Open(&d, archiveRoot, false));
    EXPECT_STREQ(inside.PathText(true, false)->CStr(), "MEM0:/f:/d");

    File sameFile;
    ASSERT_TRUE(sameFile.Open(&pack, *m_root, nullptr, false));
    StorageSearchCriterion byFile(StorageSearchCriterion::kVolume);
    byFile.m_containerFile = &sameFile;
    EXPECT_EQ(Storage()->FindVolume(&byFile), archive.GetVolumeHandle());

    StorageSearchCriterion byName(StorageSearchCriterion::kVolume);
    byName.m_name = &pack;
    byName.m_containerDirectory = m_root.get();
    EXPECT_EQ(Storage()->FindVolume(&byName), archive.GetVolumeHandle());
    Directory elsewhere;
    ASSERT_TRUE(elsewhere.Open(&d, *m_root, false));
    byName.m_containerDirectory = &elsewhere;
    EXPECT_EQ(Storage()->FindVolume(&byName), nullptr);
    // Without a directory only a volume that lies in no file is meant.
    byName.m_containerDirectory = nullptr;
    EXPECT_EQ(Storage()->FindVolume(&byName), nullptr);
    byName.m_name = &m_volumeName;
    EXPECT_EQ(Storage()->FindVolume(&byName), m_volume->GetVolumeHandle());
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(StorageSystemTest, RemovingAnEngineThatIsNotListedReportsItsName) {
    StorageEngine* stranger = StorageEngine::Create();
    EXPECT_FALSE(Storage()->EngineRemoved(stranger));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrEngineHasNoSystem, "Storage Engine"}}));
    stranger->Shutdown();
}

TEST_F(StorageSystemTest, FrontEndsThatOutliveTheSystemReadAsClosed) {
    const String name("d");
    const String inner("inner");
    const String file("f");
    Directory directory;
    Directory innermost;
    File open;
    ASSERT_TRUE(directory.Open(&name, *m_root, false));
    ASSERT_TRUE(innermost.Open(&inner, directory, false));
    ASSERT_TRUE(open.Open(&file, *m_root, nullptr, false));

    m_application.ShutdownStorage();
    EXPECT_EQ(m_application.TakeReports(), Reports{});
    EXPECT_FALSE(m_root->IsOpen());
    EXPECT_FALSE(innermost.IsOpen());
    EXPECT_FALSE(open.IsOpen());
    EXPECT_FALSE(m_volume->IsOpen());
    EXPECT_EQ(open.Size(), 0u);
    m_application.TakeReports();
}

} // namespace
