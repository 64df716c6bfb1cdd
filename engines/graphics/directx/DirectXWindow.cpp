#include "engines/graphics/directx/DirectXWindow.h"

#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/DirectXEngineHook.h"

namespace Vemo {

DirectXWindow::DirectXWindow(bool main) : DirectXHookWindow(main) {}

DirectXWindow::~DirectXWindow() {
    if (DirectXEngineHook* hook = DirectXEngineHook::Installed()) {
        DirectXHookWindow* current = hook->GetCurrentWindow();
        if (IsMain() && current != nullptr && current->GetSerial() == GetSerial()) {
            DirectXEngineHook::ReleaseCurrentWindow(this);
        } else if (!IsMain() && DirectXEngineHook::HasWindow(this)) {
            DirectXEngineHook::RemoveWindow(this);
        }
    }
}

bool DirectXWindow::Create(const String& caption, const Point* position, const Size* size,
                           bool positionIsClient, bool sizeIsClient, std::uint32_t exStyle,
                           std::uint32_t style, Win32Window* parent, win32::HMENU menu, bool show,
                           bool bringToFront) {
    if (DirectXEngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    bool main = IsMain();
    if (!main) {
        if (!DirectXEngineHook::AddWindow(this)) {
            RaiseError(DirectXEngineHookErrAddWindowFailed);
            return false;
        }
    } else if (!DirectXEngineHook::SetCurrentWindow(this)) {
        RaiseError(DirectXEngineHookErrTakeDisplayFailed);
        return false;
    }
    const std::shared_ptr<const bool> alive = LifeToken();
    if (!Win32Window::Create(caption, position, size, positionIsClient, sizeIsClient, exStyle, style, parent,
                             menu, show, bringToFront)) {
        // A window deleted by its handlers during creation has left the hook in its destructor.
        if (!*alive) {
            return false;
        }
        if (main) {
            DirectXEngineHook::ReleaseCurrentWindow(this);
        } else {
            DirectXEngineHook::RemoveWindow(this);
        }
        return false;
    }
    return true;
}

bool DirectXWindow::Destroy() {
    if (DirectXEngineHook::Installed() == nullptr) {
        Win32Window::Destroy();
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    bool main = IsMain();
    const std::shared_ptr<const bool> alive = LifeToken();
    bool result = Win32Window::Destroy();
    // A handler may delete the window while it is destroyed; its destructor has then left the hook.
    if (!*alive) {
        return result;
    }
    return LeaveHook(main) && result;
}

bool DirectXWindow::LeaveHook(bool main) {
    if (main) {
        if (!DirectXEngineHook::ReleaseCurrentWindow(this)) {
            RaiseError(DirectXEngineHookErrReleaseDisplayFailed);
            return false;
        }
    } else if (!DirectXEngineHook::RemoveWindow(this)) {
        RaiseError(DirectXEngineHookErrRemoveWindowFailed);
        return false;
    }
    return true;
}

} // namespace Vemo
