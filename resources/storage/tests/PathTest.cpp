#include "resources/storage/Path.h"
#include "platform/testing/CodePage.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Volume.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

std::string FullText(const Path& path, bool native = false) {
    String text;
    return path.GetText(text, true, native).CStr();
}

class PathTest : public Win32DrivesTest {
protected:
    PathTest() {
        fs::create_directories(Host('C', "a/b"));
        WriteHostFile(Host('C', "a/b/file.txt"), "f");
    }
};

TEST_F(PathTest, ACopyOwnsADirectoryOfItsOwn) {
    auto original = std::make_unique<Path>(At("HD0:/a/b/file.txt"));
    Path copy(*original);
    ASSERT_NE(copy.GetDirectory(), nullptr);
    EXPECT_NE(copy.GetDirectory(), original->GetDirectory());
    EXPECT_EQ(copy.GetDirectory()->GetDirectoryHandle(), original->GetDirectory()->GetDirectoryHandle());
    original.reset();
    EXPECT_EQ(FullText(copy), "HD0:/a/b/file.txt");

    Directory* kept = copy.GetDirectory();
    EXPECT_TRUE(copy.Assign(copy));
    EXPECT_EQ(copy.GetDirectory(), kept);

    const String name("alone");
    const Path bare(&name, nullptr);
    EXPECT_EQ(bare.GetDirectory(), nullptr);
    EXPECT_EQ(FullText(bare), "alone");
}

TEST_F(PathTest, ParsingEntersEveryComponentButTheLast) {
    struct Case {
        const char* text;
        bool parsed;
        const char* full;
        bool hasDirectory;
    };
    const Case cases[] = {
        {"HD0:", true, "HD0", false},
        {"HD0:x", false, "HD0", false},
        {"HD0:/a/b/file.txt", true, "HD0:/a/b/file.txt", true},
        {"HD0:/a/./b/file.txt", true, "HD0:/a/b/file.txt", true},
        {"HD0:/a/../a/b/../b/file.txt", true, "HD0:/a/b/file.txt", true},
        {"HD0:/../a", true, "HD0:/a", true},
        {"HD0:/a/b/", true, "HD0:/a/b/", true},
        {"HD0:/", true, "HD0:/", true},
        {"HD0:/a/missing/file.txt", false, "HD0:/a/missing", true},
        {"XD0:/a", false, "XD0", false},
    };
    for (const Case& c : cases) {
        Path path;
        EXPECT_EQ(path.Parse(String(c.text)), c.parsed) << c.text;
        EXPECT_EQ(FullText(path), c.full) << c.text;
        EXPECT_EQ(path.GetDirectory() != nullptr, c.hasDirectory) << c.text;
    }
    m_application.TakeReports();
}

TEST_F(PathTest, ARelativeTextGoesOnFromWhereThePathIs) {
    Path path = At("HD0:/a");
    EXPECT_STREQ(path.GetName().CStr(), "a");
    // The name held so far is entered first.
    ASSERT_TRUE(path.Parse(String("b/file.txt")));
    EXPECT_EQ(FullText(path), "HD0:/a/b/file.txt");
    EXPECT_EQ(FullText(path, true), "C:\\a\\b\\file.txt");
    ASSERT_TRUE(path.Parse(String("")));
    EXPECT_EQ(FullText(path), "HD0:/a/b/file.txt");

    const String volume("HD0");
    Path named(&volume, nullptr);
    ASSERT_TRUE(named.Enter());
    EXPECT_STREQ(named.GetDirectory()->PathText(true, false)->CStr(), "HD0:");
    EXPECT_TRUE(named.GetName().IsEmpty());
}

TEST_F(PathTest, ADoubleByteCharacterIsNeverSplitAtItsSecondByte) {
    const char text[] = {'H', 'D', '0', ':', '/', '\x81', '/', '\0'};
    {
        win32::testing::ScopedCodePage japanese(932);
        Path path;
        EXPECT_TRUE(path.Parse(String(text)));
        EXPECT_STREQ(path.GetName().CStr(), "\x81/");
        EXPECT_STREQ(path.GetDirectory()->PathText(true, false)->CStr(), "HD0:");
    }
    Path path;
    EXPECT_FALSE(path.Parse(String(text)));
    EXPECT_STREQ(path.GetName().CStr(), "\x81");
    m_application.TakeReports();
}

TEST_F(PathTest, OnlyVolumeNamesNameVolumes) {
    const String disc("CD0");
    const String plain("readme");
    EXPECT_TRUE(Path(&disc, nullptr).NamesVolume());
    EXPECT_FALSE(Path(&plain, nullptr).NamesVolume());
    Path inDirectory = At("HD0:/CD0");
    EXPECT_FALSE(inDirectory.NamesVolume());
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    m_application.ShutdownStorage();
    EXPECT_FALSE(Path(&disc, nullptr).NamesVolume());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoSystem}}));
}

TEST_F(PathTest, APathIsTakenFromAFileOrADirectory) {
    File file;
    OpenFile(file, "HD0:/a/b/file.txt");
    Path fromFile;
    ASSERT_TRUE(fromFile.Assign(file));
    EXPECT_EQ(FullText(fromFile), "HD0:/a/b/file.txt");

    Directory b;
    OpenDirectory(b, "HD0:/a/b");
    Path fromDirectory;
    ASSERT_TRUE(fromDirectory.Assign(b));
    EXPECT_EQ(FullText(fromDirectory), "HD0:/a/b");

    Directory root;
    OpenDirectory(root, "HD0:");
    Path fromRoot = At("HD0:/a/b");
    ASSERT_TRUE(fromRoot.Assign(root));
    EXPECT_EQ(fromRoot.GetDirectory(), nullptr);
    EXPECT_STREQ(fromRoot.GetName().CStr(), "HD0");

    File closed;
    Path unchanged = At("HD0:/a/b");
    EXPECT_TRUE(unchanged.Assign(closed));
    EXPECT_EQ(FullText(unchanged), "HD0:/a/b");
    m_application.TakeReports();
}

TEST_F(PathTest, LeavingStepsOutToTheParentAndOutOfARootToItsVolume) {
    Path path = At("HD0:/a/b/file.txt");
    ASSERT_TRUE(path.Leave());
    EXPECT_EQ(FullText(path), "HD0:/a/b");
    ASSERT_TRUE(path.Leave());
    EXPECT_EQ(FullText(path), "HD0:/a");
    ASSERT_TRUE(path.Leave());
    EXPECT_EQ(path.GetDirectory(), nullptr);
    EXPECT_STREQ(path.GetName().CStr(), "HD0");
    EXPECT_FALSE(path.Leave());
}

TEST(PathEnter, AVolumeWhoseRootCannotBeOpenedIsNotEnteredAndLeavesNothingBehind) {
    StorageApplication application(StorageApplication::Engines::kNone);
    auto* memory = new MemoryStorageEngine;
    StorageEngine::Create(memory);
    application.Storage()->AddEngine(memory);
    memory->AddVolume("MEM0");
    memory->m_failRoots = true;

    const String name("MEM0");
    Path path(&name, nullptr);
    EXPECT_FALSE(path.Enter());
    EXPECT_EQ(path.GetDirectory(), nullptr);
    EXPECT_STREQ(path.GetName().CStr(), "MEM0");
    // Neither the volume opened for the root nor a directory stays open.
    EXPECT_TRUE(application.Storage()->GetOpenVolumes().Empty());
    EXPECT_EQ(application.Storage()->GetFirstHandle(), nullptr);
    application.TakeReports();
}

} // namespace
