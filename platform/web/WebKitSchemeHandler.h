// Serves our scheme (platform/web/WebAddresses.h) to the engine: title files read through the emulated drives
// (so a drive table's confinement holds for pages as for everything else a title reads) and the player's own
// files from the folder ServePlayerFiles named, each with the Content-Type of its extension. What cannot be
// read fails the request with a message naming it, also said on the standard error.
#pragma once

// Our Windows types first: GLib's TRUE and FALSE are macros, which would rename theirs.
#include "platform/win32/Types.h"

#include <webkit2/webkit2.h>

namespace web {

class WebKitSchemeHandler {
public:
    // Serves the scheme in the context, and lets pages of it reach each other and the web as pages of http
    // do.
    static void Register(WebKitWebContext* context);

    // The largest file served.
    static constexpr std::size_t kLargestFile = 256u << 20;

private:
    static void Serve(WebKitURISchemeRequest* request, gpointer unused);
};

} // namespace web
