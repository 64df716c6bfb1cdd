#include "platform/win32/registry/Profile.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/Drives.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/tests/NeverWaiting.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace win32 {
namespace {

namespace fs = std::filesystem;
using platform::testing::ScopedEnvironment;

// The Windows folder is C:\WINDOWS on a temporary drive.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(m_folder); }

    std::string Get(const char* section, const char* key, const char* fallback = "none",
                    const char* file = "SYSTEM.INI") {
        char buffer[128];
        const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, file);
        EXPECT_EQ(length, std::string(buffer).size());
        return buffer;
    }

    std::string Content(const char* name = "SYSTEM.INI") const {
        std::ifstream in(m_folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void Store(const std::string& content, const char* name = "SYSTEM.INI") const {
        std::ofstream(m_folder + "/" + name, std::ios::binary) << content;
    }

    testing::TemporaryDrives m_drives{{'C'}};
    std::string m_folder = m_drives.HostPath('C', "WINDOWS");
    ScopedEnvironment m_windir{"VEMO_WINDIR", m_folder.c_str()};
};

TEST_F(ProfileTest, AValueWrittenIntoANewFileIsReadBackWithoutRegardToCase) {
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\TITLE~1.SCR", "SYSTEM.INI"));
    EXPECT_EQ(Content(), "[boot]\r\nSCRNSAVE.EXE=C:\\WINDOWS\\TITLE~1.SCR\r\n");
    EXPECT_EQ(Get("BOOT", "scrnsave.exe"), "C:\\WINDOWS\\TITLE~1.SCR");
    EXPECT_EQ(Get("BOOT", "scrnsave.exe", "none", "system.ini"), "C:\\WINDOWS\\TITLE~1.SCR");
}

TEST_F(ProfileTest, AChangeKeepsEveryOtherLineAsItWas) {
    Store("; Windows settings\n"
          "[boot]\n"
          "shell=Explorer.exe\n"
          "  SCRNSAVE.EXE = old.scr  \n"
          "\n"
          "[386Enh]\n"
          "woafont=dosapp.fon\n");
    ASSERT_TRUE(WritePrivateProfileStringA("Boot", "scrnsave.exe", "new.scr", "SYSTEM.INI"));
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "drivers", "mmsystem.dll", "SYSTEM.INI"));
    ASSERT_TRUE(WritePrivateProfileStringA("Desktop", "Wallpaper", "paper.bmp", "SYSTEM.INI"));
    EXPECT_EQ(Content(), "; Windows settings\n"
                         "[boot]\n"
                         "shell=Explorer.exe\n"
                         "scrnsave.exe=new.scr\n"
                         "drivers=mmsystem.dll\n"
                         "\n"
                         "[386Enh]\n"
                         "woafont=dosapp.fon\n"
                         "[Desktop]\n"
                         "Wallpaper=paper.bmp\n");
}

TEST_F(ProfileTest, ANullValueRemovesTheKeyAndANullKeyTheSection) {
    Store("[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=a.scr\r\n[drivers]\r\nwave=x.drv\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "scrnsave.exe", nullptr, "SYSTEM.INI"));
    ASSERT_TRUE(WritePrivateProfileStringA("DRIVERS", nullptr, nullptr, "SYSTEM.INI"));
    EXPECT_EQ(Content(), "[boot]\r\nshell=Explorer.exe\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("absent", "key", nullptr, "OTHER.INI"));
    EXPECT_FALSE(fs::exists(m_folder + "/OTHER.INI")) << "removing from a missing file makes none";
}

TEST_F(ProfileTest, ReadingFallsBackToTheDefault) {
    Store("[boot]\nquoted=\"C:\\A B\\x.scr\"\nsingle='y'\nlone=\"z\nempty=\n");
    EXPECT_EQ(Get("boot", "quoted"), "C:\\A B\\x.scr");
    EXPECT_EQ(Get("boot", "single"), "y");
    EXPECT_EQ(Get("boot", "lone"), "\"z");
    EXPECT_EQ(Get("boot", "empty"), "");
    EXPECT_EQ(Get("boot", "missing", "fallback  "), "fallback");
    EXPECT_EQ(Get("other", "quoted", nullptr), "");
    SetLastError(0);
    EXPECT_EQ(Get("boot", "quoted", "none", "MISSING.INI"), "none");
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(nullptr, "quoted"), "none");
}

TEST_F(ProfileTest, ASmallBufferGetsTheStartOfTheValue) {
    Store("[boot]\nshell=Explorer.exe\n");
    char buffer[5] = "xxxx";
    EXPECT_EQ(GetPrivateProfileStringA("boot", "shell", "", buffer, 5, "SYSTEM.INI"), 4U);
    EXPECT_STREQ(buffer, "Expl");
    EXPECT_EQ(GetPrivateProfileStringA("boot", "shell", "", buffer, 0, "SYSTEM.INI"), 0U);
}

TEST_F(ProfileTest, AFileNamedByItsPathIsUsedThere) {
    fs::create_directory(m_drives.HostPath('C', "Title"));
    ASSERT_TRUE(WritePrivateProfileStringA("Saver", "Speed", "3", "C:\\title\\saver.ini"));
    EXPECT_TRUE(fs::exists(m_drives.HostPath('C', "Title\\saver.ini")));
    EXPECT_EQ(Get("saver", "speed", "none", "C:\\TITLE\\SAVER.INI"), "3");
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA("Saver", "Speed", "3", "C:\\Missing\\saver.ini"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(ProfileTest, TheFileIsReplacedWholeKeepingItsPermissions) {
    Store("[boot]\nshell=Explorer.exe\n");
    fs::permissions(m_folder + "/SYSTEM.INI", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WritePrivateProfileStringA("boot", "shell", "progman.exe", "SYSTEM.INI"));
    EXPECT_EQ(fs::status(m_folder + "/SYSTEM.INI").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file is left beside it";
}

// A FIFO under a profile's name is no profile: reading gives the default, writing fails, and neither waits on
// it nor puts a file in its place.
TEST_F(ProfileTest, AFifoIsNoProfileAndIsNeverWaitedOn) {
    const std::string fifo = m_folder + "/SYSTEM.INI";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(platform::tests::WithoutWaitingOn(fifo, [this] { return Get("boot", "shell"); }), "none");
    EXPECT_FALSE(platform::tests::WithoutWaitingOn(
        fifo, [] { return WritePrivateProfileStringA("boot", "shell", "progman.exe", "SYSTEM.INI"); }));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

struct UnsafeCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

class ProfileUnsafeTest : public ProfileTest, public ::testing::WithParamInterface<UnsafeCase> {};

TEST_P(ProfileUnsafeTest, ATextThatWouldChangeTheFilesLinesIsRefused) {
    const std::string before = "[boot]\r\nshell=Explorer.exe\r\n";
    Store(before);
    SetLastError(0);
    EXPECT_FALSE(
        WritePrivateProfileStringA(GetParam().section, GetParam().key, GetParam().value, "SYSTEM.INI"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Content(), before);
}

INSTANTIATE_TEST_SUITE_P(Texts, ProfileUnsafeTest,
                         ::testing::Values(UnsafeCase{"ValueWithLineBreak", "boot", "shell",
                                                      "x\r\n[evil]\r\nrun=me"},
                                           UnsafeCase{"KeyWithEquals", "boot", "a=b", "c"},
                                           UnsafeCase{"KeyOpeningASection", "boot", "[evil]", "c"},
                                           UnsafeCase{"KeyStartingAComment", "boot", ";note", "c"},
                                           UnsafeCase{"EmptyKey", "boot", "  ", "c"},
                                           UnsafeCase{"SectionWithBracket", "bo]ot", "shell", "c"},
                                           UnsafeCase{"SectionWithLineBreak", "boot\nx", "shell", "c"},
                                           UnsafeCase{"NoSection", nullptr, "shell", "c"}),
                         platform::testing::NameFromText<&UnsafeCase::name>());

} // namespace
} // namespace win32
