#include "platform/win32/desktop/Shell.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/Drives.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace win32 {
namespace {

namespace fs = std::filesystem;
using platform::testing::ScopedEnvironment;

// Drive C: holds "Docs\Read Me.txt", "Setup.EXE" and the programs of Programs() in "Programs"; the opener is
// a script outside every drive that writes the number of its arguments and each argument, one a line, into a
// record beside it. The record is the mark that the opener ran.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(m_drives.HostPath('C', "Docs"));
        std::ofstream(m_drives.HostPath('C', "Docs\\Read Me.txt")) << "text";
        std::ofstream(m_drives.HostPath('C', "Setup.EXE")) << "MZ";
        WritePrograms();
        const std::string script = m_drives.Base() + "/opener";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '"
                              << m_record << ".part' && mv '" << m_record << ".part' '" << m_record << "'\n";
        fs::permissions(script, fs::perms::owner_all);
        m_opener.Set(script.c_str());
    }

    static SHELLEXECUTEINFOA Info(const char* file,
                                  ULONG mask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI) {
        SHELLEXECUTEINFOA info{};
        info.cbSize = kShellExecuteInfoSize;
        info.fMask = mask;
        info.lpVerb = "open";
        info.lpFile = file;
        info.nShow = SW_SHOWNORMAL;
        return info;
    }

    // Opens the file and waits for the opener to end.
    bool OpenAndWait(SHELLEXECUTEINFOA info) {
        if (!ShellExecuteExA(&info)) {
            EXPECT_EQ(info.hProcess, nullptr);
            return false;
        }
        EXPECT_GT(reinterpret_cast<ULONG_PTR>(info.hInstApp), 32U);
        EXPECT_NE(info.hProcess, nullptr);
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
        EXPECT_TRUE(CloseHandle(info.hProcess));
        return true;
    }

    // Files the opener must never be given, each named by the name it has on the drive.
    void WritePrograms() {
        const fs::path folder = m_drives.HostPath('C', "Programs");
        fs::create_directory(folder);
        std::ofstream(folder / "tool") << std::string("\x7f"
                                                      "ELF\x02\x01\x01",
                                                      7);
        std::ofstream(folder / "notes.txt") << "#!/bin/sh\ntouch marker\n";
        std::ofstream(folder / "Player.Desktop") << "[Desktop Entry]\nExec=touch marker\n";
        for (const char* name : {"x.exe.", "run.bat", "SETUP.CMD", "a.Com", "b.pif", "c.scr", "d.lnk",
                                 "e.exe . .", "f.desktop."}) {
            std::ofstream(folder / name) << "data";
        }
        fs::create_symlink("x.exe.", folder / "link.txt");
        ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    }

    std::vector<std::string> Recorded() const {
        std::ifstream in(m_record);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    testing::TemporaryDrives m_drives{{'C'}};
    std::string m_record = m_drives.Base() + "/record";
    ScopedEnvironment m_opener{"VEMO_OPENER", nullptr};
};

TEST_F(ShellTest, ADocumentGoesToTheOpenerAsItsHostPathAndOnlyArgument) {
    ASSERT_TRUE(OpenAndWait(Info("c:\\DOCS\\read me.TXT")));
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1", m_drives.HostPath('C', "Docs\\Read Me.txt")}));
}

TEST_F(ShellTest, TheExecuteBitAloneMakesNoProgram) {
    const std::string marked = m_drives.HostPath('C', "Docs\\Read Me.txt");
    fs::permissions(marked, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    ASSERT_TRUE(OpenAndWait(Info("C:\\Docs\\Read Me.txt")));
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1", marked}));
}

TEST_F(ShellTest, ARefusalSaysOnTheStandardErrorWhatAndWhy) {
    for (const auto& [file, why] : {std::pair<const char*, const char*>{"C:\\Programs\\notes.txt", "#!"},
                                    {"ssh://host/x", "only http, https and mailto"}}) {
        SHELLEXECUTEINFOA info = Info(file);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(ShellExecuteExA(&info));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(file), std::string::npos) << said;
        EXPECT_NE(said.find(why), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST_F(ShellTest, AFolderOpensToo) {
    ASSERT_TRUE(OpenAndWait(Info("C:\\Docs\\")));
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1", m_drives.HostPath('C', "Docs")}));
}

class ShellAddressTest : public ShellTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShellAddressTest, AnAddressGoesToTheOpenerAsItStands) {
    ASSERT_TRUE(OpenAndWait(Info(GetParam())));
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1", GetParam()}));
}

INSTANTIATE_TEST_SUITE_P(Addresses, ShellAddressTest,
                         ::testing::Values("http://example.com/a b?x=1&y=$HOME;`id`",
                                           "mailto:someone@example.com", "HTTPS://example.com/"),
                         platform::testing::NameFromParam());

TEST_F(ShellTest, WithoutTheProcessMaskTheHandleIsClosedAndTheOpenerStillRuns) {
    SHELLEXECUTEINFOA info = Info("C:\\Docs\\Read Me.txt", SEE_MASK_FLAG_NO_UI);
    ASSERT_TRUE(ShellExecuteExA(&info));
    EXPECT_EQ(info.hProcess, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(m_record) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(Recorded().size(), 2U);
}

// What a title may hand over: documents of the kinds the opener is given, folders and web addresses. Any
// other kind of file may belong to a program that runs what it opens; content that is a program is refused
// whatever its name.
struct DocumentCase {
    const char* name;
    const char* file;    // its host path below C:, or an address
    const char* content; // null: a folder, or an address
    bool handedOver;
};

class ShellDocumentTest : public ShellTest, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(ShellDocumentTest, OnlyDocumentsFoldersAndWebAddressesAreHandedOver) {
    const DocumentCase& c = GetParam();
    const bool address = std::string_view(c.file).starts_with("http");
    const std::string host = m_drives.HostPath('C', c.file);
    if (c.content != nullptr) {
        fs::create_directories(fs::path(host).parent_path());
        std::ofstream(host, std::ios::binary) << c.content;
    } else if (!address) {
        fs::create_directories(host);
    }
    std::string windows = address ? c.file : "C:\\" + std::string(c.file);
    if (!address) {
        std::replace(windows.begin(), windows.end(), '/', '\\');
    }
    SHELLEXECUTEINFOA info = Info(windows.c_str());
    ::testing::internal::CaptureStderr();
    const bool opened = OpenAndWait(info);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(opened, c.handedOver) << said;
    if (c.handedOver) {
        EXPECT_EQ(Recorded(), (std::vector<std::string>{"1", address ? std::string(c.file) : host}));
        EXPECT_EQ(said, "");
    } else {
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
        EXPECT_FALSE(fs::exists(m_record));
        EXPECT_NE(said.find(windows), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShellDocumentTest,
    ::testing::Values(DocumentCase{"DesktopEntryOfKde", "Apps/player.kdelnk",
                                   "[KDE Desktop Entry]\nExec=touch marker\n", false},
                      DocumentCase{"JavaArchive", "Apps/game.jar", "PK\x03\x04", false},
                      DocumentCase{"JavaWebStart", "Apps/game.jnlp", "<jnlp/>", false},
                      DocumentCase{"WindowsInstaller", "Apps/setup.msi", "\xd0\xcf\x11\xe0", false},
                      DocumentCase{"RegistryFile", "Apps/settings.reg", "REGEDIT4\n", false},
                      DocumentCase{"InternetShortcut", "Apps/site.url",
                                   "[InternetShortcut]\nURL=file:///bin/sh\n", false},
                      DocumentCase{"NoExtensionAndAWindowsProgram", "Apps/notes", "MZ\x90", false},
                      DocumentCase{"TextThatIsAWindowsProgram", "Apps/readme.txt", "MZ\x90", false},
                      DocumentCase{"ScriptWithoutHashBang", "Apps/install.sh", "touch marker\n", false},
                      DocumentCase{"ByteOrderMarkThenHashBang", "Apps/notes.txt",
                                   "\xef\xbb\xbf#!/bin/sh\ntouch marker\n", false},
                      DocumentCase{"WebPage", "Pages/index.HTML", "<html><img src=a.gif></html>", true},
                      DocumentCase{"Pdf", "Pages/manual.pdf", "%PDF-1.4\n", true},
                      DocumentCase{"Text", "Pages/notes.txt", "Hello", true},
                      DocumentCase{"TextWithAByteOrderMark", "Pages/bom.txt", "\xef\xbb\xbfHello", true},
                      DocumentCase{"EmptyText", "Pages/empty.txt", "", true},
                      DocumentCase{"Picture", "Pages/photo.jpg", "\xff\xd8\xff\xe0", true},
                      DocumentCase{"Folder", "Pages/Pictures", nullptr, true},
                      DocumentCase{"WebAddress", "http://example.com/", nullptr, true}),
    platform::testing::NameFromText<&DocumentCase::name>());

struct FailureCase {
    const char* name;
    const char* file;
    const char* verb;
    DWORD error;
    UINT shellError;
};

class ShellFailureTest : public ShellTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ShellFailureTest, FailsAtOnceAndStartsNothing) {
    const FailureCase& c = GetParam();
    SHELLEXECUTEINFOA info = Info(c.file);
    info.lpVerb = c.verb;
    SetLastError(0);
    EXPECT_FALSE(OpenAndWait(info));
    EXPECT_EQ(GetLastError(), c.error);
    ASSERT_FALSE(ShellExecuteExA(&info));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(info.hInstApp), c.shellError);
    EXPECT_FALSE(fs::exists(m_record));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ShellFailureTest,
    ::testing::Values(
        FailureCase{"MissingFile", "C:\\Docs\\Gone.txt", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"MissingFolder", "C:\\Gone\\a.txt", "open", ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
        FailureCase{"MissingDrive", "Q:\\a.txt", "open", ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
        FailureCase{"NoDrive", "Docs\\Read Me.txt", nullptr, ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
        FailureCase{"Empty", "", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"WindowsProgram", "C:\\setup.exe", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"ElfProgram", "C:\\Programs\\tool", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"Script", "C:\\Programs\\notes.txt", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"DesktopEntry", "C:\\Programs\\player.desktop", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"DesktopEntryWithADot", "C:\\Programs\\f.desktop.", "open", ERROR_FILE_NOT_FOUND,
                    SE_ERR_FNF},
        FailureCase{"ProgramWithADot", "C:\\Programs\\x.exe.", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"ProgramWithDotsAndBlanks", "C:\\Programs\\e.exe . .", "open", ERROR_FILE_NOT_FOUND,
                    SE_ERR_FNF},
        FailureCase{"Batch", "C:\\Programs\\run.bat", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"Command", "C:\\Programs\\setup.cmd", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"ComProgram", "C:\\Programs\\a.com", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"Pif", "C:\\Programs\\b.pif", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"ScreenSaver", "C:\\Programs\\c.scr", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"Shortcut", "C:\\Programs\\d.lnk", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"LinkToAProgram", "C:\\Programs\\link.txt", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"Fifo", "C:\\Programs\\pipe", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"FileAddress", "file:///C:/Docs/Read Me.txt", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"SshAddress", "ssh://host/setup.sh", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"OtherScheme", "ms-help.x+y:topic", "open", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        FailureCase{"OtherVerb", "C:\\Docs\\Read Me.txt", "print", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC}),
    platform::testing::NameFromText<&FailureCase::name>());

TEST_F(ShellTest, AnOpenerThatCannotStartFailsAtOnce) {
    const std::string notRunnable = m_drives.Base() + "/not-runnable";
    std::ofstream(notRunnable) << "#!/bin/sh\n";
    for (const std::string& opener :
         {m_drives.Base() + "/missing", notRunnable, std::string("vemo-no-such-opener")}) {
        m_opener.Set(opener.c_str());
        SHELLEXECUTEINFOA info = Info("C:\\Docs\\Read Me.txt");
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteExA(&info)) << opener;
        EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION) << opener;
        EXPECT_EQ(info.hProcess, nullptr);
    }
}

TEST_F(ShellTest, ARequestTheShellCannotHonourIsRefused) {
    SHELLEXECUTEINFOA wrongSize = Info("C:\\Docs\\Read Me.txt");
    wrongSize.cbSize = 56;
    SHELLEXECUTEINFOA parameters = Info("C:\\Docs\\Read Me.txt");
    parameters.lpParameters = "/p";
    SHELLEXECUTEINFOA folder = Info("C:\\Docs\\Read Me.txt");
    folder.lpDirectory = "C:\\Docs";
    SHELLEXECUTEINFOA mask = Info("C:\\Docs\\Read Me.txt", SEE_MASK_NOCLOSEPROCESS | 0x100);
    for (SHELLEXECUTEINFOA* info : {&wrongSize, &parameters, &folder, &mask}) {
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteExA(info));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(ShellExecuteExA(nullptr));
    EXPECT_FALSE(fs::exists(m_record));
}

class DesktopWindowTest : public tests::WindowSystemTest {};

TEST_F(DesktopWindowTest, IsOneHandleThatNoWindowCallTakes) {
    const HWND desktop = GetDesktopWindow();
    EXPECT_NE(desktop, nullptr);
    EXPECT_EQ(GetDesktopWindow(), desktop);
    EXPECT_FALSE(IsWindow(desktop));
    EXPECT_FALSE(SetForegroundWindow(desktop));
}

} // namespace
} // namespace win32
