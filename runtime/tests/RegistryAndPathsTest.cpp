// The product's registry values and Windows paths on an emulated machine: a registry store of the test's
// own, and the drives A: (floppy), C: (fixed), D: and E: (CD-ROM) in fresh folders.
#include "platform/testing/Drives.h"
#include "platform/testing/Registry.h"
#include "platform/win32/registry/Registry.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/testing/TestResourceFamily.h"
#include "runtime/application/ProductRegistry.h"
#include "runtime/application/WindowsPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kSystemKey = "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System";
const Vemo::String kProduct("Quorven ZUT Plexotron");

// A value as RegSetValueExA stores it: its type and its bytes as they are.
struct StoredValue {
    const char* name;
    win32::DWORD type;
    std::string bytes;
    const char* text;
};

std::string ValueName(const ::testing::TestParamInfo<StoredValue>& info) {
    return info.param.name;
}

class RegistryValueTest : public ::testing::TestWithParam<StoredValue> {
protected:
    win32::testing::TemporaryRegistry m_registry;
};

TEST_P(RegistryValueTest, TheTextEndsAtItsFirstZeroOrWithTheStoredData) {
    const StoredValue& value = GetParam();
    ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_LOCAL_MACHINE, kSystemKey, {}));
    win32::HKEY key = nullptr;
    ASSERT_EQ(win32::RegOpenKeyExA(win32::HKEY_LOCAL_MACHINE, kSystemKey, 0, win32::KEY_ALL_ACCESS, &key),
              win32::ERROR_SUCCESS);
    ASSERT_EQ(win32::RegSetValueExA(key, "GamePath", 0, value.type,
                                    reinterpret_cast<const win32::BYTE*>(value.bytes.data()),
                                    static_cast<win32::DWORD>(value.bytes.size())),
              win32::ERROR_SUCCESS);
    win32::RegCloseKey(key);
    Vemo::String text;
    ASSERT_TRUE(ReadProductRegistryString(kProduct, Vemo::String("System\\GamePath"), text));
    EXPECT_EQ(std::string(text.CStr()), value.text);
}

const StoredValue kStoredValues[] = {
    {"String", win32::REG_SZ, std::string("C:\\Title", 9), "C:\\Title"},
    {"StringWithoutItsZero", win32::REG_SZ, "C:\\Title", "C:\\Title"},
    {"StringWithTextAfterAZero", win32::REG_SZ, std::string("C:\\A\0B", 7), "C:\\A"},
    {"Binary", win32::REG_BINARY, "AB", "AB"},
    {"Number", win32::REG_DWORD, std::string("12\0\0", 4), "12"},
    {"Empty", win32::REG_SZ, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Values, RegistryValueTest, ::testing::ValuesIn(kStoredValues), ValueName);

TEST(ProductRegistryTest, ReadsAndWritesUnderTheProductsSystemKeyOnly) {
    win32::testing::TemporaryRegistry registry;
    Vemo::String text;
    EXPECT_FALSE(ReadProductRegistryString(kProduct, Vemo::String("System\\GamePath"), text));
    // The key is opened, never made.
    EXPECT_FALSE(
        WriteProductRegistryString(kProduct, Vemo::String("System\\GamePath"), Vemo::String("C:\\")));
    ASSERT_TRUE(registry.SetStrings(win32::HKEY_LOCAL_MACHINE, kSystemKey, {{"GamePath", "C:\\Title"}}));
    EXPECT_FALSE(ReadProductRegistryString(Vemo::String(), Vemo::String("System\\GamePath"), text));
    EXPECT_FALSE(ReadProductRegistryString(kProduct, Vemo::String(), text));
    EXPECT_FALSE(ReadProductRegistryString(kProduct, Vemo::String("System\\DataPath"), text));
    ASSERT_TRUE(ReadProductRegistryString(kProduct, Vemo::String("system\\gamepath"), text));
    EXPECT_EQ(std::string(text.CStr()), "C:\\Title");

    ASSERT_TRUE(
        WriteProductRegistryString(kProduct, Vemo::String("System\\UserPath"), Vemo::String("C:\\U")));
    ASSERT_TRUE(ReadRegistryStringByPath(Vemo::String(kSystemKey).Append("\\UserPath"), text));
    EXPECT_EQ(std::string(text.CStr()), "C:\\U");
    EXPECT_FALSE(ReadRegistryStringByPath(Vemo::String("NoBackslash"), text));
}

TEST(ProductRegistryTest, ASubKeyWithATrailingBackslashIsTheSameKey) {
    win32::testing::TemporaryRegistry registry;
    ASSERT_TRUE(registry.SetStrings(win32::HKEY_LOCAL_MACHINE, kSystemKey, {}));
    ASSERT_TRUE(registry.SetStrings(win32::HKEY_CURRENT_USER, "Software\\Settings", {}));
    ASSERT_TRUE(WriteRegistryString(Vemo::String(kSystemKey).Append("\\"), Vemo::String("SharedPath"),
                                    Vemo::String("C:\\Shared"), false));
    ASSERT_TRUE(WriteRegistryString(Vemo::String("Software\\Settings\\"), Vemo::String("Volume"),
                                    Vemo::String("7"), true));
    Vemo::String text;
    ASSERT_TRUE(ReadRegistryString(Vemo::String(kSystemKey), Vemo::String("SharedPath"), text));
    EXPECT_EQ(std::string(text.CStr()), "C:\\Shared");
    // The current user's value is not one of the machine's.
    EXPECT_FALSE(ReadRegistryString(Vemo::String("Software\\Settings"), Vemo::String("Volume"), text));
    win32::HKEY key = nullptr;
    ASSERT_EQ(win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, "Software\\Settings", 0, win32::KEY_READ, &key),
              win32::ERROR_SUCCESS);
    char stored[8] = {};
    win32::DWORD size = sizeof stored;
    win32::DWORD type = 0;
    EXPECT_EQ(
        win32::RegQueryValueExA(key, "Volume", nullptr, &type, reinterpret_cast<win32::BYTE*>(stored), &size),
        win32::ERROR_SUCCESS);
    win32::RegCloseKey(key);
    EXPECT_EQ(type, win32::REG_SZ);
    EXPECT_EQ(std::string(stored, size), std::string("7", 2));
}

class WindowsPathsTest : public ::testing::Test {
protected:
    WindowsPathsTest()
        : m_drives({{'A', win32::DRIVE_REMOVABLE},
                    {'C'},
                    {'D', win32::DRIVE_CDROM},
                    {'E', win32::DRIVE_CDROM},
                    {'G'}}) {
        m_application.m_storageSystem = Vemo::StorageSystem::Create();
        EXPECT_TRUE(m_application.m_storageSystem->AddEngine(Vemo::Win32StorageEngine::Create()));
        std::filesystem::create_directories(m_drives.HostPath('C', "Title/Data"));
        std::filesystem::create_directories(m_drives.HostPath('G', "Only/On/G"));
    }

    ~WindowsPathsTest() override {
        std::filesystem::current_path(m_current);
        m_application.m_storageSystem->Shutdown();
        m_application.m_storageSystem = nullptr;
    }

    // The path's text, or "fails".
    static std::string Absolute(const char* text) {
        Vemo::Path path;
        if (!MakeAbsolutePath(Vemo::String(text), path)) {
            return "fails";
        }
        Vemo::String written;
        return path.GetText(written, true, false).CStr();
    }

    win32::testing::TemporaryDrives m_drives;
    VemoTest::TestApplication m_application;
    std::filesystem::path m_current = std::filesystem::current_path();
};

TEST_F(WindowsPathsTest, DrivesAreNamedByKindAndCountedInLetterOrder) {
    const std::vector<std::pair<char, std::string>> names = {{'a', "FD0"}, {'B', ""},    {'C', "HD0"},
                                                             {'D', "CD0"}, {'E', "CD1"}, {'F', ""},
                                                             {'G', "HD1"}, {'1', ""}};
    for (const auto& [letter, name] : names) {
        EXPECT_EQ(std::string(DriveVolumeName(letter).CStr()), name) << letter;
    }
}

TEST_F(WindowsPathsTest, AWindowsPathBecomesItsDrivesVolumeWithItsDirectories) {
    EXPECT_EQ(Absolute("C:\\Title\\Data"), "HD0:/Title/Data");
    EXPECT_EQ(Absolute("c:/Title//Data\\"), "HD0:/Title/Data");
    // The last name may be a file's; every directory before it must exist.
    EXPECT_EQ(Absolute("C:\\Title\\Quorven.ini"), "HD0:/Title/Quorven.ini");
    EXPECT_EQ(Absolute("C:\\Missing\\Data"), "fails");
    EXPECT_EQ(Absolute("F:\\Title"), "fails");
    // The storage engine's volume of that name is the same drive.
    EXPECT_EQ(Absolute("G:\\Only\\On\\G"), "HD1:/Only/On/G");
    EXPECT_EQ(Absolute("C:\\Only\\On\\G"), "fails");
    // Taken from the current directory, which is on C:.
    std::filesystem::current_path(m_drives.HostPath('C', "Title"));
    EXPECT_EQ(Absolute("Data"), "HD0:/Title/Data");
    // A current directory on no drive leaves a relative path without a root.
    std::filesystem::current_path(m_drives.Base());
    EXPECT_EQ(Absolute("Data"), "fails");
}

TEST_F(WindowsPathsTest, AShortPathIsThePathItselfAndNoneForAMissingOne) {
    Vemo::String text;
    ASSERT_TRUE(GetShortPathText(Vemo::String("C:\\Title\\Data"), text));
    EXPECT_EQ(std::string(text.CStr()), "C:\\Title\\Data");
    EXPECT_FALSE(GetShortPathText(Vemo::String("C:\\Title\\Missing"), text));
    Vemo::Path path;
    ASSERT_TRUE(MakeAbsolutePath(Vemo::String("C:\\Title"), path));
    ASSERT_TRUE(GetShortPath(path, text));
    EXPECT_EQ(std::string(text.CStr()), "C:\\Title");
}

} // namespace
