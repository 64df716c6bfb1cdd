#include "platform/win32/files/WindowsDirectory.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/Drives.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace win32 {
namespace {

namespace fs = std::filesystem;
using platform::testing::ScopedEnvironment;

// Drive C: is a temporary folder; the settings point into it, or outside it (its base).
class WindowsDirectoryTest : public ::testing::Test {
protected:
    std::string Read() {
        char buffer[260] = {};
        const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
        EXPECT_EQ(length, std::string(buffer).size());
        return buffer;
    }

    testing::TemporaryDrives m_drives{{'C'}};
    ScopedEnvironment m_windir{"VEMO_WINDIR", nullptr};
    ScopedEnvironment m_data{"XDG_DATA_HOME", nullptr};
    ScopedEnvironment m_home{"HOME", nullptr};
};

TEST_F(WindowsDirectoryTest, TheSettingsFolderIsMadeAndGivenAsItsWindowsPath) {
    const std::string folder = m_drives.HostPath('C', "Emulated\\WINNT");
    m_windir.Set((folder + "/").c_str());
    EXPECT_EQ(Read(), "C:\\Emulated\\WINNT");
    EXPECT_TRUE(fs::is_directory(folder));
}

struct DefaultCase {
    const char* name;
    const char* data; // relative to drive C:, or as given when it does not start with '\'
    const char* home;
    const char* expected;
};

class WindowsDirectoryDefaultTest : public WindowsDirectoryTest,
                                    public ::testing::WithParamInterface<DefaultCase> {
protected:
    std::string Setting(const char* value) {
        return value[0] == '\\' ? m_drives.HostPath('C', value + 1) : std::string(value);
    }
};

TEST_P(WindowsDirectoryDefaultTest, FollowsTheDataHomeOrTheHomeFolder) {
    const DefaultCase& c = GetParam();
    m_data.Set(Setting(c.data).c_str());
    m_home.Set(Setting(c.home).c_str());
    EXPECT_EQ(Read(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, WindowsDirectoryDefaultTest,
    ::testing::Values(DefaultCase{"DataHome", "\\data", "\\home", "C:\\data\\vemo\\windows"},
                      DefaultCase{"NoDataHome", "", "\\home", "C:\\home\\.local\\share\\vemo\\windows"},
                      DefaultCase{"RelativeDataHome", "data", "\\home",
                                  "C:\\home\\.local\\share\\vemo\\windows"}),
    platform::testing::NameFromText<&DefaultCase::name>());

TEST_F(WindowsDirectoryTest, ADrivesRootKeepsItsBackslash) {
    m_windir.Set(m_drives.Folder('C').c_str());
    EXPECT_EQ(Read(), "C:\\");
}

TEST_F(WindowsDirectoryTest, ASmallBufferGetsTheSizeNeededAndNothingElse) {
    m_windir.Set(m_drives.HostPath('C', "WIN").c_str());
    char buffer[6] = "xxxxx";
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 6), 7U);
    EXPECT_STREQ(buffer, "xxxxx");
    EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), 7U);
    char exact[7];
    EXPECT_EQ(GetWindowsDirectoryA(exact, 7), 6U);
    EXPECT_STREQ(exact, "C:\\WIN");
}

TEST_F(WindowsDirectoryTest, AFolderThatCannotBeHadFails) {
    const std::string file = m_drives.HostPath('C', "file");
    std::ofstream(file) << "in the way";
    for (const std::string& setting : {m_drives.Base() + "/outside", std::string("relative/windows"), file}) {
        m_windir.Set(setting.c_str());
        char buffer[260];
        SetLastError(0);
        EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 0U) << setting;
        EXPECT_NE(GetLastError(), 0U) << setting;
    }
}

} // namespace
} // namespace win32
