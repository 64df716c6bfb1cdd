// The busy cursor: while the main thread is busy and draws no frames, the viewport's busy thread animates the
// title's cursor on the screen. On the host's clock, in real time; the presented pictures are read back.
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/screen/Cursor.h"
#include "runtime/screen/MessengerViewportBusyTask.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

namespace {

class BusyCursorTest : public PictureTest::Fixture {
protected:
    bool UsesFakeClock() const override { return false; }

    void SetUp() override {
        PictureTest::Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        m_viewport = MakeCursorViewport();
        ASSERT_NE(m_viewport, nullptr);
        m_cursor = m_viewport->GetCursor();
        ASSERT_NE(m_cursor, nullptr);
    }

    // The cell the window shows at the point, "-" for none; under SDL2 once the window has been looked at.
    std::string Shown(int x, int y) {
        if (UsesSdl()) {
            Pump();
        }
        return ShownCell(*m_viewport, x, y);
    }

    // The pointer at (20, 30) of the client area, the cursor showing there.
    void PointAt() {
        win32::testing::MoveMouse(WindowOf(*m_viewport), 20, 30);
        Pump();
        m_viewport->ProcessEvents();
        m_cursor->SetState(Cursor::kPointer);
        m_viewport->DrawFrame(true);
    }

    MessengerViewport* m_viewport = nullptr;
    Cursor* m_cursor = nullptr;
};

TEST_F(BusyCursorTest, TheBusyAnimationRunsOnScreenWhileTheMainThreadDrawsNothing) {
    PointAt();
    m_viewport->SetBusy(true);
    EXPECT_EQ(m_cursor->GetState(), Cursor::kCount);
    ASSERT_NE(m_viewport->GetBusyTask(), nullptr);
    // The cell under the pointer's hot spot, as the busy thread presents it, for up to five seconds.
    std::set<std::string> cells;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (cells.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        const std::string cell = Shown(16, 27);
        if (cell.size() > 2 && cell.substr(cell.size() - 2) == ",5") {
            cells.insert(cell);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(cells.size(), 4u);
    m_viewport->SetBusy(false);
    EXPECT_EQ(m_viewport->GetBusyTask(), nullptr);
    EXPECT_EQ(m_viewport->GetBusyCount(), 0u);
}

TEST_F(BusyCursorTest, NestedBusyPeriodsStopTheThreadAtTheOutermostEnd) {
    PointAt();
    m_viewport->SetBusy(true);
    MessengerViewport::BusyTask* task = m_viewport->GetBusyTask();
    ASSERT_NE(task, nullptr);
    m_viewport->SetBusy(true);
    EXPECT_EQ(m_viewport->GetBusyTask(), task);
    m_viewport->SetBusy(false);
    EXPECT_EQ(m_viewport->GetBusyTask(), task);
    EXPECT_TRUE(task->IsStarted());
    m_viewport->SetBusy(false);
    EXPECT_EQ(m_viewport->GetBusyTask(), nullptr);
    m_viewport->SetBusy(false);
    EXPECT_EQ(m_viewport->GetBusyCount(), 0u);
}

// The thread is stopped as soon as it was started, before it has run at all: it must neither be lost nor
// keep the stopper waiting.
TEST_F(BusyCursorTest, ABusyPeriodEndedAtOnceStopsTheThreadEveryTime) {
    PointAt();
    for (int i = 0; i < 200; ++i) {
        m_viewport->SetBusy(true);
        ASSERT_NE(m_viewport->GetBusyTask(), nullptr) << i;
        m_viewport->SetBusy(false);
        ASSERT_EQ(m_viewport->GetBusyTask(), nullptr) << i;
        m_cursor->SetState(Cursor::kPointer);
    }
}

TEST_F(BusyCursorTest, AViewportDestroyedWhileBusyStopsItsThread) {
    PointAt();
    m_viewport->SetBusy(true);
    ASSERT_NE(m_viewport->GetBusyTask(), nullptr);
    m_title->ForgetViewport(m_viewport);
    delete m_viewport;
    m_viewport = nullptr;
}

TEST_F(BusyCursorTest, AHiddenCursorCountsTheBusyPeriodWithoutAThread) {
    m_viewport->SetBusy(true);
    EXPECT_EQ(m_viewport->GetBusyCount(), 1u);
    EXPECT_EQ(m_viewport->GetBusyTask(), nullptr);
    EXPECT_EQ(m_cursor->GetState(), Cursor::kNone);
    m_viewport->SetBusy(false);
    EXPECT_EQ(m_viewport->GetBusyCount(), 0u);
}

class BusyCursorSdlTest : public BusyCursorTest {
protected:
    bool UsesSdl() const override { return true; }
};

TEST_F(BusyCursorSdlTest, TheBusyAnimationReachesTheWindow) {
    PointAt();
    m_viewport->SetBusy(true);
    std::set<std::string> cells;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (cells.size() < 3 && std::chrono::steady_clock::now() < deadline) {
        const std::string cell = Shown(16, 27);
        if (cell.size() > 2 && cell.substr(cell.size() - 2) == ",5") {
            cells.insert(cell);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_viewport->SetBusy(false);
    EXPECT_GE(cells.size(), 3u);
}

} // namespace
