#include "resources/storage/File.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/Path.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

class FileTest : public Win32DrivesTest {
protected:
    FileTest() {
        fs::create_directories(Host('C', "data/more"));
        WriteHostFile(Host('C', "data/text.txt"), "Hello, storage.");
        WriteHostFile(Host('C', "data/more/text.txt"), "other");
    }
};

TEST_F(FileTest, AFileIsOpenedByItsPathTextReadWholeAndWrittenAnew) {
    File file;
    Path path;
    ASSERT_TRUE(path.Parse(String("HD0:/data/text.txt")));
    ASSERT_TRUE(file.Open(path, nullptr, false));
    AccessStatus* whole = file.ReadAt(0, file.Size(), nullptr);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->m_status, AccessStatus::kDone);
    EXPECT_EQ(TakeBytes(whole), "Hello, storage.");

    const AccessStyle writeAlone(false, true, false, false);
    File created;
    Path target;
    ASSERT_TRUE(target.Parse(String("HD0:/data/new.txt")));
    ASSERT_TRUE(created.Create(target, &writeAlone, false));
    AccessStatus* written = created.Write(5, "fresh");
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->m_status, AccessStatus::kDone);
    written->Release();
    EXPECT_EQ(ReadHostFile(Host('C', "data/new.txt")), "fresh");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(FileTest, EveryOperationOfAClosedFileReportsOnceAndAnswersNeutrally) {
    File closed;
    Directory out;
    char buffer[4];
    const std::vector<std::pair<const char*, std::function<bool()>>> operations = {
        {"ReadAt", [&] { return closed.ReadAt(0, 4, buffer) == nullptr; }},
        {"WriteAt", [&] { return closed.WriteAt(0, 4, buffer) == nullptr; }},
        {"SetSize", [&] { return !closed.SetSize(4); }},
        {"Size", [&] { return closed.Size() == 0; }},
        {"Position", [&] { return closed.Position() == 0; }},
        {"IsReadable", [&] { return !closed.IsReadable(); }},
        {"IsWriteable", [&] { return !closed.IsWriteable(); }},
        {"IsDeletable", [&] { return !closed.IsDeletable(); }},
        {"IsArchive", [&] { return !closed.IsArchive(); }},
        {"IsHidden", [&] { return !closed.IsHidden(); }},
        {"SetName", [&] { return !closed.SetName(String("x")); }},
        {"PathText", [&] { return closed.PathText(true, false) == nullptr; }},
        {"ParentDirectory", [&] { return !closed.ParentDirectory(out); }},
    };
    for (const auto& [name, neutral] : operations) {
        EXPECT_TRUE(neutral()) << name;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle}})) << name;
    }
    EXPECT_FALSE(closed.Changed());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNotSupported, "File::Changed"}}));
}

TEST_F(FileTest, APathWithoutADirectoryNamesNoFile) {
    const String name("text.txt");
    const Path bare(&name, nullptr);
    File file;
    EXPECT_FALSE(file.Open(bare, nullptr, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrNoParent}}));

    Directory closed;
    EXPECT_FALSE(file.Open(&name, closed, nullptr, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle, "Parent"}}));
}

TEST_F(FileTest, AFailedOpenEndsWithTheOpenFailureAndTheFilesFullPath) {
    Directory data;
    OpenDirectory(data, "HD0:/data");
    const String missing("missing.txt");
    File file;
    EXPECT_FALSE(file.Open(&missing, data, nullptr, false));
    const Reports reports = m_application.TakeReports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports[reports.size() - 2], Reported(ResourceSystemErrOpenFailed));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrFileOpenFailed, "HD0:/data/missing.txt"));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, AnOpenFileRefusesToBeOpenedAgain) {
    File file;
    OpenFile(file, "HD0:/data/text.txt");
    FileHandle* handle = file.GetFileHandle();
    Path other = At("HD0:/data/more/text.txt");
    File second;
    OpenFile(second, "HD0:/data/more/text.txt");
    EXPECT_FALSE(file.Open(other, nullptr, false));
    EXPECT_FALSE(file.Share(second));
    EXPECT_FALSE(file.Open(second, nullptr));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen},
                                                    {ResourceSystemErrAlreadyOpen},
                                                    {ResourceSystemErrAlreadyOpen}}));
    EXPECT_EQ(file.GetFileHandle(), handle);
    EXPECT_EQ(handle->GetReferenceCount(), 2u);
}

TEST_F(FileTest, AnotherFileOpensItsOwnHandleOrSharesTheSameOne) {
    File first;
    OpenFile(first, "HD0:/data/text.txt");
    File reopened;
    File shared;
    ASSERT_TRUE(reopened.Open(first, nullptr));
    ASSERT_TRUE(shared.Share(first));
    EXPECT_NE(reopened.GetFileHandle(), first.GetFileHandle());
    EXPECT_EQ(shared.GetFileHandle(), first.GetFileHandle());
    EXPECT_EQ(first.GetFileHandle()->GetReferenceCount(), 3u);
    EXPECT_STREQ(reopened.PathText(true, false)->CStr(), "HD0:/data/text.txt");

    File closed;
    File nothing;
    EXPECT_FALSE(nothing.Share(closed));
    EXPECT_FALSE(nothing.Open(closed, nullptr));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNoHandle, "File"}, {ResourceSystemErrNoHandle, "File"}}));
}

TEST_F(FileTest, TwoFilesAreTheSameWhenTheirNamesAndParentHandlesAre) {
    File closed;
    File alsoClosed;
    File first;
    File second;
    File elsewhere;
    OpenFile(first, "HD0:/data/text.txt");
    OpenFile(second, "HD0:/data/text.txt");
    OpenFile(elsewhere, "HD0:/data/more/text.txt");
    EXPECT_TRUE(closed.IsSame(alsoClosed));
    EXPECT_FALSE(closed.IsSame(first));
    EXPECT_FALSE(first.IsSame(closed));
    EXPECT_TRUE(first.IsSame(second));
    EXPECT_FALSE(first.IsSame(elsewhere));
}

TEST_F(FileTest, TheParentDirectoryGoesOnlyIntoAClosedDirectory) {
    File file;
    OpenFile(file, "HD0:/data/more/text.txt");
    Directory open;
    OpenDirectory(open, "HD0:/data");
    EXPECT_FALSE(file.ParentDirectory(open));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen, "Directory"}}));
    EXPECT_STREQ(open.PathText(true, false)->CStr(), "HD0:/data");

    Directory parent;
    ASSERT_TRUE(file.ParentDirectory(parent));
    EXPECT_STREQ(parent.PathText(true, false)->CStr(), "HD0:/data/more");
}

} // namespace
