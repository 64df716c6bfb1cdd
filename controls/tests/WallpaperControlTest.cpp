#include "controls/WallpaperControl.h"

#include "controls/tests/TitleControlTestSupport.h"
#include "platform/com/ActiveDesktop.h"
#include "platform/testing/ComTesting.h"
#include "platform/testing/SystemParameters.h"
#include "platform/testing/WindowTesting.h"
#include "resources/error/ErrorCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using TitleControlTest::Log;

// The shell's Active Desktop as a test double: it keeps the wallpaper it is given and records the calls.
struct DesktopRecord {
    std::string wallpaper;
    std::vector<std::string> calls;
    bool refuseWallpaper = false;
};

class ActiveDesktopDouble final : public com::ComObject<com::IActiveDesktop> {
public:
    explicit ActiveDesktopDouble(DesktopRecord& record) : m_record(record) {}

    win32::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        return Answer(iid, object, {{&com::IID_IActiveDesktop, static_cast<com::IActiveDesktop*>(this)}});
    }
    win32::HRESULT ApplyChanges(win32::DWORD flags) override {
        m_record.calls.push_back("ApplyChanges " + std::to_string(flags));
        return win32::S_OK;
    }
    win32::HRESULT GetWallpaper(win32::WCHAR* wallpaper, win32::UINT size, win32::DWORD) override {
        if (size <= m_record.wallpaper.size()) {
            return win32::E_FAIL;
        }
        for (std::size_t i = 0; i <= m_record.wallpaper.size(); ++i) {
            wallpaper[i] = static_cast<unsigned char>(m_record.wallpaper.c_str()[i]);
        }
        return win32::S_OK;
    }
    win32::HRESULT SetWallpaper(const win32::WCHAR* wallpaper, win32::DWORD) override {
        std::string text;
        for (; *wallpaper != 0; ++wallpaper) {
            text += static_cast<char>(*wallpaper);
        }
        m_record.calls.push_back("SetWallpaper " + text);
        if (m_record.refuseWallpaper) {
            return win32::E_FAIL;
        }
        m_record.wallpaper = text;
        return win32::S_OK;
    }
    win32::HRESULT SetWallpaperOptions(const com::WALLPAPEROPT* options, win32::DWORD) override {
        m_record.calls.push_back("SetWallpaperOptions " + std::to_string(options->dwSize) + " " +
                                 std::to_string(options->dwStyle));
        return win32::S_OK;
    }

private:
    DesktopRecord& m_record;
};

class WallpaperControlTest : public TitleControlTest::Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        for (const char* paper : {"Paper640.bmp", "Paper800.bmp", "Paper1024.bmp", "Tall.bmp"}) {
            Write(std::string("Title/") + paper, paper);
        }
        Write("Title/Paper.ini", "Thumb=PaperThumb.bmp\nPaper=640, 480, 8, Paper640.bmp\n"
                                 "paper=0x320, 600, 16, Paper800.bmp\nPaper=1024, 768, 16, Paper1024.bmp\n"
                                 "Paper=800, 700, 16, Tall.bmp\n[Other]\nPaper=1, 1, 1, Paper640.bmp\n");
    }

    void StartPaper() {
        ASSERT_TRUE(Start("Paper", "[Paper]\nClass=WallpaperControl\n"));
        ASSERT_NE(Find<WallpaperControl>("Paper"), nullptr);
        Listen("Paper");
    }
};

struct ModeCase {
    const char* name;
    int width;
    int height;
    int depth;
    const char* chosen; // empty: none fits
};

TEST_F(WallpaperControlTest, TheLargestPaperThatFitsTheDisplayModeIsChosen) {
    StartPaper();
    for (const ModeCase& c :
         {ModeCase{"800x600x32", 800, 600, 32, "Paper800.bmp"},
          ModeCase{"1024x768x8", 1024, 768, 8, "Paper640.bmp"},
          ModeCase{"1280x1024x16", 1280, 1024, 16, "Paper1024.bmp"},
          ModeCase{"1024x700x32", 1024, 700, 32, "Paper800.bmp"}, ModeCase{"320x200x32", 320, 200, 32, ""}}) {
        win32::testing::ResetSystemParameters();
        std::filesystem::remove_all(Host("WINDOWS"));
        ASSERT_TRUE(win32::testing::SetDesktopSize(c.width, c.height, c.depth)) << c.name;
        EXPECT_TRUE(Send("Paper", "Select(Paper.ini), Install")) << c.name;
        const std::string chosen = c.chosen;
        EXPECT_EQ(win32::testing::SessionWallpaper(), chosen.empty() ? "" : "C:\\WINDOWS\\" + chosen)
            << c.name;
        EXPECT_EQ(Heard(), chosen.empty()
                               ? (Log{"Thumb(1)", "Installed(0)", "Active(0)", "Active(0)"})
                               : (Log{"Thumb(1)", "Installed(0)", "Active(0)", "Installed(1)", "Active(1)"}))
            << c.name;
    }
}

TEST_F(WallpaperControlTest, WithoutActiveDesktopTheWallpaperLastsForTheSession) {
    StartPaper();
    ASSERT_TRUE(win32::testing::SetDesktopSize(800, 600, 32));
    EXPECT_FALSE(Find<WallpaperControl>("Paper")->HasActiveDesktop());
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(0)", "Active(0)"}));
    EXPECT_EQ(Variable("WallpaperControl", "Thumb"), "PaperThumb.bmp");
    EXPECT_TRUE(Send("Paper", "Install"));
    EXPECT_EQ(Heard(), (Log{"Installed(1)", "Active(1)"}));
    EXPECT_EQ(Read("WINDOWS/Paper800.bmp"), "Paper800.bmp");
    EXPECT_EQ(m_registry.Text().find("Wallpaper"), std::string::npos) << "the profile is not updated";
    // Without the shell's object the current wallpaper cannot be read: not known to be active.
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(1)", "Active(0)"}));
}

TEST_F(WallpaperControlTest, WithActiveDesktopTheShellSetsItCentredAndIsAskedForIt) {
    DesktopRecord desktop;
    com::testing::ScopedClass shell(com::CLSID_ActiveDesktop, "",
                                    [&]() -> com::IUnknown* { return new ActiveDesktopDouble(desktop); });
    StartPaper();
    ASSERT_TRUE(win32::testing::SetDesktopSize(800, 600, 32));
    EXPECT_TRUE(Find<WallpaperControl>("Paper")->HasActiveDesktop());
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini), Install"));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"SetWallpaper C:\\WINDOWS\\Paper800.bmp",
                                                       "SetWallpaperOptions 8 0", "ApplyChanges 7"}));
    EXPECT_EQ(win32::testing::SessionWallpaper(), "");
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(0)", "Active(0)", "Installed(1)", "Active(1)"}));
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(1)", "Active(1)"}));
    desktop.wallpaper = "C:\\Title\\Paper800.bmp";
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini)"));
    EXPECT_EQ(Heard(), (Log{"Thumb(1)", "Installed(1)", "Active(0)"}));

    desktop.refuseWallpaper = true;
    EXPECT_TRUE(Send("Paper", "Install"));
    EXPECT_EQ(Heard(), (Log{"Installed(1)", "Active(0)"}));
}

TEST_F(WallpaperControlTest, APictureThatIsNotInTheWindowsFolderIsNeverTheWallpaper) {
    // The shell's object takes any path it is given, so only the control can keep it from a missing picture.
    DesktopRecord desktop;
    com::testing::ScopedClass shell(com::CLSID_ActiveDesktop, "",
                                    [&]() -> com::IUnknown* { return new ActiveDesktopDouble(desktop); });
    StartPaper();
    ASSERT_TRUE(win32::testing::SetDesktopSize(800, 600, 32));
    auto* paper = Find<WallpaperControl>("Paper");
    EXPECT_TRUE(paper->Install()) << "before any selection";
    EXPECT_EQ(Heard(), Log{"Active(0)"});
    EXPECT_TRUE(Send("Paper", "Select(Paper.ini)"));
    Heard();
    // The picture went away: the copy fails.
    std::filesystem::remove(Host("Title/Paper800.bmp"));
    EXPECT_TRUE(Send("Paper", "Install"));
    EXPECT_EQ(Heard(), Log{"Active(0)"});
    EXPECT_TRUE(desktop.calls.empty()) << "the shell was never asked to set a wallpaper";
    EXPECT_EQ(win32::testing::SessionWallpaper(), "");
    EXPECT_FALSE(Send("Paper", "Select"));
}

TEST_F(WallpaperControlTest, APictureNamedPastTheWindowsFolderIsNotChosenAndReported) {
    Write("Title/Hostile.ini", "Paper=640, 480, 8, \"Papers.qib/..\\\\..\\\\Outside.bmp\"\n");
    StartPaper();
    ASSERT_TRUE(WriteTitleArchive("Papers", {{{"..\\..\\Outside.bmp"}, "hostile"}}));
    ASSERT_TRUE(win32::testing::SetDesktopSize(800, 600, 32));
    const int before = ReportsOf(Vemo::StorageEngineErrBadName);
    EXPECT_TRUE(Send("Paper", "Select(Hostile.ini), Install"));
    EXPECT_EQ(ReportsOf(Vemo::StorageEngineErrBadName), before + 1);
    EXPECT_EQ(Heard(), (Log{"Thumb(0)", "Installed(0)", "Active(0)", "Active(0)"}));
    EXPECT_FALSE(std::filesystem::exists(Host("Outside.bmp")));
    EXPECT_EQ(win32::testing::SessionWallpaper(), "");
}

TEST_F(WallpaperControlTest, COMIsUndoneOnceForItsOwnStartOnly) {
    const int before = com::testing::ThreadInitializeCount();
    // A hosted player started COM on this thread first.
    ASSERT_TRUE(win32::SUCCEEDED(com::CoInitialize(nullptr)));
    StartPaper();
    EXPECT_EQ(com::testing::ThreadInitializeCount(), before + 1) << "the failed creation undid its own start";
    Stop();
    EXPECT_EQ(com::testing::ThreadInitializeCount(), before + 1) << "the player's start survives the control";
    com::CoUninitialize();

    DesktopRecord desktop;
    com::testing::ScopedClass shell(com::CLSID_ActiveDesktop, "",
                                    [&]() -> com::IUnknown* { return new ActiveDesktopDouble(desktop); });
    StartPaper();
    EXPECT_EQ(com::testing::ThreadInitializeCount(), before + 1);
    Stop();
    EXPECT_EQ(com::testing::ThreadInitializeCount(), before);
}

} // namespace
