// A viewport front-end that a QuickTime controller graphic opens on the viewport it draws into, to reach the
// viewport's handle and the native window the viewport shows. The graphic keeps it (and so a reference on the
// viewport handle) until it goes, and restores the viewport's presentation through it.
//
// Finding a viewport handle's window is the one place where the movie engine depends on the kind of viewport
// handle: the product's viewports are DirectX viewport handles, whose window the finder reads. Without a
// finder no viewport has a window.
#pragma once

#include "engines/graphics/Viewport.h"
#include "platform/win32/Types.h"

namespace Vemo {

class ViewportHandle;

class QuickTimeMovieViewport : public Viewport {
public:
    // The native window of a viewport handle, null when the handle has none or its window is gone.
    using WindowFinder = win32::HWND (*)(ViewportHandle* handle);

    QuickTimeMovieViewport();
    ~QuickTimeMovieViewport() override;

    // The window of this viewport's handle, null while closed.
    win32::HWND GetNativeWindow() const;

    // Null puts back the finder that finds no window.
    static void SetWindowFinder(WindowFinder finder);
};

} // namespace Vemo
