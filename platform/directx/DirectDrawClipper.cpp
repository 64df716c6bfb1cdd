#include "platform/directx/DirectDrawClipper.h"

#include "platform/directx/DirectDrawDisplay.h"
#include "platform/directx/DirectDrawSurface.h"
#include "platform/win32/windows/Window.h"

#include <algorithm>

namespace ddraw::detail {

DirectDrawClipper::DirectDrawClipper() {
    Display::Instance().liveClippers.fetch_add(1);
}

DirectDrawClipper::~DirectDrawClipper() {
    Display::Instance().liveClippers.fetch_sub(1);
}

HRESULT DirectDrawClipper::QueryInterface(com::REFIID iid, void** object) {
    return Answer(iid, object, {{&IID_IDirectDrawClipper, static_cast<IDirectDrawClipper*>(this)}});
}

HRESULT DirectDrawClipper::SetHWnd(DWORD flags, HWND window) {
    if (HRESULT answer = TakeAnswer(Call::SetHWnd); answer != DD_OK) {
        return answer;
    }
    if (flags != 0 || (window != nullptr && !win32::IsWindow(window))) {
        return DDERR_INVALIDPARAMS;
    }
    std::lock_guard guard(Display::Instance().Lock());
    m_window = window;
    for (DirectDrawSurface* surface : m_surfaces) {
        surface->FollowClipper();
    }
    return DD_OK;
}

void DirectDrawClipper::Attach(DirectDrawSurface* surface) {
    m_surfaces.push_back(surface);
}

void DirectDrawClipper::Detach(DirectDrawSurface* surface) {
    m_surfaces.erase(std::remove(m_surfaces.begin(), m_surfaces.end(), surface), m_surfaces.end());
}

} // namespace ddraw::detail
