#include "runtime/application/WindowFunctions.h"

#include "engines/graphics/directx/DirectXViewportHandle.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "runtime/screen/MessengerViewport.h"

win32::HWND GetViewportWindowHandle(MessengerViewport* viewport) {
    if (viewport == nullptr) {
        return nullptr;
    }
    // No OpenGL viewport handle exists in this program: the DirectX one is the
    // only kind.
    auto* handle = dynamic_cast<Vemo::DirectXViewportHandle*>(viewport->GetViewportHandle());
    return handle != nullptr && handle->GetWindow() != nullptr ? handle->GetWindow()->GetWindowHandle()
                                                               : nullptr;
}

void PlayQuickTimeHookMovie(bool play) {
    Vemo::QuickTimeEngineHook::PlayOwnMovie(play);
}
