#include "platform/testing/Clock.h"
#include "platform/tests/DirectDrawFixture.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <thread>

namespace ddraw::tests {
namespace {

// Headless, the display refreshes at 60 Hz of the platform clock: blanks start at 0, 17, 34, 50, 67, 84, 100
// ms and last a millisecond.
class VerticalBlankTest : public DirectDrawTest {
protected:
    bool InBlank() {
        BOOL inBlank = win32::FALSE;
        EXPECT_EQ(directDraw->GetVerticalBlankStatus(&inBlank), DD_OK);
        return inBlank != win32::FALSE;
    }

    platform::testing::FakeClock clock{0};
};

TEST_F(VerticalBlankTest, TheBlankLastsTheFirstMillisecondOfEachSixtiethOfASecond) {
    EXPECT_TRUE(InBlank());
    clock.Advance(1);
    EXPECT_FALSE(InBlank());
    clock.Advance(15);
    EXPECT_FALSE(InBlank());
    clock.Advance(1);
    EXPECT_TRUE(InBlank());
    clock.Advance(33);
    EXPECT_TRUE(InBlank()) << "the third blank starts at 50 ms exactly";
}

TEST_F(VerticalBlankTest, WaitingForTheBlankMovesTheFakeClockToItsStartOrItsEnd) {
    const DWORD starts[] = {17, 34, 50, 67};
    for (DWORD start : starts) {
        ASSERT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
        EXPECT_EQ(win32::timeGetTime(), start);
        EXPECT_TRUE(InBlank());
    }
    ASSERT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKEND, nullptr), DD_OK);
    EXPECT_EQ(win32::timeGetTime(), 68U) << "the end of the blank the display is in";
    ASSERT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKEND, nullptr), DD_OK);
    EXPECT_EQ(win32::timeGetTime(), 85U) << "the end of the next one";
    EXPECT_FALSE(InBlank());
}

TEST_F(VerticalBlankTest, OnAThreadThatDoesNotDriveTheClockAWaitEndsAtOnce) {
    clock.Advance(5);
    std::thread other(
        [this] { EXPECT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK); });
    other.join();
    EXPECT_EQ(win32::timeGetTime(), 5U);
}

TEST_F(VerticalBlankTest, AWaitAsksForOneOfTheTwoEdgesAndNoEvent) {
    EXPECT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGINEVENT, nullptr), DDERR_UNSUPPORTED);
    EXPECT_EQ(directDraw->WaitForVerticalBlank(0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, reinterpret_cast<HANDLE>(directDraw)),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->GetVerticalBlankStatus(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(win32::timeGetTime(), 0U);
}

TEST_F(VerticalBlankTest, AFlipWaitsForTheBlankUnlessToldNotTo) {
    win32::tests::RecordingWindowClass windows;
    HWND window = windows.Create(win32::WS_POPUP | win32::WS_VISIBLE, nullptr, {0, 0, 640, 480});
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    IDirectDrawSurface4* front = Make(PrimaryDescription(1));
    clock.Advance(3);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(win32::timeGetTime(), 3U);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(win32::timeGetTime(), 17U);
    for (IDirectDrawSurface4* surface : surfaces) {
        surface->Release();
    }
    surfaces.clear();
    directDraw->Release();
    directDraw = nullptr;
}

} // namespace
} // namespace ddraw::tests
