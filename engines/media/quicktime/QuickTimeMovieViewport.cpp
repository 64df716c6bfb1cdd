#include "engines/media/quicktime/QuickTimeMovieViewport.h"

namespace Vemo {

namespace {

constinit QuickTimeMovieViewport::WindowFinder g_windowFinder = nullptr;

} // namespace

QuickTimeMovieViewport::QuickTimeMovieViewport() = default;

QuickTimeMovieViewport::~QuickTimeMovieViewport() = default;

win32::HWND QuickTimeMovieViewport::GetNativeWindow() const {
    ViewportHandle* handle = GetViewportHandle();
    return handle != nullptr && g_windowFinder != nullptr ? g_windowFinder(handle) : nullptr;
}

void QuickTimeMovieViewport::SetWindowFinder(WindowFinder finder) {
    g_windowFinder = finder;
}

} // namespace Vemo
