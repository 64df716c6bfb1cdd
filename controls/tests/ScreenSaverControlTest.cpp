#include "controls/ScreenSaverControl.h"

#include "controls/tests/TitleControlTestSupport.h"
#include "platform/testing/HostPrograms.h"
#include "platform/testing/WindowsVersion.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/registry/SystemParameters.h"
#include "resources/error/ErrorCodes.h"
#include "resources/testing/ReportedErrors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using TitleControlTest::Log;

class ScreenSaverControlTest : public TitleControlTest::Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        Write("Title/Quorven.scr", "saver");
        Write("Title/Savers/Scenes.dat", "scenes");
        Write("Title/Copy.ini",
              "Copy=Quorven.scr\nCopy=Savers, Lost.txt\nScr=Quorven.scr\nThumb=SaverThumb.bmp\n");
    }

    void StartSaver() {
        ASSERT_TRUE(Start("Saver", "[Saver]\nClass=ScreenSaverControl\n"));
        ASSERT_NE(Find<ScreenSaverControl>("Saver"), nullptr);
        Listen("Saver");
    }

    // An installer program of the title: a script that records that it ran and copies the saver in.
    // It writes `line` to Ran.log, so that a test tells which of two installers ran. Only a test that allows
    // it (AllowedHostPrograms) can have it started.
    void WriteInstaller(const std::string& relative, const std::string& line = "installer") {
        const std::string path = Host(relative);
        Write(relative, "#!/bin/sh\necho " + line + " >> '" + Host("Ran.log") + "'\ncp '" +
                            Host("Title/Quorven.scr") + "' '" + Host("WINDOWS") + "/'\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }

    // The screen saver HKEY_CURRENT_USER "Control Panel\Desktop" names, "<none>" without one.
    static std::string RegisteredSaver() {
        win32::HKEY key = nullptr;
        if (win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, win32::KEY_READ,
                                 &key) != 0) {
            return "<no key>";
        }
        char data[260] = {};
        win32::DWORD size = sizeof data - 1;
        const bool read = win32::RegQueryValueExA(key, "SCRNSAVE.EXE", nullptr, nullptr,
                                                  reinterpret_cast<win32::BYTE*>(data), &size) == 0;
        win32::RegCloseKey(key);
        return read ? data : "<none>";
    }
};

TEST_F(ScreenSaverControlTest, CopiesOnNtAreRegisteredInTheUsersDesktopSettingsAndActive) {
    StartSaver();
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(0)", "Active(0)"}));
    EXPECT_EQ(Variable("ScreenSaverControl", "Thumb"), "SaverThumb.bmp");
    EXPECT_TRUE(Send("Saver", "Install"));
    EXPECT_EQ(Heard(), (Log{"Installed(1)", "Active(1)"}));
    EXPECT_EQ(Read("WINDOWS/Quorven.scr"), "saver");
    EXPECT_TRUE(std::filesystem::exists(Host("WINDOWS/Savers/Scenes.dat")) ||
                std::filesystem::exists(Host("WINDOWS/Scenes.dat")));
    EXPECT_EQ(RegisteredSaver(), "C:\\WINDOWS\\Quorven.scr");
    EXPECT_EQ(Read("WINDOWS/SYSTEM.INI"), "<missing>");
    // The switch lasts for the session; the user's profile keeps its setting.
    EXPECT_EQ(m_registry.Text().find("ScreenSaveActive"), std::string::npos);
    EXPECT_TRUE(Find<ScreenSaverControl>("Saver")->IsActive());
}

TEST_F(ScreenSaverControlTest, ArchiveEntriesNamedPastTheirFolderAreSkippedAndReported) {
    Write("outside/victim.txt", "precious");
    // Where the host's desktop looks for programs to start at the next login.
    std::filesystem::create_directories(Host("config/autostart"));
    Write("Title/Archive.ini", "Copy=Quorven.scr, Saver.qib/Savers\nScr=Quorven.scr\n");
    StartSaver();
    ASSERT_TRUE(WriteTitleArchive(
        "Saver", {{{"Savers", "Scenes.dat"}, "scenes"},
                  {{"Savers", "..\\..\\..\\..\\outside\\victim.txt"}, "overwritten"},
                  {{"Savers", "..\\..\\..\\..\\config\\autostart\\title.desktop"}, "[Desktop Entry]\n"},
                  {{"Savers", "..\\..\\..\\..\\outside", "victim.txt"}, "overwritten"},
                  {{"Savers", "..", "Above.dat"}, "above"}}));
    const std::size_t before = VemoTest::ReportedErrors().size();
    EXPECT_TRUE(Send("Saver", "Select(Archive.ini), Install"));
    EXPECT_EQ(Heard(), (Log{"Thumb(0)", "Installed(0)", "Active(0)", "Installed(1)", "Active(1)"}));
    EXPECT_EQ(Read("WINDOWS/Savers/Scenes.dat"), "scenes");
    EXPECT_EQ(Read("outside/victim.txt"), "precious");
    EXPECT_FALSE(std::filesystem::exists(Host("config/autostart/title.desktop")));
    EXPECT_FALSE(std::filesystem::exists(Host("WINDOWS/Above.dat")));
    std::vector<std::string> refused;
    for (const VemoTest::ReportedError& report :
         VemoTest::ReportedErrors(static_cast<std::uint32_t>(before))) {
        if (report.code == Vemo::StorageEngineErrBadName) {
            refused.push_back(report.text);
        }
    }
    const std::string folder = "\" is not the name of one entry of C:\\WINDOWS\\Savers";
    EXPECT_EQ(refused,
              (std::vector<std::string>{"\"..\\..\\..\\..\\outside\\victim.txt" + folder,
                                        "\"..\\..\\..\\..\\config\\autostart\\title.desktop" + folder,
                                        "\"..\\..\\..\\..\\outside" + folder, "\".." + folder}));
}

TEST_F(ScreenSaverControlTest, On9xTheSaverIsNamedInSystemIni) {
    platform::testing::WindowsVersionOverride windows98(win32::seam::WindowsFamily::Windows9x);
    StartSaver();
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini), Install"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(0)", "Active(0)", "Installed(1)", "Active(1)"}));
    EXPECT_EQ(Read("WINDOWS/SYSTEM.INI"), "[BOOT]\r\nSCRNSAVE.EXE=C:\\WINDOWS\\Quorven.scr\r\n");
    EXPECT_EQ(RegisteredSaver(), "<none>");
}

TEST_F(ScreenSaverControlTest, WithTheScreenSaverSwitchedOffOurSaverIsNotActive) {
    StartSaver();
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini), Install"));
    Heard();
    ASSERT_TRUE(win32::SystemParametersInfoA(win32::SPI_SETSCREENSAVEACTIVE, win32::FALSE, nullptr, 0));
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(1)", "Active(0)"}));
    // Another saver named while ours is installed.
    ASSERT_TRUE(win32::SystemParametersInfoA(win32::SPI_SETSCREENSAVEACTIVE, win32::TRUE, nullptr, 0));
    ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_CURRENT_USER, "Control Panel\\Desktop",
                                      {{"SCRNSAVE.EXE", "C:\\Title\\Quorven.scr"}}));
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(1)", "Active(0)"}));
}

TEST_F(ScreenSaverControlTest, AnInstallerWithABoxRunsToItsEndThenTheBoxThenTheState) {
    const win32::testing::AllowedHostPrograms allowed(
        {Host("Title/Install Saver.exe"), Host("Title/Install")});
    WriteInstaller("Title/Install Saver.exe");
    // What the unquoted path would start in its place.
    WriteInstaller("Title/Install", "unquoted");
    Write("Title/Installer.ini", "Installer=Install Saver.exe\nmb=yes\nScr=Quorven.scr\n");
    StartSaver();
    std::vector<std::string> boxesAtInstalled;
    m_listener->m_onWord = [&](MessengerTest::Recorder&, const std::string& word) {
        if (word == "Installed") {
            boxesAtInstalled = Boxes();
        }
    };
    EXPECT_TRUE(Send("Saver", "Select(Installer.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(0)", "Installed(0)", "Active(0)"}));
    EXPECT_EQ(Variable("ScreenSaverControl", "Thumb"), "");
    EXPECT_TRUE(Send("Saver", "Install"));
    EXPECT_EQ(boxesAtInstalled, std::vector<std::string>{"|The screen saver was installed successfully."});
    EXPECT_EQ(Heard(), (Log{"Installed(1)", "Active(0)"}));
    EXPECT_EQ(Read("Ran.log"), "installer\n") << "the named program ran, once, to its end";
    EXPECT_EQ(RegisteredSaver(), "<none>");
}

TEST_F(ScreenSaverControlTest, ALaterDescriptionReplacesTheCopiesOfAnEarlierOne) {
    const win32::testing::AllowedHostPrograms allowed({Host("Title/Setup.exe")});
    WriteInstaller("Title/Setup.exe");
    Write("Title/Installer.ini", "Installer=Setup.exe\nScr=Other.scr\n");
    StartSaver();
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini), Select(Installer.ini), Install"));
    EXPECT_EQ(Read("Ran.log"), "installer\n");
    EXPECT_FALSE(std::filesystem::exists(Host("WINDOWS/Savers")));
    EXPECT_EQ(RegisteredSaver(), "<none>");
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(0)", "Active(0)", "Thumb(0)", "Installed(0)", "Active(0)",
                            "Installed(0)", "Active(0)"}));
    EXPECT_EQ(Boxes(), std::vector<std::string>{}) << "no \"mb\": no box";
}

TEST_F(ScreenSaverControlTest, AnInstallerOfTheTitleIsNeverStarted) {
    WriteInstaller("Title/Setup.exe");
    Write("Title/Installer.ini", "Installer=Setup.exe\nmb=yes\nScr=Quorven.scr\n");
    StartSaver();
    auto* saver = Find<ScreenSaverControl>("Saver");
    ASSERT_TRUE(saver->Select(Fragment(Vemo::String("Installer.ini"))));
    Heard();
    EXPECT_FALSE(saver->Install());
    EXPECT_EQ(Heard(), Log{});
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(Read("Ran.log"), "<missing>");
    EXPECT_FALSE(std::filesystem::exists(Host("WINDOWS/Quorven.scr")));
}

TEST_F(ScreenSaverControlTest, ADescriptionThatDoesNotLoadKeepsTheOldSelectionForInstall) {
    StartSaver();
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini)"));
    Heard();
    EXPECT_TRUE(Send("Saver", "Select(Missing.ini)"));
    EXPECT_EQ(Heard(), (Log{"Installed(0)", "Active(0)"}));
    EXPECT_FALSE(Find<ScreenSaverControl>("Saver")->IsSelected());
    EXPECT_TRUE(Send("Saver", "Install"));
    EXPECT_EQ(Heard(), (Log{"Installed(1)", "Active(1)"}));
}

TEST_F(ScreenSaverControlTest, ADescriptionWithoutInstallerOrCopiesSelectsNothingAndForgetsTheOldOne) {
    Write("Title/Empty.ini", "Scr=Other.scr\nThumb=Other.bmp\n");
    StartSaver();
    auto* saver = Find<ScreenSaverControl>("Saver");
    EXPECT_TRUE(Send("Saver", "Select(Copy.ini)"));
    Heard();
    EXPECT_TRUE(Send("Saver", "Select(Empty.ini)"));
    EXPECT_EQ(Heard(), Log{}) << "no screen saver file: nothing to check";
    EXPECT_FALSE(saver->IsSelected());
    EXPECT_EQ(Variable("ScreenSaverControl", "Thumb"), "SaverThumb.bmp");
    EXPECT_FALSE(saver->Install());
    EXPECT_FALSE(std::filesystem::exists(Host("WINDOWS/Quorven.scr")));
}

TEST_F(ScreenSaverControlTest, AMissingInstallerOrSelectionFailsTheInstall) {
    Write("Title/Installer.ini", "Installer=Gone.exe\nScr=Quorven.scr\n");
    StartSaver();
    auto* saver = Find<ScreenSaverControl>("Saver");
    EXPECT_FALSE(saver->Install()) << "nothing selected";
    EXPECT_TRUE(saver->Select(Fragment(Vemo::String("Installer.ini"))));
    Heard();
    EXPECT_FALSE(saver->Install());
    EXPECT_EQ(Heard(), Log{});
    EXPECT_FALSE(Send("Saver", "Select"));
}

} // namespace
