#include "platform/win32/files/SystemPaths.h"

#include "platform/testing/Drives.h"
#include "platform/tests/ScopedVariable.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/Volume.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using platform::tests::ScopedVariable;
using win32::DWORD;
using win32::testing::TemporaryDrive;
using win32::testing::TemporaryDrives;

// Makes the host folder the process's current folder for the object's life.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder) {
        char previous[PATH_MAX] = {};
        EXPECT_NE(::getcwd(previous, sizeof previous), nullptr);
        m_previous = previous;
        EXPECT_EQ(::chdir(folder.c_str()), 0) << folder;
    }
    ~ScopedCurrentFolder() { EXPECT_EQ(::chdir(m_previous.c_str()), 0); }

private:
    std::string m_previous;
};

std::string Call(DWORD (*call)(DWORD, win32::LPSTR)) {
    char buffer[300] = {};
    const DWORD length = call(sizeof buffer, buffer);
    EXPECT_EQ(length, std::string(buffer).size());
    return std::string(buffer, length);
}

class SystemPathsTest : public testing::Test {
protected:
    TemporaryDrives m_drives{TemporaryDrive('C'), TemporaryDrive('D', win32::DRIVE_CDROM)};
};

TEST_F(SystemPathsTest, TheTemporaryFolderIsAWindowsPathEndingInABackslash) {
    std::filesystem::create_directories(m_drives.HostPath('C', "Temp\\Vemo"));
    ScopedVariable tmp("TMPDIR", m_drives.HostPath('C', "Temp/Vemo/"));
    EXPECT_EQ(Call(win32::GetTempPathA), "C:\\Temp\\Vemo\\");

    // A buffer too small learns the size it needs, the NUL counted, and stays as it was.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(win32::GetTempPathA(sizeof small, small), 14u);
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(win32::GetTempPathA(0, nullptr), 14u);

    ScopedVariable outside("TMPDIR", m_drives.Base());
    win32::SetLastError(0);
    char buffer[300];
    EXPECT_EQ(win32::GetTempPathA(sizeof buffer, buffer), 0u);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
}

TEST_F(SystemPathsTest, TheCurrentFolderIsShownThroughTheDrives) {
    std::filesystem::create_directories(m_drives.HostPath('C', "Titles/Demo"));
    {
        ScopedCurrentFolder current(m_drives.HostPath('C', "Titles/Demo"));
        EXPECT_EQ(Call(win32::GetCurrentDirectoryA), "C:\\Titles\\Demo");
    }
    {
        ScopedCurrentFolder current(m_drives.Folder('D'));
        EXPECT_EQ(Call(win32::GetCurrentDirectoryA), "D:\\");
    }
    ScopedCurrentFolder outside(m_drives.Base());
    char buffer[300];
    EXPECT_EQ(win32::GetCurrentDirectoryA(sizeof buffer, buffer), 0u);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
}

TEST_F(SystemPathsTest, AnExistingPathIsItsOwnShortAndLongForm) {
    std::filesystem::create_directories(m_drives.HostPath('C', "Program Files/Long Name"));
    std::ofstream(m_drives.HostPath('C', "Program Files/Long Name/Screen Saver.scr")) << "x";
    for (auto call : {win32::GetShortPathNameA, win32::GetLongPathNameA}) {
        char buffer[260] = "C:\\program files\\Long Name\\Screen Saver.scr";
        const std::string given = buffer;
        // The same buffer in and out.
        EXPECT_EQ(call(buffer, buffer, sizeof buffer), given.size());
        EXPECT_EQ(buffer, given);
        EXPECT_EQ(call(given.c_str(), nullptr, 0), given.size() + 1);

        win32::SetLastError(0);
        EXPECT_EQ(call("C:\\Program Files\\Long Name\\Missing.scr", buffer, sizeof buffer), 0u);
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(call("C:\\Missing\\Saver.scr", buffer, sizeof buffer), 0u);
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
        EXPECT_EQ(call(nullptr, buffer, sizeof buffer), 0u);
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
    }
}

TEST(LogicalDrivesTest, TheMaskAgreesWithTheList) {
    TemporaryDrives drives{TemporaryDrive('A', win32::DRIVE_REMOVABLE), TemporaryDrive('C'),
                           TemporaryDrive('D', win32::DRIVE_CDROM), TemporaryDrive('Z', win32::DRIVE_REMOTE)};
    char list[64] = {};
    const DWORD length = win32::GetLogicalDriveStringsA(sizeof list, list);
    DWORD fromList = 0;
    for (DWORD at = 0; at < length; at += 4) {
        fromList |= DWORD{1} << (list[at] - 'A');
    }
    EXPECT_EQ(win32::GetLogicalDrives(), fromList);
    EXPECT_EQ(win32::GetLogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 25));
}

} // namespace
