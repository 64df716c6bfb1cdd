// The web browser control ("Shell.Explorer"): IWebBrowser2 on a web view of the hosted engine
// (platform/web/WebView.h), shown in a window of its own inside its host's window, firing DWebBrowserEvents2
// through its connection point: DownloadBegin when a load starts, DownloadComplete when it ends (finished,
// failed or stopped), NavigateComplete2 when a page is committed, OnQuit when the page calls window.close().
//
// Navigate takes an address (http, https, about, or our scheme's) or a title file: a Windows path of the
// emulated machine, or one relative to the current folder. GoHome and GoSearch go to the emulated machine's
// home and search pages: HKEY_CURRENT_USER "Software\Microsoft\Internet Explorer\Main", values "Start Page"
// and "Search Page" (about:blank when missing). Quit stops what loads; the page stays.
//
// Showing the control (DoVerb) makes its view; without a view (no engine built in, no display to be had)
// showing fails, with why on the standard error, and the host holds no browser.
#pragma once

#include "platform/com/Com.h"

namespace web {

class WebBrowserObject {
public:
    static const com::CLSID kClassId;
    static constexpr const char* kProgId = "Shell.Explorer";

    // Enters the class into the process's class registry; false when its CLSID or ProgID is taken already.
    static bool Register();
    static void Unregister();
};

} // namespace web
