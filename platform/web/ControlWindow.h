// The child window an embedded web control (the browser, the Flash player) shows its view in, made and placed
// where its host puts the control in the parent's client area.
#pragma once

#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"

namespace web {

// A visible child of parent of the window class, covering the place; null when it cannot be made.
inline win32::HWND CreateControlWindow(const char* windowClass, win32::HWND parent, const win32::RECT& place) {
    return win32::CreateWindowExA(0, windowClass, "", win32::WS_CHILD | win32::WS_VISIBLE, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent, nullptr,
                                  win32::GetModuleHandleA(nullptr), nullptr);
}

// Moves the window to the place its host now gives; without a window or a place, nothing.
inline void PlaceControlWindow(win32::HWND window, const win32::RECT* place) {
    if (window != nullptr && place != nullptr) {
        win32::MoveWindow(window, place->left, place->top, place->right - place->left, place->bottom - place->top,
                          win32::TRUE);
    }
}

} // namespace web
