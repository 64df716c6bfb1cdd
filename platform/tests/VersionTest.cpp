#include "platform/win32/Version.h"
#include "platform/testing/CaseNames.h"
#include "platform/testing/WindowsVersion.h"
#include "platform/tests/ScopedVariable.h"
#include "platform/win32/LastError.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using win32::DWORD;
using win32::seam::WindowsFamily;

struct VersionCase {
    const char* name;
    WindowsFamily family;
    DWORD platformId;
    DWORD major;
    DWORD minor;
};

class VersionTest : public testing::TestWithParam<VersionCase> {};

TEST_P(VersionTest, ReportsTheEmulatedWindows) {
    platform::testing::WindowsVersionOverride version(GetParam().family);
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(win32::GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, GetParam().platformId);
    EXPECT_EQ(info.dwMajorVersion, GetParam().major);
    EXPECT_EQ(info.dwMinorVersion, GetParam().minor);
}

INSTANTIATE_TEST_SUITE_P(
    Families, VersionTest,
    testing::Values(VersionCase{"NT", WindowsFamily::NT, win32::VER_PLATFORM_WIN32_NT, 5, 0},
                    VersionCase{"Windows9x", WindowsFamily::Windows9x, win32::VER_PLATFORM_WIN32_WINDOWS, 4,
                                10},
                    VersionCase{"NT4", WindowsFamily::NT4, win32::VER_PLATFORM_WIN32_NT, 4, 0},
                    VersionCase{"Win32s", WindowsFamily::Win32s, win32::VER_PLATFORM_WIN32s, 3, 10}),
    [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

struct EnvironmentCase {
    const char* setting;
    DWORD platformId;
    DWORD major;
};

class VersionFromEnvironmentTest : public testing::TestWithParam<EnvironmentCase> {};

TEST_P(VersionFromEnvironmentTest, VemoWinverChoosesTheFamily) {
    platform::tests::ScopedVariable setting("VEMO_WINVER", GetParam().setting);
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(win32::GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, GetParam().platformId);
    EXPECT_EQ(info.dwMajorVersion, GetParam().major);
}

INSTANTIATE_TEST_SUITE_P(Settings, VersionFromEnvironmentTest,
                         testing::Values(EnvironmentCase{"9x", win32::VER_PLATFORM_WIN32_WINDOWS, 4},
                                         EnvironmentCase{"NT4", win32::VER_PLATFORM_WIN32_NT, 4},
                                         EnvironmentCase{"win32s", win32::VER_PLATFORM_WIN32s, 3},
                                         EnvironmentCase{"nt5", win32::VER_PLATFORM_WIN32_NT, 5}),
                         platform::testing::NameFromText<&EnvironmentCase::setting>());

TEST(VersionSizeTest, RefusesARecordOfAnotherSize) {
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 156;
    EXPECT_FALSE(win32::GetVersionExA(&info));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INSUFFICIENT_BUFFER);
}

} // namespace
