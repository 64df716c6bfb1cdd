#include "platform/com/Atl.h"

#include "platform/com/AxHostWindow.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/HostingLibrary.h"
#include "platform/win32/kernel/Module.h"

#include <atomic>
#include <mutex>

namespace com {

namespace {

using win32::LPARAM;
using win32::LRESULT;
using win32::WPARAM;

// The host object lives in the window's one extra slot.
constexpr int kHostSlot = 0;

struct HostingLibrary {
    std::mutex lock;
    int starts = 0;
    // Kept when the last stop could not unregister the class (a host window still existed), so that the
    // next start finds it in place.
    bool classRegistered = false;
    std::atomic<UINT> getHostMessage{0};
};

HostingLibrary& Hosting() {
    static HostingLibrary* hosting = new HostingLibrary;
    return *hosting;
}

AxHostWindow* HostOf(HWND window) {
    return reinterpret_cast<AxHostWindow*>(win32::GetWindowLongA(window, kHostSlot));
}

LRESULT HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case win32::WM_NCCREATE:
        win32::SetWindowLongA(window, kHostSlot,
                              reinterpret_cast<win32::LONG_PTR>(AxHostWindow::Create(window)));
        break;
    case win32::WM_SIZE:
        if (AxHostWindow* host = HostOf(window)) {
            host->Resized(win32::LOWORD(static_cast<win32::DWORD_PTR>(lParam)),
                          win32::HIWORD(static_cast<win32::DWORD_PTR>(lParam)));
        }
        break;
    case win32::WM_DESTROY:
        if (AxHostWindow* host = HostOf(window)) {
            host->WindowDestroyed();
        }
        break;
    case win32::WM_NCDESTROY:
        if (AxHostWindow* host = HostOf(window)) {
            win32::SetWindowLongA(window, kHostSlot, 0);
            host->WindowDestroyed();
            host->Release();
        }
        break;
    default:
        if (message != 0 && message == Hosting().getHostMessage.load()) {
            AxHostWindow* host = HostOf(window);
            if (host == nullptr) {
                return 0;
            }
            host->AddRef();
            return reinterpret_cast<LRESULT>(static_cast<IUnknown*>(host));
        }
        break;
    }
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterHostClass() {
    win32::WNDCLASSEXA record{};
    record.cbSize = sizeof(record);
    record.lpfnWndProc = &HostWindowProcedure;
    record.cbWndExtra = 4;
    record.hInstance = win32::GetModuleHandleA(nullptr);
    record.lpszClassName = kAtlAxWinClassName;
    return win32::RegisterClassExA(&record) != 0;
}

HRESULT FindPoint(IUnknown* source, REFIID eventInterface, IConnectionPoint** point) {
    IConnectionPointContainer* container = nullptr;
    HRESULT result =
        source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (win32::FAILED(result)) {
        return result;
    }
    result = container->FindConnectionPoint(eventInterface, point);
    container->Release();
    return result;
}

} // namespace

int detail::HostingStarts() {
    std::lock_guard guard(Hosting().lock);
    return Hosting().starts;
}

bool detail::HostClassRegistered() {
    std::lock_guard guard(Hosting().lock);
    return Hosting().classRegistered;
}

BOOL AtlAxWinInit() {
    HostingLibrary& library = Hosting();
    std::lock_guard guard(library.lock);
    if (library.starts == 0) {
        if (!library.classRegistered && !RegisterHostClass()) {
            return win32::FALSE;
        }
        library.classRegistered = true;
        library.getHostMessage.store(win32::RegisterWindowMessageA(kAtlGetHostMessageName));
        CoInitialize(nullptr);
    }
    ++library.starts;
    return win32::TRUE;
}

BOOL AtlAxWinTerm() {
    HostingLibrary& library = Hosting();
    std::lock_guard guard(library.lock);
    if (library.starts == 0) {
        return win32::FALSE;
    }
    if (--library.starts == 0) {
        if (win32::UnregisterClassA(kAtlAxWinClassName, win32::GetModuleHandleA(nullptr))) {
            library.classRegistered = false;
        }
        CoUninitialize();
    }
    return win32::TRUE;
}

HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, REFIID eventInterface, DWORD* cookie) {
    if (source == nullptr) {
        return win32::E_INVALIDARG;
    }
    if (sink == nullptr || cookie == nullptr) {
        return win32::E_POINTER;
    }
    IConnectionPoint* point = nullptr;
    HRESULT result = FindPoint(source, eventInterface, &point);
    if (win32::FAILED(result)) {
        return result;
    }
    result = point->Advise(sink, cookie);
    point->Release();
    return result;
}

HRESULT AtlUnadvise(IUnknown* source, REFIID eventInterface, DWORD cookie) {
    if (source == nullptr) {
        return win32::E_INVALIDARG;
    }
    IConnectionPoint* point = nullptr;
    HRESULT result = FindPoint(source, eventInterface, &point);
    if (win32::FAILED(result)) {
        return result;
    }
    result = point->Unadvise(cookie);
    point->Release();
    return result;
}

} // namespace com
