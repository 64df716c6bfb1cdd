// The web browser control's interface and events, as the hosting library and the browser control use them:
// the members called on it, in the order the interface declares them.
#pragma once

#include "platform/com/Dispatch.h"

namespace com {

class IWebBrowser2 : public IDispatch {
public:
    virtual HRESULT GoBack() = 0;
    virtual HRESULT GoForward() = 0;
    virtual HRESULT GoHome() = 0;
    virtual HRESULT GoSearch() = 0;
    // Each VARIANT may be null or VT_EMPTY for "none".
    virtual HRESULT Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                             VARIANT* headers) = 0;
    virtual HRESULT Refresh() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Quit() = 0;
};

extern const IID IID_IWebBrowser2;
// The browser's event dispinterface.
extern const IID DIID_DWebBrowserEvents2;

} // namespace com
