#include "platform/video/SdlEventConnection.h"

#include <SDL_syswm.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>

namespace video {

namespace {

int EndOnBrokenConnection(Display* display) {
    std::fprintf(stderr, "the display %s went away (its connection broke); the program ends\n",
                 display != nullptr ? DisplayString(display) : "");
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void SdlEventConnection::EndProgramWhenLost() {
    XSetIOErrorHandler(EndOnBrokenConnection);
}

SdlEventConnection SdlEventConnection::Of(SDL_Window* window) {
    SdlEventConnection connection;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11 || info.info.x11.display == nullptr) {
        return connection;
    }
    connection.m_display = info.info.x11.display;
    connection.m_descriptor = ConnectionNumber(info.info.x11.display);
    return connection;
}

bool SdlEventConnection::EventsPending() const {
    // Xlib may have read events into its queue while SDL drew, after the last pump: they no longer show on
    // the connection's descriptor. XPending flushes the requests made meanwhile and takes in what has come.
    return m_display != nullptr && XPending(static_cast<Display*>(m_display)) > 0;
}

bool SdlEventConnection::MayHaveEvents() const {
    if (m_display == nullptr) {
        return true;
    }
    pollfd readable{m_descriptor, POLLIN, 0};
    return ::poll(&readable, 1, 0) != 0 || XEventsQueued(static_cast<Display*>(m_display), QueuedAlready) > 0;
}

} // namespace video
