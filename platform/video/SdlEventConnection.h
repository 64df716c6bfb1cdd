// The display connection behind SDL's windows, for the thread that sleeps until the host has events for it:
// the connection's descriptor, and whether events it has already read wait for SDL's next pump. Known for
// SDL's X11 driver; other drivers give none, and their events are looked at now and then.
//
// Kept apart from the backend so that Xlib's macros (None, Bool, Status, ...) stay in one file.
#pragma once

#include <SDL.h>

namespace video {

class SdlEventConnection {
public:
    // The connection of the window's display; one without a descriptor when SDL's driver is not X11.
    static SdlEventConnection Of(SDL_Window* window);
    // From now on a display connection that breaks (its server ended, say) ends the program at once with a
    // message. Xlib's own way out runs the program's exit work, which closes windows through the broken
    // connection and waits for answers that never come.
    static void EndProgramWhenLost();

    int Descriptor() const { return m_descriptor; }
    // Sends what was asked of the display meanwhile, then tells whether the connection holds events that the
    // descriptor no longer shows. False without a connection.
    bool EventsPending() const;
    // Whether a read of the connection could find an event: its descriptor has something to read, or Xlib
    // holds events it read meanwhile. Reads nothing itself. True without a connection.
    bool MayHaveEvents() const;

private:
    // An X11 Display, opaque here.
    void* m_display = nullptr;
    int m_descriptor = -1;
};

} // namespace video
