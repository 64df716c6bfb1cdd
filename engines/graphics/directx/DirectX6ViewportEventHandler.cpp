#include "engines/graphics/directx/DirectX6ViewportEventHandler.h"

#include "engines/graphics/directx/DirectX6ViewportHandle.h"

namespace Vemo {

DirectX6ViewportEventHandler::DirectX6ViewportEventHandler(DirectX6ViewportHandle* handle)
    : m_handle(handle) {}

DirectX6ViewportEventHandler::~DirectX6ViewportEventHandler() {
    if (m_handle != nullptr) {
        m_handle->ForgetOwnHandler(this);
    }
}

void DirectX6ViewportEventHandler::OnActivate(win32::UINT state, bool minimized, win32::HWND other) {
    if (m_handle != nullptr) {
        m_handle->OnActivate(state, minimized, other);
    }
}

bool DirectX6ViewportEventHandler::OnClose() {
    return m_handle == nullptr || m_handle->OnClose();
}

void DirectX6ViewportEventHandler::OnDestroy() {
    if (m_handle != nullptr) {
        m_handle->OnDestroy();
    }
}

void DirectX6ViewportEventHandler::OnDisplayChange(win32::WPARAM bitsPerPixel, win32::UINT width,
                                                   win32::UINT height) {
    if (m_handle != nullptr) {
        m_handle->OnDisplayChange(bitsPerPixel, width, height);
    }
}

void DirectX6ViewportEventHandler::OnMove(int x, int y) {
    if (m_handle != nullptr) {
        m_handle->OnMove(x, y);
    }
}

void DirectX6ViewportEventHandler::OnPaint(win32::WPARAM first) {
    if (m_handle != nullptr) {
        m_handle->OnPaint(first);
    }
}

void DirectX6ViewportEventHandler::OnSize(win32::WPARAM type, win32::UINT width, win32::UINT height) {
    if (m_handle != nullptr) {
        m_handle->OnSize(type, width, height);
    }
}

void DirectX6ViewportEventHandler::OnShowWindow(bool shown, win32::LPARAM status) {
    if (m_handle != nullptr) {
        m_handle->OnShowWindow(shown, status);
    }
}

} // namespace Vemo
