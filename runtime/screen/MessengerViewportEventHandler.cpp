#include "runtime/screen/MessengerViewportEventHandler.h"

#include "engines/graphics/win32/Win32Window.h"
#include "platform/win32/input/KeyTable.h"
#include "platform/win32/kernel/Power.h"
#include "platform/win32/windows/Window.h"
#include "runtime/ApplicationServices.h"
#include "runtime/screen/MessengerViewport.h"

namespace {

using Event = MessengerViewport::Event;

constexpr unsigned kButtonCount = 3;
// Where the controls see a pointer that has left the client area, and a release whose press lost the capture.
constexpr std::int32_t kFarOutside = -10000;
constexpr std::int32_t kNowhere = -1;

bool IsRepeat(win32::LPARAM keyData) {
    return (keyData & win32::KF_REPEAT_BIT) != 0;
}

Event MouseEvent(unsigned button, win32::LPARAM position, bool down, bool doubleClick) {
    Event event;
    event.kind = Event::kMouseButton;
    event.x = win32::GET_X_LPARAM(position);
    event.y = win32::GET_Y_LPARAM(position);
    event.button = button;
    event.down = down ? 1 : 0;
    event.repeat = doubleClick ? 1 : 0;
    return event;
}

// The power broadcast events the controls hear, by their code; -1 for the others.
int PowerCode(win32::WPARAM event) {
    switch (event) {
    case win32::PBT_APMQUERYSUSPEND:
        return 0;
    case win32::PBT_APMQUERYSUSPENDFAILED:
        return 1;
    case win32::PBT_APMSUSPEND:
        return 2;
    case win32::PBT_APMRESUMECRITICAL:
    case win32::PBT_APMRESUMESUSPEND:
    case win32::PBT_APMRESUMEAUTOMATIC:
        return 3;
    case win32::PBT_APMPOWERSTATUSCHANGE:
        return 4;
    case win32::PBT_APMOEMEVENT:
        return 5;
    default:
        return -1;
    }
}

} // namespace

MessengerViewportEventHandler::MessengerViewportEventHandler(MessengerViewport* viewport)
    : m_viewport(viewport) {}

win32::HWND MessengerViewportEventHandler::Window() const {
    return GetWindow() != nullptr ? GetWindow()->GetWindowHandle() : nullptr;
}

void MessengerViewportEventHandler::OnActivate(win32::UINT state, bool, win32::HWND) {
    if (state != win32::WA_INACTIVE) {
        m_viewport->Invalidate(nullptr);
    }
}

void MessengerViewportEventHandler::OnActivateApp(bool active, win32::DWORD) {
    EnableApplicationInput(active);
}

void MessengerViewportEventHandler::EnableApplicationInput(bool active) {
    if (ApplicationServices* application = ApplicationServices::Current()) {
        application->EnableInput(active);
    }
}

// --- Keys ------------------------------------------------------------------------------------------------

void MessengerViewportEventHandler::QueueKey(win32::WPARAM virtualKey, bool down, bool repeat) {
    const win32::BYTE scanCode = win32::ScanCodeOfVirtualKey(virtualKey);
    if (scanCode == 0) {
        return;
    }
    Event event;
    event.kind = Event::kKey;
    event.scanCode = scanCode;
    event.down = down ? 1 : 0;
    event.repeat = repeat ? 1 : 0;
    m_viewport->QueueEvent(event);
}

void MessengerViewportEventHandler::QueueCharacter(win32::WPARAM character, win32::LPARAM keyData) {
    Event event;
    event.kind = Event::kCharacter;
    event.character = static_cast<std::uint8_t>(character);
    event.repeat = IsRepeat(keyData) ? 1 : 0;
    m_viewport->QueueEvent(event);
}

void MessengerViewportEventHandler::OnChar(win32::WPARAM character, win32::LPARAM keyData) {
    QueueCharacter(character, keyData);
}

void MessengerViewportEventHandler::OnKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData) {
    QueueKey(virtualKey, true, IsRepeat(keyData));
}

void MessengerViewportEventHandler::OnKeyUp(win32::WPARAM virtualKey, win32::LPARAM) {
    QueueKey(virtualKey, false, false);
}

void MessengerViewportEventHandler::OnSysKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData) {
    QueueKey(virtualKey, true, IsRepeat(keyData));
}

void MessengerViewportEventHandler::OnSysKeyUp(win32::WPARAM virtualKey, win32::LPARAM) {
    QueueKey(virtualKey, false, false);
}

bool MessengerViewportEventHandler::OnSysCommand(win32::WPARAM command, int, int) {
    return command == win32::SC_KEYMENU;
}

// --- Power -----------------------------------------------------------------------------------------------

bool MessengerViewportEventHandler::OnPower(win32::WPARAM event) {
    switch (event) {
    case win32::PWR_SUSPENDREQUEST:
        return m_viewport->PowerEvent(0);
    case win32::PWR_CRITICALRESUME:
    case win32::PWR_SUSPENDRESUME:
        m_viewport->PowerEvent(3);
        return true;
    default:
        return true;
    }
}

bool MessengerViewportEventHandler::OnPowerBroadcast(win32::WPARAM event, win32::LPARAM) {
    const int code = PowerCode(event);
    return code < 0 || m_viewport->PowerEvent(static_cast<unsigned>(code));
}

// --- The mouse, the capture and the focus ----------------------------------------------------------------

void MessengerViewportEventHandler::OnOtherMessage(win32::HWND, win32::UINT message, win32::WPARAM first,
                                                   win32::LPARAM second) {
    switch (message) {
    case win32::WM_SYSCHAR:
        QueueCharacter(first, second);
        break;
    case win32::WM_MOUSEMOVE: {
        Event event;
        event.kind = Event::kMouseMove;
        event.x = win32::GET_X_LPARAM(second);
        event.y = win32::GET_Y_LPARAM(second);
        m_viewport->QueueEvent(event);
        break;
    }
    case win32::WM_LBUTTONDOWN:
    case win32::WM_LBUTTONDBLCLK:
        PressButton(0, second, message == win32::WM_LBUTTONDBLCLK);
        break;
    case win32::WM_RBUTTONDOWN:
    case win32::WM_RBUTTONDBLCLK:
        PressButton(1, second, message == win32::WM_RBUTTONDBLCLK);
        break;
    case win32::WM_MBUTTONDOWN:
    case win32::WM_MBUTTONDBLCLK:
        PressButton(2, second, message == win32::WM_MBUTTONDBLCLK);
        break;
    case win32::WM_LBUTTONUP:
        ReleaseButton(0, second);
        break;
    case win32::WM_RBUTTONUP:
        ReleaseButton(1, second);
        break;
    case win32::WM_MBUTTONUP:
        ReleaseButton(2, second);
        break;
    case win32::WM_CAPTURECHANGED:
        OnCaptureLost();
        break;
    case win32::WM_SETFOCUS: {
        Event event;
        event.kind = Event::kFocus;
        m_viewport->QueueEvent(event);
        break;
    }
    case win32::WM_KILLFOCUS:
        OnFocusLost(reinterpret_cast<win32::HWND>(first));
        break;
    default:
        break;
    }
}

void MessengerViewportEventHandler::PressButton(unsigned button, win32::LPARAM position, bool doubleClick) {
    if (m_heldButtons == 0) {
        win32::SetCapture(Window());
    }
    m_heldButtons |= 1U << button;
    m_viewport->QueueEvent(MouseEvent(button, position, true, doubleClick));
}

void MessengerViewportEventHandler::ReleaseButton(unsigned button, win32::LPARAM position) {
    const std::uint32_t held = m_heldButtons;
    m_heldButtons &= ~(1U << button);
    if (held != 0 && m_heldButtons == 0) {
        win32::ReleaseCapture();
    }
    m_viewport->QueueEvent(MouseEvent(button, position, false, false));
}

void MessengerViewportEventHandler::OnCaptureLost() {
    if (m_heldButtons == 0) {
        return;
    }
    const win32::LPARAM nowhere =
        win32::MAKELPARAM(static_cast<win32::WORD>(kNowhere), static_cast<win32::WORD>(kNowhere));
    for (unsigned button = 0; button < kButtonCount; ++button) {
        if ((m_heldButtons & (1U << button)) != 0) {
            m_viewport->QueueEvent(MouseEvent(button, nowhere, false, false));
        }
    }
    m_heldButtons = 0;
}

bool MessengerViewportEventHandler::IsInViewportWindow(win32::HWND window) const {
    const win32::HWND viewport = Window();
    for (win32::HWND at = window; at != nullptr; at = win32::GetParent(at)) {
        if (at == viewport) {
            return true;
        }
    }
    return false;
}

void MessengerViewportEventHandler::OnFocusLost(win32::HWND gaining) {
    // A window of the viewport's own (a hosted player) takes the keyboard: the title keeps the focus.
    if (gaining != nullptr && IsInViewportWindow(gaining)) {
        return;
    }
    Event event;
    event.kind = Event::kFocus;
    event.lost = 1;
    m_viewport->QueueEvent(event);
}

// --- The pointer and the client area ---------------------------------------------------------------------

bool MessengerViewportEventHandler::ReadPointer(win32::POINT& local, bool overWindowOnly) const {
    const win32::HWND window = Window();
    win32::POINT pointer{};
    if (window == nullptr || !win32::GetCursorPos(&pointer) ||
        (overWindowOnly && win32::WindowFromPoint(pointer) != window)) {
        return false;
    }
    win32::RECT outer{};
    win32::RECT frame{0, 0, 0, 0};
    win32::GetWindowRect(window, &outer);
    win32::AdjustWindowRect(
        &frame, static_cast<win32::DWORD>(win32::GetWindowLongA(window, win32::GWL_STYLE)), win32::FALSE);
    local = win32::POINT{pointer.x - outer.left + frame.left, pointer.y - outer.top + frame.top};
    return true;
}

void MessengerViewportEventHandler::CheckPointerInside() {
    win32::POINT local{};
    bool inside = false;
    if (ReadPointer(local, true)) {
        win32::RECT client{};
        win32::GetClientRect(Window(), &client);
        inside = win32::PtInRect(&client, local) != win32::FALSE;
    }
    m_inside = inside ? 1 : 0;
    if (inside || m_heldButtons != 0) {
        m_viewport->SetPointerInside(true);
        return;
    }
    if (m_viewport->IsPointerInside()) {
        Event event;
        event.kind = Event::kMouseMove;
        event.x = kFarOutside;
        event.y = kFarOutside;
        m_viewport->QueueEvent(event);
        m_viewport->SetPointerInside(false);
    }
}
