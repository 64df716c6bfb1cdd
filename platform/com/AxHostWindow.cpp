#include "platform/com/AxHostWindow.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/WebBrowser.h"

#include <atomic>
#include <optional>

namespace com {

namespace {

std::atomic<std::size_t> g_live{0};

std::optional<CLSID> RegisteredClassOf(LPCOLESTR text) {
    CLSID clsid;
    if (win32::FAILED(CLSIDFromString(text, &clsid)) || !ClassRegistry::Instance().Contains(clsid)) {
        return std::nullopt;
    }
    return clsid;
}

HRESULT Navigate(IUnknown* control, LPCOLESTR address) {
    IWebBrowser2* browser = nullptr;
    HRESULT result = control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    if (win32::FAILED(result)) {
        return result;
    }
    BSTR url = SysAllocString(address);
    if (url == nullptr) {
        browser->Release();
        return win32::E_OUTOFMEMORY;
    }
    VARIANT none[4];
    for (VARIANT& variant : none) {
        VariantInit(&variant);
    }
    result = browser->Navigate(url, &none[0], &none[1], &none[2], &none[3]);
    SysFreeString(url);
    browser->Release();
    return result;
}

const OLECHAR kBrowserProgId[] = u"Shell.Explorer";

} // namespace

AxHostWindow* AxHostWindow::Create(HWND window) {
    return new AxHostWindow(window);
}

AxHostWindow::AxHostWindow(HWND window) : m_window(window) {
    ++g_live;
}

AxHostWindow::~AxHostWindow() {
    ReleaseControl();
    --g_live;
}

std::size_t AxHostWindow::LiveCount() {
    return g_live.load();
}

HRESULT AxHostWindow::QueryInterface(REFIID iid, void** object) {
    return Answer(iid, object, {{&IID_IAxWinHostWindow, static_cast<IAxWinHostWindow*>(this)}});
}

HRESULT AxHostWindow::CreateControl(LPCOLESTR text, HWND window, IStream* stream) {
    if (text == nullptr || text[0] == 0 || window == nullptr || window != m_window) {
        return win32::E_INVALIDARG;
    }
    if (stream != nullptr) {
        return E_NOTIMPL;
    }
    ReleaseControl();
    std::optional<CLSID> clsid = RegisteredClassOf(text);
    const bool address = !clsid;
    if (address) {
        CLSID browser;
        if (win32::FAILED(CLSIDFromProgID(kBrowserProgId, &browser))) {
            return REGDB_E_CLASSNOTREG;
        }
        clsid = browser;
    }
    IUnknown* control = nullptr;
    HRESULT result = CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      reinterpret_cast<void**>(&control));
    if (win32::FAILED(result)) {
        return result;
    }
    m_control = control;
    result = Show(control);
    if (win32::SUCCEEDED(result) && address) {
        result = Navigate(control, text);
    }
    if (win32::FAILED(result)) {
        ReleaseControl();
        return result;
    }
    return win32::S_OK;
}

HRESULT AxHostWindow::Show(IUnknown* control) {
    IOleObject* oleObject = nullptr;
    if (win32::FAILED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&oleObject)))) {
        return win32::S_OK;
    }
    m_oleObject = oleObject;
    const RECT position = ClientRect();
    return oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, m_window, &position);
}

HRESULT AxHostWindow::QueryControl(REFIID iid, void** object) {
    if (object == nullptr) {
        return win32::E_POINTER;
    }
    *object = nullptr;
    if (m_control == nullptr) {
        return win32::E_NOINTERFACE;
    }
    return m_control->QueryInterface(iid, object);
}

void AxHostWindow::Resized(int width, int height) {
    m_width = width;
    m_height = height;
    IOleInPlaceObject* inPlace = nullptr;
    if (m_control == nullptr ||
        win32::FAILED(m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
        return;
    }
    const RECT position = ClientRect();
    inPlace->SetObjectRects(&position, &position);
    inPlace->Release();
}

void AxHostWindow::WindowDestroyed() {
    ReleaseControl();
    m_window = nullptr;
}

void AxHostWindow::ReleaseControl() {
    // Cleared before the calls out, so that a control that reaches back into its host finds none.
    IOleObject* oleObject = m_oleObject;
    IUnknown* control = m_control;
    m_oleObject = nullptr;
    m_control = nullptr;
    if (oleObject != nullptr) {
        oleObject->Close(OLECLOSE_NOSAVE);
        oleObject->Release();
    }
    if (control != nullptr) {
        control->Release();
    }
}

} // namespace com
