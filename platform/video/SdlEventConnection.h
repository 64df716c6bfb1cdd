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

    int Descriptor() const { return m_descriptor; }
    // Sends what was asked of the display meanwhile, then tells whether the connection holds events that the
    // descriptor no longer shows. False without a connection.
    bool EventsPending() const;

private:
    // An X11 Display, opaque here.
    void* m_display = nullptr;
    int m_descriptor = -1;
};

} // namespace video
