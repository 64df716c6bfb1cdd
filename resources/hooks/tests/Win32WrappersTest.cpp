#include "resources/hooks/Win32Wrappers.h"

#include "platform/testing/CodePage.h"
#include "platform/testing/Drives.h"
#include "platform/testing/Registry.h"
#include "platform/testing/StringTables.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/Synchronization.h"

#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace Vemo;

const win32::HINSTANCE kInstance =
    reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

class Win32WrappersTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = win32::DefWindowProcA;
        record.cbWndExtra = 4;
        record.hInstance = kInstance;
        record.lpszClassName = "Wrapper Test";
        ASSERT_NE(Win32RegisterClassEx(&record), 0);
    }

    void TearDown() override { EXPECT_TRUE(win32::UnregisterClassA("Wrapper Test", kInstance)); }
};

TEST_F(Win32WrappersTest, WindowCallsTakeStrings) {
    // The style comes first, then the extended style.
    win32::HWND window = Win32CreateWindowEx(win32::WS_POPUP, win32::WS_EX_TOPMOST, "Wrapper Test", String(),
                                             0, 0, 100, 100, nullptr, nullptr, kInstance, nullptr);
    ASSERT_NE(window, nullptr);
    win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.style, win32::WS_POPUP);
    EXPECT_EQ(state.exStyle, win32::WS_EX_TOPMOST);
    EXPECT_EQ(state.text, "");

    EXPECT_TRUE(Win32SetWindowText(window, "Quorven"));
    EXPECT_EQ(Win32FindWindow("wrapper test", "QUORVEN"), window);
    EXPECT_TRUE(Win32SetWindowText(window, String()));
    EXPECT_EQ(win32::testing::GetWindowState(window).text, "");

    EXPECT_EQ(Win32SetWindowLong(window, 0, 42), 0);
    EXPECT_EQ(Win32GetWindowLong(window, 0), 42);
    EXPECT_TRUE(win32::DestroyWindow(window));
}

TEST_F(Win32WrappersTest, AFailedGetMessageIsNoMessage) {
    win32::HWND window = Win32CreateWindowEx(win32::WS_POPUP, 0, "Wrapper Test", "", 0, 0, 10, 10, nullptr,
                                             nullptr, kInstance, nullptr);
    ASSERT_TRUE(win32::DestroyWindow(window));
    win32::MSG message{};
    // GetMessageA answers -1 for a filter window that does not exist.
    EXPECT_FALSE(Win32GetMessage(&message, window, 0, 0));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_WINDOW_HANDLE);

    win32::PostMessageA(nullptr, win32::WM_USER, 1, 2);
    EXPECT_TRUE(Win32PeekMessage(&message, nullptr, 0, 0, win32::PM_NOREMOVE));
    EXPECT_TRUE(Win32GetMessage(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<win32::UINT>(win32::WM_USER));
    EXPECT_EQ(Win32DispatchMessage(&message), 0) << "a thread message has no window procedure";
    win32::PostQuitMessage(0);
    EXPECT_FALSE(Win32GetMessage(&message, nullptr, 0, 0));
}

TEST(Win32RegistryWrappersTest, NamesAreStringsAndTheReservedArgumentsAreLeftOut) {
    win32::testing::TemporaryRegistry store;
    ASSERT_TRUE(store.SetStrings(win32::HKEY_LOCAL_MACHINE, "Software\\Vemo", {{"GamePath", "C:\\Game"}}));
    win32::HKEY key = nullptr;
    ASSERT_EQ(Win32RegOpenKeyEx(win32::HKEY_LOCAL_MACHINE, "software\\vemo", win32::KEY_ALL_ACCESS, &key),
              win32::LSTATUS{0});
    win32::DWORD type = 0;
    win32::DWORD size = 0;
    ASSERT_EQ(Win32RegQueryValueEx(key, "GAMEPATH", &type, nullptr, &size), win32::LSTATUS{0});
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, win32::REG_SZ);

    // An empty String names the unnamed value.
    const win32::BYTE dword[4] = {1, 0, 0, 0};
    ASSERT_EQ(Win32RegSetValueEx(key, String(), win32::REG_DWORD, dword, 4), win32::LSTATUS{0});
    win32::BYTE read[4] = {};
    size = sizeof read;
    ASSERT_EQ(Win32RegQueryValueEx(key, "", &type, read, &size), win32::LSTATUS{0});
    EXPECT_EQ(type, win32::REG_DWORD);
    EXPECT_EQ(read[0], 1);
    EXPECT_EQ(Win32RegOpenKeyEx(key, "Missing", win32::KEY_READ, &key), win32::LSTATUS{2});
    win32::RegCloseKey(key);
}

TEST(Win32LoadStringTest, TextsOfAnyLengthComeBackWhole) {
    const std::string longText(3000, 'x');
    win32::testing::StringTable table(nullptr, {{1, "Quorven"}, {2, longText}});
    const win32::HINSTANCE program = win32::GetModuleHandleA(nullptr);
    String out = "unchanged";
    EXPECT_EQ(Win32LoadString(program, 1, out), 7);
    EXPECT_STREQ(out.CStr(), "Quorven");
    EXPECT_EQ(Win32LoadString(program, 2, out), 3000);
    EXPECT_EQ(std::string(out.CStr()), longText);
    out = "unchanged";
    EXPECT_EQ(Win32LoadString(program, 3, out), 0);
    EXPECT_STREQ(out.CStr(), "unchanged");
}

TEST(Win32LoadStringTest, ADoubleByteCharacterAtTheBufferEndIsNotLost) {
    win32::testing::ScopedCodePage japanese(932);
    // 1022 single bytes, then a two-byte character that a 1024-byte buffer cannot hold with the NUL.
    const std::string text = std::string(1022, 'a') + "\x82\xA0";
    win32::testing::StringTable table(nullptr, {{7, text}});
    String out;
    EXPECT_EQ(Win32LoadString(nullptr, 7, out), 1024);
    EXPECT_EQ(std::string(out.CStr()), text);
}

TEST(Win32MutexWrapperTest, TheNameIsAString) {
    // Named mutexes reach across processes: the name is this run's own.
    const String name = ("Wrapper Test Mutex " + std::to_string(std::random_device()())).c_str();
    win32::HANDLE first = Win32CreateMutex(nullptr, true, name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    win32::HANDLE second = Win32CreateMutex(nullptr, true, name);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_ALREADY_EXISTS);
    win32::HANDLE unnamed = Win32CreateMutex(nullptr, false, String());
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    for (win32::HANDLE mutex : {first, second, unnamed}) {
        win32::CloseHandle(mutex);
    }
}

TEST(Win32LongPathWrapperTest, ReadsThePathInTwoSteps) {
    win32::testing::TemporaryDrives drives{win32::testing::TemporaryDrive('C')};
    std::ofstream(drives.HostPath('C', "Long File Name.txt")) << "x";
    String out = "unchanged";
    EXPECT_EQ(Win32GetLongPathName("C:\\long file name.txt", out), 21u);
    EXPECT_STREQ(out.CStr(), "C:\\long file name.txt");
    out = "unchanged";
    EXPECT_EQ(Win32GetLongPathName("C:\\missing.txt", out), 0u);
    EXPECT_STREQ(out.CStr(), "unchanged");
}

} // namespace
