#include "platform/win32/registry/SystemParameters.h"

#include "platform/testing/Drives.h"
#include "platform/testing/Registry.h"
#include "platform/testing/SystemParameters.h"
#include "platform/win32/LastError.h"
#include "platform/win32/registry/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace win32 {
namespace {

// A fresh session over a store of its own, and a drive C: with a picture in its Windows folder.
class SystemParametersTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ResetSystemParameters();
        std::filesystem::create_directories(m_drives.HostPath('C', "WINDOWS"));
        std::ofstream(m_drives.HostPath('C', "WINDOWS/Paper.bmp")) << "BM";
    }
    void TearDown() override { testing::ResetSystemParameters(); }

    bool ScreenSaveActive() {
        BOOL active = 2;
        EXPECT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
        return active == TRUE;
    }

    // A value of the desktop key in the store, "<missing>" when there is none.
    std::string Stored(const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return "<no key>";
        }
        char data[260] = {};
        DWORD size = sizeof data;
        const LSTATUS status =
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(data) : "<missing>";
    }

    testing::TemporaryDrives m_drives{{'C'}};
    testing::TemporaryRegistry m_store;
};

TEST_F(SystemParametersTest, TheDesktopKeyIsThereInAnEmptyStoreAndOpensForWriting) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_ALL_ACCESS, &key),
              static_cast<LSTATUS>(ERROR_SUCCESS));
    const RegistryValue value = RegistryString("SCRNSAVE.EXE", "C:\\WINDOWS\\SAVER.SCR");
    EXPECT_EQ(RegSetValueExA(key, value.name.c_str(), 0, REG_SZ, value.data.data(),
                             static_cast<DWORD>(value.data.size())),
              static_cast<LSTATUS>(ERROR_SUCCESS));
    RegCloseKey(key);
    EXPECT_EQ(Stored("SCRNSAVE.EXE"), "C:\\WINDOWS\\SAVER.SCR");
    EXPECT_NE(m_store.Text().find("[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"), std::string::npos);
}

TEST_F(SystemParametersTest, TheScreenSaverFlagStartsFromTheStoreAndChangesForTheSessionOnly) {
    ASSERT_TRUE(m_store.SetStrings(HKEY_CURRENT_USER, "Control Panel\\Desktop", {{"ScreenSaveActive", "1"}}));
    EXPECT_TRUE(ScreenSaveActive());
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0));
    EXPECT_FALSE(ScreenSaveActive());
    EXPECT_EQ(Stored("ScreenSaveActive"), "1");
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE));
    EXPECT_TRUE(ScreenSaveActive());
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_UPDATEINIFILE));
    EXPECT_EQ(Stored("ScreenSaveActive"), "0");
    testing::ResetSystemParameters();
    EXPECT_FALSE(ScreenSaveActive());
}

TEST_F(SystemParametersTest, WithoutAStoredFlagTheScreenSaverIsOff) {
    EXPECT_FALSE(ScreenSaveActive());
    BOOL* nowhere = nullptr;
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, nowhere, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(SystemParametersTest, AWallpaperMustBeAnExistingFileAndIsStoredOnlyWhenAsked) {
    ASSERT_TRUE(
        m_store.SetStrings(HKEY_CURRENT_USER, "Control Panel\\Desktop", {{"Wallpaper", "C:\\Old.bmp"}}));
    char missing[] = "C:\\WINDOWS\\Missing.bmp";
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, missing, 0));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    char folder[] = "C:\\WINDOWS";
    EXPECT_FALSE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, folder, 0));
    EXPECT_EQ(testing::SessionWallpaper(), "C:\\Old.bmp");

    char paper[] = "C:\\windows\\paper.bmp";
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, paper, 0));
    EXPECT_EQ(testing::SessionWallpaper(), "C:\\windows\\paper.bmp");
    EXPECT_EQ(Stored("Wallpaper"), "C:\\Old.bmp");
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, paper, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    EXPECT_EQ(Stored("Wallpaper"), "C:\\windows\\paper.bmp");
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, nullptr, 0));
    EXPECT_EQ(testing::SessionWallpaper(), "");
}

TEST_F(SystemParametersTest, OtherActionsAreRefused) {
    BOOL value = FALSE;
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoA(0x0073, 0, &value, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
} // namespace win32
