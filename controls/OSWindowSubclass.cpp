#include "controls/OSWindowSubclass.h"

#include "foundation/BasicMap.h"
#include "platform/win32/WindowMessages.h"

namespace {

struct OSWinInfo {
    win32::WNDPROC previous = nullptr;
    OSWindowSubclass* subclass = nullptr;
};

using SubclassMap = Vemo::BasicMap<win32::HWND, OSWinInfo>;

SubclassMap& Subclassed() {
    static auto* const map = new SubclassMap;
    return *map;
}

} // namespace

OSWindowSubclass::~OSWindowSubclass() {
    Unsubclass();
}

bool OSWindowSubclass::HandleMessage(const win32::MSG&) {
    return false;
}

bool OSWindowSubclass::Subclass(win32::HWND window) {
    if (m_window != nullptr) {
        return m_window == window;
    }
    if (window == nullptr || !win32::IsWindow(window) || IsSubclassed(window)) {
        return false;
    }
    const auto previous = reinterpret_cast<win32::WNDPROC>(
        win32::SetWindowLongA(window, win32::GWL_WNDPROC, reinterpret_cast<win32::LONG_PTR>(&Procedure)));
    if (previous == nullptr) {
        return false;
    }
    Subclassed().Insert(window, OSWinInfo{previous, this});
    m_window = window;
    return true;
}

void OSWindowSubclass::Unsubclass() {
    if (m_window == nullptr) {
        return;
    }
    SubclassMap& map = Subclassed();
    const auto found = map.Find(m_window);
    if (found != map.End() && found->second.subclass == this) {
        win32::SetWindowLongA(m_window, win32::GWL_WNDPROC,
                              reinterpret_cast<win32::LONG_PTR>(found->second.previous));
        map.Erase(found);
    }
    m_window = nullptr;
}

bool OSWindowSubclass::IsSubclassed(win32::HWND window) {
    return Subclassed().Find(window) != Subclassed().End();
}

win32::MSG OSWindowSubclass::MakeMessage(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                         win32::LPARAM lParam) {
    const win32::DWORD position = win32::GetMessagePos();
    return win32::MSG{window,
                      message,
                      wParam,
                      lParam,
                      static_cast<win32::DWORD>(win32::GetMessageTime()),
                      win32::POINT{static_cast<win32::LONG>(win32::LOWORD(position)),
                                   static_cast<win32::LONG>(win32::HIWORD(position))}};
}

win32::LRESULT OSWindowSubclass::Procedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                           win32::LPARAM lParam) {
    SubclassMap& map = Subclassed();
    auto found = map.Find(window);
    if (found == map.End()) {
        return 0;
    }
    OSWinInfo info = found->second;
    if (info.subclass->HandleMessage(MakeMessage(window, message, wParam, lParam))) {
        return 0;
    }
    // The handler may have unsubclassed meanwhile: the procedure it replaced still gets the message.
    if (message == win32::WM_NCDESTROY) {
        found = map.Find(window);
        if (found != map.End()) {
            info = found->second;
            win32::SetWindowLongA(window, win32::GWL_WNDPROC,
                                  reinterpret_cast<win32::LONG_PTR>(info.previous));
            info.subclass->m_window = nullptr;
            map.Erase(found);
        }
    }
    return win32::CallWindowProcA(info.previous, window, message, wParam, lParam);
}
