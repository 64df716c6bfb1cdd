// The product's application running in this process on a title written by the test, installed on a fresh
// emulated machine (C: holds Title, User, Shared and Temp; the registry store holds the product's paths):
// its configuration has an "App" section, a 160 x 120 viewport, the font cache "Fonts" with the test's font
// sections, and a graph of one screen "Menu" (then "Done") whose controls and other sections the test gives.
// The checked-in test font "Vemo Block" is available to system fonts.
//
//     class MyTest : public TitleTest::RunningTitle {};
//     TEST_F(MyTest, ...) {
//         ASSERT_TRUE(Start("[Big]\nClass=SystemFont\nName=Vemo Block\nSize=-16\n",
//                           "Control=Caption\n", "[Caption]\nClass=TextControl\nFont=Big\nText=AV\n..."));
//         Step();
//         EXPECT_EQ(Shown().At(1, 3), 0xFF0000u);
//     }
#pragma once

#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/Drives.h"
#include "platform/testing/GdiTesting.h"
#include "platform/testing/Registry.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"
#include "resources/SystemAccessors.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"
#include "resources/testing/ReportedErrors.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/RunningApplication.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace TitleTest {

class RunningTitle : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    RunningTitle() : m_drives({{'C'}}) {
        for (const char* folder : {"Title", "User", "Shared", "Temp"}) {
            std::filesystem::create_directories(m_drives.HostPath('C', folder));
        }
        m_temporary.Set(m_drives.HostPath('C', "Temp").c_str());
        Write("Title/Quorven.loc", std::string("TITLE\0Quorven\0", 14));
    }

    void SetUp() override {
        m_registry.WriteText("");
        ASSERT_TRUE(m_registry.SetStrings(
            win32::HKEY_LOCAL_MACHINE, "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System",
            {{"GamePath", "C:\\Title"}, {"SharedPath", "C:\\Shared"}, {"UserPath", "C:\\User"}}));
        ASSERT_NO_FATAL_FAILURE(RunningApplication::SetUpWindows());
        ASSERT_TRUE(win32::testing::AddFontFile(win32::testing::FixtureFontPath("VemoBlock.ttf")));
    }

    void TearDown() override {
        m_running.TearDown();
        win32::testing::RemoveAddedFontFiles();
    }

    // Writes the title's configuration and starts the application on it, without the single-instance
    // guard. fonts: sections of fonts; menu: keys of the screen "Menu"; rest: the controls' sections.
    bool Start(const std::string& fonts, const std::string& menu, const std::string& rest) {
        Write("Title/Quorven.ini",
              "[App]\nViewport=Viewport\nFonts=Fonts\nGraph=Graph\n"
              "[Viewport]\nClass=Viewport\nTitle=Quorven\nSize=" +
                  std::to_string(kWidth) + ", " + std::to_string(kHeight) + "\n" + m_viewportKeys +
                  "[Fonts]\nClass=FontCache\n" + fonts +
                  "\n[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nEndState=Done\n"
                  "Action=Menu, 1, Done\n"
                  "[Menu]\nClass=NavigationState\n" +
                  menu + "\n[Done]\nClass=NavigationState\n" + rest + "\n");
        return m_running.Start();
    }

    bool Stop() { return m_running.Stop(); }

    // A file of drive C: ('/' or '\\' between folders).
    void Write(const std::string& relative, const std::string& bytes) {
        const std::filesystem::path path = m_drives.HostPath('C', relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    QuorvenApp& App() { return m_running.App(); }

    // One step of the application: messages, the graph's idle, the frame drawn.
    void Step() { App().Step(); }

    win32::HWND Window() { return GetViewportWindowHandle(App().GetViewport()); }

    ddraw::testing::Frame Shown() {
        std::optional<ddraw::testing::Frame> frame = ddraw::testing::ReadFrame(Window());
        EXPECT_TRUE(frame.has_value()) << "the window shows nothing";
        return frame.value_or(ddraw::testing::Frame{});
    }

    // The rows of the area of the frame shown, one character a pixel: the key of its colour (0xRRGGBB) in the
    // legend, '?' for a colour the legend lacks.
    std::vector<std::string> Picture(const std::vector<std::pair<std::uint32_t, char>>& legend, int left,
                                     int top, int right, int bottom) {
        const ddraw::testing::Frame frame = Shown();
        std::vector<std::string> rows;
        for (int y = top; y < bottom; ++y) {
            std::string row;
            for (int x = left; x < right; ++x) {
                const std::uint32_t pixel = frame.At(x, y) & 0xFFFFFF;
                char key = '?';
                for (const auto& [colour, character] : legend) {
                    key = colour == pixel ? character : key;
                }
                row += key;
            }
            rows.push_back(row);
        }
        return rows;
    }

    // The smallest rectangle holding every pixel of the colour in the frame shown, "left,top,right,bottom";
    // "none" when there is none.
    std::string InkBox(std::uint32_t ink) {
        const ddraw::testing::Frame frame = Shown();
        int left = kWidth, top = kHeight, right = 0, bottom = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if ((frame.At(x, y) & 0xFFFFFF) == ink) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x + 1);
                    bottom = std::max(bottom, y + 1);
                }
            }
        }
        return right == 0 ? "none"
                          : std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) +
                                "," + std::to_string(bottom);
    }

    // The messenger of the name reachable from the current screen.
    Messenger* Find(const std::string& name) {
        Vemo::State* state = App().GetStateGraph()->GetCurrentState();
        auto* screen = dynamic_cast<NavigationState*>(state);
        return screen != nullptr ? screen->FindMessenger(Vemo::String(name.c_str())) : nullptr;
    }

    // How many errors of the code were reported so far.
    static int ReportsOf(Vemo::ErrorCode code) { return VemoTest::ReportsOf(code); }

    // More keys of the viewport's section.
    std::string m_viewportKeys;
    win32::testing::TemporaryDrives m_drives;
    win32::testing::TemporaryRegistry m_registry;
    platform::testing::ScopedEnvironment m_temporary{"TMPDIR", nullptr};
    RunningApplication m_running;
};

} // namespace TitleTest
