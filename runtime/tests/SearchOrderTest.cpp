// The search order on real folders: an installation folder on C: (HD0), user and shared folders beside it,
// and a data disc on the CD-ROM drive D: (CD0) that can be taken away.
#include "platform/testing/Drives.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/testing/TestResourceFamily.h"
#include "runtime/application/SearchOrder.h"
#include "runtime/tests/ScratchFolder.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Text(const Vemo::String& text) {
    return text.CStr();
}

// A script value as one fragment, as a title writes a name.
Fragment Name(const char* text) {
    Vemo::BasicArray<Fragment> value;
    EXPECT_TRUE(Script::TokenizeText(value, text, static_cast<std::uint32_t>(std::strlen(text)))) << text;
    return value.Empty() ? Fragment() : value[0];
}

class SearchOrderTest : public ::testing::Test {
protected:
    SearchOrderTest()
        : m_drives({{'C'}, {'D', win32::DRIVE_CDROM}}),
          m_order([this](const Fragment& name, bool prompt) { return Resolve(name, prompt); }) {}

    void SetUp() override {
        m_application.m_storageSystem = Vemo::StorageSystem::Create();
        ASSERT_TRUE(m_application.m_storageSystem->AddEngine(Vemo::Win32StorageEngine::Create()));
        for (const char* folder : {"Title", "User", "Shared"}) {
            std::filesystem::create_directories(m_drives.HostPath('C', folder));
        }
        ASSERT_TRUE(m_game.Parse(Vemo::String("HD0:/Title")));
        ASSERT_TRUE(m_user.Parse(Vemo::String("HD0:/User")));
        ASSERT_TRUE(m_shared.Parse(Vemo::String("HD0:/Shared")));
        ASSERT_TRUE(m_disc.Parse(Vemo::String("CD0:")));
    }

    void TearDown() override {
        m_order.RemoveAllSearchPaths();
        for (Vemo::Path* path : {&m_game, &m_user, &m_shared, &m_disc}) {
            *path = Vemo::Path();
        }
        m_application.m_storageSystem->Shutdown();
        m_application.m_storageSystem = nullptr;
    }

    Vemo::Path* Resolve(const Fragment& name, bool prompt) {
        Vemo::String child;
        if (name.HasChildren()) {
            name.GetChildren()[0].GetText().GetString(child);
        }
        const std::string word = Text(child);
        m_asked.push_back(word + (prompt ? " prompt" : ""));
        const Vemo::String record(word.c_str());
        if (Vemo::CompareNoCase(record.CStr(), "HD") == 0) {
            return &m_game;
        }
        if (Vemo::CompareNoCase(record.CStr(), "User") == 0) {
            return &m_user;
        }
        if (Vemo::CompareNoCase(record.CStr(), "Shared") == 0) {
            return &m_shared;
        }
        if (Vemo::CompareNoCase(record.CStr(), "CD") == 0) {
            return m_discInserted ? &m_disc : nullptr;
        }
        return nullptr;
    }

    void Write(char drive, const std::string& relative) {
        const std::string path = m_drives.HostPath(drive, relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << relative;
    }

    // The found file's path as the program writes it, or "not found".
    std::string Find(const char* name) {
        Vemo::Path found;
        if (!m_order.FindFile(Name(name), found)) {
            return "not found";
        }
        Vemo::String text;
        return Text(found.GetText(text, true, false));
    }

    // The relative texts of a record's search paths, in order.
    std::vector<std::string> SearchPaths(const char* record) {
        std::vector<std::string> texts;
        for (const SearchOrderRecord& each : m_order.GetRecords()) {
            if (Text(each.name) == record) {
                for (const SearchPathRecord& searchPath : each.searchPaths) {
                    texts.push_back(Text(searchPath.text));
                }
            }
        }
        return texts;
    }

    std::size_t Remembered() {
        std::size_t count = 0;
        for (const SearchOrderRecord& record : m_order.GetRecords()) {
            for (const SearchPathRecord& searchPath : record.searchPaths) {
                count += searchPath.foundFiles.Size();
            }
        }
        return count;
    }

    win32::testing::TemporaryDrives m_drives;
    VemoTest::TestApplication m_application;
    Vemo::Path m_game;
    Vemo::Path m_user;
    Vemo::Path m_shared;
    Vemo::Path m_disc;
    bool m_discInserted = true;
    std::vector<std::string> m_asked;
    SearchOrder m_order;
};

TEST_F(SearchOrderTest, StartsWithTheFourRecordsAndTheRootsOfHdAndCd) {
    std::vector<std::string> names;
    for (const SearchOrderRecord& record : m_order.GetRecords()) {
        names.push_back(Text(record.name));
        EXPECT_TRUE(record.cacheable);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"HD", "User", "Shared", "CD"}));
    EXPECT_EQ(SearchPaths("HD"), (std::vector<std::string>{""}));
    EXPECT_EQ(SearchPaths("User"), (std::vector<std::string>{}));
    EXPECT_EQ(SearchPaths("CD"), (std::vector<std::string>{""}));
}

TEST_F(SearchOrderTest, EarlierRootsShadowLaterOnesAndFoundNamesStayWhereTheyWereFound) {
    ASSERT_TRUE(m_order.AddSearchPath(Name("(User)")));
    ASSERT_TRUE(m_order.AddSearchPath(Name("(Shared)")));
    Write('C', "Title/Both.bmp");
    Write('C', "User/Both.bmp");
    Write('D', "Disc.bmp");
    EXPECT_EQ(Find("Both.bmp"), "HD0:/Title/Both.bmp");
    EXPECT_EQ(Find("Disc.bmp"), "CD0:/Disc.bmp");
    // A file of that name written to the user folder later changes nothing: the disc's is remembered.
    Write('C', "User/Disc.bmp");
    EXPECT_EQ(Find("Disc.bmp"), "CD0:/Disc.bmp");
}

TEST_F(SearchOrderTest, NamesThatDifferOnlyInCaseShareOneRememberedEntry) {
    Write('C', "Title/Intro.mov");
    EXPECT_EQ(Find("Intro.mov"), "HD0:/Title/Intro.mov");
    EXPECT_EQ(Find("INTRO.MOV"), "HD0:/Title/Intro.mov");
    EXPECT_EQ(Remembered(), 1u);
}

TEST_F(SearchOrderTest, ANameQualifiedWithARecordIsLookedForOnlyAtThatRecordsRoot) {
    ASSERT_TRUE(m_order.AddSearchPath(Name("Data(CD)")));
    Write('C', "Title/OnDisk.mov");
    Write('D', "Data/InData.mov");
    Write('D', "Root.mov");
    EXPECT_EQ(Find("Root.mov(CD)"), "CD0:/Root.mov");
    EXPECT_EQ(Find("OnDisk.mov(CD)"), "not found");
    EXPECT_EQ(Find("InData.mov(CD)"), "not found");
    EXPECT_EQ(Find("InData.mov"), "CD0:/Data/InData.mov");
    EXPECT_EQ(Find("OnDisk.mov(HD)"), "HD0:/Title/OnDisk.mov");
}

TEST_F(SearchOrderTest, AQualifiedNameWhoseRootCannotBeResolvedIsNotSearchedElsewhere) {
    Write('C', "Title/Intro.mov");
    m_discInserted = false;
    EXPECT_EQ(Find("Intro.mov(CD)"), "not found");
    EXPECT_EQ(Find("Intro.mov(Nowhere)"), "not found");
    EXPECT_EQ(Remembered(), 0u);
}

TEST_F(SearchOrderTest, AMissingDiscHidesTheCdRecordFromThatSearchOnly) {
    Write('D', "Disc.bmp");
    m_discInserted = false;
    m_asked.clear();
    EXPECT_EQ(Find("Disc.bmp"), "not found");
    EXPECT_EQ(m_asked, (std::vector<std::string>{"HD prompt", "CD prompt"}));
    m_discInserted = true;
    EXPECT_EQ(Find("Disc.bmp"), "CD0:/Disc.bmp");
}

TEST_F(SearchOrderTest, ASearchPathWhoseDirectoriesDoNotExistGoesAtTheFirstSearchThatReachesIt) {
    std::filesystem::create_directories(m_drives.HostPath('C', "Title/Art"));
    Write('C', "Title/Art/Menu.bmp");
    ASSERT_TRUE(m_order.AddSearchPath(Name("Missing(HD)")));
    ASSERT_TRUE(m_order.AddSearchPath(Name("Art(HD)")));
    EXPECT_EQ(SearchPaths("HD"), (std::vector<std::string>{"", "Missing", "Art"}));
    EXPECT_EQ(Find("Menu.bmp"), "HD0:/Title/Art/Menu.bmp");
    EXPECT_EQ(SearchPaths("HD"), (std::vector<std::string>{"", "Art"}));
}

TEST_F(SearchOrderTest, SearchPathsAreAddedOnceAndOnlyToRecordsThatExist) {
    EXPECT_TRUE(m_order.AddSearchPath(Name("Art(HD)")));
    EXPECT_FALSE(m_order.AddSearchPath(Name("ART(hd)")));
    EXPECT_FALSE(m_order.AddSearchPath(Name("Art")));
    EXPECT_FALSE(m_order.AddSearchPath(Name("Art(Floppy)")));
    EXPECT_EQ(SearchPaths("HD"), (std::vector<std::string>{"", "Art"}));
    EXPECT_TRUE(m_order.RemoveSearchPath(Name("art(HD)")));
    EXPECT_FALSE(m_order.RemoveSearchPath(Name("art(HD)")));
    EXPECT_EQ(SearchPaths("HD"), (std::vector<std::string>{""}));
}

TEST_F(SearchOrderTest, AnEmptyNameIsNeverFound) {
    Write('C', "Title/x");
    EXPECT_EQ(Find("\"\""), "not found");
}

TEST_F(SearchOrderTest, FindsDirectoriesAlongTheOrderOrAtARecordsRoot) {
    ASSERT_TRUE(m_order.AddSearchPath(Name("(User)")));
    std::filesystem::create_directories(m_drives.HostPath('C', "Title/Savers"));
    std::filesystem::create_directories(m_drives.HostPath('C', "User/Savers"));
    SearchOrder::DirectoryList all;
    EXPECT_TRUE(m_order.FindDirectories(all, Name("Savers"), false));
    EXPECT_EQ(all.Size(), 2u);
    SearchOrder::DirectoryList first;
    EXPECT_TRUE(m_order.FindDirectories(first, Name("Savers"), true));
    EXPECT_EQ(first.Size(), 1u);
    SearchOrder::DirectoryList root;
    EXPECT_TRUE(m_order.FindDirectories(root, Name("(Shared)"), false));
    EXPECT_EQ(root.Size(), 1u);
    SearchOrder::DirectoryList none;
    EXPECT_FALSE(m_order.FindDirectories(none, Name("Nothing"), false));
    EXPECT_FALSE(m_order.FindDirectories(none, Name("Savers(Shared)"), false));
}

} // namespace
