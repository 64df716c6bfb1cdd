#include "platform/win32/kernel/NewFiles.h"

#include "platform/testing/Drives.h"
#include "platform/testing/ProcessIds.h"
#include "platform/testing/Registry.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/registry/Profile.h"
#include "platform/win32/registry/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace win32 {
namespace {

namespace fs = std::filesystem;

// The id of a process that has ended.
std::string EndedProcess() {
    return std::to_string(testing::EndedProcessId());
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void Put(const std::string& folder, const std::string& name) {
    std::ofstream(folder + "/" + name) << "half";
}

TEST(NewFilesTest, TheProcessIdStandsRightAfterThePrefixUpToTheEndOrADash) {
    struct Case {
        const char* name;
        DWORD id;
    };
    const Case cases[] = {
        {"User.ini.new123", 123},       {".vemo-profile-77-aBc123", 77}, {"User.ini.new", 0},
        {"User.ini.new12x", 0},         {"User.ini.newer", 0},           {"Other.ini.new5", 0},
        {"User.ini.new99999999999", 0},
    };
    for (const Case& test : cases) {
        const std::string_view prefix = test.name[0] == '.' ? ".vemo-profile-" : "User.ini.new";
        EXPECT_EQ(ProcessIdAfter(test.name, prefix), test.id) << test.name;
    }
    EXPECT_TRUE(IsProcessRunning(GetCurrentProcessId()));
    EXPECT_FALSE(IsProcessRunning(static_cast<DWORD>(std::stoul(EndedProcess()))));
}

TEST(NewFilesTest, OnlyTheNewFilesOfEndedProcessesAreRemoved) {
    testing::TemporaryDrives drives{{'C'}};
    const std::string folder = drives.Folder('C');
    const std::string ended = EndedProcess();
    const std::string running = std::to_string(testing::OtherRunningProcessId());
    const std::string own = std::to_string(GetCurrentProcessId());
    for (const std::string& name : {"a.new" + ended, "a.new" + running, "a.new" + own, "b.new" + ended}) {
        Put(folder, name);
    }
    RemoveStaleNewFiles(folder, "a.new");
    std::vector<std::string> left = {"a.new" + running, "a.new" + own, "b.new" + ended};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Names(folder), left);
}

TEST(NewFilesTest, TheProfileWriterRemovesTheNewFilesOfEndedWritersAndNamesItsOwnAfterItsProcess) {
    testing::TemporaryDrives drives{{'C'}};
    const std::string folder = drives.HostPath('C', "WINDOWS");
    fs::create_directory(folder);
    const platform::testing::ScopedEnvironment windir{"VEMO_WINDIR", folder.c_str()};
    const std::string ended = ".vemo-profile-" + EndedProcess() + "-abcdef";
    const std::string running =
        ".vemo-profile-" + std::to_string(testing::OtherRunningProcessId()) + "-abcdef";
    Put(folder, ended);
    Put(folder, running);
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "shell", "Explorer.exe", "SYSTEM.INI"));
    std::vector<std::string> left = {"SYSTEM.INI", running};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Names(folder), left);
}

TEST(NewFilesTest, TheRegistryStoresFolderIsSweptAtItsFirstUseAndBeforeEveryWrite) {
    testing::TemporaryRegistry store;
    const std::string running = "registry.txt.new" + std::to_string(testing::OtherRunningProcessId());
    const std::string ended = "registry.txt.new" + EndedProcess();
    Put(store.Folder(), ended);
    Put(store.Folder(), running);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    const std::vector<std::string> names = Names(store.Folder());
    EXPECT_EQ(std::count(names.begin(), names.end(), ended), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), running), 1);

    Put(store.Folder(), "registry.txt.new" + EndedProcess());
    ASSERT_EQ(WriteRegistryValues(HKEY_CURRENT_USER, "Software\\Tests", {}), ERROR_SUCCESS);
    std::vector<std::string> left = {"registry.txt", "registry.txt.lock", running};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Names(store.Folder()), left);
}

} // namespace
} // namespace win32
