// The window layer's input as the DirectInput devices take it in (platform/win32/input/HostEvents.cpp calls
// these for every host event, SDL2 or injected). Internal to the platform layer; callable with the window
// system's lock held, since the devices never take that lock.
#pragma once

#include "platform/win32/Types.h"

namespace dinput::host {

// A key by its set-1 make code and extended flag, as key messages describe it; code 0 is no key.
void KeyChanged(win32::BYTE scanCode, bool extended, bool down);
// Relative motion of the mouse, added to what every acquired mouse device has not yet read.
void MouseMoved(win32::LONG dx, win32::LONG dy);
// 0 left, 1 right, 2 middle.
void MouseButtonChanged(int button, bool down);
// In WHEEL_DELTA units a notch, forward positive.
void MouseWheelTurned(win32::LONG delta);
// Nothing held down any more and no motion waiting.
void ReleaseAll();

// The keyboard state index of a key.
win32::BYTE KeyCodeFor(win32::BYTE scanCode, bool extended);

} // namespace dinput::host
