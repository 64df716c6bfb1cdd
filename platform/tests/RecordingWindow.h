// A window class for the window-system tests: its procedure records every message and lets a test answer any
// of them; what the test leaves goes to DefWindowProcA. One class is registered at a time.
#pragma once

#include "platform/testing/WindowTesting.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace win32::tests {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class RecordingWindowClass {
public:
    using Answer = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    static constexpr const char* kName = "Recording Window";

    explicit RecordingWindowClass(UINT style = 0, int extraBytes = 4) {
        s_current = this;
        WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.style = style;
        record.lpfnWndProc = &RecordingWindowClass::Procedure;
        record.cbWndExtra = extraBytes;
        record.hInstance = Instance();
        record.lpszClassName = kName;
        m_atom = RegisterClassExA(&record);
    }

    ~RecordingWindowClass() {
        for (HWND window : m_made) {
            if (testing::GetWindowState(window).exists) {
                DestroyWindow(window);
            }
        }
        UnregisterClassA(kName, Instance());
        s_current = nullptr;
    }

    RecordingWindowClass(const RecordingWindowClass&) = delete;
    RecordingWindowClass& operator=(const RecordingWindowClass&) = delete;

    static HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000)); }

    ATOM Atom() const { return m_atom; }

    HWND Create(DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, RECT rect = {100, 100, 500, 400},
                const char* title = "Recording", LPVOID param = nullptr) {
        HWND window = CreateWindowExA(0, kName, title, style, rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, parent, nullptr, Instance(), param);
        if (window != nullptr) {
            m_made.push_back(window);
        }
        return window;
    }

    // Answers the messages the function returns a value for; the others get the default processing.
    void SetAnswer(Answer answer) { m_answer = std::move(answer); }

    const std::vector<Received>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }

    // The messages one window received, in order (every window when window is null).
    std::vector<UINT> MessagesOf(HWND window = nullptr, bool includeNonClient = true) const {
        std::vector<UINT> messages;
        for (const Received& received : m_log) {
            if ((window == nullptr || received.window == window) &&
                (includeNonClient || (received.message != WM_NCCREATE && received.message != WM_NCDESTROY &&
                                      received.message != WM_GETMINMAXINFO))) {
                messages.push_back(received.message);
            }
        }
        return messages;
    }

    std::vector<Received> Only(UINT message) const {
        std::vector<Received> found;
        for (const Received& received : m_log) {
            if (received.message == message) {
                found.push_back(received);
            }
        }
        return found;
    }

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        RecordingWindowClass* self = s_current;
        if (self != nullptr) {
            self->m_log.push_back(Received{window, message, wParam, lParam});
            if (self->m_answer) {
                if (std::optional<LRESULT> answer = self->m_answer(window, message, wParam, lParam)) {
                    return *answer;
                }
            }
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static inline RecordingWindowClass* s_current = nullptr;

    ATOM m_atom = 0;
    Answer m_answer;
    std::vector<Received> m_log;
    std::vector<HWND> m_made;
};

// Every window-system test starts headless, with no key held and an empty queue, and leaves no window behind.
class WindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::LiveWindowCount(), 0U);
        testing::UseVideoBackend(testing::VideoBackendKind::Headless);
        testing::ReleaseAllInput();
        Drain();
    }

    void TearDown() override {
        Drain();
        testing::ReleaseAllInput();
        EXPECT_EQ(testing::LiveWindowCount(), 0U);
    }

    // Takes every waiting message without dispatching it (WM_QUIT included).
    static void Drain() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_PAINT) {
                DefWindowProcA(message.hwnd, WM_PAINT, 0, 0);
            }
        }
    }

    // Dispatches everything waiting, as a message loop would; returns how many messages were dispatched.
    static int Pump() {
        int count = 0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            ++count;
        }
        return count;
    }
};

} // namespace win32::tests
