#include "controls/OSWindowControl.h"

#include "controls/OSWindowSubclass.h"
#include "controls/OSWindowSubclassHelper.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/Module.h"
#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/screen/ControlManager.h"
#include "runtime/screen/MessengerViewport.h"

namespace {

win32::ATOM g_classAtom = 0;

constexpr win32::DWORD kChildStyle = win32::WS_CHILD | win32::WS_CLIPSIBLINGS | win32::WS_CLIPCHILDREN;

} // namespace

OSWindowControl::OSWindowControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

OSWindowControl::~OSWindowControl() {
    DestroyOwnWindow();
}

const Vemo::String& OSWindowControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("OSWindowControl");
    return *word;
}

Vemo::String OSWindowControl::GetClassName() const {
    return ClassWord();
}

bool OSWindowControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        RaiseError(kErrorFailure);
        return false;
    }
    Control::SetTransparent(false);
    return true;
}

bool OSWindowControl::SetTransparent(bool transparent) {
    return transparent && Control::SetTransparent(true);
}

bool OSWindowControl::IsWindowed() {
    return true;
}

win32::HWND OSWindowControl::GetViewportWindow() const {
    if (auto* viewport = dynamic_cast<MessengerViewport*>(GetManager())) {
        return GetViewportWindowHandle(viewport);
    }
    MultimediaApplication* application = MultimediaApplication::Instance();
    return application != nullptr ? GetViewportWindowHandle(application->GetViewport()) : nullptr;
}

bool OSWindowControl::RegisterWindowClass() {
    win32::WNDCLASSEXA record{};
    record.cbSize = sizeof(record);
    record.style = win32::CS_HREDRAW | win32::CS_VREDRAW;
    record.lpfnWndProc = &WindowProcedure;
    record.cbWndExtra = 4;
    record.hInstance = win32::GetModuleHandleA(nullptr);
    record.hbrBackground = static_cast<win32::HBRUSH>(win32::GetStockObject(win32::WHITE_BRUSH));
    record.lpszClassName = ClassWord().CStr();
    g_classAtom = win32::RegisterClassExA(&record);
    return g_classAtom != 0;
}

win32::LRESULT OSWindowControl::WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                                win32::LPARAM lParam) {
    if (message == win32::WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const win32::CREATESTRUCTA*>(lParam);
        win32::SetWindowLongA(window, win32::GWL_USERDATA,
                              reinterpret_cast<win32::LONG_PTR>(creation->lpCreateParams));
    }
    auto* control = reinterpret_cast<OSWindowControl*>(win32::GetWindowLongA(window, win32::GWL_USERDATA));
    if (control != nullptr &&
        control->HandleWindowMessage(OSWindowSubclass::MakeMessage(window, message, wParam, lParam))) {
        return 0;
    }
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

bool OSWindowControl::OnActivated() {
    if (g_classAtom == 0 && m_window == nullptr && !RegisterWindowClass()) {
        return false;
    }
    if (m_window == nullptr) {
        const Vemo::Rect& rect = GetRectangle();
        m_window = win32::CreateWindowExA(
            0, ClassWord().CStr(), GetName().CStr(), kChildStyle, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, GetViewportWindow(), nullptr, win32::GetModuleHandleA(nullptr), this);
        if (m_window == nullptr) {
            return false;
        }
    } else if (m_subclassHelper == nullptr) {
        m_subclassHelper = new OSWindowSubclassHelper(*this);
        if (!m_subclassHelper->Subclass(m_window)) {
            delete m_subclassHelper;
            m_subclassHelper = nullptr;
            return false;
        }
    }
    win32::EnableWindow(m_window, IsEffectivelyEnabled() ? win32::TRUE : win32::FALSE);
    if (IsShown()) {
        win32::ShowWindow(m_window, win32::SW_SHOW);
        win32::UpdateWindow(m_window);
    }
    return true;
}

void OSWindowControl::OnDeactivated() {
    DestroyOwnWindow();
}

void OSWindowControl::DestroyOwnWindow() {
    delete m_subclassHelper;
    m_subclassHelper = nullptr;
    if (m_window != nullptr) {
        // Forgotten first: the window's last messages find no window here to act on.
        const win32::HWND window = m_window;
        m_window = nullptr;
        win32::DestroyWindow(window);
    }
}

void OSWindowControl::FollowRectangle() {
    if (m_window != nullptr) {
        const Vemo::Rect& rect = GetRectangle();
        win32::MoveWindow(m_window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          win32::TRUE);
    }
}

void OSWindowControl::OnMoved() {
    Control::OnMoved();
    FollowRectangle();
}

void OSWindowControl::OnResized() {
    Control::OnResized();
    FollowRectangle();
}

void OSWindowControl::OnRectangleChanged() {
    Control::OnRectangleChanged();
    FollowRectangle();
}

void OSWindowControl::OnShown() {
    Control::OnShown();
    if (m_window != nullptr) {
        win32::ShowWindow(m_window, win32::SW_SHOW);
        win32::UpdateWindow(m_window);
    }
}

void OSWindowControl::OnHidden() {
    Control::OnHidden();
    if (m_window != nullptr) {
        win32::ShowWindow(m_window, win32::SW_HIDE);
    }
}

void OSWindowControl::OnEnabled() {
    Control::OnEnabled();
    if (m_window != nullptr) {
        win32::EnableWindow(m_window, win32::TRUE);
    }
}

void OSWindowControl::OnDisabled() {
    Control::OnDisabled();
    if (m_window != nullptr) {
        win32::EnableWindow(m_window, win32::FALSE);
    }
}

void OSWindowControl::OnGotFocus(bool byMouse) {
    Control::OnGotFocus(byMouse);
    if (m_window != nullptr) {
        win32::SetFocus(m_window);
    }
}

void OSWindowControl::OnLostFocus() {
    Control::OnLostFocus();
    if (m_window != nullptr && GetManager() != nullptr && win32::GetFocus() == m_window) {
        win32::SetFocus(GetViewportWindow());
    }
}

bool OSWindowControl::HandleWindowMessage(const win32::MSG& message) {
    // Only this control's own focus is taken away: the focus may have gone to another control already, and
    // its window lost the keyboard focus because of that.
    if (message.message == win32::WM_SETFOCUS && !HasFocus()) {
        SetFocus();
    } else if (message.message == win32::WM_KILLFOCUS && GetManager() != nullptr && HasFocus()) {
        GetManager()->SetFocusControl(nullptr);
    }
    return false;
}
