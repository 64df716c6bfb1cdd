#include "platform/web/WebBrowserObject.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/ComObject.h"
#include "platform/com/ConnectionPointImpl.h"
#include "platform/com/FunctionClassFactory.h"
#include "platform/com/OleObject.h"
#include "platform/com/WebBrowser.h"
#include "platform/video/VideoBackend.h"
#include "platform/web/ControlWindow.h"
#include "platform/web/WebAddresses.h"
#include "platform/web/WebView.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/Find.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/StringConversion.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/windows/Window.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace web {

namespace {

using com::HRESULT;
using com::IID;

constexpr const char* kWindowClass = "Web Browser View";
constexpr const char* kPagesKey = "Software\\Microsoft\\Internet Explorer\\Main";

// DWebBrowserEvents2 members fired.
constexpr com::DISPID kDownloadBegin = 106;
constexpr com::DISPID kDownloadComplete = 104;
constexpr com::DISPID kNavigateComplete2 = 252;
constexpr com::DISPID kOnQuit = 253;

// The text narrowed to the system's ANSI page, as title file names are.
std::string Narrow(com::BSTR text) {
    const int length = static_cast<int>(com::SysStringLen(text));
    if (length == 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length) * 2, '\0');
    const int made = win32::WideCharToMultiByte(win32::CP_ACP, 0, text, length, narrow.data(),
                                                static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(std::max(made, 0)));
    return narrow;
}

// The text as UTF-8, as the engine takes addresses.
std::string Utf8(com::BSTR text) {
    std::string utf8;
    const com::UINT length = com::SysStringLen(text);
    for (com::UINT i = 0; i < length; ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The engine's address for what Navigate was given: an address as it is, a title file as our scheme's.
// Empty when it is neither.
std::string AddressFor(const std::string& address, const std::string& path) {
    if (!SchemeOf(address).empty()) {
        return address;
    }
    std::string full = path;
    const bool absolute = full.size() >= 2 && (full[1] == ':' || (full[0] == '\\' && full[1] == '\\'));
    if (!absolute) {
        char folder[win32::MAX_PATH + 1] = {};
        const win32::DWORD length = win32::GetCurrentDirectoryA(sizeof(folder), folder);
        if (length == 0 || length >= sizeof(folder)) {
            return {};
        }
        full = std::string(folder) + (folder[length - 1] == '\\' ? "" : "\\") + full;
    }
    return TitleFileAddress(full);
}

// The emulated machine's home or search page.
std::string RegisteredPage(const char* value) {
    win32::HKEY key = nullptr;
    std::string page;
    if (win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, kPagesKey, 0, win32::KEY_READ, &key) ==
        win32::ERROR_SUCCESS) {
        std::vector<char> data(4096);
        win32::DWORD size = static_cast<win32::DWORD>(data.size());
        win32::DWORD type = 0;
        if (win32::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<win32::BYTE*>(data.data()),
                                    &size) == win32::ERROR_SUCCESS &&
            type == win32::REG_SZ) {
            page.assign(data.data(), strnlen(data.data(), size));
        }
        win32::RegCloseKey(key);
    }
    return page.empty() ? std::string("about:blank") : page;
}

bool RegisterWindowClass() {
    static const bool registered = [] {
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = &win32::DefWindowProcA;
        record.hInstance = win32::GetModuleHandleA(nullptr);
        // White until the first page is drawn, as a browser's window is.
        record.hbrBackground = static_cast<win32::HBRUSH>(win32::GetStockObject(win32::WHITE_BRUSH));
        record.lpszClassName = kWindowClass;
        return win32::RegisterClassExA(&record) != 0;
    }();
    return registered;
}

class Browser final : public com::ComObject<com::IWebBrowser2, com::IOleObject, com::IOleInPlaceObject,
                                            com::IConnectionPointContainer> {
public:
    Browser() : m_events(com::ConnectionPointImpl::Create(com::DIID_DWebBrowserEvents2)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return Answer(
            iid, object,
            {{&com::IID_IWebBrowser2, static_cast<com::IWebBrowser2*>(this)},
             {&com::IID_IDispatch, static_cast<com::IDispatch*>(this)},
             {&com::IID_IOleObject, static_cast<com::IOleObject*>(this)},
             {&com::IID_IOleInPlaceObject, static_cast<com::IOleInPlaceObject*>(this)},
             {&com::IID_IConnectionPointContainer, static_cast<com::IConnectionPointContainer*>(this)}});
    }

    // Members are called through the interface only.
    HRESULT GetTypeInfoCount(com::UINT* count) override {
        if (count != nullptr) {
            *count = 0;
        }
        return win32::S_OK;
    }
    HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, com::LPOLESTR*, com::UINT, com::LCID, com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    HRESULT Invoke(com::DISPID, const IID&, com::LCID, com::WORD, com::DISPPARAMS*, com::VARIANT*,
                   com::EXCEPINFO*, com::UINT*) override {
        return com::E_NOTIMPL;
    }

    HRESULT GoBack() override {
        return WithView([](WebView& view) { view.GoBack(); });
    }
    HRESULT GoForward() override {
        return WithView([](WebView& view) { view.GoForward(); });
    }
    HRESULT GoHome() override {
        const std::string page = RegisteredPage("Start Page");
        return Go(page, page);
    }
    HRESULT GoSearch() override {
        const std::string page = RegisteredPage("Search Page");
        return Go(page, page);
    }
    HRESULT Navigate(com::BSTR url, com::VARIANT*, com::VARIANT*, com::VARIANT*, com::VARIANT*) override {
        return Go(Utf8(url), Narrow(url));
    }
    HRESULT Refresh() override {
        return WithView([](WebView& view) { view.Reload(); });
    }
    HRESULT Stop() override {
        return WithView([](WebView& view) { view.Stop(); });
    }
    HRESULT Quit() override {
        return WithView([](WebView& view) { view.Stop(); });
    }

    HRESULT DoVerb(com::LONG, com::MSG*, com::IOleClientSite*, com::LONG, win32::HWND parent,
                   const win32::RECT* position) override {
        if (m_view != nullptr) {
            return win32::S_OK;
        }
        if (parent == nullptr || position == nullptr || !RegisterWindowClass()) {
            return win32::E_INVALIDARG;
        }
        m_window = CreateControlWindow(kWindowClass, parent, *position);
        if (m_window == nullptr) {
            return win32::E_FAIL;
        }
        WebViewOptions options;
        options.muted = video::HeadlessVideoAsked();
        std::string whyNot;
        m_view = WebView::Create(m_window, options, Events(), &whyNot);
        if (m_view == nullptr) {
            std::fprintf(stderr, "web browser: no page can be shown: %s\n", whyNot.c_str());
            Close(0);
            return win32::E_FAIL;
        }
        return win32::S_OK;
    }
    HRESULT Close(com::DWORD) override {
        m_view.reset();
        if (m_window != nullptr) {
            win32::DestroyWindow(m_window);
            m_window = nullptr;
        }
        return win32::S_OK;
    }
    HRESULT SetObjectRects(const win32::RECT* position, const win32::RECT*) override {
        PlaceControlWindow(m_window, position);
        return win32::S_OK;
    }
    HRESULT FindConnectionPoint(const IID& eventInterface, com::IConnectionPoint** point) override {
        return m_events->OfferFor(eventInterface, point);
    }

private:
    ~Browser() override {
        Close(0);
        m_events->Release();
    }

    template <class Action>
    HRESULT WithView(Action action) {
        if (m_view == nullptr) {
            return win32::E_FAIL;
        }
        action(*m_view);
        return win32::S_OK;
    }

    // Loads an address, or a title file: the text as UTF-8 and as the ANSI page has it.
    HRESULT Go(const std::string& text, const std::string& path) {
        const std::string address = AddressFor(text, path);
        if (address.empty()) {
            std::fprintf(stderr,
                         "web browser: \"%s\" is neither an address nor a title file; nothing is shown\n",
                         path.c_str());
            return win32::E_INVALIDARG;
        }
        return WithView([&address](WebView& view) { view.Load(address); });
    }

    // A sink may let the browser go while it hears an event: the browser stays until the firing is over.
    void Fire(com::DISPID member, std::vector<com::VARIANT> arguments = {}) {
        AddRef();
        m_events->Fire(member, arguments);
        for (com::VARIANT& argument : arguments) {
            if (argument.vt == com::VT_BSTR) {
                com::VariantClear(&argument);
            }
        }
        Release();
    }

    WebViewEvents Events() {
        WebViewEvents events;
        events.loadStarted = [this] { Fire(kDownloadBegin); };
        events.loadFinished = [this](bool) { Fire(kDownloadComplete); };
        events.navigated = [this](const std::string& address) {
            com::VARIANT browser{};
            browser.vt = com::VT_DISPATCH;
            browser.pdispVal = static_cast<com::IDispatch*>(this);
            com::VARIANT url{};
            url.vt = com::VT_BSTR;
            std::vector<com::OLECHAR> wide(address.begin(), address.end());
            url.bstrVal = com::SysAllocStringLen(wide.data(), static_cast<com::UINT>(wide.size()));
            Fire(kNavigateComplete2, {browser, url});
        };
        events.closeRequested = [this] { Fire(kOnQuit); };
        return events;
    }

    com::ConnectionPointImpl* m_events;
    win32::HWND m_window = nullptr;
    std::unique_ptr<WebView> m_view;
};

} // namespace

// The class identifier Windows gives its web browser control, which titles may name instead of the ProgID.
const com::CLSID WebBrowserObject::kClassId = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

bool WebBrowserObject::Register() {
    return com::FunctionClassFactory::Register(kClassId, kProgId,
                                               [] { return static_cast<com::IWebBrowser2*>(new Browser); });
}

void WebBrowserObject::Unregister() {
    com::ClassRegistry::Instance().Unregister(kClassId);
}

} // namespace web
