#include "engines/media/quicktime/QuickTimeMovieViewport.h"

#include "engines/graphics/directx/DirectXViewportHandle.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "platform/win32/windows/Window.h"

namespace Vemo {

QuickTimeMovieViewport::QuickTimeMovieViewport() = default;

QuickTimeMovieViewport::~QuickTimeMovieViewport() = default;

win32::HWND QuickTimeMovieViewport::GetNativeWindow() const {
    const DirectXViewportHandle* handle = DirectXViewportHandle::FromViewportHandle(GetViewportHandle());
    const DirectXWindow* window = handle != nullptr ? handle->GetWindow() : nullptr;
    const win32::HWND native = window != nullptr ? window->GetWindowHandle() : nullptr;
    return native != nullptr && win32::IsWindow(native) ? native : nullptr;
}

} // namespace Vemo
