// A viewport front-end that a QuickTime controller graphic opens on the viewport it draws into, to reach the
// viewport's handle and the native window the viewport shows. The graphic keeps it (and so a reference on the
// viewport handle) until it goes, and restores the viewport's presentation through it.
//
// Finding a viewport handle's window is the one place where the movie engine depends on the kind of viewport
// handle: only DirectX viewport handles have a window it can draw into.
#pragma once

#include "engines/graphics/Viewport.h"
#include "platform/win32/Types.h"

namespace Vemo {

class QuickTimeMovieViewport : public Viewport {
public:
    QuickTimeMovieViewport();
    ~QuickTimeMovieViewport() override;

    // The native window of this viewport's handle: null while closed, for a handle of another kind than
    // DirectX, and when the handle has no window or its window is gone.
    win32::HWND GetNativeWindow() const;
};

} // namespace Vemo
