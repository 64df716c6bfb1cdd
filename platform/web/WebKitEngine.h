// The hosted web engine as a whole: GTK on a display (the player's, or an X server of the program's own when
// headless), one web context for every view (ephemeral, sandboxed, with our scheme and the preferred
// languages), GLib's main loop run by the program's run loop, and the scripted run's clock held while a view
// is busy. Started by the first view, it stays until the program ends. Main thread only.
#pragma once

// Our Windows types first: GLib's TRUE and FALSE are macros, which would rename theirs.
#include "platform/win32/Types.h"

#include <webkit2/webkit2.h>

#include <string>
#include <vector>

namespace web {

class WebKitView;

class WebKitEngine {
public:
    // The engine, started by the first call; null, with one line saying why in whyNot, when no display can be
    // had or GTK does not start there (a later call tries again).
    static WebKitEngine* Start(std::string& whyNot);

    WebKitWebContext* Context() const { return m_context; }

    void Add(WebKitView* view);
    void Remove(WebKitView* view);

    // After GLib's main loop ran: every view draws the frame it holds and tells what happened to it.
    void AfterDrain();
    bool AnyViewBusy() const;

private:
    WebKitEngine() = default;
    bool Open(std::string& whyNot);
    bool IsLive(const WebKitView* view) const;

    WebKitWebContext* m_context = nullptr;
    std::vector<WebKitView*> m_views;
};

} // namespace web
