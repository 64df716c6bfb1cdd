// Doubles of the outside ActiveX controls the hosted-player controls drive: the web browser, the Shockwave
// player and the Flash player. Registered under their ProgIDs for a test's life, each records every call it
// gets, in order and across all of them, in one log ("Shockwave put_BGColor red"); shown by its host it
// makes a child window of the host window as real players do (unless told to stay windowless), and it fires
// events through its connection point as the movie or page would.
#pragma once

#include "platform/com/ConnectionPointImpl.h"
#include "platform/com/OleObject.h"
#include "platform/com/ShockwavePlayers.h"
#include "platform/com/WebBrowser.h"
#include "platform/testing/ComTesting.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace HostedDoubles {

using com::BSTR;
using com::HRESULT;
using com::IID;

inline std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

inline std::string Narrow(const com::OLECHAR* text) {
    std::string narrow;
    for (; text != nullptr && *text != 0; ++text) {
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

constexpr const char* kPlayerWindowClass = "Test Player Window";

// The player's window: input that reaches it is logged ("window 0x204").
inline win32::LRESULT PlayerWindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                            win32::LPARAM lParam) {
    if ((message >= win32::WM_KEYDOWN && message <= win32::WM_KEYUP) ||
        (message >= win32::WM_LBUTTONDOWN && message <= win32::WM_RBUTTONDBLCLK)) {
        char text[32];
        std::snprintf(text, sizeof(text), "window 0x%X", message);
        Calls().push_back(text);
    }
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

// What every double shares: its log name, its window, its connection point.
template <class Player>
class Double : public com::ComObject<Player, com::IOleObject, com::IConnectionPointContainer> {
public:
    static inline Double* s_current = nullptr;
    static inline int s_alive = 0;
    static inline bool s_windowless = false;

    // Fires the event at the connected sinks, its arguments first to last.
    HRESULT Fire(com::DISPID member, std::vector<com::VARIANT> arguments) {
        return m_point->Fire(member, arguments);
    }
    std::size_t Connections() { return m_point->ConnectionCount(); }
    win32::HWND Window() const { return m_window; }

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return this->Answer(
            iid, object,
            {{&m_playerIid, static_cast<Player*>(this)},
             {&com::IID_IDispatch, static_cast<com::IDispatch*>(static_cast<Player*>(this))},
             {&com::IID_IOleObject, static_cast<com::IOleObject*>(this)},
             {&com::IID_IConnectionPointContainer, static_cast<com::IConnectionPointContainer*>(this)}});
    }
    HRESULT GetTypeInfoCount(com::UINT*) override { return com::E_NOTIMPL; }
    HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, com::LPOLESTR*, com::UINT, com::LCID, com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    HRESULT Invoke(com::DISPID, const IID&, com::LCID, com::WORD, com::DISPPARAMS*, com::VARIANT*,
                   com::EXCEPINFO*, com::UINT*) override {
        return com::E_NOTIMPL;
    }

    HRESULT DoVerb(com::LONG, com::MSG*, com::IOleClientSite*, com::LONG, win32::HWND parent,
                   const win32::RECT* position) override {
        if (!s_windowless) {
            m_window =
                win32::CreateWindowExA(0, kPlayerWindowClass, "", win32::WS_CHILD | win32::WS_VISIBLE, 0, 0,
                                       position->right - position->left, position->bottom - position->top,
                                       parent, nullptr, win32::GetModuleHandleA(nullptr), nullptr);
        }
        return win32::S_OK;
    }
    HRESULT Close(com::DWORD) override {
        if (m_window != nullptr) {
            win32::DestroyWindow(m_window);
            m_window = nullptr;
        }
        return win32::S_OK;
    }
    HRESULT FindConnectionPoint(const IID& eventInterface, com::IConnectionPoint** point) override {
        return m_point->OfferFor(eventInterface, point);
    }

protected:
    Double(std::string name, const IID& playerIid, const IID& eventIid)
        : m_name(std::move(name)), m_playerIid(playerIid), m_point(com::ConnectionPointImpl::Create(eventIid)) {
        s_current = this;
        ++s_alive;
    }
    ~Double() override {
        m_point->Release();
        if (s_current == this) {
            s_current = nullptr;
        }
        --s_alive;
    }

    HRESULT Record(const std::string& call) {
        Calls().push_back(m_name + " " + call);
        return win32::S_OK;
    }

private:
    const std::string m_name;
    const IID m_playerIid;
    com::ConnectionPointImpl* m_point;
    win32::HWND m_window = nullptr;
};

class Browser final : public Double<com::IWebBrowser2> {
public:
    Browser() : Double("Browser", com::IID_IWebBrowser2, com::DIID_DWebBrowserEvents2) {}

    HRESULT GoBack() override { return Record("GoBack"); }
    HRESULT GoForward() override { return Record("GoForward"); }
    HRESULT GoHome() override { return Record("GoHome"); }
    HRESULT GoSearch() override { return Record("GoSearch"); }
    HRESULT Navigate(BSTR url, com::VARIANT* flags, com::VARIANT* frame, com::VARIANT* postData,
                     com::VARIANT* headers) override {
        bool empty = true;
        for (const com::VARIANT* variant : {flags, frame, postData, headers}) {
            empty = empty && (variant == nullptr || variant->vt == com::VT_EMPTY);
        }
        return Record("Navigate " + Narrow(url) + (empty ? "" : " with more"));
    }
    HRESULT Refresh() override { return Record("Refresh"); }
    HRESULT Stop() override { return Record("Stop"); }
    HRESULT Quit() override { return Record("Quit"); }
};

class Shockwave final : public Double<com::IShockwavePlayer> {
public:
    static inline std::string s_lastScript;

    Shockwave() : Double("Shockwave", com::IID_IShockwavePlayer, com::DIID_ShockwavePlayerEvents) {}

    HRESULT put_BGColor(BSTR color) override { return Record("BgColor " + Narrow(color)); }
    HRESULT put_Source(BSTR source) override { return Record("Source " + Narrow(source)); }
    HRESULT put_AutoStart(BSTR autoStart) override { return Record("AutoStart " + Narrow(autoStart)); }
    HRESULT Play() override { return Record("Play"); }
    HRESULT Stop() override { return Record("Stop"); }
    HRESULT Rewind() override { return Record("Rewind"); }
    HRESULT EvalScript(BSTR script, BSTR* result) override {
        std::string text;
        for (com::UINT index = 0; index < com::SysStringLen(script); ++index) {
            text += static_cast<char>(script[index]);
        }
        s_lastScript = text;
        const com::OLECHAR answer[] = {'o', 'k'};
        *result = com::SysAllocStringLen(answer, 2);
        return Record("EvalScript " + std::to_string(text.size()));
    }
};

class Flash final : public Double<com::IShockwaveFlash> {
public:
    Flash() : Double("Flash", com::IID_IShockwaveFlash, com::DIID_IShockwaveFlashEvents) {}

    HRESULT put_Movie(BSTR movie) override { return Record("Movie " + Narrow(movie)); }
    HRESULT Play() override { return Record("Play"); }
    HRESULT Stop() override { return Record("Stop"); }
    HRESULT Rewind() override { return Record("Rewind"); }
    HRESULT StopPlay() override { return Record("StopPlay"); }
    HRESULT put_BGColor(BSTR color) override { return Record("BGColor " + Narrow(color)); }
};

inline const com::CLSID kBrowserClass = {0x0C0FFEE1, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
inline const com::CLSID kShockwaveClass = {0x0C0FFEE2, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
inline const com::CLSID kFlashClass = {0x0C0FFEE3, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

// The doubles registered as the real controls would be, and the player window's class, for a scope.
class Installed {
public:
    Installed()
        : m_browser(kBrowserClass, "Shell.Explorer",
                    [] { return static_cast<com::IWebBrowser2*>(new Browser); }),
          m_shockwave(kShockwaveClass, "SWCtl.SWCtl",
                      [] { return static_cast<com::IShockwavePlayer*>(new Shockwave); }),
          m_flash(kFlashClass, "ShockwaveFlash.ShockwaveFlash",
                  [] { return static_cast<com::IShockwaveFlash*>(new Flash); }) {
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = &PlayerWindowProcedure;
        record.hInstance = win32::GetModuleHandleA(nullptr);
        record.lpszClassName = kPlayerWindowClass;
        win32::RegisterClassExA(&record);
    }
    ~Installed() { win32::UnregisterClassA(kPlayerWindowClass, win32::GetModuleHandleA(nullptr)); }

private:
    com::testing::ScopedClass m_browser;
    com::testing::ScopedClass m_shockwave;
    com::testing::ScopedClass m_flash;
};

} // namespace HostedDoubles
