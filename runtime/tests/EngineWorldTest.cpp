// The program's application on DirectX and QuickTime in this process, on the fixture title: the start-up
// guard, the engine world it builds and takes down, and its frame step. Each start-up that passes the guard
// takes an application name of its own: the single-instance mutex is held for the rest of the process.
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/timing/Timer.h"
#include "platform/testing/Clock.h"
#include "platform/testing/CursorTesting.h"
#include "platform/testing/HeadlessRunTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/testing/WindowsVersion.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Thread.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/RunLoopPacing.h"
#include "platform/win32/windows/Window.h"
#include "resources/ResourceEngine.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorSystem.h"
#include "resources/hooks/DirectXEngineHook.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/testing/ErrorRecorder.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/RunningApplication.h"
#include "runtime/testing/TitleTestSupport.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TitleTest::InstalledTitle;

int g_names = 0;

class EngineWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows());
        Vemo::Win32Application::SetProcessValues(win32::GetModuleHandleA(nullptr), nullptr, win32::SW_SHOW);
    }

    void TearDown() override { m_running.TearDown(); }

    // A product application under a name no other start-up of this process has used.
    QuorvenApp& Make() {
        QuorvenApp& application = m_running.Make();
        m_name = "Quorven Test " + std::to_string(++g_names);
        application.Vemo::Win32Application::SetName(Vemo::String(m_name.c_str()));
        return application;
    }

    // The run function's Initialize, the guard included.
    bool Initialize() { return m_running.Initialize(true); }

    bool Stop() { return m_running.Stop(); }

    QuorvenApp& App() { return m_running.App(); }
    win32::HWND ViewportWindow() { return GetViewportWindowHandle(App().GetViewport()); }

    std::string CurrentState() {
        auto* state = dynamic_cast<NavigationState*>(App().GetStateGraph()->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }

    // The folders of this process's runs in the temporary folder.
    std::vector<std::filesystem::path> RunFolders() const {
        const std::string start = "vemo-run-" + std::to_string(win32::GetCurrentProcessId()) + "-";
        std::vector<std::filesystem::path> folders;
        for (const auto& entry : std::filesystem::directory_iterator(m_title.Host('C', "Temp"))) {
            if (entry.path().filename().string().starts_with(start)) {
                folders.push_back(entry.path());
            }
        }
        return folders;
    }

    // Where QuickTime's start-up movie of the running start-up is made.
    std::filesystem::path OwnMovie() const {
        const std::vector<std::filesystem::path> folders = RunFolders();
        return folders.size() == 1 ? folders.front() / "QuorvenApp.mov" : std::filesystem::path();
    }

    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const win32::testing::ShownMessageBox& box : m_boxes.Take()) {
            boxes.push_back(box.caption + "|" + box.text);
        }
        return boxes;
    }

    InstalledTitle m_title;
    platform::testing::ScopedEnvironment m_runtime{
        "XDG_RUNTIME_DIR", (std::filesystem::path(m_title.Base()) / "runtime").c_str()};
    win32::testing::MessageBoxRecorder m_boxes;
    TitleTest::RunningApplication m_running;
    std::string m_name;
};

// --- The guard
// ---------------------------------------------------------------------------------------------------

struct PlatformCase {
    const char* name;
    win32::seam::WindowsFamily family;
    bool runs;
};

class PlatformTest : public EngineWorldTest, public ::testing::WithParamInterface<PlatformCase> {};

TEST_P(PlatformTest, RefusesWin32sAndNt4WithTheirBox) {
    const PlatformCase& c = GetParam();
    platform::testing::WindowsVersionOverride version(c.family);
    Make();
    EXPECT_EQ(Initialize(), c.runs);
    if (c.runs) {
        EXPECT_EQ(Boxes(), std::vector<std::string>{});
    } else {
        EXPECT_EQ(Boxes(), (std::vector<std::string>{std::string("Problem detected!|") +
                                                     BuiltInText("ERR_WRONGPLATFORM")}));
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(Platforms, PlatformTest,
                         ::testing::Values(PlatformCase{"Win32s", win32::seam::WindowsFamily::Win32s, false},
                                           PlatformCase{"NT4", win32::seam::WindowsFamily::NT4, false},
                                           PlatformCase{"Windows98", win32::seam::WindowsFamily::Windows9x,
                                                        true},
                                           PlatformCase{"Windows2000", win32::seam::WindowsFamily::NT, true}),
                         [](const ::testing::TestParamInfo<PlatformCase>& info) { return info.param.name; });

TEST_F(EngineWorldTest, AnotherHolderOfTheMutexMakesTheStartUpEndQuietly) {
    Make();
    const win32::HANDLE held = win32::CreateMutexA(nullptr, win32::FALSE, (m_name + " Mutex").c_str());
    ASSERT_NE(held, nullptr);
    EXPECT_FALSE(Initialize());
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(App().GetMutexWindow(), nullptr);
    EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
}

// --- The engine world
// --------------------------------------------------------------------------------------------

TEST_F(EngineWorldTest, BuildsTheWorldInOrderAndTakesItDownAgain) {
    Make();
    ASSERT_TRUE(Initialize());
    std::vector<std::string> engines;
    for (Vemo::ResourceEngine* engine : App().GetEngines()) {
        engines.push_back(engine->GetName().CStr());
    }
    EXPECT_EQ(engines, (std::vector<std::string>{
                           "Win32 Storage Engine", "Monolith Storage Engine", "Win32 Font Engine",
                           "DirectX6 Graphic Engine", "Standard Image Engine", "DirectX Input Device Engine",
                           "QuickTime Movie Engine", "QuickTime Sound Engine", "Win32 Timer Engine"}));
    const Vemo::ApplicationSystems& systems = App();
    for (const void* system :
         {static_cast<const void*>(systems.m_resourceSystem), static_cast<const void*>(systems.m_errorSystem),
          static_cast<const void*>(systems.m_fontSystem), static_cast<const void*>(systems.m_graphicSystem),
          static_cast<const void*>(systems.m_imageSystem),
          static_cast<const void*>(systems.m_inputDeviceSystem),
          static_cast<const void*>(systems.m_movieSystem), static_cast<const void*>(systems.m_soundSystem),
          static_cast<const void*>(systems.m_storageSystem),
          static_cast<const void*>(systems.m_timerSystem)}) {
        EXPECT_NE(system, nullptr);
    }
    EXPECT_NE(Vemo::Win32EngineHook::Installed(), nullptr);
    EXPECT_NE(Vemo::DirectXEngineHook::Installed(), nullptr);
    EXPECT_NE(Vemo::QuickTimeEngineHook::Installed(), nullptr);
    // The main window stays hidden; the viewport's window is the one shown.
    ASSERT_NE(Win32DXQTMultimediaApplication::GetMainWindow(), nullptr);
    EXPECT_FALSE(win32::IsWindowVisible(Win32DXQTMultimediaApplication::GetMainWindow()->GetWindowHandle()));
    EXPECT_TRUE(win32::IsWindowVisible(ViewportWindow()));
    EXPECT_FALSE(win32::IsWindowVisible(App().GetMutexWindow()));
    EXPECT_EQ(reinterpret_cast<win32::HWND>(win32::GetWindowLongA(App().GetMutexWindow(), 0)),
              ViewportWindow());
    EXPECT_EQ(win32::FindWindowA(Win32DXQTMultimediaApplication::kMutexWindowClassName, m_name.c_str()),
              App().GetMutexWindow());
    // QuickTime's start-up movie is named after the product's class word, and is its own, in the run's own
    // folder.
    const std::filesystem::path ownMovie = OwnMovie();
    EXPECT_TRUE(std::filesystem::is_regular_file(ownMovie));
    EXPECT_EQ(std::filesystem::status(ownMovie).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::status(ownMovie.parent_path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    // The blank cursor of the window class hides the pointer over the viewport.
    EXPECT_NE(Win32DXQTMultimediaApplication::GetBlankCursor(), nullptr);
    win32::testing::MoveMouse(ViewportWindow(), 10, 10);
    EXPECT_TRUE(win32::testing::PointerHidden());

    EXPECT_TRUE(Stop());
    EXPECT_TRUE(RunFolders().empty());
    EXPECT_EQ(Vemo::Win32EngineHook::Installed(), nullptr);
    EXPECT_EQ(Vemo::DirectXEngineHook::Installed(), nullptr);
    EXPECT_EQ(Vemo::QuickTimeEngineHook::Installed(), nullptr);
    EXPECT_EQ(Win32DXQTMultimediaApplication::GetMainWindow(), nullptr);
    EXPECT_EQ(Win32DXQTMultimediaApplication::GetBlankCursor(), nullptr);
    EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
}

// Another user of the temporary folder can guess the names a movie made from the product's class word and the
// process id would have; whatever they put there is left alone and stops nothing.
TEST_F(EngineWorldTest, NothingPlantedUnderAGuessableMovieNameStopsTheStartUpOrIsTouched) {
    namespace fs = std::filesystem;
    const fs::path victim = fs::path(m_title.Base()) / "victim.txt";
    std::ofstream(victim) << "keep";
    const fs::path temporary = m_title.Host('C', "Temp");
    const std::string guessable[] = {"QuorvenApp-" + std::to_string(win32::GetCurrentProcessId()) + ".mov",
                                     "QuorvenApp.mov"};
    for (const std::string_view kind : {"folder", "link", "file"}) {
        SCOPED_TRACE(kind);
        for (const std::string& name : guessable) {
            if (kind == "folder") {
                fs::create_directories(temporary / name / "inside");
            } else if (kind == "link") {
                fs::create_symlink(victim, temporary / name);
            } else {
                std::ofstream(temporary / name) << "planted";
            }
        }
        Make();
        ASSERT_TRUE(Initialize());
        EXPECT_TRUE(fs::is_regular_file(OwnMovie()));
        EXPECT_TRUE(Stop());
        for (const std::string& name : guessable) {
            const fs::path planted = temporary / name;
            std::ifstream content(planted);
            EXPECT_TRUE(kind == "folder" ? fs::is_directory(planted / "inside") && !fs::is_symlink(planted)
                        : kind == "link"
                            ? fs::is_symlink(planted) && fs::read_symlink(planted) == victim
                            : std::string(std::istreambuf_iterator<char>(content), {}) == "planted")
                << name;
            fs::remove_all(planted);
        }
        std::ifstream kept(victim);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
        EXPECT_TRUE(fs::is_empty(temporary));
    }
}

TEST_F(EngineWorldTest, AFailureInTheMiddleOfStartUpLeavesShutDownOnlyWhatExists) {
    // No drive shows the temporary folder: QuickTime's start-up movie has no place, and its hook no start.
    platform::testing::ScopedEnvironment temporary("TMPDIR", m_title.Base().c_str());
    Make();
    EXPECT_FALSE(Initialize());
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{std::string("Problem detected!|") + BuiltInText("ERR_NOQT"),
                                        std::string("Problem detected!|") + BuiltInText("ERR_LOWMEMORY")}));
    EXPECT_EQ(App().GetEngines().Size(), 2u);
    EXPECT_TRUE(Stop());
    EXPECT_EQ(Vemo::Win32EngineHook::Installed(), nullptr);
    EXPECT_EQ(Vemo::DirectXEngineHook::Installed(), nullptr);
    EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
}

TEST_F(EngineWorldTest, AWindowClassThatCannotBeRegisteredIsReportedTwice) {
    Make();
    win32::WNDCLASSEXA taken{};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = &win32::DefWindowProcA;
    taken.hInstance = win32::GetModuleHandleA(nullptr);
    taken.lpszClassName = Win32DXQTMultimediaApplication::kWindowClassName;
    ASSERT_NE(win32::RegisterClassExA(&taken), 0);
    // The error system the engine world makes comes too late for these reports: one made beforehand records
    // them.
    {
        VemoTest::ErrorRecorder errors(App());
        EXPECT_FALSE(Initialize());
        EXPECT_EQ(errors.TakeReports(),
                  (VemoTest::Reports{{Vemo::Win32EngineHookErrRegisterClass},
                                     {Vemo::Win32EngineHookErrRegisterClass, "Thornwickstead Window Class"},
                                     {Vemo::Application::kErrorOnStartup}}));
    }
    EXPECT_TRUE(Stop());
    win32::UnregisterClassA(Win32DXQTMultimediaApplication::kWindowClassName,
                            win32::GetModuleHandleA(nullptr));
}

// --- The mutex window
// ----------------------------------------------------------------------------------------------

TEST_F(EngineWorldTest, WmUserBringsTheViewportWindowBackOnlyOnceItExists) {
    Make();
    ASSERT_TRUE(Initialize());
    win32::testing::HostMinimizes(ViewportWindow());
    App().Step();
    ASSERT_TRUE(win32::IsIconic(ViewportWindow()));
    const auto viewport = win32::GetWindowLongA(App().GetMutexWindow(), 0);
    win32::SetWindowLongA(App().GetMutexWindow(), 0, 0);
    win32::PostMessageA(App().GetMutexWindow(), win32::WM_USER, 0, 0);
    App().Step();
    App().Step();
    EXPECT_TRUE(win32::IsIconic(ViewportWindow()));
    win32::SetWindowLongA(App().GetMutexWindow(), 0, viewport);
    win32::PostMessageA(App().GetMutexWindow(), win32::WM_USER, 0, 0);
    App().Step();
    App().Step();
    EXPECT_FALSE(win32::IsIconic(ViewportWindow()));
}

// --- The frame
// -----------------------------------------------------------------------------------------------------

TEST_F(EngineWorldTest, ASystemFrameThatHasNotTickedSkipsTheWholeStep) {
    platform::testing::FakeClock clock;
    std::string configuration = m_title.Read('C', "Title/Quorven.ini");
    configuration.replace(configuration.find("[App]\n"), 6, "[App]\nMaxSystemFPS=10\n");
    m_title.Write('C', "Title/Quorven.ini", configuration);
    Make();
    ASSERT_TRUE(Initialize());
    ASSERT_NE(App().GetSystemFrameTimer(), nullptr);
    clock.Advance(100);
    App().Step();
    win32::testing::Click(ViewportWindow(), win32::testing::MouseButton::Left, 150, 120);
    App().Step();
    App().Step();
    EXPECT_EQ(CurrentState(), "Menu");
    EXPECT_FALSE(App().GetViewport()->GetEvents().Empty());
    clock.Advance(100);
    App().Step();
    EXPECT_EQ(CurrentState(), "Options");
}

// On the host clock, a step with nothing to show sleeps until the display's next blank; a system frame rate
// above the display's wakes it for each tick. Ending before the blank can only come from a tick, which a slow
// machine may miss now and then.
TEST_F(EngineWorldTest, ASystemFrameRateAboveTheDisplaysEndsTheStillStepsSleepAtItsTicks) {
    std::string configuration = m_title.Read('C', "Title/Quorven.ini");
    configuration.replace(configuration.find("[App]\n"), 6, "[App]\nMaxSystemFPS=250\n");
    m_title.Write('C', "Title/Quorven.ini", configuration);
    Make();
    ASSERT_TRUE(Initialize());
    // The first frames draw the screen; nothing changes after them.
    for (int step = 0; step < 10; ++step) {
        App().Step();
        win32::EndRunLoopStep();
    }
    int endedBeforeTheBlank = 0;
    for (int step = 0; step < 5; ++step) {
        std::uint64_t start = win32::seam::ClockNanoseconds();
        while (video::NextBlankNanoseconds(start) - start < 10000000) {
            win32::Sleep(1);
            start = win32::seam::ClockNanoseconds();
        }
        App().Step();
        win32::EndRunLoopStep();
        endedBeforeTheBlank += win32::seam::ClockNanoseconds() < video::NextBlankNanoseconds(start) ? 1 : 0;
    }
    EXPECT_GE(endedBeforeTheBlank, 1);
}

TEST_F(EngineWorldTest, LeavingTheApplicationDisablesInputUntilItIsActiveAgain) {
    // A scripted run: the step's wait for a window message returns at once.
    win32::testing::ScriptedRun run("wait 1000000");
    Make();
    ASSERT_TRUE(Initialize());
    App().Step();
    win32::testing::HostUnfocuses(ViewportWindow());
    App().Step();
    EXPECT_TRUE(App().IsInputDisabled());
    EXPECT_FALSE(App().GetViewport()->GetRootControl()->IsEnabled());
    win32::testing::Click(ViewportWindow(), win32::testing::MouseButton::Left, 150, 120);
    App().Step();
    App().Step();
    EXPECT_EQ(CurrentState(), "Menu");
    win32::testing::HostFocuses(ViewportWindow());
    App().Step();
    EXPECT_FALSE(App().IsInputDisabled());
    win32::testing::Click(ViewportWindow(), win32::testing::MouseButton::Left, 150, 120);
    App().Step();
    App().Step();
    EXPECT_EQ(CurrentState(), "Options");
}

} // namespace
