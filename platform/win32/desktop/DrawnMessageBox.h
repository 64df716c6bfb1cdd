// A message box the program draws itself, for when the host cannot show its own (SDL's box needs the X
// server's core fonts: a server without them shows nothing). Internal to the platform layer.
//
// Where it shows: over the picture of the owner's top-level window, in the middle of what that window shows
// (a full-screen picture too, scaled with it), when the box fits there; otherwise, and without an owner that
// shows a picture on this thread, in a window of its own in the middle of the desktop, above the others. Its
// caption and text are GDI text in the system font (the font every DC starts with), the text broken at its
// line breaks and between words; its buttons are OK, or OK and Cancel, OK being the default.
//
// While it is up it runs its own loop on the calling thread. A click on a button (pressed and released on
// it) answers it, and so do Enter (OK) and Escape (Cancel, or OK in a box without Cancel), as on Windows, and
// the close box of its own window (as Escape). A key held down since before the box showed (a repeated key
// press) answers nothing. Every other input of the thread's windows is dropped, and every other message
// waits in the queue until the box is answered: nothing of the program reacts meanwhile, as while the
// host's box is up. The host's pointer shows over every window while it is up.
#pragma once

#include "platform/win32/Types.h"

#include <optional>

namespace video {
struct MessageBoxSpec;
}

namespace win32 {

// Shows the box until it is answered and returns the answer, IDOK or IDCANCEL; 0 when this thread cannot
// show the host's windows (the video backend runs on another thread, or shows no windows).
int ShowDrawnMessageBox(const video::MessageBoxSpec& box);

// Where the box that is up now is drawn: the window, and in its client coordinates the box and its buttons
// (cancel empty in a box without Cancel).
struct DrawnMessageBoxPlace {
    HWND window = nullptr;
    RECT box{};
    RECT ok{};
    RECT cancel{};
};
// For tests, from any thread: the innermost box up now, once it shows; none while no box is up.
std::optional<DrawnMessageBoxPlace> DrawnMessageBoxShown();

} // namespace win32
