#include "script/WinMain.h"

#include "foundation/Exception.h"
#include "platform/win32/kernel/CommandLine.h"
#include "platform/win32/kernel/Module.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/tests/ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using ApplicationTest::DrainMessages;
using ApplicationTest::Log;
using ApplicationTest::PumpApplication;
using ApplicationTest::TestInstance;
using Vemo::Application;
using Vemo::Win32Application;
using VemoTest::Reports;
using VemoTest::TestApplication;

void ThrowRangeException(PumpApplication&) {
    throw Vemo::RangeException();
}

// What the run function's own handler does when an allocation fails.
void FailAnAllocation(PumpApplication&) {
    std::get_new_handler()();
}

void ThrowBadAllocOfOurOwn(PumpApplication&) {
    throw std::bad_alloc();
}

void NoteNewHandler(std::new_handler* seen) {
    *seen = std::get_new_handler();
}

class RunApplicationTest : public testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        Win32Application::SetProcessValues(TestInstance(), nullptr, win32::SW_SHOW);
        m_previousHandler = std::set_new_handler(&RunApplicationTest::TestHandler);
    }
    void TearDown() override {
        EXPECT_EQ(std::get_new_handler(), &RunApplicationTest::TestHandler);
        std::set_new_handler(m_previousHandler);
        Win32Application::SetProcessValues(nullptr, nullptr, win32::SW_SHOW);
        DrainMessages();
    }

    // Stands for whatever handler the process had; RunApplication must put it back.
    static void TestHandler() { throw std::bad_alloc(); }

    int Run() { return RunApplication(m_arguments); }

    TestApplication m_systems;
    Vemo::BasicArray<Vemo::String> m_arguments;
    std::new_handler m_previousHandler = nullptr;
};

TEST(RunApplicationWithoutApplicationTest, GivesOne) {
    const std::new_handler before = std::get_new_handler();
    Vemo::BasicArray<Vemo::String> arguments;
    EXPECT_EQ(RunApplication(arguments), kExitNoApplication);
    EXPECT_EQ(std::get_new_handler(), before);
}

TEST_F(RunApplicationTest, ARunEndedByQuitGivesZero) {
    PumpApplication application;
    application.m_onStep = [](PumpApplication& self) { self.Quit(); };
    EXPECT_EQ(Run(), kExitSuccess);
    EXPECT_EQ(application.TakeLog(),
              (Log{"OnStartup", "CreateStateGraph", "OnStep", "StepStateGraph", "OnShutdown"}));
    EXPECT_TRUE(m_systems.TakeReports().empty());
}

TEST_F(RunApplicationTest, TheHandlerIsTheRunFunctionsOwnWhileItRuns) {
    PumpApplication application;
    std::new_handler seen = nullptr;
    application.m_onStep = [&seen](PumpApplication& self) {
        NoteNewHandler(&seen);
        self.Quit();
    };
    Run();
    EXPECT_NE(seen, nullptr);
    EXPECT_NE(seen, &RunApplicationTest::TestHandler);
}

TEST_F(RunApplicationTest, AFailedInitializeStillShutsDownAndGivesTwo) {
    PumpApplication application;
    application.m_failStartup = true;
    EXPECT_EQ(Run(), kExitFailure);
    EXPECT_EQ(application.TakeLog(), (Log{"OnStartup", "OnShutdown"}));
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Application::kErrorOnStartup}));
}

TEST_F(RunApplicationTest, ARunEndedByAFailingQuitMessageGivesTwo) {
    PumpApplication application;
    win32::PostQuitMessage(1);
    EXPECT_EQ(Run(), kExitFailure);
}

struct ExceptionCase {
    const char* name;
    void (*onStep)(PumpApplication&);
    int exitCode;
    Vemo::ErrorCode reported;
};

class RunApplicationExceptionTest : public RunApplicationTest,
                                    public testing::WithParamInterface<ExceptionCase> {};

TEST_P(RunApplicationExceptionTest, GivesItsExitCodeReportsAndShutsDown) {
    PumpApplication application;
    application.m_onStep = GetParam().onStep;
    EXPECT_EQ(Run(), GetParam().exitCode);
    EXPECT_EQ(application.TakeLog().back(), "OnShutdown");
    EXPECT_EQ(m_systems.TakeReports(), (Reports{GetParam().reported}));
}

TEST_P(RunApplicationExceptionTest, AFailingShutdownAfterItGivesTwo) {
    PumpApplication application;
    application.m_onStep = GetParam().onStep;
    application.m_failShutdown = true;
    EXPECT_EQ(Run(), kExitFailure);
}

TEST_P(RunApplicationExceptionTest, IsAlsoCaughtFromShutdownAndReplacesTheResult) {
    PumpApplication application;
    application.m_failStartup = true;
    application.m_onShutdown = GetParam().onStep;
    EXPECT_EQ(Run(), GetParam().exitCode);
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Application::kErrorOnStartup, GetParam().reported}));
}

TEST_P(RunApplicationExceptionTest, GivesItsExitCodeWithoutAnErrorSystemToReportTo) {
    m_systems.ShutdownErrorSystem();
    PumpApplication application;
    application.m_onStep = GetParam().onStep;
    EXPECT_EQ(Run(), GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunApplicationExceptionTest,
    testing::Values(
        ExceptionCase{"AllocationFailure", &FailAnAllocation, kExitAllocationFailure,
                      Application::kErrorAllocationFailure},
        // Only the handler's own failure is an allocation failure here.
        ExceptionCase{"OtherBadAlloc", &ThrowBadAllocOfOurOwn, kExitException, Application::kErrorException},
        ExceptionCase{"RangeException", &ThrowRangeException, kExitException, Application::kErrorException}),
    [](const testing::TestParamInfo<ExceptionCase>& info) { return std::string(info.param.name); });

TEST_F(RunApplicationTest, APendingAllocationFailureOfTheFrameStepGivesThree) {
    PumpApplication application;
    application.m_onStep = [](PumpApplication& self) { self.SetAllocationFailurePending(); };
    EXPECT_EQ(Run(), kExitException);
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Application::kErrorException}));
}

class WinMainTest : public RunApplicationTest {
protected:
    void TearDown() override {
        win32::seam::SetCommandLineText("");
        RunApplicationTest::TearDown();
    }
};

TEST_F(WinMainTest, TheApplicationGetsTheWholeCommandLineAsOneArgument) {
    win32::seam::SetCommandLineText("\"C:\\Titles\\Quorven.exe\"  -window \"a b\"");
    PumpApplication application;
    std::optional<int> showCommand;
    application.m_onStep = [&showCommand](PumpApplication& self) {
        showCommand = self.GetShowCommand();
        self.Quit();
    };
    char ignored[] = "ignored";
    const auto previous = reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x30000));
    EXPECT_EQ(WinMain(TestInstance(), previous, ignored, win32::SW_SHOWMINIMIZED), kExitSuccess);
    EXPECT_EQ(application.m_arguments,
              (std::vector<std::string>{"\"C:\\Titles\\Quorven.exe\"  -window \"a b\""}));
    EXPECT_EQ(showCommand, win32::SW_SHOWMINIMIZED);
    EXPECT_EQ(application.GetPreviousInstanceHandle(), previous);
    // Shutdown put the process values back.
    EXPECT_EQ(Win32Application::GetProcessInstanceHandle(), nullptr);
}

TEST_F(WinMainTest, AnEmptyCommandLineIsStillOneArgument) {
    win32::seam::SetCommandLineText("");
    PumpApplication application;
    application.m_onStep = [](PumpApplication& self) { self.Quit(); };
    char empty[] = "";
    EXPECT_EQ(WinMain(TestInstance(), nullptr, empty, win32::SW_SHOW), kExitSuccess);
    EXPECT_EQ(application.m_arguments, (std::vector<std::string>{""}));
}

TEST_F(WinMainTest, HostMainTakesTheWinMainRoadWithTheProgramsInstance) {
    PumpApplication application;
    win32::HINSTANCE instance = nullptr;
    int showCommand = 0;
    application.m_onStep = [&](PumpApplication& self) {
        instance = self.GetInstanceHandle();
        showCommand = self.GetShowCommand();
        self.Quit();
    };
    char program[] = "/opt/titles/quorven";
    char option[] = "-window";
    char spaced[] = "My Title";
    char* arguments[] = {program, option, spaced, nullptr};
    EXPECT_EQ(HostMain(3, arguments), kExitSuccess);
    EXPECT_EQ(application.m_arguments,
              (std::vector<std::string>{"/opt/titles/quorven -window \"My Title\""}));
    EXPECT_EQ(instance, win32::GetModuleHandleA(nullptr));
    EXPECT_NE(instance, nullptr);
    EXPECT_EQ(showCommand, win32::SW_SHOWDEFAULT);
}

TEST_F(WinMainTest, AFailingInitializeOnTheHostRoadGivesTwo) {
    PumpApplication application;
    application.m_failStartup = true;
    char program[] = "quorven";
    char* arguments[] = {program, nullptr};
    EXPECT_EQ(HostMain(1, arguments), kExitFailure);
    EXPECT_EQ(application.m_arguments, (std::vector<std::string>{"quorven"}));
}

} // namespace
