#include "platform/win32/registry/Registry.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/Registry.h"
#include "platform/tests/ChildProcess.h"
#include "platform/tests/ScopedVariable.h"
#include "platform/win32/registry/RegistryTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using win32::BYTE;
using win32::DWORD;
using win32::HKEY;
using win32::LSTATUS;
using win32::testing::TemporaryRegistry;

constexpr LSTATUS kSuccess = static_cast<LSTATUS>(win32::ERROR_SUCCESS);
constexpr LSTATUS kNotFound = static_cast<LSTATUS>(win32::ERROR_FILE_NOT_FOUND);
const char* const kSystemKey = "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System";

// Started as the helper of the cross-process test (by the environment below), the test program adds one
// value to the store the environment names and exits, before any test runs.
[[maybe_unused]] const int kHelper = [] {
    const char* name = std::getenv("VEMO_TEST_REGISTRY_VALUE");
    if (name == nullptr) {
        return 0;
    }
    const LSTATUS status =
        win32::WriteRegistryValues(win32::HKEY_CURRENT_USER, "Shared", {win32::RegistryString(name, name)});
    std::_Exit(status == kSuccess ? 0 : 1);
}();

std::vector<BYTE> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

HKEY Open(HKEY root, const char* subKey, win32::REGSAM access = win32::KEY_READ) {
    HKEY key = nullptr;
    EXPECT_EQ(win32::RegOpenKeyExA(root, subKey, 0, access, &key), kSuccess) << subKey;
    return key;
}

// What RegQueryValueExA gives for a value: its status, type and bytes.
struct Queried {
    LSTATUS status = kSuccess;
    DWORD type = 0;
    std::vector<BYTE> data;
};

Queried Query(HKEY key, const char* name) {
    Queried result;
    DWORD size = 0;
    result.status = win32::RegQueryValueExA(key, name, nullptr, &result.type, nullptr, &size);
    if (result.status != kSuccess) {
        return result;
    }
    result.data.resize(size);
    result.status = win32::RegQueryValueExA(key, name, nullptr, &result.type, result.data.data(), &size);
    result.data.resize(size);
    return result;
}

class RegistryTest : public testing::Test {
protected:
    TemporaryRegistry m_store;
};

TEST_F(RegistryTest, ValuesComeBackWithTheirTypeAndBytesAsStored) {
    const std::vector<win32::RegistryValue> values{
        win32::RegistryString("GamePath", "C:\\Titles\\Demo"),
        {"Unterminated", win32::REG_SZ, Bytes("no zero")},
        {"Embedded", win32::REG_SZ, Bytes(std::string_view("a\0b\0", 4))},
        {"Count", win32::REG_DWORD, {0x2A, 0, 0, 0}},
        {"Blob", win32::REG_BINARY, {}},
        {"Odd \"name\"\n", 0x1234, {0xFF, 0x00}},
        {"", win32::REG_SZ, Bytes(std::string_view("default\0", 8))},
    };
    ASSERT_EQ(win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, kSystemKey, values), kSuccess);

    // Names are matched without regard to case, whatever the store spells them.
    HKEY key =
        Open(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\vemo company\\Products\\QUORVEN zut Plexotron\\system");
    for (const win32::RegistryValue& value : values) {
        Queried queried = Query(key, value.name.c_str());
        EXPECT_EQ(queried.status, kSuccess) << value.name;
        EXPECT_EQ(queried.type, value.type) << value.name;
        EXPECT_EQ(queried.data, value.data) << value.name;
    }
    EXPECT_EQ(Query(key, "gamepath").data, values[0].data);
    EXPECT_EQ(Query(key, nullptr).data, values.back().data) << "a null name is the unnamed value";
    EXPECT_EQ(Query(key, "Missing").status, kNotFound);
    EXPECT_EQ(win32::RegCloseKey(key), kSuccess);
    EXPECT_EQ(win32::RegCloseKey(key), static_cast<LSTATUS>(win32::ERROR_INVALID_HANDLE));
}

TEST_F(RegistryTest, AShortBufferIsToldTheSizeAndLeftAlone) {
    ASSERT_EQ(win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, "Data",
                                         {win32::RegistryString("Path", "C:\\Data")}),
              kSuccess);
    HKEY key = Open(win32::HKEY_LOCAL_MACHINE, "Data");
    BYTE buffer[4] = {'x', 'x', 'x', 'x'};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    EXPECT_EQ(win32::RegQueryValueExA(key, "Path", nullptr, &type, buffer, &size), win32::ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, win32::REG_SZ);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "xxxx");

    // Neither data nor size: only whether the value is there, and its type.
    type = 0;
    EXPECT_EQ(win32::RegQueryValueExA(key, "Path", nullptr, &type, nullptr, nullptr), kSuccess);
    EXPECT_EQ(type, win32::REG_SZ);
    DWORD reserved = 0;
    EXPECT_EQ(win32::RegQueryValueExA(key, "Path", &reserved, &type, nullptr, &size),
              static_cast<LSTATUS>(win32::ERROR_INVALID_PARAMETER));
    EXPECT_EQ(win32::RegQueryValueExA(key, "Path", nullptr, &type, buffer, nullptr),
              static_cast<LSTATUS>(win32::ERROR_INVALID_PARAMETER));
    win32::RegCloseKey(key);
}

TEST_F(RegistryTest, OnlyExistingKeysOpen) {
    ASSERT_EQ(win32::WriteRegistryValues(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", {}), kSuccess);
    HKEY key = nullptr;
    EXPECT_EQ(
        win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, "Control Panel\\Missing", 0, win32::KEY_READ, &key),
        kNotFound);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(win32::RegOpenKeyExA(win32::HKEY_LOCAL_MACHINE, "Control Panel", 0, win32::KEY_READ, &key),
              kNotFound)
        << "the roots are separate trees";
    EXPECT_EQ(m_store.Text().find("Missing"), std::string::npos) << "opening creates nothing";

    // One backslash at the end names the same key; an empty name on the way names none.
    HKEY panel = Open(win32::HKEY_CURRENT_USER, "Control Panel\\");
    HKEY desktop = Open(panel, "desktop");
    HKEY again = Open(desktop, "");
    EXPECT_NE(again, desktop);
    EXPECT_EQ(
        win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, "Control Panel\\\\Desktop", 0, win32::KEY_READ, &key),
        win32::ERROR_BAD_PATHNAME);
    EXPECT_EQ(win32::RegOpenKeyExA(reinterpret_cast<HKEY>(0x77), "x", 0, win32::KEY_READ, &key),
              static_cast<LSTATUS>(win32::ERROR_INVALID_HANDLE));
    // The 32-bit value of a root names it too.
    HKEY plain = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
    HKEY viaPlain = Open(plain, "Control Panel");
    for (HKEY open : {panel, desktop, again, viaPlain}) {
        EXPECT_EQ(win32::RegCloseKey(open), kSuccess);
    }
    EXPECT_EQ(win32::RegCloseKey(win32::HKEY_CURRENT_USER), kSuccess);
}

TEST_F(RegistryTest, SettingNeedsTheRightAndReplacesTheStoreInOneStep) {
    ASSERT_EQ(win32::WriteRegistryValues(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", {}), kSuccess);
    const BYTE text[] = "C:\\SAVER.SCR";
    HKEY reading = Open(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", win32::KEY_READ);
    EXPECT_EQ(win32::RegSetValueExA(reading, "SCRNSAVE.EXE", 0, win32::REG_SZ, text, sizeof text),
              static_cast<LSTATUS>(win32::ERROR_ACCESS_DENIED));
    HKEY writing = Open(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", win32::KEY_ALL_ACCESS);
    EXPECT_EQ(win32::RegSetValueExA(writing, "SCRNSAVE.EXE", 0, win32::REG_SZ, nullptr, 4),
              win32::ERROR_NOACCESS);
    ASSERT_EQ(win32::RegSetValueExA(writing, "SCRNSAVE.EXE", 0, win32::REG_SZ, text, sizeof text), kSuccess);
    EXPECT_EQ(Query(reading, "scrnsave.exe").data, std::vector<BYTE>(text, text + sizeof text));

    EXPECT_NE(m_store.Text().find(
                  "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\"SCRNSAVE.EXE\"=sz:C:\\SAVER.SCR\n"),
              std::string::npos)
        << m_store.Text();
    for (const auto& entry : std::filesystem::directory_iterator(m_store.Folder())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.txt" || name == "registry.txt.lock") << "left behind: " << name;
    }
    win32::RegCloseKey(reading);
    win32::RegCloseKey(writing);
}

TEST_F(RegistryTest, AnotherProgramsChangesAreSeen) {
    m_store.WriteText("[HKLM\\Data]\n\"Path\"=sz:C:\\One\n");
    HKEY key = Open(win32::HKEY_LOCAL_MACHINE, "Data");
    EXPECT_EQ(Query(key, "Path").data, Bytes(std::string_view("C:\\One\0", 7)));

    m_store.WriteText("[HKLM\\Data]\n\"Path\"=sz:C:\\Two, longer\n");
    EXPECT_EQ(Query(key, "Path").data, Bytes(std::string_view("C:\\Two, longer\0", 15)));

    m_store.WriteText("[HKLM\\Other]\n");
    EXPECT_EQ(Query(key, "Path").status, win32::ERROR_KEY_DELETED);
    const BYTE byte = 1;
    HKEY writing = nullptr;
    EXPECT_EQ(win32::RegOpenKeyExA(win32::HKEY_LOCAL_MACHINE, "Other", 0, win32::KEY_ALL_ACCESS, &writing),
              kSuccess);
    EXPECT_EQ(win32::RegSetValueExA(writing, "Flag", 0, win32::REG_BINARY, &byte, 1), kSuccess);
    win32::RegCloseKey(key);
    win32::RegCloseKey(writing);
}

TEST_F(RegistryTest, ABrokenStoreIsNeitherUsedNorWrittenAndSaysWhereItBreaks) {
    const std::string broken = "[HKLM\\Data]\n\"Path\"=sz:C:\\One\nnonsense\n";
    m_store.WriteText(broken);
    HKEY key = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(win32::RegOpenKeyExA(win32::HKEY_LOCAL_MACHINE, "Data", 0, win32::KEY_READ, &key),
              win32::ERROR_BADDB);
    EXPECT_EQ(
        win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, "Data", {win32::RegistryString("New", "x")}),
        win32::ERROR_BADDB);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(m_store.Path() + ": line 3: "), std::string::npos) << said;
    EXPECT_EQ(said.find("line 3", said.find("line 3") + 1), std::string::npos) << "said once: " << said;
    EXPECT_EQ(m_store.Text(), broken);
}

// A store whose folder cannot be made says so, rather than that its lock file's name is missing.
TEST_F(RegistryTest, AStoreWhoseFolderCannotBeMadeSaysSoAndWritesNothing) {
    const std::string blocker = m_store.Folder() + "/blocker";
    std::ofstream(blocker) << "a file where the store's folder would be";
    const std::string store = blocker + "/vemo/registry.txt";
    win32::seam::UseRegistryStore(store);
    testing::internal::CaptureStderr();
    const LSTATUS status =
        win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, "Data", {win32::RegistryString("New", "x")});
    const std::string said = testing::internal::GetCapturedStderr();
    win32::seam::UseRegistryStore(m_store.Path());
    EXPECT_NE(status, kSuccess);
    EXPECT_EQ(said, "registry store " + store + ": cannot take its lock file: its folder " + blocker +
                        "/vemo is missing and cannot be made: Not a directory\n");
}

TEST_F(RegistryTest, KeysOfOtherProcessesWritingAtOnceAreAllKept) {
    std::vector<win32::PROCESS_INFORMATION> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(platform::tests::StartSelf(
            {"VEMO_REGISTRY=" + m_store.Path(), "VEMO_TEST_REGISTRY_VALUE=Value" + std::to_string(i)}));
    }
    for (const win32::PROCESS_INFORMATION& child : children) {
        EXPECT_EQ(platform::tests::FinishChild(child), 0);
    }
    HKEY key = Open(win32::HKEY_CURRENT_USER, "Shared");
    for (int i = 0; i < 4; ++i) {
        const std::string name = "Value" + std::to_string(i);
        EXPECT_EQ(Query(key, name.c_str()).status, kSuccess) << name;
    }
    win32::RegCloseKey(key);
}

struct StoreCase {
    const char* name;
    const char* text;
    const char* error; // empty: the text is a store
};

class RegistryStoreFormatTest : public testing::TestWithParam<StoreCase> {};

TEST_P(RegistryStoreFormatTest, ReadsTheStoreOrNamesTheLine) {
    win32::RegistryTree tree;
    std::string error;
    const bool read = tree.Parse(GetParam().text, error);
    EXPECT_EQ(read, *GetParam().error == '\0') << error;
    EXPECT_EQ(error.rfind(GetParam().error, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RegistryStoreFormatTest,
    testing::Values(
        StoreCase{"Empty", "", ""}, StoreCase{"CommentsAndBlanks", "# a store\n\n  \t# indented\r\n", ""},
        StoreCase{"ShortRootNames", "[HKCR\\A]\n[hkcu]\n[HKLM\\B\\C]\n[HKU\\.DEFAULT]\n", ""},
        StoreCase{"EveryValueForm",
                  "[HKEY_LOCAL_MACHINE\\K]\r\n@=sz:default\r\n\"a \\\"b\\\" \\\\ \\x01\"=hex(7):410000\n"
                  "\"Empty\"=hex(3):\n\"Spaces\"=sz: kept \n",
                  ""},
        StoreCase{"KeyNamedTwiceIsOneKey", "[HKLM\\K]\n\"A\"=sz:1\n[hklm\\k]\n\"B\"=sz:2\n", ""},
        StoreCase{"ValueBeforeAnyKey", "\"A\"=sz:1\n", "line 1: a value needs a key line"},
        StoreCase{"UnknownRoot", "# x\n[HKEY_CURRENT_CONFIG\\A]\n", "line 2: unknown root"},
        StoreCase{"EmptyKeyName", "[HKLM\\A\\\\B]\n", "line 1: a key name must be"},
        StoreCase{"UnclosedKey", "[HKLM\\A\n", "line 1: a key line ends with"},
        StoreCase{"ValueTwice", "[HKLM\\K]\n\"A\"=sz:1\n\"a\"=sz:2\n",
                  "line 3: the value \"a\" is given twice"},
        StoreCase{"DefaultTwice", "[HKLM\\K]\n@=sz:1\n\"\"=sz:2\n", "line 3: the value @ is given twice"},
        StoreCase{"UnknownEscape", "[HKLM\\K]\n\"\\n\"=sz:1\n", "line 2: a name knows only"},
        StoreCase{"UnclosedName", "[HKLM\\K]\n\"A=sz:1\n", "line 2: a quoted name ends"},
        StoreCase{"MissingEquals", "[HKLM\\K]\n\"A\" sz:1\n", "line 2: a value's name is followed"},
        StoreCase{"UnknownData", "[HKLM\\K]\n\"A\"=dword:1\n", "line 2: a value's data is"},
        StoreCase{"TypeTooLarge", "[HKLM\\K]\n\"A\"=hex(4294967296):00\n", "line 2: a value's type"},
        StoreCase{"OddHex", "[HKLM\\K]\n\"A\"=hex(3):abc\n", "line 2: a value's bytes"},
        StoreCase{"NotHex", "[HKLM\\K]\n\"A\"=hex(3):zz\n", "line 2: a value's bytes"},
        StoreCase{"StrayText", "[HKLM\\K]\nA=sz:1\n", "line 2: a line must be"}),
    platform::testing::NameFromText<&StoreCase::name>());

TEST(RegistryStoreTextTest, WrittenStoresReadBackTheSame) {
    win32::RegistryTree tree;
    win32::RegistryKey& key = tree.Make(2, {"Software", "Odd\x01Name"});
    key.SetValue({"", win32::REG_SZ, Bytes(std::string_view("line\nbreak\0", 11))});
    key.SetValue({"\"quoted\" \\ and \x7F", win32::REG_SZ, Bytes(std::string_view("text\0", 5))});
    key.SetValue({"two zeros", win32::REG_SZ, Bytes(std::string_view("a\0\0", 3))});
    key.SetValue({"@", 0xFFFFFFFF, {1, 2, 3}});
    tree.Make(0, {"Empty"});
    tree.Root(3).SetValue(win32::RegistryString("At the root", "x"));

    win32::RegistryTree again;
    std::string error;
    // A key name with a control byte is the one thing the text cannot hold: the store refuses such names.
    EXPECT_FALSE(again.Parse(tree.Text(), error));
    key.name = "Plain";
    ASSERT_TRUE(again.Parse(tree.Text(), error)) << error << "\n" << tree.Text();
    EXPECT_TRUE(again == tree) << tree.Text() << "\n" << again.Text();
    EXPECT_NE(tree.Text().find("\n\"@\"=hex(4294967295):010203\n"), std::string::npos) << tree.Text();
    EXPECT_NE(tree.Text().find("[HKEY_CLASSES_ROOT\\Empty]\n"), std::string::npos);
}

TEST(RegistryKeyNameTest, NewKeysNeedNamesTheStoreCanHold) {
    TemporaryRegistry store;
    EXPECT_EQ(win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, "A\\B\x01", {}),
              win32::ERROR_BAD_PATHNAME);
    EXPECT_EQ(win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, std::string(256, 'k').c_str(), {}),
              win32::ERROR_BAD_PATHNAME);
    EXPECT_EQ(win32::WriteRegistryValues(win32::HKEY_LOCAL_MACHINE, std::string(255, 'k').c_str(), {}),
              kSuccess);
    EXPECT_EQ(win32::WriteRegistryValues(reinterpret_cast<HKEY>(0x1004), "A", {}),
              static_cast<LSTATUS>(win32::ERROR_INVALID_HANDLE));
}

TEST(RegistryLocationTest, TheEnvironmentNamesTheStore) {
    // Without an override the store is VEMO_REGISTRY's file, read afresh.
    TemporaryRegistry folder;
    win32::seam::UseRegistryStore({});
    const std::string path = folder.Folder() + "/named.txt";
    platform::tests::ScopedVariable named("VEMO_REGISTRY", path);
    EXPECT_EQ(win32::WriteRegistryValues(win32::HKEY_USERS, "X", {win32::RegistryString("V", "1")}),
              kSuccess);
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
