#include "platform/testing/DirectDrawTesting.h"

#include "platform/directx/DirectDrawSurface.h"
#include "platform/video/FrameStore.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace ddraw::testing {

void Answer(Call call, HRESULT result, Times times) {
    detail::SetAnswer(call, result, times == Times::Always);
}

void ClearAnswers() {
    detail::ClearAnswers();
}

bool LoseSurface(IDirectDrawSurface4* surface) {
    std::lock_guard guard(detail::Display::Instance().Lock());
    detail::DirectDrawSurface* lost = detail::DirectDrawSurface::From(surface);
    lost->Lose();
    return lost->IsLostLocked();
}

int LiveDirectDrawObjects() {
    return detail::Display::Instance().liveDirectDraws.load();
}

int LiveSurfaces() {
    return detail::Display::Instance().liveSurfaces.load();
}

int LiveClippers() {
    return detail::Display::Instance().liveClippers.load();
}

std::optional<Frame> ReadFrame(HWND window) {
    video::VideoBackend* backend = nullptr;
    bool headless = false;
    {
        win32::WindowSystem& system = win32::WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        backend = &system.Backend();
        headless = std::strcmp(backend->Name(), "headless") == 0;
    }
    std::optional<Frame> picture = backend->ReadShown(window);
    win32::SIZE client{};
    // The host's window is as large as the client area; a headless picture is cut to it here.
    if (!headless || !picture.has_value() || picture->fullscreen || !win32::ClientSizeOf(window, client)) {
        return picture;
    }
    return video::InClientArea(*picture, client);
}

} // namespace ddraw::testing
