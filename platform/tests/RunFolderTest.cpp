#include "platform/win32/kernel/RunFolder.h"

#include "platform/testing/Drives.h"
#include "platform/testing/ProcessIds.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/kernel/Thread.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace win32 {
namespace {

namespace fs = std::filesystem;
using platform::testing::ScopedEnvironment;

constexpr DWORD kPathSize = 260;

// The temporary folder is C:\Temp; a folder outside every drive holds what links in it lead to.
class RunFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_temporary);
        fs::create_directories(m_outside);
        std::ofstream(m_outside / "kept.txt") << "kept";
    }

    void TearDown() override { RemoveRunTempFolder(); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_temporary)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Made() {
        char path[kPathSize] = {};
        const DWORD length = CreateRunTempFolderA(kPathSize, path);
        EXPECT_EQ(length, std::string(path).size());
        return path;
    }

    testing::TemporaryDrives m_drives{{'C'}};
    fs::path m_temporary = m_drives.HostPath('C', "Temp");
    fs::path m_outside = fs::path(m_drives.Base()) / "outside";
    ScopedEnvironment m_tmpdir{"TMPDIR", m_temporary.c_str()};
};

TEST_F(RunFolderTest, OneFolderOnlyItsUserMayEnterGoesWithAllItHoldsAndFollowsNoLink) {
    const std::string windows = Made();
    const std::string start = "C:\\Temp\\vemo-run-" + std::to_string(GetCurrentProcessId()) + "-";
    ASSERT_EQ(windows.size(), start.size() + 7) << windows;
    EXPECT_EQ(windows.substr(0, start.size()), start);
    EXPECT_EQ(windows.back(), '\\');
    EXPECT_EQ(Made(), windows);
    const fs::path folder = m_temporary / windows.substr(8, windows.size() - 9);
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());

    std::ofstream(folder / "QuorvenApp.mov") << "movie";
    fs::create_directories(folder / "inner" / "deeper");
    std::ofstream(folder / "inner" / "deeper" / "file") << "x";
    fs::create_directory_symlink(m_outside, folder / "inner" / "out");
    fs::create_symlink(m_outside / "kept.txt", folder / "kept-link");
    EXPECT_TRUE(RemoveRunTempFolder());
    EXPECT_TRUE(Names().empty());
    EXPECT_TRUE(fs::exists(m_outside / "kept.txt"));
    EXPECT_TRUE(RemoveRunTempFolder());
    // Another start-up makes another folder.
    EXPECT_NE(Made(), windows);
}

TEST_F(RunFolderTest, OnlyTheFoldersEndedRunsOfThisUserMadeAreRemovedBeforeANewOne) {
    const std::string ended = std::to_string(testing::EndedProcessId());
    const std::string running = std::to_string(testing::OtherRunningProcessId());
    const std::string own = std::to_string(GetCurrentProcessId());
    const auto folder = [&](const std::string& name, fs::perms mode = fs::perms::owner_all) {
        fs::create_directory(m_temporary / name);
        std::ofstream(m_temporary / name / "QuorvenApp.mov") << "movie";
        fs::permissions(m_temporary / name, mode);
    };
    folder("vemo-run-" + ended + "-aB3dE9");
    fs::create_directory_symlink(m_outside, m_temporary / ("vemo-run-" + ended + "-aB3dE9") / "out");
    std::vector<std::string> kept;
    const auto keep = [&](const std::string& name) {
        kept.push_back(name);
        return name;
    };
    folder(keep("vemo-run-" + running + "-aB3dE9"));
    folder(keep("vemo-run-" + own + "-aB3dE9"));
    for (const std::string& name :
         {"vemo-run-" + ended + "-aB3dE", "vemo-run-" + ended + "-aB3dE9x", "vemo-run-0" + ended + "-aB3dE9",
          "vemo-run-" + ended + "-aB3d.9", "Vemo-run-" + ended + "-aB3dE9", "vemo-run-" + ended + "aB3dE9",
          "vemo-run--" + ended + "-aB3dE9"}) {
        folder(keep(name));
    }
    folder(keep("vemo-run-" + ended + "-bbbbbb"), fs::perms::owner_all | fs::perms::group_read |
                                                      fs::perms::group_exec | fs::perms::others_read |
                                                      fs::perms::others_exec);
    fs::create_directory_symlink(m_outside, m_temporary / keep("vemo-run-" + ended + "-cccccc"));
    std::ofstream(m_temporary / keep("vemo-run-" + ended + "-dddddd")) << "a file";
    if (::geteuid() == 0) {
        folder(keep("vemo-run-" + ended + "-eeeeee"));
        ASSERT_EQ(::chown((m_temporary / ("vemo-run-" + ended + "-eeeeee")).c_str(), 65534, 65534), 0);
    }

    const std::string windows = Made();
    ASSERT_FALSE(windows.empty());
    kept.push_back(windows.substr(8, windows.size() - 9));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(), kept);
    EXPECT_TRUE(fs::exists(m_outside / "kept.txt"));
    EXPECT_TRUE(fs::exists(m_temporary / ("vemo-run-" + running + "-aB3dE9") / "QuorvenApp.mov"));
}

// The run folder's Windows path, its "\" included, must leave room for the NUL in the caller's buffer.
TEST_F(RunFolderTest, ATemporaryFolderTooLongForTheRunFoldersWindowsPathIsNamedAndNothingIsMade) {
    const std::string name = "vemo-run-" + std::to_string(GetCurrentProcessId()) + "-XXXXXX\\";
    for (const auto& [length, made] : {std::pair{kPathSize - 1, true}, {kPathSize, false}}) {
        SCOPED_TRACE(length);
        // C:\Temp\ and a folder of the length that brings the run folder's path to the length wanted.
        const std::size_t rest = length - std::string("C:\\Temp\\").size() - name.size() - 1;
        const fs::path deep = m_temporary / std::string(rest - 101, 'a') / std::string(100, 'b');
        fs::create_directories(deep);
        ScopedEnvironment tmpdir("TMPDIR", deep.c_str());
        char path[kPathSize] = {};
        ::testing::internal::CaptureStderr();
        const DWORD got = CreateRunTempFolderA(kPathSize, path);
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (made) {
            EXPECT_EQ(got, length) << path;
            EXPECT_TRUE(said.empty()) << said;
            EXPECT_TRUE(RemoveRunTempFolder());
        } else {
            EXPECT_EQ(got, 0u);
            EXPECT_NE(said.find("the temporary folder " + deep.string() + " is too long"), std::string::npos)
                << said;
        }
        EXPECT_TRUE(fs::is_empty(deep));
        fs::remove_all(m_temporary);
    }
}

TEST_F(RunFolderTest, ATemporaryFolderThatIsNotThereIsNamed) {
    const fs::path missing = m_temporary / "missing";
    ScopedEnvironment tmpdir("TMPDIR", missing.c_str());
    char path[kPathSize] = {};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CreateRunTempFolderA(kPathSize, path), 0u);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("could not be made in the temporary folder " + missing.string() + ": "),
              std::string::npos)
        << said;
    EXPECT_TRUE(RemoveRunTempFolder());
}

} // namespace
} // namespace win32
