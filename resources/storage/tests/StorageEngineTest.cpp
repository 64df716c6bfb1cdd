#include "resources/storage/StorageEngine.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/Volume.h"
#include "resources/storage/VolumeHandle.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

class StorageEngineTest : public ::testing::Test {
protected:
    StorageEngineTest() : m_application(StorageApplication::Engines::kNone) {
        m_memory = new MemoryStorageEngine;
        StorageEngine::Create(m_memory);
        m_application.Storage()->AddEngine(m_memory);
        MemoryNode* root = m_memory->AddVolume("HD0");
        root->Add("d", true)->Add("f", false, "0123456789");
        m_memory->AddVolume("HD1");
        const String name("HD0");
        EXPECT_TRUE(m_volume.Open(&name, nullptr, false));
        EXPECT_TRUE(m_root.OpenRoot(m_volume));
        const String d("d");
        EXPECT_TRUE(m_directory.Open(&d, m_root, false));
        m_application.TakeReports();
    }

    // A file of d, opened with the style.
    bool OpenF(File& file, const AccessStyle& style) {
        const String name("f");
        return file.Open(&name, m_directory, &style, false);
    }

    StorageApplication m_application;
    MemoryStorageEngine* m_memory = nullptr;
    Volume m_volume;
    Directory m_root;
    Directory m_directory;
};

TEST_F(StorageEngineTest, TheBaseNameRuleRefusesOnlyThePathSeparators) {
    StorageEngine* engine = m_memory;
    EXPECT_TRUE(engine->IsValidName(String("")));
    EXPECT_TRUE(engine->IsValidName(String("a\\b")));
    EXPECT_TRUE(engine->IsValidName(String("read me.txt")));
    EXPECT_FALSE(engine->IsValidName(String("a:b")));
    EXPECT_FALSE(engine->IsValidName(String("a/b")));
}

TEST_F(StorageEngineTest, AFileOpensBesideAnotherOnlyWhenTheirStylesAgreeEitherWay) {
    const AccessStyle readShared(true, false, true, false);
    const AccessStyle readWriteAlone(true, true, false, false);
    const AccessStyle readSharingAll(true, false, true, true);
    const AccessStyle writeSharingRead(false, true, true, false);
    struct Case {
        AccessStyle first;
        AccessStyle second;
        bool allowed;
    };
    const Case cases[] = {
        {readShared, readShared, true},           {readWriteAlone, readShared, false},
        {readShared, readWriteAlone, false},      {readSharingAll, writeSharingRead, true},
        {writeSharingRead, readSharingAll, true}, {writeSharingRead, writeSharingRead, false},
    };
    for (const Case& c : cases) {
        File first;
        File second;
        ASSERT_TRUE(OpenF(first, c.first));
        EXPECT_EQ(OpenF(second, c.second), c.allowed);
        const Reports reports = m_application.TakeReports();
        if (!c.allowed) {
            ASSERT_FALSE(reports.empty());
            EXPECT_EQ(reports.front(), Reported(StorageEngineErrAccessDenied));
        }
    }
}

TEST_F(StorageEngineTest, ANewFileIsRefusedInADirectoryThatCannotBeWritten) {
    m_directory.GetDirectoryHandle()->Flags().m_writeable = 0;
    const String missing("new");
    File file;
    EXPECT_FALSE(file.Open(&missing, m_directory, nullptr, true));
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrAccessDenied));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrFileOpenFailed, "HD0:/d/new"));

    File existing;
    EXPECT_TRUE(OpenF(existing, AccessStyle()));
}

TEST_F(StorageEngineTest, PathTextsUseTheLogicalSeparators) {
    File file;
    ASSERT_TRUE(OpenF(file, AccessStyle()));
    EXPECT_STREQ(m_root.PathText(true, false)->CStr(), "HD0:");
    EXPECT_STREQ(m_directory.PathText(true, false)->CStr(), "HD0:/d");
    EXPECT_STREQ(file.PathText(true, false)->CStr(), "HD0:/d/f");
    EXPECT_STREQ(file.PathText(false, false)->CStr(), "f");
    EXPECT_STREQ(m_volume.PathPart(false)->CStr(), ":");
    EXPECT_STREQ(m_directory.PathPart(false)->CStr(), "/");
}

TEST_F(StorageEngineTest, AVolumeTakesOnlyItsOwnRootOnce) {
    VolumeHandle* volume = m_volume.GetVolumeHandle();
    DirectoryHandle* root = m_root.GetDirectoryHandle();
    const std::uint32_t rootCount = root->GetReferenceCount();
    EXPECT_FALSE(volume->SetRootDirectory(root));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrRootAlreadySet}}));

    Volume other;
    const String name("HD1");
    ASSERT_TRUE(other.Open(&name, nullptr, false));
    EXPECT_FALSE(other.GetVolumeHandle()->SetRootDirectory(root));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrForeignRoot}}));
    // The refused root keeps exactly the references it had.
    EXPECT_EQ(root->GetReferenceCount(), rootCount);

    EXPECT_FALSE(other.GetVolumeHandle()->SetRootDirectory(nullptr));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrNoRoot}}));
}

TEST_F(StorageEngineTest, TransfersAreRefusedBeforeAnyRecordIsIssued) {
    File file;
    ASSERT_TRUE(OpenF(file, AccessStyle(true, true, false, false)));
    FileHandle* handle = file.GetFileHandle();
    char buffer[4] = {};

    struct Case {
        const char* what;
        std::uint64_t count;
        const void* data;
        ErrorCode expected;
        bool write;
    };
    const Case cases[] = {
        {"read of 2^32 bytes", 0x100000000ull, buffer, StorageEngineErrReadFailed, false},
        {"write of 2^32 bytes", 0x100000000ull, buffer, StorageEngineErrWriteFailed, true},
        {"write without data", 4, nullptr, StorageEngineErrNoData, true},
    };
    for (const Case& c : cases) {
        AccessStatus* record = c.write ? file.WriteAt(0, c.count, c.data) : file.ReadAt(0, c.count, buffer);
        EXPECT_EQ(record, nullptr) << c.what;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{c.expected}})) << c.what;
    }

    handle->Flags().m_readable = 0;
    handle->Flags().m_writeable = 0;
    EXPECT_EQ(file.ReadAt(0, 4, buffer), nullptr);
    EXPECT_EQ(file.WriteAt(0, 4, buffer), nullptr);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{StorageEngineErrNotReadable}, {StorageEngineErrNotWriteable}}));
}

TEST_F(StorageEngineTest, ReadAtTheFilesPositionAndRecordsGoBackToTheirOwner) {
    File file;
    ASSERT_TRUE(OpenF(file, AccessStyle()));
    EXPECT_EQ(TakeBytes(file.ReadAt(2, 3, nullptr)), "234");
    EXPECT_EQ(file.Position(), 5u);
    EXPECT_EQ(TakeBytes(file.Read(100, nullptr)), "56789");

    FileHandle* handle = file.GetFileHandle();
    EXPECT_FALSE(handle->ReleaseAccess(nullptr));
    AccessStatus stranger(nullptr, 0, 0, false, handle);
    EXPECT_FALSE(handle->ReleaseAccess(&stranger));
    AccessStatus orphan(nullptr, 0, 0, false, nullptr);
    EXPECT_FALSE(orphan.Release());
    EXPECT_EQ(
        m_application.TakeReports(),
        (Reports{{StorageEngineErrNoRecord}, {StorageEngineErrUnknownRecord}, {ResourceSystemErrNoHandle}}));

    // A record still outstanding goes with its handle.
    EXPECT_NE(file.ReadAt(0, 4, nullptr), nullptr);
}

TEST_F(StorageEngineTest, HandlesThatAreNotListedAreNamedInTheReport) {
    File file;
    ASSERT_TRUE(OpenF(file, AccessStyle()));
    DirectoryHandle* root = m_root.GetDirectoryHandle();
    EXPECT_FALSE(root->RemoveFile(file.GetFileHandle()));
    EXPECT_FALSE(root->RemoveChildDirectory(root));
    EXPECT_FALSE(root->RemoveVolume(m_volume.GetVolumeHandle()));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrFileNotListed, "f"},
                                                    {StorageEngineErrDirectoryNotListed, ""},
                                                    {StorageEngineErrVolumeNotListed, "HD0"}}));

    File other;
    ASSERT_TRUE(OpenF(other, AccessStyle()));
    FileHandle stranger(m_memory);
    stranger.SetNames(String("f"), String("f"));
    EXPECT_FALSE(m_directory.GetDirectoryHandle()->RemoveFile(&stranger));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrHandleNotListed, "f"}}));
}

TEST_F(StorageEngineTest, TheBaseVolumeSupportsNoDeviceWork) {
    VolumeHandle plain(m_memory);
    EXPECT_FALSE(plain.Lock());
    EXPECT_FALSE(plain.Unlock());
    EXPECT_FALSE(plain.Insert());
    EXPECT_FALSE(plain.Remove());
    EXPECT_FALSE(plain.Verify());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrLockFailed},
                                                    {StorageEngineErrLockFailed},
                                                    {StorageEngineErrInsertFailed},
                                                    {StorageEngineErrInsertFailed},
                                                    {ResourceEngineErrNotSupported}}));
    EXPECT_TRUE(plain.SetLabel(String("DISC")));
    EXPECT_STREQ(plain.Label()->CStr(), "DISC");
    EXPECT_TRUE(plain.MatchName(String("DISC")));
    EXPECT_FALSE(plain.MatchName(String("disc")));
}

} // namespace
