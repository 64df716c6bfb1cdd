#include "controls/ATLWindowControl.h"

#include "controls/HostedPlayerText.h"
#include "platform/com/Atl.h"
#include "platform/win32/kernel/Module.h"

ATLWindowControl::ATLWindowControl(const Vemo::String& name, Messenger* owner, Script* script)
    : OSWindowControl(name, owner, script) {}

ATLWindowControl::~ATLWindowControl() {
    if (m_hostingStarted) {
        com::AtlAxWinTerm();
        m_hostingStarted = false;
    }
}

const Vemo::String& ATLWindowControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ATLWindowControl");
    return *word;
}

Vemo::String ATLWindowControl::GetClassName() const {
    return ClassWord();
}

bool ATLWindowControl::CreateHostWindow() {
    if (m_hostWindow != nullptr) {
        return true;
    }
    if (!m_hostingStarted) {
        if (!com::AtlAxWinInit()) {
            return false;
        }
        m_hostingStarted = true;
    }
    m_hostWindow = new HostWindowHolder;
    const Vemo::Rect& rect = GetRectangle();
    m_hostWindow->window =
        win32::CreateWindowExA(win32::WS_EX_CONTROLPARENT, com::kAtlAxWinClassName, nullptr, win32::WS_CHILD,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                               GetViewportWindow(), nullptr, win32::GetModuleHandleA(nullptr), nullptr);
    SetWindow(m_hostWindow->window);
    if (m_hostWindow->window == nullptr) {
        DestroyHostWindow();
        return false;
    }
    const win32::UINT getHost = win32::RegisterWindowMessageA(com::kAtlGetHostMessageName);
    auto* unknown =
        reinterpret_cast<com::IUnknown*>(win32::SendMessageA(m_hostWindow->window, getHost, 0, 0));
    com::IAxWinHostWindow* host = nullptr;
    if (unknown != nullptr) {
        unknown->QueryInterface(com::IID_IAxWinHostWindow, reinterpret_cast<void**>(&host));
        unknown->Release();
    }
    if (host == nullptr) {
        DestroyHostWindow();
        return false;
    }
    const bool created = CreateHostedControl(host, m_hostWindow, m_hostWindow->window);
    host->Release();
    if (!created) {
        DestroyHostWindow();
        return false;
    }
    return true;
}

void ATLWindowControl::DestroyHostWindow() {
    if (m_hostWindow != nullptr) {
        ReleaseHostedControl();
        SetWindow(nullptr);
        if (m_hostWindow->window != nullptr && win32::DestroyWindow(m_hostWindow->window)) {
            m_hostWindow->window = nullptr;
        }
        delete m_hostWindow;
        m_hostWindow = nullptr;
    }
    if (m_hostingStarted) {
        com::AtlAxWinTerm();
        m_hostingStarted = false;
    }
}

bool ATLWindowControl::OnActivated() {
    if (!CreateHostWindow()) {
        AnnounceActivation(false);
        return false;
    }
    if (!OSWindowControl::OnActivated()) {
        // The host window is subclassed by somebody else already (a player without a window of its own has
        // its filter on it): nothing of the activation stays.
        DestroyHostWindow();
        AnnounceActivation(false);
        return false;
    }
    AnnounceActivation(true);
    return true;
}

void ATLWindowControl::AnnounceActivation(bool) {}

void ATLWindowControl::OnDeactivated() {
    DestroyHostWindow();
    OSWindowControl::OnDeactivated();
}

bool ATLWindowControl::CreateControlInHost(com::IAxWinHostWindow& host, const Vemo::String& text,
                                           win32::HWND hostWindow, const com::IID& iid, void** control) {
    com::BSTR name = HostedPlayerText::ToBstr(text);
    const com::HRESULT created = host.CreateControl(name, hostWindow, nullptr);
    com::SysFreeString(name);
    return win32::SUCCEEDED(created) && win32::SUCCEEDED(host.QueryControl(iid, control));
}
