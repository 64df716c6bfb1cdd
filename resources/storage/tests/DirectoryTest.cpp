#include "resources/storage/Directory.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"
#include "resources/storage/Volume.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

class DirectoryTest : public Win32DrivesTest {
protected:
    DirectoryTest() {
        fs::create_directories(Host('C', "a/b/c"));
        WriteHostFile(Host('C', "a/file.txt"), "f");
    }
};

TEST_F(DirectoryTest, APathThatIsAVolumeNameAloneOpensItsRoot) {
    const String name("HD0");
    const Path volumeOnly(&name, nullptr);
    Directory root;
    ASSERT_TRUE(root.Open(volumeOnly, false));
    EXPECT_STREQ(root.PathText(true, false)->CStr(), "HD0:");
    EXPECT_STREQ(root.PathText(true, true)->CStr(), "C:");
    EXPECT_EQ(root.Parent(), nullptr);
    EXPECT_TRUE(root.ContainsDirectory(String("a")));
}

TEST_F(DirectoryTest, TheRootAndTheVolumeAreReachedFromAnyDepth) {
    Directory deep;
    OpenDirectory(deep, "HD0:/a/b/c");
    Directory root;
    ASSERT_TRUE(deep.RootDirectory(root));
    EXPECT_STREQ(root.PathText(true, false)->CStr(), "HD0:");
    Directory rootOfRoot;
    ASSERT_TRUE(root.RootDirectory(rootOfRoot));
    EXPECT_EQ(rootOfRoot.GetDirectoryHandle(), root.GetDirectoryHandle());

    Volume volume;
    ASSERT_TRUE(deep.GetVolume(volume));
    EXPECT_STREQ(volume.PathText(false, false)->CStr(), "HD0");
    EXPECT_FALSE(deep.GetVolume(volume));
    EXPECT_FALSE(deep.RootDirectory(root));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen, "Volume"},
                                                    {ResourceSystemErrAlreadyOpen, "Directory"}}));

    Directory parent;
    ASSERT_TRUE(deep.ParentDirectory(parent));
    EXPECT_STREQ(parent.PathText(true, false)->CStr(), "HD0:/a/b");
    Directory aboveRoot;
    EXPECT_FALSE(root.ParentDirectory(aboveRoot));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrNoParent}}));
}

TEST_F(DirectoryTest, AnOpenDirectoryRefusesToBeOpenedAgain) {
    Directory a;
    OpenDirectory(a, "HD0:/a");
    Path other = At("HD0:/a/b");
    Directory root;
    OpenDirectory(root, "HD0:");
    const String b("b");
    EXPECT_FALSE(a.Open(other, false));
    EXPECT_FALSE(a.Open(&b, root, false));
    EXPECT_FALSE(a.Open(root));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen},
                                                    {ResourceSystemErrAlreadyOpen},
                                                    {ResourceSystemErrAlreadyOpen}}));
    EXPECT_STREQ(a.PathText(true, false)->CStr(), "HD0:/a");
}

TEST_F(DirectoryTest, ContainsFindsAFileOrASubdirectory) {
    Directory a;
    OpenDirectory(a, "HD0:/a");
    EXPECT_TRUE(a.Contains(String("file.txt")));
    EXPECT_TRUE(a.Contains(String("b")));
    EXPECT_FALSE(a.Contains(String("nothing")));
}

TEST_F(DirectoryTest, CreatingFromAPathWithoutADirectoryIsLeftToTheStorageSystemToRefuse) {
    const String name("fresh");
    const Path bare(&name, nullptr);
    Directory directory;
    EXPECT_FALSE(directory.Create(bare, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrNoParent},
                                                    {ResourceSystemErrOpenFailed},
                                                    {StorageSystemErrDirectoryOpenFailed, "fresh"}}));
}

TEST_F(DirectoryTest, CreateMakesTheFolderAndOpensAnExistingOneOnlyWhenAllowed) {
    Path fresh = At("HD0:/a/fresh");
    Directory created;
    ASSERT_TRUE(created.Create(fresh, false));
    EXPECT_TRUE(fs::is_directory(Host('C', "a/fresh")));

    Path existing = At("HD0:/a/b");
    Directory refused;
    EXPECT_FALSE(refused.Create(existing, false));
    Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrDirectoryExists, "C:\\a\\b"));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrDirectoryOpenFailed, "HD0:/a/b"));
    Directory allowed;
    EXPECT_TRUE(allowed.Create(existing, true));

    Path missing = At("HD0:/a/none");
    Directory absent;
    EXPECT_FALSE(absent.Open(missing, false));
    reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrNoDirectory, "C:\\a\\none"));
}

// A text ending in "/" leaves its last directory open in the Path with an empty name: opening by that Path is
// that directory, one handle, and what lies under it is named once.
TEST_F(DirectoryTest, APathEndingInASlashOpensTheDirectoryItHolds) {
    Path path = At("HD0:/a/");
    ASSERT_NE(path.GetDirectory(), nullptr);
    DirectoryHandle* held = path.GetDirectory()->GetDirectoryHandle();
    Directory a;
    ASSERT_TRUE(a.Open(path, false));
    EXPECT_EQ(a.GetDirectoryHandle(), held);
    EXPECT_STREQ(a.PathText(true, false)->CStr(), "HD0:/a");
    EXPECT_TRUE(held->ChildDirectories().Empty());
    Directory root;
    OpenDirectory(root, "HD0:");
    EXPECT_EQ(root.GetDirectoryHandle()->ChildDirectories().Size(), 1u);

    File file;
    const String name("file.txt");
    ASSERT_TRUE(file.Open(&name, a, nullptr, false));
    EXPECT_STREQ(file.PathText(true, false)->CStr(), "HD0:/a/file.txt");

    // Creating it anew is refused, as for any directory already open; opening it existing is allowed.
    Directory created;
    EXPECT_FALSE(created.Create(path, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrExists},
                                                    {ResourceSystemErrOpenFailed},
                                                    {StorageSystemErrDirectoryOpenFailed, "HD0:/a/"}}));
    EXPECT_TRUE(created.Create(path, true));
    EXPECT_EQ(created.GetDirectoryHandle(), held);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(DirectoryTest, MovingOrCopyingByAPathNeedsItsDirectory) {
    Directory a;
    OpenDirectory(a, "HD0:/a");
    const String name("file.txt");
    const Path bare(&name, nullptr);
    EXPECT_FALSE(a.Move(bare, false, false));
    EXPECT_FALSE(a.Copy(bare, false, false));
    Directory closed;
    EXPECT_FALSE(a.Move(name, closed, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageSystemErrNoParent},
                                                    {StorageSystemErrNoParent},
                                                    {ResourceSystemErrNoHandle, "Parent"}}));

    Directory b;
    OpenDirectory(b, "HD0:/a/b");
    Path source = At("HD0:/a/file.txt");
    EXPECT_TRUE(b.Copy(source, false, false));
    EXPECT_EQ(ReadHostFile(Host('C', "a/b/file.txt")), "f");
}

TEST_F(DirectoryTest, EveryOperationOfAClosedDirectoryReportsOnceAndAnswersNeutrally) {
    Directory closed;
    Directory out;
    Volume volume;
    BasicList<Descriptor*> entries;
    const String name("x");
    const std::vector<std::pair<const char*, std::function<bool()>>> operations = {
        {"Delete", [&] { return !closed.Delete(name); }},
        {"IsEmpty", [&] { return !closed.IsEmpty(); }},
        {"ContainsDirectory", [&] { return !closed.ContainsDirectory(name); }},
        {"ContainsFile", [&] { return !closed.ContainsFile(name); }},
        {"Contains", [&] { return !closed.Contains(name); }},
        {"EntryAt", [&] { return closed.EntryAt(name, entries) == 0; }},
        {"RootDirectory", [&] { return !closed.RootDirectory(out); }},
        {"GetVolume", [&] { return !closed.GetVolume(volume); }},
        {"IsReadable", [&] { return !closed.IsReadable(); }},
        {"IsWriteable", [&] { return !closed.IsWriteable(); }},
        {"IsDeletable", [&] { return !closed.IsDeletable(); }},
        {"IsArchive", [&] { return !closed.IsArchive(); }},
        {"IsHidden", [&] { return !closed.IsHidden(); }},
        {"SetName", [&] { return !closed.SetName(name); }},
        {"PathText", [&] { return closed.PathText(true, false) == nullptr; }},
        {"PathPart", [&] { return closed.PathPart(false) == nullptr; }},
        {"Parent", [&] { return closed.Parent() == nullptr; }},
        {"ParentDirectory", [&] { return !closed.ParentDirectory(out); }},
        {"Move", [&] { return !closed.Move(name, out, false, false); }},
        {"Copy", [&] { return !closed.Copy(name, out, false, false); }},
    };
    for (const auto& [what, neutral] : operations) {
        EXPECT_TRUE(neutral()) << what;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle}})) << what;
    }
    EXPECT_FALSE(closed.Changed());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNotSupported, "Directory::Changed"}}));

    Directory other;
    EXPECT_FALSE(other.Open(closed));
    EXPECT_FALSE(other.OpenRoot(volume));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNoHandle, "Directory"}, {ResourceSystemErrNoHandle, "Volume"}}));
}

} // namespace
