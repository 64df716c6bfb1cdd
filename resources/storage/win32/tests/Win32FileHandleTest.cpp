#include "resources/storage/win32/Win32FileHandle.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/File.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

const AccessStyle kReadWrite(true, true, false, false);

class Win32FileHandleTest : public Win32DrivesTest {
protected:
    Win32FileHandleTest() {
        fs::create_directories(Host('C', "data"));
        WriteHostFile(Host('C', "data/file.bin"), "0123456789ABCDEFGHIJ");
    }
};

TEST_F(Win32FileHandleTest, CreatingAnExistingFileOrOpeningAMissingOneNamesItsPath) {
    Path existing = At("HD0:/data/file.bin");
    Path missing = At("HD0:/data/missing.bin");
    File file;
    EXPECT_FALSE(file.Create(existing, &kReadWrite, false));
    Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrFileExists, "C:\\data\\file.bin"));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrFileOpenFailed, "HD0:/data/file.bin"));

    EXPECT_FALSE(file.Open(missing, nullptr, false));
    reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrNotFound, "C:\\data\\missing.bin"));
    EXPECT_FALSE(fs::exists(Host('C', "data/missing.bin")));

    EXPECT_TRUE(file.Create(missing, &kReadWrite, false));
    EXPECT_TRUE(fs::exists(Host('C', "data/missing.bin")));
}

TEST_F(Win32FileHandleTest, WritesAndReadsFollowTheHandlesPosition) {
    File file;
    OpenFile(file, "HD0:/data/file.bin", &kReadWrite);
    EXPECT_EQ(file.Size(), 20u);
    AccessStatus* written = file.WriteAt(18, 4, "wxyz");
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->m_status, AccessStatus::kDone);
    EXPECT_EQ(written->m_count, 4u);
    written->Release();
    EXPECT_EQ(file.Position(), 22u);
    EXPECT_EQ(ReadHostFile(Host('C', "data/file.bin")), "0123456789ABCDEFGHwxyz");

    // Ten bytes asked five before the end: five arrive, and the request stays incomplete.
    AccessStatus* read = file.ReadAt(17, 10, nullptr);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_status, AccessStatus::kPending);
    EXPECT_EQ(read->m_count, 5u);
    EXPECT_EQ(TakeBytes(read), "Hwxyz");
    EXPECT_EQ(file.Position(), 22u);

    AccessStatus* empty = file.ReadAt(0, 0, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->m_status, AccessStatus::kDone);
    empty->Release();
}

TEST_F(Win32FileHandleTest, SetSizeCutsOrExtendsAndMovesOnlyAPositionBeyondTheEnd) {
    File file;
    OpenFile(file, "HD0:/data/file.bin", &kReadWrite);
    TakeBytes(file.ReadAt(15, 5, nullptr));
    EXPECT_EQ(file.Position(), 20u);

    EXPECT_TRUE(file.SetSize(30));
    EXPECT_EQ(file.Position(), 20u);
    EXPECT_EQ(fs::file_size(Host('C', "data/file.bin")), 30u);
    EXPECT_TRUE(file.SetSize(0));
    EXPECT_EQ(file.Position(), 0u);
    EXPECT_EQ(fs::file_size(Host('C', "data/file.bin")), 0u);
}

TEST_F(Win32FileHandleTest, ASizeThatCannotBeReachedLeavesTheFileAsItWas) {
    File file;
    OpenFile(file, "HD0:/data/file.bin", &kReadWrite);
    TakeBytes(file.ReadAt(0, 4, nullptr));
    EXPECT_FALSE(file.SetSize(0x8000000000000000ull));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32StorageErrSetEndOfFile}}));
    EXPECT_EQ(ReadHostFile(Host('C', "data/file.bin")), "0123456789ABCDEFGHIJ");
    EXPECT_EQ(file.Position(), 4u);
    EXPECT_EQ(TakeBytes(file.Read(2, nullptr)), "45");
}

TEST_F(Win32FileHandleTest, AFailedSeekIsReportedAndTheNextTransferSeeksAgain) {
    File file;
    OpenFile(file, "HD0:/data/file.bin", &kReadWrite);
    AccessStatus* far = file.ReadAt(0x8000000000000000ull, 4, nullptr);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->m_count, 0u);
    EXPECT_EQ(far->m_status, AccessStatus::kPending);
    far->Release();
    AccessStatus* write = file.WriteAt(0x8000000000000000ull, 1, "x");
    ASSERT_NE(write, nullptr);
    EXPECT_EQ(write->m_count, 0u);
    write->Release();
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{StorageEngineErrReadFailed}, {StorageEngineErrWriteFailed}}));

    EXPECT_EQ(file.Position(), 0u);
    EXPECT_EQ(TakeBytes(file.Read(3, nullptr)), "012");
}

TEST_F(Win32FileHandleTest, AHandleWithoutItsOsFileFailsEveryTransfer) {
    Win32FileHandle never(m_application.Win32());
    never.Flags().m_readable = 1;
    char buffer[4];
    AccessStatus request(buffer, 0, 4, false, nullptr);
    EXPECT_EQ(never.Size(), 0u);
    EXPECT_FALSE(never.SetSize(1));
    EXPECT_EQ(never.Read(&request)->m_count, 0u);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrFileNotListed},
                                                    {StorageEngineErrFileNotListed},
                                                    {StorageEngineErrFileNotListed}}));

    File file;
    OpenFile(file, "HD0:/data/file.bin", &kReadWrite);
    static_cast<Win32FileHandle*>(file.GetFileHandle())->CloseOsHandle();
    EXPECT_EQ(file.Size(), 0u);
    AccessStatus* read = file.ReadAt(0, 4, buffer);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_count, 0u);
    read->Release();
    AccessStatus* write = file.WriteAt(0, 4, buffer);
    ASSERT_NE(write, nullptr);
    write->Release();
    EXPECT_EQ(
        m_application.TakeReports(),
        (Reports{{StorageEngineErrReadFailed}, {StorageEngineErrReadFailed}, {StorageEngineErrWriteFailed}}));
}

TEST_F(Win32FileHandleTest, AFileOpenedForReadingIsNotRenamed) {
    File reader;
    OpenFile(reader, "HD0:/data/file.bin");
    EXPECT_FALSE(reader.SetName(String("other.bin")));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrAccessDenied}}));
    EXPECT_TRUE(fs::exists(Host('C', "data/file.bin")));
    EXPECT_EQ(TakeBytes(reader.Read(2, nullptr)), "01");
}

TEST_F(Win32FileHandleTest, AFileIsRenamedKeepingItsHandleAndPositionWhenWritable) {
    File writer;
    OpenFile(writer, "HD0:/data/file.bin", &kReadWrite);
    TakeBytes(writer.ReadAt(0, 5, nullptr));
    EXPECT_FALSE(writer.SetName(String("a?b")));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrBadName}}));
    ASSERT_TRUE(writer.SetName(String("renamed.bin")));
    EXPECT_FALSE(fs::exists(Host('C', "data/file.bin")));
    EXPECT_STREQ(writer.PathText(true, false)->CStr(), "HD0:/data/renamed.bin");
    EXPECT_EQ(writer.Position(), 5u);
    EXPECT_EQ(TakeBytes(writer.Read(3, nullptr)), "567");
}

TEST_F(Win32FileHandleTest, ARefusedRenameReopensTheFileUnderItsOldNameWhereItWas) {
    WriteHostFile(Host('C', "data/taken.bin"), "other");
    File writer;
    OpenFile(writer, "HD0:/data/file.bin", &kReadWrite);
    TakeBytes(writer.ReadAt(0, 5, nullptr));
    EXPECT_FALSE(writer.SetName(String("TAKEN.BIN")));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrAccessDenied}}));
    EXPECT_EQ(ReadHostFile(Host('C', "data/taken.bin")), "other");
    EXPECT_STREQ(writer.PathText(true, false)->CStr(), "HD0:/data/file.bin");
    EXPECT_EQ(writer.Position(), 5u);
    EXPECT_EQ(TakeBytes(writer.Read(3, nullptr)), "567");
    AccessStatus* written = writer.Write(1, "!");
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->m_status, AccessStatus::kDone);
    written->Release();
    EXPECT_EQ(ReadHostFile(Host('C', "data/file.bin")), "01234567!9ABCDEFGHIJ");
}

TEST_F(Win32FileHandleTest, OpensOfOneFileInAnySpellingMeetTheSameShareModes) {
    File alone;
    OpenFile(alone, "HD0:/data/file.bin", &kReadWrite);
    File reader;
    Path other = At("HD0:/data/FILE.BIN");
    EXPECT_FALSE(reader.Open(other, nullptr, false));
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrOpenFailed, "C:\\data\\FILE.BIN"));
}

TEST_F(Win32FileHandleTest, AReadOnlyFileOpensButCannotBeWritten) {
    fs::permissions(Host('C', "data/file.bin"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    File file;
    OpenFile(file, "HD0:/data/file.bin");
    EXPECT_TRUE(file.IsReadable());
    EXPECT_FALSE(file.IsWriteable());
    EXPECT_FALSE(file.IsDeletable());
    EXPECT_EQ(file.WriteAt(0, 1, "x"), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrNotWriteable}}));

    File onDisc;
    WriteHostFile(Host('D', "track.dat"), "cd");
    OpenFile(onDisc, "CD0:/track.dat");
    EXPECT_FALSE(onDisc.IsWriteable());
}

} // namespace
