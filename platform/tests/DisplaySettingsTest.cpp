#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/desktop/DisplaySettings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace win32::tests {
namespace {

class DisplaySettingsTest : public WindowSystemTest {};

TEST_F(DisplaySettingsTest, TheCurrentSettingsAreTheEmulatedDesktopsMode) {
    for (int bits : {32, 16, 8}) {
        ASSERT_TRUE(testing::SetDesktopSize(1280, 1024, bits));
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) << bits;
        EXPECT_EQ(mode.dmBitsPerPel, static_cast<DWORD>(bits));
        EXPECT_EQ(mode.dmPelsWidth, 1280U);
        EXPECT_EQ(mode.dmPelsHeight, 1024U);
        EXPECT_EQ(mode.dmDisplayFrequency, 60U);
        EXPECT_EQ(mode.dmFields & (DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT),
                  DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT);
        EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), "\\\\.\\DISPLAY1");
    }
    DEVMODEA mode{};
    EXPECT_TRUE(EnumDisplaySettingsA("\\\\.\\display1", ENUM_REGISTRY_SETTINGS, &mode));
    EXPECT_EQ(mode.dmBitsPerPel, 8U);
}

TEST_F(DisplaySettingsTest, OtherDevicesListedModesAndANullRecordAreRefused) {
    DEVMODEA mode{};
    SetLastError(0);
    EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, &mode));
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, nullptr));
}

} // namespace
} // namespace win32::tests
