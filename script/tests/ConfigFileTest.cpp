#include "script/Config.h"

#include "platform/testing/CreationMask.h"
#include "platform/testing/ProcessIds.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/File.h"
#include "resources/testing/StorageTestSupport.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace VemoTest;
using ScriptTest::Contents;
using ScriptTest::FullText;
using ScriptTest::Text;
namespace fs = std::filesystem;

const char kExample[] = "; user settings\r\nVolume = 80\r\n[User]\r\nName=Kim   // the player\r\n";
const char kExampleSaved[] = "Volume=80\r\n\r\n[User]\r\nName=Kim   // the player\r\n\r\n";

class ConfigFileStorageTest : public Win32DrivesTest {
protected:
    ConfigFileStorageTest() { fs::create_directories(Host('C', "user")); }

    std::string HostFile(const char* name) {
        return ReadHostFile(Host('C', (std::string("user/") + name).c_str()));
    }
    void WriteFile(const char* name, const std::string& content) {
        WriteHostFile(Host('C', (std::string("user/") + name).c_str()), content);
    }
};

TEST_F(ConfigFileStorageTest, AFileLoadsAndSavesBackAsTheExampleSays) {
    WriteFile("Quorven.ini", kExample);
    const Vemo::Path path = At("HD0:/user/Quorven.ini");
    Config config;
    ASSERT_TRUE(config.Load(path, false));
    EXPECT_EQ(Contents(config), "[] Volume=80 | [User] Name=Kim   // the player");
    EXPECT_EQ(FullText(config.GetPath()), "HD0:/user/Quorven.ini");
    EXPECT_FALSE(config.HoldsOpenFile());

    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_EQ(HostFile("Quorven.ini"), kExampleSaved);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ConfigFileStorageTest, ALoadFailsQuietlyAndLeavesTheConfigEmpty) {
    WriteFile("Quorven.ini", kExample);
    const Vemo::String bareName("Quorven.ini");
    struct Case {
        const char* what;
        Vemo::Path path;
    };
    const Case cases[] = {
        {"empty path", Vemo::Path()},
        {"no directory", Vemo::Path(&bareName, nullptr)},
        {"missing file", At("HD0:/user/Missing.ini")},
        {"a directory", At("HD0:/user")},
    };
    for (const Case& c : cases) {
        Config config;
        ASSERT_TRUE(config.Load(At("HD0:/user/Quorven.ini"), false));
        EXPECT_FALSE(config.Load(c.path, false)) << c.what;
        EXPECT_EQ(Contents(config), "") << c.what;
        EXPECT_EQ(m_application.TakeReports(), Reports{}) << c.what;
    }
}

TEST_F(ConfigFileStorageTest, AnEmptyFileLoadsAsTheEmptyNamedSection) {
    WriteFile("Empty.ini", "");
    Config config;
    ASSERT_TRUE(config.Load(At("HD0:/user/Empty.ini"), true));
    EXPECT_EQ(Contents(config), "[]");
    EXPECT_TRUE(config.HoldsOpenFile());
}

TEST_F(ConfigFileStorageTest, SavingAnEmptyConfigCreatesTheFileWithOneEmptyLine) {
    // As the settings are opened when their file does not exist yet.
    Config config;
    ASSERT_TRUE(config.LoadBuffer("", 0));
    ASSERT_TRUE(config.Save(At("HD0:/user/New.ini"), false));
    EXPECT_EQ(HostFile("New.ini"), "\r\n");
    ASSERT_TRUE(config.SetValue("Game", "Level", "3"));
    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_EQ(HostFile("New.ini"), "\r\n[Game]\r\nLevel=3\r\n\r\n");

    Config loaded;
    ASSERT_TRUE(loaded.Load(At("HD0:/user/New.ini"), false));
    EXPECT_EQ(Contents(loaded), "[] | [Game] Level=3");
}

TEST_F(ConfigFileStorageTest, SavingOverALongerFileCutsIt) {
    WriteFile("Quorven.ini", std::string(5000, ';'));
    Config config;
    ASSERT_TRUE(config.SetValue("", "Volume", "80"));
    ASSERT_TRUE(config.Save(At("HD0:/user/Quorven.ini"), false));
    EXPECT_EQ(HostFile("Quorven.ini"), "Volume=80\r\n\r\n");
}

TEST_F(ConfigFileStorageTest, AHeldFileIsRewrittenInPlaceAfterAnEmptyLineAndCut) {
    WriteFile("Quorven.ini", kExample);
    Config config;
    ASSERT_TRUE(config.Load(At("HD0:/user/Quorven.ini"), true));
    EXPECT_TRUE(config.HoldsOpenFile());
    ASSERT_TRUE(config.RemoveSection("User"));

    // The path given is recorded, but the held file is the one written.
    ASSERT_TRUE(config.Save(At("HD0:/user/Other.ini"), false));
    EXPECT_EQ(HostFile("Quorven.ini"), "\r\nVolume=80\r\n\r\n");
    EXPECT_FALSE(fs::exists(Host('C', "user/Other.ini")));
    EXPECT_EQ(FullText(config.GetPath()), "HD0:/user/Other.ini");
    EXPECT_TRUE(config.HoldsOpenFile());
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ConfigFileStorageTest, ASaveThatKeepsTheFileOpenHoldsIt) {
    Config config;
    ASSERT_TRUE(config.SetValue("", "Volume", "80"));
    ASSERT_TRUE(config.Save(At("HD0:/user/Quorven.ini"), true));
    EXPECT_EQ(HostFile("Quorven.ini"), "Volume=80\r\n\r\n");
    EXPECT_TRUE(config.HoldsOpenFile());
    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_EQ(HostFile("Quorven.ini"), "\r\nVolume=80\r\n\r\n");
}

TEST_F(ConfigFileStorageTest, WhileAFileIsHeldTheConfigRefusesToLoadAndNoOtherReaderGetsIt) {
    WriteFile("Quorven.ini", kExample);
    WriteFile("Other.ini", "Other=1\r\n");
    auto holder = std::make_unique<Config>();
    ASSERT_TRUE(holder->Load(At("HD0:/user/Quorven.ini"), true));
    EXPECT_FALSE(holder->Load(At("HD0:/user/Other.ini"), false));
    EXPECT_EQ(Contents(*holder), "[] Volume=80 | [User] Name=Kim   // the player");
    EXPECT_EQ(FullText(holder->GetPath()), "HD0:/user/Quorven.ini");
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    // Another instance that loads the file meanwhile fails, and tries again later.
    Config reader;
    EXPECT_FALSE(reader.Load(At("HD0:/user/Quorven.ini"), false));
    m_application.TakeReports();
    holder.reset();
    ASSERT_TRUE(reader.Load(At("HD0:/user/Quorven.ini"), false));
    EXPECT_EQ(Contents(reader), "[] Volume=80 | [User] Name=Kim   // the player");
}

TEST_F(ConfigFileStorageTest, ALineBreakIsNeverWrittenTheRestIsAndSaveSaysSo) {
    Config config;
    ASSERT_TRUE(config.SetValue("User", "Name", "Kim\r\n[Cheat]"));
    ASSERT_TRUE(config.SetValue("User", "Level", "3"));
    EXPECT_FALSE(config.Save(At("HD0:/user/Quorven.ini"), false));
    EXPECT_EQ(HostFile("Quorven.ini"), "[User]\r\nLevel=3\r\n\r\n");
    EXPECT_EQ(FullText(config.GetPath()), "HD0:/user/Quorven.ini");
}

TEST_F(ConfigFileStorageTest, SaveFailsWithoutAPathTextOrWhereNoFileCanBeWritten) {
    Config config;
    ASSERT_TRUE(config.SetValue("", "Volume", "80"));
    EXPECT_FALSE(config.Save(Vemo::Path(), false));
    EXPECT_EQ(m_application.TakeReports(), Reports{});
    EXPECT_FALSE(config.Save(At("CD0:/Quorven.ini"), true));
    EXPECT_FALSE(config.HoldsOpenFile());
    EXPECT_FALSE(fs::exists(Host('D', "Quorven.ini")));
    EXPECT_EQ(FullText(config.GetPath()), "");
    m_application.TakeReports();
}

// The names in the settings folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A moment long past, given to a folder: any entry made or removed in it since moves its time on.
void BackDate(const std::string& folder) {
    fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::hours(24));
}

TEST_F(ConfigFileStorageTest, AFileReadOnlyOrHeldWithoutDeleteSharingRefusesTheSaveBeforeAnythingIsMade) {
    struct Case {
        const char* what;
        bool readOnly;
        win32::DWORD share; // of a handle held on the file meanwhile; 0 for none
    };
    const Case cases[] = {
        {"read-only", true, 0},
        {"held sharing reading and writing", false, win32::FILE_SHARE_READ | win32::FILE_SHARE_WRITE},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        WriteFile("Quorven.ini", kExample);
        Config config;
        ASSERT_TRUE(config.Load(At("HD0:/user/Quorven.ini"), false));
        ASSERT_TRUE(config.SetValue("", "Volume", "10"));
        win32::HANDLE held = win32::INVALID_HANDLE_VALUE;
        if (test.readOnly) {
            fs::permissions(Host('C', "user/Quorven.ini"), fs::perms::owner_write, fs::perm_options::remove);
        } else {
            held = win32::CreateFileA("C:\\user\\Quorven.ini", win32::GENERIC_READ, test.share, nullptr,
                                      win32::OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, win32::INVALID_HANDLE_VALUE);
        }
        BackDate(Host('C', "user"));
        const fs::file_time_type before = fs::last_write_time(Host('C', "user"));
        EXPECT_FALSE(config.Save(config.GetPath(), false));
        EXPECT_EQ(HostFile("Quorven.ini"), kExample);
        // No new file was made and removed again: the folder's time stands.
        EXPECT_EQ(fs::last_write_time(Host('C', "user")), before);
        if (held != win32::INVALID_HANDLE_VALUE) {
            win32::CloseHandle(held);
        }
        fs::permissions(Host('C', "user/Quorven.ini"), fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(m_application.TakeReports(), Reports{}) << "the caller says it";
    }
}

TEST_F(ConfigFileStorageTest, AHeldConfigGivesUpItsHoldForTheRenameAndThenHoldsTheNewFile) {
    WriteFile("Quorven.ini", kExample);
    Config config;
    ASSERT_TRUE(config.Load(At("HD0:/user/Quorven.ini"), true));
    ASSERT_TRUE(config.SetValue("", "Volume", "10"));
    // Another program reading the file meanwhile keeps reading the old one whole.
    std::ifstream reader(Host('C', "user/Quorven.ini"), std::ios::binary);
    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), kExample);
    EXPECT_EQ(HostFile("Quorven.ini"), "\r\nVolume=10\r\n\r\n[User]\r\nName=Kim   // the player\r\n\r\n");
    EXPECT_TRUE(config.HoldsOpenFile());
    // The file held is the new one: nobody else may open it.
    EXPECT_EQ(win32::CreateFileA("C:\\user\\Quorven.ini", win32::GENERIC_READ, win32::FILE_SHARE_READ,
                                 nullptr, win32::OPEN_EXISTING, 0, nullptr),
              win32::INVALID_HANDLE_VALUE);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SHARING_VIOLATION);
    EXPECT_EQ(FolderNames(Host('C', "user")), std::vector<std::string>{"Quorven.ini"});
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ConfigFileStorageTest, ASavedFileKeepsTheModeAndTheOneWrittenFirstGetsTheUsualOne) {
    const win32::testing::CreationMask mask(022);
    struct Case {
        const char* name;
        fs::perms before; // none: the file does not exist yet
        fs::perms after;
    };
    const fs::perms privateMode = fs::perms::owner_read | fs::perms::owner_write;
    const fs::perms groupMode =
        privateMode | fs::perms::group_read | fs::perms::group_write | fs::perms::others_read;
    const fs::perms usualMode = privateMode | fs::perms::group_read | fs::perms::others_read;
    const Case cases[] = {
        {"User.ini", privateMode, privateMode},
        {"Shared.ini", groupMode, groupMode},
        {"New.ini", fs::perms::none, usualMode},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string file = Host('C', (std::string("user/") + test.name).c_str());
        if (test.before != fs::perms::none) {
            WriteFile(test.name, "[Game]\r\nLevel=1\r\n");
            fs::permissions(file, test.before);
        }
        Config config;
        ASSERT_TRUE(config.SetValue("Game", "Level", "2"));
        ASSERT_TRUE(config.Save(At((std::string("HD0:/user/") + test.name).c_str()), false));
        EXPECT_EQ(HostFile(test.name), "[Game]\r\nLevel=2\r\n\r\n");
        EXPECT_EQ(fs::status(file).permissions(), test.after);
    }
}

TEST_F(ConfigFileStorageTest, ALinkStaysALinkAndTheFileItLeadsToTakesTheSave) {
    fs::create_directories(Host('C', "sync"));
    WriteFile("../sync/User.ini", "[Game]\r\nLevel=1\r\n");
    fs::create_symlink("../sync/User.ini", Host('C', "user/User.ini"));
    Config config;
    ASSERT_TRUE(config.Load(At("HD0:/user/User.ini"), false));
    ASSERT_TRUE(config.SetValue("Game", "Level", "2"));
    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_TRUE(fs::is_symlink(Host('C', "user/User.ini")));
    EXPECT_EQ(fs::read_symlink(Host('C', "user/User.ini")), "../sync/User.ini");
    EXPECT_EQ(ReadHostFile(Host('C', "sync/User.ini")), "\r\n[Game]\r\nLevel=2\r\n\r\n");
    EXPECT_EQ(FolderNames(Host('C', "sync")), std::vector<std::string>{"User.ini"});
    EXPECT_EQ(FolderNames(Host('C', "user")), std::vector<std::string>{"User.ini"});
    EXPECT_EQ(FullText(config.GetPath()), "HD0:/user/User.ini");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ConfigFileStorageTest, ALinkLeadingOutOfItsDriveRefusesTheSaveAndStays) {
    // E: is a drive of its own folder: C: does not show it.
    WriteHostFile(Host('E', "User.ini"), "[Game]\r\nLevel=1\r\n");
    fs::create_symlink(Host('E', "User.ini"), Host('C', "user/User.ini"));
    Config config;
    ASSERT_TRUE(config.SetValue("Game", "Level", "2"));
    EXPECT_FALSE(config.Save(At("HD0:/user/User.ini"), false));
    EXPECT_TRUE(fs::is_symlink(Host('C', "user/User.ini")));
    EXPECT_EQ(ReadHostFile(Host('E', "User.ini")), "[Game]\r\nLevel=1\r\n");
    EXPECT_EQ(FolderNames(Host('C', "user")), std::vector<std::string>{"User.ini"});
    m_application.TakeReports();
}

TEST_F(ConfigFileStorageTest, TheFirstSaveInAFolderRemovesItsNewFilesOfEndedProcessesAndLaterSavesDoNot) {
    const std::string ended = std::to_string(win32::testing::EndedProcessId());
    const std::string running = std::to_string(win32::testing::OtherRunningProcessId());
    for (const std::string& name : {"Quorven.ini.new" + ended, "Quorven.ini.new" + running,
                                    "Other.ini.new" + ended, std::string("Quorven.ini.newer")}) {
        WriteFile(name.c_str(), "half");
    }
    Config config;
    ASSERT_TRUE(config.SetValue("", "Volume", "80"));
    ASSERT_TRUE(config.Save(At("HD0:/user/Quorven.ini"), false));
    std::vector<std::string> left = {"Other.ini.new" + ended, "Quorven.ini", "Quorven.ini.new" + running,
                                     "Quorven.ini.newer"};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(FolderNames(Host('C', "user")), left);

    // Once a run: a save does not list the folder again.
    WriteFile(("Quorven.ini.new" + ended).c_str(), "half");
    ASSERT_TRUE(config.Save(config.GetPath(), false));
    EXPECT_EQ(HostFile(("Quorven.ini.new" + ended).c_str()), "half");
}

} // namespace
