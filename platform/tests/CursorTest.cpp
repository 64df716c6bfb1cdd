#include "platform/testing/CursorTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/ModuleResources.h"
#include "platform/win32/windows/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace win32::tests {
namespace {

// The start-up's blank cursor: planes of width times height bytes, AND all set, XOR all clear.
HCURSOR MakeBlankCursor() {
    const int width = GetSystemMetrics(SM_CXCURSOR);
    const int height = GetSystemMetrics(SM_CYCURSOR);
    std::vector<BYTE> andPlane(static_cast<std::size_t>(width * height), 0xFF);
    std::vector<BYTE> xorPlane(static_cast<std::size_t>(width * height), 0x00);
    return CreateCursor(GetModuleHandleA(nullptr), 0, 0, width, height, andPlane.data(), xorPlane.data());
}

// A class of the program's module with the cursor, and its windows.
class CursorClass {
public:
    CursorClass(const char* name, HCURSOR cursor) : m_name(name) {
        WNDCLASSEXA record{};
        record.cbSize = sizeof record;
        record.style = CS_HREDRAW | CS_VREDRAW;
        record.lpfnWndProc = DefWindowProcA;
        record.hInstance = GetModuleHandleA(nullptr);
        record.hCursor = cursor;
        record.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        record.hIcon = LoadIconA(GetModuleHandleA(nullptr), IDI_APPLICATION);
        record.lpszClassName = name;
        EXPECT_NE(RegisterClassExA(&record), 0);
    }
    ~CursorClass() {
        for (HWND window : m_windows) {
            DestroyWindow(window);
        }
        UnregisterClassA(m_name, GetModuleHandleA(nullptr));
    }

    HWND Create(DWORD style, HWND parent, RECT rect) {
        HWND window =
            CreateWindowExA(0, m_name, "Cursor", style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        m_windows.insert(m_windows.begin(), window);
        return window;
    }

private:
    const char* m_name;
    std::vector<HWND> m_windows;
};

using CursorTest = WindowSystemTest;

TEST_F(CursorTest, TheSystemCursorSizeIsTheOneMetricKnown) {
    EXPECT_EQ(GetSystemMetrics(SM_CXCURSOR), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
    EXPECT_EQ(GetSystemMetrics(0), 0);
}

TEST_F(CursorTest, ABlankClassCursorHidesThePointerOverItsWindowsOnly) {
    const HCURSOR blank = MakeBlankCursor();
    ASSERT_NE(blank, nullptr);
    const BYTE arrowAnd[4 * 2] = {0x7F, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFF};
    const BYTE arrowXor[4 * 2] = {0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00};
    const HCURSOR arrow = CreateCursor(nullptr, 0, 0, 20, 2, arrowAnd, arrowXor);
    ASSERT_NE(arrow, nullptr);
    {
        CursorClass hidden("Blank Cursor Class", blank);
        CursorClass shown("Arrow Cursor Class", arrow);
        HWND main = hidden.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
        ASSERT_NE(shown.Create(WS_CHILD | WS_VISIBLE, main, {100, 100, 200, 200}), nullptr);
        HWND other = shown.Create(WS_POPUP | WS_VISIBLE, nullptr, {700, 0, 900, 200});
        EXPECT_FALSE(testing::PointerHidden());
        testing::MoveMouse(main, 10, 10);
        EXPECT_TRUE(testing::PointerHidden());
        testing::MoveMouse(main, 150, 150);
        EXPECT_FALSE(testing::PointerHidden()) << "over the child, the child's class cursor counts";
        testing::MoveMouse(main, 20, 300);
        EXPECT_TRUE(testing::PointerHidden());
        testing::MoveMouse(other, 5, 5);
        EXPECT_FALSE(testing::PointerHidden());
        Drain();
    }
    EXPECT_TRUE(DestroyCursor(blank));
    EXPECT_FALSE(DestroyCursor(blank));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    EXPECT_TRUE(DestroyCursor(arrow));
}

TEST_F(CursorTest, OnlyTheBitsOfThePictureCount) {
    // 20 pixels a row take two 16-bit words; the last 12 bits of each row are padding.
    const BYTE andPlane[4] = {0xFF, 0xFF, 0xF0, 0x0F};
    const BYTE xorPlane[4] = {0x00, 0x00, 0x0F, 0xF0};
    const HCURSOR padded = CreateCursor(nullptr, 0, 0, 20, 1, andPlane, xorPlane);
    CursorClass windows("Padded Cursor Class", padded);
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    testing::MoveMouse(window, 1, 1);
    EXPECT_TRUE(testing::PointerHidden());
    Drain();
    DestroyCursor(padded);

    const BYTE plane[2] = {};
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 0, 1, plane, plane), nullptr);
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 8, 1, nullptr, plane), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(CursorTest, UnderSdlTheHostPointerIsHidden) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_TRUE(testing::UseVideoBackend(testing::VideoBackendKind::Sdl)) << SDL_GetError();
    const HCURSOR blank = MakeBlankCursor();
    {
        CursorClass hidden("Blank Sdl Cursor Class", blank);
        HWND main = hidden.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {100, 100, 420, 340});
        ASSERT_TRUE(testing::PushSdlMouseMotion(main, 30, 30));
        Drain();
        EXPECT_TRUE(testing::PointerHidden());
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    }
    DestroyCursor(blank);
    testing::UseVideoBackend(testing::VideoBackendKind::Headless);
    EXPECT_FALSE(testing::PointerHidden());
}

TEST(IconTest, TheProgramHasTheApplicationIcon) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), IDI_APPLICATION);
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), IDI_APPLICATION), icon);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), nullptr) << "the system's icons are not there";
}

TEST(StockObjectTest, TheBlackBrushPaintsBlackAndOutlivesDeleteObject) {
    const HGDIOBJ black = GetStockObject(BLACK_BRUSH);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), black);
    EXPECT_EQ(GetStockObject(1), nullptr);
    EXPECT_TRUE(DeleteObject(black));

    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, -1, 1, 32, 0, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, 0, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    static_cast<std::uint32_t*>(bits)[0] = 0xFFFFFF;
    static_cast<std::uint32_t*>(bits)[1] = 0xFFFFFF;
    SelectObject(dc, bitmap);
    const RECT left{0, 0, 1, 1};
    EXPECT_NE(FillRect(dc, &left, static_cast<HBRUSH>(black)), 0);
    EXPECT_EQ(static_cast<std::uint32_t*>(bits)[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(static_cast<std::uint32_t*>(bits)[1] & 0xFFFFFF, 0xFFFFFFu);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

} // namespace
} // namespace win32::tests
