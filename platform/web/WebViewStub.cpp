// The web engine's place in a build without it (VEMO_WEB=OFF): no view can be made.
#include "platform/web/WebView.h"

namespace web {

std::unique_ptr<WebView> WebView::Create(win32::HWND, const WebViewOptions&, WebViewEvents,
                                         std::string* whyNot) {
    if (whyNot != nullptr) {
        *whyNot = "the program is built without the web engine (VEMO_WEB=OFF)";
    }
    return nullptr;
}

bool EngineBuiltIn() {
    return false;
}

} // namespace web
