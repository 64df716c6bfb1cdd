// The windows behind the runtime's objects, and the QuickTime engine hook's own movie, for the controls
// that host windows or players of their own.
#pragma once

#include "platform/win32/Types.h"

class MessengerViewport;

// The window of the viewport's DirectX viewport handle, or null.
win32::HWND GetViewportWindowHandle(MessengerViewport* viewport);
// Plays or pauses the QuickTime engine hook's own start-up movie; nothing without a hook or a movie.
void PlayQuickTimeHookMovie(bool play);
