#include "resources/storage/win32/Win32DirectoryHandle.h"
#include "platform/testing/Find.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/Directory.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

class Win32DirectoryHandleTest : public Win32DrivesTest {
protected:
    Win32DirectoryHandleTest() {
        fs::create_directories(Host('C', "work/sub"));
        WriteHostFile(Host('C', "work/a.txt"), "alpha");
        WriteHostFile(Host('C', "work/sub/b.txt"), "beta");
        fs::create_directories(Host('C', "other"));
        fs::create_directories(Host('E', "far"));
    }

    void MakeReadOnly(const std::string& path) {
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
};

TEST_F(Win32DirectoryHandleTest, AFolderWithOnlyItsDotEntriesIsEmpty) {
    fs::create_directories(Host('C', "empty"));
    for (bool dotsLast : {false, true}) {
        std::unique_ptr<win32::testing::DotEntriesLast> order;
        if (dotsLast) {
            order = std::make_unique<win32::testing::DotEntriesLast>();
        }
        Directory empty;
        Directory work;
        OpenDirectory(empty, "HD0:/empty");
        OpenDirectory(work, "HD0:/work");
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_FALSE(work.IsEmpty());
    }
}

TEST_F(Win32DirectoryHandleTest, EntryAtListsEveryEntryButTheDotEntriesWhereverTheyCome) {
    win32::testing::DotEntriesLast dotsLast;
    WriteHostFile(Host('C', "work/.hidden"), "h");
    WriteHostFile(Host('C', "work/locked.txt"), "12345");
    MakeReadOnly(Host('C', "work/locked.txt"));
    Directory work;
    OpenDirectory(work, "HD0:/work");

    BasicList<Descriptor*> entries;
    EXPECT_EQ(work.EntryAt(String("*"), entries), 4u);
    std::map<std::string, Descriptor> byName;
    for (Descriptor* entry : entries) {
        byName[entry->m_name.CStr()] = *entry;
        delete entry;
    }
    ASSERT_EQ(byName.size(), 4u);
    EXPECT_TRUE(byName.at("sub").m_flags.m_directory);
    EXPECT_FALSE(byName.at("a.txt").m_flags.m_directory);
    EXPECT_TRUE(byName.at("a.txt").m_flags.m_writeable);
    EXPECT_EQ(byName.at("a.txt").m_size, 5u);
    EXPECT_NE(byName.at("a.txt").m_lastWriteTime, 0u);
    EXPECT_TRUE(byName.at(".hidden").m_flags.m_hidden);
    EXPECT_FALSE(byName.at("locked.txt").m_flags.m_writeable);
    EXPECT_FALSE(byName.at("locked.txt").m_flags.m_deletable);
    EXPECT_TRUE(byName.at("locked.txt").m_flags.m_readable);
}

TEST_F(Win32DirectoryHandleTest, PatternsAndNamesMatchWithoutRegardToCase) {
    Directory work;
    OpenDirectory(work, "HD0:/work");
    BasicList<Descriptor*> entries;
    EXPECT_EQ(work.EntryAt(String("*.TXT"), entries), 1u);
    EXPECT_EQ(Names(entries), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(work.EntryAt(String("?.txt"), entries), 1u);
    Names(entries);
    EXPECT_TRUE(work.ContainsFile(String("A.TXT")));
    EXPECT_TRUE(work.ContainsDirectory(String("SUB")));
    EXPECT_FALSE(work.ContainsDirectory(String("a.txt")));
    EXPECT_FALSE(work.ContainsFile(String("sub")));
    EXPECT_FALSE(work.ContainsDirectory(String("..")));
    EXPECT_FALSE(work.ContainsDirectory(String(".")));
}

TEST_F(Win32DirectoryHandleTest, ATreeIsDeletedDepthFirstUnlessSomethingInItIsReadOnly) {
    win32::testing::DotEntriesLast dotsLast;
    WriteHostFile(Host('C', "work/sub/locked.txt"), "keep");
    MakeReadOnly(Host('C', "work/sub/locked.txt"));
    Directory root;
    OpenDirectory(root, "HD0:");
    EXPECT_FALSE(root.Delete(String("work")));
    EXPECT_TRUE(fs::exists(Host('C', "work/sub/locked.txt")));
    EXPECT_FALSE(fs::exists(Host('C', "work/a.txt")));
    EXPECT_FALSE(fs::exists(Host('C', "work/sub/b.txt")));

    fs::permissions(Host('C', "work/sub/locked.txt"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(root.Delete(String("work")));
    EXPECT_FALSE(fs::exists(Host('C', "work")));
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(Win32DirectoryHandleTest, DeletingATreeRemovesALinkToAFolderButNotWhatItLinksTo) {
    const std::string outside = m_drives.Base() + "/outside";
    fs::create_directories(outside);
    WriteHostFile(outside + "/precious.txt", "keep");
    fs::create_directory_symlink(outside, Host('C', "work/sub/link"));
    Directory root;
    OpenDirectory(root, "HD0:");
    EXPECT_TRUE(root.Delete(String("work")));
    EXPECT_FALSE(fs::exists(Host('C', "work")));
    EXPECT_EQ(ReadHostFile(outside + "/precious.txt"), "keep");
}

TEST_F(Win32DirectoryHandleTest, AMoveOnOneDriveIsOneRenameAndAcrossDrivesACopyAndADelete) {
    const fs::file_time_type written = fs::last_write_time(Host('C', "work/a.txt"));
    Directory work;
    Directory other;
    Directory far;
    OpenDirectory(work, "HD0:/work");
    OpenDirectory(other, "HD0:/other");
    OpenDirectory(far, "HD1:/far");

    ASSERT_TRUE(other.Move(String("a.txt"), work, false, false));
    EXPECT_FALSE(fs::exists(Host('C', "work/a.txt")));
    EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "alpha");
    EXPECT_EQ(fs::last_write_time(Host('C', "other/a.txt")), written);

    ASSERT_TRUE(far.Move(String("a.txt"), other, false, false));
    EXPECT_FALSE(fs::exists(Host('C', "other/a.txt")));
    EXPECT_EQ(ReadHostFile(Host('E', "far/a.txt")), "alpha");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(Win32DirectoryHandleTest, AMoveReplacesAFileOnlyWhenAllowedAndOnlyBySucceeding) {
    WriteHostFile(Host('C', "other/a.txt"), "old");
    Directory work;
    Directory other;
    OpenDirectory(work, "HD0:/work");
    OpenDirectory(other, "HD0:/other");

    EXPECT_FALSE(other.Move(String("a.txt"), work, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrFileExists}}));
    EXPECT_EQ(ReadHostFile(Host('C', "work/a.txt")), "alpha");
    EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "old");

    // The source is held open without leave to rename it: the move fails and the old target survives.
    {
        File holder;
        OpenFile(holder, "HD0:/work/a.txt");
        EXPECT_FALSE(other.Move(String("a.txt"), work, false, true));
        EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrAccessDenied}}));
        EXPECT_EQ(ReadHostFile(Host('C', "work/a.txt")), "alpha");
        EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "old");
    }

    EXPECT_TRUE(other.Move(String("a.txt"), work, false, true));
    EXPECT_FALSE(fs::exists(Host('C', "work/a.txt")));
    EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "alpha");
}

TEST_F(Win32DirectoryHandleTest, AFileMovedOntoItselfStaysAsItWas) {
    Directory work;
    OpenDirectory(work, "HD0:/work");
    EXPECT_TRUE(work.Move(String("a.txt"), work, false, true));
    EXPECT_EQ(ReadHostFile(Host('C', "work/a.txt")), "alpha");
    EXPECT_FALSE(work.Move(String("a.txt"), work, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrFileExists}}));
    EXPECT_EQ(ReadHostFile(Host('C', "work/a.txt")), "alpha");
}

TEST_F(Win32DirectoryHandleTest, ACopyOntoAnExistingFileNeedsLeaveToOverwrite) {
    WriteHostFile(Host('C', "other/a.txt"), "old");
    Directory work;
    Directory other;
    OpenDirectory(work, "HD0:/work");
    OpenDirectory(other, "HD0:/other");
    EXPECT_FALSE(other.Copy(String("a.txt"), work, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrAccessDenied, "C:\\work\\a.txt"}}));
    EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "old");
    EXPECT_TRUE(other.Copy(String("a.txt"), work, false, true));
    EXPECT_EQ(ReadHostFile(Host('C', "other/a.txt")), "alpha");
    EXPECT_EQ(ReadHostFile(Host('C', "work/a.txt")), "alpha");
}

TEST_F(Win32DirectoryHandleTest, AFolderCopiesWholeWhereverTheHostListsItsDotEntries) {
    win32::testing::DotEntriesLast dotsLast;
    Directory root;
    Directory far;
    OpenDirectory(root, "HD0:");
    OpenDirectory(far, "HD1:/far");
    EXPECT_TRUE(far.Copy(String("work"), root, false, false));
    EXPECT_EQ(m_application.TakeReports(), Reports{});
    EXPECT_EQ(ReadHostFile(Host('E', "far/work/a.txt")), "alpha");
    EXPECT_EQ(ReadHostFile(Host('E', "far/work/sub/b.txt")), "beta");
}

// The reports of one code, their texts in order.
std::vector<std::string> TextsOf(const Reports& reports, ErrorCode code) {
    std::vector<std::string> texts;
    for (const Reported& report : reports) {
        if (report.m_code == code) {
            texts.push_back(report.m_text);
        }
    }
    return texts;
}

TEST_F(Win32DirectoryHandleTest, ANameThatReachesPastItsFolderIsNeitherCopiedMovedNorDeleted) {
    WriteHostFile(Host('C', "victim.txt"), "precious");
    Directory work;
    Directory other;
    OpenDirectory(work, "HD0:/work");
    OpenDirectory(other, "HD0:/other");
    for (const char* name : {"..\\victim.txt", "sub\\b.txt", "sub/b.txt", "..", "."}) {
        EXPECT_FALSE(other.Copy(String(name), work, true, true)) << name;
        EXPECT_FALSE(other.Move(String(name), work, true, true)) << name;
        EXPECT_FALSE(work.Delete(String(name))) << name;
        const std::string refusal = std::string("\"") + name + "\" is not the name of one entry of ";
        EXPECT_EQ(
            TextsOf(m_application.TakeReports(), StorageEngineErrBadName),
            (std::vector<std::string>{refusal + "C:\\other", refusal + "C:\\other", refusal + "C:\\work"}))
            << name;
    }
    EXPECT_EQ(ReadHostFile(Host('C', "victim.txt")), "precious");
    EXPECT_EQ(ReadHostFile(Host('C', "work/sub/b.txt")), "beta");
    EXPECT_FALSE(fs::exists(Host('C', "other/sub")));
}

TEST_F(Win32DirectoryHandleTest, AListedNameHoldingSeparatorsIsSkippedAndReportedByCopyAndDelete) {
    // The host allows a backslash in a name; to Windows it separates folders.
    const std::string listed = Host('C', "work/sub") + "/..\\..\\victim.txt";
    WriteHostFile(Host('C', "victim.txt"), "precious");
    WriteHostFile(listed, "listed");
    Directory root;
    Directory far;
    OpenDirectory(root, "HD0:");
    OpenDirectory(far, "HD1:/far");

    EXPECT_FALSE(far.Copy(String("work"), root, true, true));
    EXPECT_EQ(ReadHostFile(Host('E', "far/work/sub/b.txt")), "beta");
    EXPECT_FALSE(fs::exists(Host('E', "far/victim.txt")));
    EXPECT_EQ(TextsOf(m_application.TakeReports(), StorageEngineErrBadName),
              std::vector<std::string>{
                  "\"..\\..\\victim.txt\" is not the name of one entry of E:\\far\\work\\sub"});

    EXPECT_FALSE(root.Delete(String("work")));
    EXPECT_EQ(ReadHostFile(Host('C', "victim.txt")), "precious");
    EXPECT_EQ(ReadHostFile(listed), "listed");
    EXPECT_FALSE(fs::exists(Host('C', "work/sub/b.txt")));
    EXPECT_EQ(
        TextsOf(m_application.TakeReports(), StorageEngineErrBadName),
        std::vector<std::string>{"\"..\\..\\victim.txt\" is not the name of one entry of C:\\work\\sub"});
}

TEST_F(Win32DirectoryHandleTest, AFolderCopyEntersEachFolderOnceWhateverLinksLeadBack) {
    fs::create_directory_symlink(".", Host('C', "work/again"));
    fs::create_directory_symlink(".", Host('C', "work/more"));
    fs::create_directory_symlink("..", Host('C', "work/sub/up"));
    Directory root;
    Directory far;
    OpenDirectory(root, "HD0:");
    OpenDirectory(far, "HD1:/far");

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(far.Copy(String("work"), root, true, true));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(ReadHostFile(Host('E', "far/work/a.txt")), "alpha");
    EXPECT_EQ(ReadHostFile(Host('E', "far/work/sub/b.txt")), "beta");
    std::vector<std::string> copied;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Host('E', "far"))) {
        copied.push_back(fs::relative(entry.path(), Host('E', "far")).generic_string());
    }
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, (std::vector<std::string>{"work", "work/a.txt", "work/sub", "work/sub/b.txt"}));
    std::vector<std::string> skipped = TextsOf(m_application.TakeReports(), StorageEngineErrAccessDenied);
    std::sort(skipped.begin(), skipped.end());
    const std::string inside = ": a folder this copy is already inside; skipped";
    EXPECT_EQ(skipped, (std::vector<std::string>{"C:\\work\\again" + inside, "C:\\work\\more" + inside,
                                                 "C:\\work\\sub\\up" + inside}));
}

TEST_F(Win32DirectoryHandleTest, AFolderCopiedIntoItselfIsNotEnteredAgain) {
    Directory root;
    Directory sub;
    OpenDirectory(root, "HD0:");
    OpenDirectory(sub, "HD0:/work/sub");
    EXPECT_FALSE(sub.Copy(String("work"), root, true, true));
    EXPECT_EQ(ReadHostFile(Host('C', "work/sub/work/a.txt")), "alpha");
    EXPECT_FALSE(fs::exists(Host('C', "work/sub/work/sub")));
    EXPECT_EQ(TextsOf(m_application.TakeReports(), StorageEngineErrAccessDenied),
              std::vector<std::string>{"C:\\work\\sub: a folder this copy is already inside; skipped"});
}

TEST_F(Win32DirectoryHandleTest, AFolderIsRenamedInItsParent) {
    Directory work;
    Directory root;
    OpenDirectory(work, "HD0:/work");
    OpenDirectory(root, "HD0:");
    EXPECT_FALSE(work.SetName(String("bad:name")));
    EXPECT_FALSE(root.SetName(String("top")));
    EXPECT_FALSE(work.SetName(String("other")));
    EXPECT_EQ(
        m_application.TakeReports(),
        (Reports{{StorageEngineErrBadName}, {StorageEngineErrNoParent}, {StorageEngineErrAccessDenied}}));

    EXPECT_TRUE(work.SetName(String("renamed")));
    EXPECT_TRUE(fs::exists(Host('C', "renamed/a.txt")));
    EXPECT_STREQ(work.PathText(true, false)->CStr(), "HD0:/renamed");
    EXPECT_STREQ(work.PathText(true, true)->CStr(), "C:\\renamed");
    EXPECT_TRUE(work.ContainsFile(String("a.txt")));
}

} // namespace
