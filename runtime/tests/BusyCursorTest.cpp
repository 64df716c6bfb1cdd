// The busy cursor: while the main thread is busy and draws no frames, the viewport's busy thread animates the
// title's cursor on the screen. On the host's clock, in real time; the presented pictures are read back.
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/Cursor.h"
#include "runtime/MessengerViewportBusyTask.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

namespace {

constexpr const char* kViewport = "[Viewport]\nClass=Viewport\nSize=64, 48\nDepth=32\nCursor=cursor.bmp\n";

class BusyCursorTest : public PictureTest::Fixture {
protected:
    bool UsesFakeClock() const override { return false; }

    void SetUp() override {
        PictureTest::Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        WriteFile("cursor.bmp", PictureTest::Bmp(PictureTest::CellGrid(24, 8, Cursor::kCellSize)));
        m_viewport = MakeViewport(kViewport);
        ASSERT_NE(m_viewport, nullptr);
        m_cursor = m_viewport->GetCursor();
        ASSERT_NE(m_cursor, nullptr);
    }

    // The row of the cell the presented picture shows at the point, and its column; -1 for none.
    std::pair<int, int> ShownCell(int x, int y) {
        if (UsesSdl()) {
            Pump();
        }
        const auto frame = ddraw::testing::ReadFrame(WindowOf(*m_viewport));
        if (!frame || x >= frame->width || y >= frame->height) {
            return {-1, -1};
        }
        for (std::uint32_t row = 0; row < 8; ++row) {
            for (std::uint32_t column = 0; column < 24; ++column) {
                if (PictureTest::FramePixel(PictureTest::CellColor(column, row)) == frame->At(x, y)) {
                    return {static_cast<int>(row), static_cast<int>(column)};
                }
            }
        }
        return {-1, -1};
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
    std::set<int> columns;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (columns.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        const auto [row, column] = ShownCell(16, 27);
        if (row == 5) {
            columns.insert(column);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(columns.size(), 4u);
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
    delete m_viewport;
    m_title->UseViewport(nullptr);
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
    std::set<int> columns;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (columns.size() < 3 && std::chrono::steady_clock::now() < deadline) {
        const auto [row, column] = ShownCell(16, 27);
        if (row == 5) {
            columns.insert(column);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_viewport->SetBusy(false);
    EXPECT_GE(columns.size(), 3u);
}

} // namespace
