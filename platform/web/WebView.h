// A hosted web engine view drawn into a child window of ours: the pages of the web browser control and the
// Flash player's host page live in it.
#pragma once

#include "platform/win32/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web {

// What a view reports; each callback runs on the main thread during an application step; any may be empty.
struct WebViewEvents {
    std::function<void()> loadStarted;                         // a main-frame load began
    std::function<void(bool succeeded)> loadFinished;          // it finished, failed or was stopped
    std::function<void(const std::string& address)> navigated; // a main-frame load was committed
    std::function<void(const std::string& handler, const std::string& json)>
        scriptMessage; // window.webkit.messageHandlers[handler].postMessage(value), value as JSON
    std::function<void()> closeRequested; // the page called window.close()
};

struct WebViewOptions {
    bool muted = false;                       // a silent run mutes the view
    std::vector<std::string> messageHandlers; // names a page may post to
    std::vector<std::string> userScripts;     // run at document start in every page's main frame
};

class WebView {
public:
    // A view drawn into `window` (a child window; its client area is the view's size, and it follows the
    // window's size). Null, with one line saying why in *whyNot, when the engine is not built in, no display
    // can be had, or the engine fails to start.
    static std::unique_ptr<WebView> Create(win32::HWND window, const WebViewOptions& options,
                                           WebViewEvents events, std::string* whyNot);
    virtual ~WebView() = default;
    // http, https, about, or an address from TitleFileAddress / PlayerFileAddress.
    virtual void Load(const std::string& address) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Stop() = 0;
    virtual void Reload() = 0;
    virtual void RunScript(const std::string& script) = 0; // in the main frame, result ignored
    // Still loading what it was asked to load, or holding a frame not yet drawn (scripted runs wait for it).
    virtual bool Busy() const = 0;
    // Makes the view count as busy, until called with false, for a page that goes on loading after its own
    // load has ended (the Flash player's page, whose movie loads afterwards).
    virtual void SetPageBusy(bool busy) = 0;
};

// The engine's address of a title file, given as a Windows path of the emulated machine (C:\Titles\x.html);
// the engine reads it through the emulated drives (confinement holds). Empty for a path that has none.
std::string TitleFileAddress(const std::string& windowsPath);

// Files of the program's own (the Flash host page, Ruffle) are served from one host folder under a reserved
// address: PlayerFileAddress("host.html") -> the engine's address of hostFolder/host.html.
void ServePlayerFiles(const std::string& hostFolder);
std::string PlayerFileAddress(const std::string& relativePath);

// False in a build without the engine (CMake option VEMO_WEB=OFF).
bool EngineBuiltIn();

} // namespace web
