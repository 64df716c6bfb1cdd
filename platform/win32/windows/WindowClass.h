// A registered window class, as the window system keeps it. Internal to the platform layer.
#pragma once

#include "platform/win32/windows/Window.h"

#include <string>

namespace win32 {

class WindowClass {
public:
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    // Pointer-sized slots of each window's extra area: one per 4 declared bytes.
    int extraSlots = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
    bool hasMenuName = false;
    // Live windows of the class; a class with windows cannot be unregistered.
    int windowCount = 0;
};

} // namespace win32
