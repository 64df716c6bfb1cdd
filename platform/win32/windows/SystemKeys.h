// What the default window procedure does with the keys that reach it: Alt pressed and released with no other
// key between asks for the window menu (WM_SYSCOMMAND with SC_KEYMENU), and a request for the window menu
// that reaches the default processing would open it. No window menu exists here: such requests are only
// counted, for the testing API. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <cstddef>

namespace win32 {

// DefWindowProcA for WM_KEYDOWN, WM_SYSKEYDOWN and WM_SYSKEYUP; the thread's windows share one Alt state.
LRESULT DefaultKeyProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// DefWindowProcA for WM_SYSCOMMAND with SC_KEYMENU.
void OpenWindowMenu(HWND window);
// How many requests for the window menu reached the default processing, in the whole process.
std::size_t WindowMenuRequests();

} // namespace win32
