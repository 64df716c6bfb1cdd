#include "platform/tests/ChildProcess.h"
#include "platform/win32/registry/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kScript = VEMO_SOURCE_DIR "/scripts/register-title";
const char* const kSystemKey = "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System";

// scripts/register-title on a machine whose drive T: shows the folder Titles of a temporary folder.
class RegisterTitleTest : public testing::Test {
protected:
    void SetUp() override {
        m_base = (fs::temp_directory_path() / ("register-title-" + std::to_string(::getpid()))).string();
        fs::create_directories(m_base + "/Titles/Demo");
        fs::create_directories(m_base + "/Titles/Empty");
        fs::create_directories(m_base + "/Outside/Demo");
        // The file the program's start-up reads first makes a folder a title; its name is matched without
        // regard to case, as the emulated Windows matches it.
        std::ofstream(m_base + "/Titles/Demo/quorven.LOC") << "[Texts]\n";
        std::ofstream(m_base + "/Outside/Demo/Quorven.loc") << "[Texts]\n";
        m_store = m_base + "/store.txt";
    }
    void TearDown() override { fs::remove_all(m_base); }

    platform::tests::ChildResult Register(const std::vector<std::string>& arguments) const {
        // The machine's Windows and temporary folders lie on T: as well, or they would be drives of their own
        // and the folder Outside, in the temporary folder, on one of them.
        return platform::tests::RunProgram(
            kScript, arguments,
            {"VEMO_DRIVES=T=" + m_base + "/Titles:fixed", "TMPDIR=" + m_base + "/Titles/Temp",
             "VEMO_WINDIR=" + m_base + "/Titles/Windows", "VEMO_REGISTRY_TOOL=" VEMO_REGISTRY_TOOL},
            m_base);
    }

    // The value as the program's start-up reads it, from the store the test registered into.
    std::string Read(const char* name) const {
        win32::seam::UseRegistryStore(m_store);
        win32::HKEY key = nullptr;
        char text[260] = {};
        win32::DWORD size = sizeof text;
        if (win32::RegOpenKeyExA(win32::HKEY_LOCAL_MACHINE, kSystemKey, 0, win32::KEY_READ, &key) == 0) {
            win32::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<win32::BYTE*>(text), &size);
            win32::RegCloseKey(key);
        }
        win32::seam::UseRegistryStore({});
        return text;
    }

    std::string m_base;
    std::string m_store;
};

TEST_F(RegisterTitleTest, WritesTheFourPathsAsWindowsPathsOfTheEmulatedMachine) {
    const platform::tests::ChildResult result = Register({m_base + "/Titles/Demo/", "--store", m_store});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(Read("GamePath"), "T:\\Demo");
    EXPECT_EQ(Read("DataPath"), "T:\\Demo");
    EXPECT_EQ(Read("SharedPath"), "T:\\Shared");
    EXPECT_EQ(Read("UserPath"), "T:\\User");
    EXPECT_TRUE(fs::is_directory(m_base + "/Titles/Shared"));
    EXPECT_TRUE(fs::is_directory(m_base + "/Titles/User"));
    EXPECT_NE(result.output.find("T:\\Demo"), std::string::npos) << result.output;
}

TEST_F(RegisterTitleTest, GivenFoldersAndTheStoresOtherValuesAreKept) {
    win32::seam::UseRegistryStore(m_store);
    const win32::LSTATUS written = win32::WriteRegistryValues(
        win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", {win32::RegistryString("Wallpaper", "kept")});
    win32::seam::UseRegistryStore({});
    ASSERT_EQ(written, 0);
    const platform::tests::ChildResult result =
        Register({"--shared", m_base + "/Titles/Common", m_base + "/Titles/Demo", "--user",
                  m_base + "/Titles/Saves", "--store", m_store});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(Read("SharedPath"), "T:\\Common");
    EXPECT_EQ(Read("UserPath"), "T:\\Saves");
    std::ifstream file(m_store);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"Wallpaper\"=sz:kept"), std::string::npos) << text;
}

// Installed, the two commands are quorven-register-title and quorven-registry: each names itself as it was
// started, in its usage and its messages.
TEST_F(RegisterTitleTest, EachCommandNamesItselfAsItWasStarted) {
    fs::create_directories(m_base + "/bin");
    fs::create_symlink(kScript, m_base + "/bin/quorven-register-title");
    fs::create_symlink(VEMO_REGISTRY_TOOL, m_base + "/bin/quorven-registry");
    struct Case {
        const char* program;
        std::vector<std::string> arguments;
        const char* said;
    };
    const Case cases[] = {
        {"quorven-register-title", {}, "usage: quorven-register-title TITLE-FOLDER"},
        {"quorven-registry", {}, "usage: quorven-registry windows-path HOST-PATH | quorven-registry set KEY"},
        {"quorven-registry",
         {"windows-path", "relative"},
         "quorven-registry: no drive of the emulated machine"},
        {"quorven-registry", {"set", "Nowhere\\Key", "A=1"}, "quorven-registry: Nowhere\\Key does not start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        const platform::tests::ChildResult result =
            platform::tests::RunProgram(m_base + "/bin/" + c.program, c.arguments, {}, m_base);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_EQ(result.output.rfind(c.said, 0), 0u) << result.output;
        EXPECT_EQ(result.output.find("vemo-registry"), std::string::npos) << result.output;
    }
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments; // "@" stands for the temporary folder
    int exitCode;
    const char* said;
};

class RegisterTitleRefusalTest : public RegisterTitleTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RegisterTitleRefusalTest, SaysWhatIsWrongAndWritesNothing) {
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) {
        arguments.push_back(argument[0] == '@' ? m_base + argument.substr(1) : argument);
    }
    const platform::tests::ChildResult result = Register(arguments);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.output;
    EXPECT_NE(result.output.find(GetParam().said), std::string::npos) << result.output;
    EXPECT_FALSE(fs::exists(m_store));
    for (const char* made : {"/Titles/Shared", "/Titles/User", "/Outside/Shared", "/Outside/User"}) {
        EXPECT_FALSE(fs::exists(m_base + made)) << made;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterTitleRefusalTest,
    testing::Values(
        RefusalCase{"NoTitle", {"--store", "@/store.txt"}, 2, "usage: register-title TITLE-FOLDER"},
        RefusalCase{"MissingTitle", {"@/Titles/Missing", "--store", "@/store.txt"}, 1, "is not a folder"},
        RefusalCase{"FolderWithoutATitle",
                    {"@/Titles/Empty", "--store", "@/store.txt"},
                    1,
                    "Empty holds no title: quorven's start-up reads Quorven.loc first"},
        RefusalCase{"SharedFolderOnNoDrive",
                    {"@/Titles/Demo", "--shared", "@/Outside/Shared", "--store", "@/store.txt"},
                    1,
                    "no drive of the emulated machine shows " /* the shared folder */},
        RefusalCase{"TitleOnNoDrive",
                    {"@/Outside/Demo", "--store", "@/store.txt"},
                    1,
                    "no drive of the emulated machine shows " /* the title's folder */},
        RefusalCase{"StoreWithoutFile", {"@/Titles/Demo", "--store"}, 2, "--store needs a value"},
        RefusalCase{"UnknownOption", {"@/Titles/Demo", "--force"}, 2, "unknown option --force"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

} // namespace
