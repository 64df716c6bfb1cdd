// A web page inside the title: an ActiveX host control whose hosted control is the system's web browser
// ("Shell.Explorer"). The script gives the start location ("StartUrl", or "StartFile" found through the
// file finder); messages move the browser back and forward, home, to the search page, reload, stop,
// navigate or quit it. Activation announces "FlashReady" when the browser was made and "FlashNotInstalled"
// when it was not (no browser exists on this system unless one is registered).
#pragma once

#include "controls/ATLWindowControl.h"

namespace com {
class IWebBrowser2;
}

class IEControlEventSink;

class IEControl : public ATLWindowControl {
public:
    IEControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~IEControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder* holder,
                             win32::HWND hostWindow) override;
    void ReleaseHostedControl() override;

    // Hooks for browser events; nothing happens in the title on any of them.
    virtual void OnDownloadEvent();
    virtual void OnBrowserEvent();
    virtual void OnBrowserQuit();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::String& GetStartLocation() const { return m_startLocation; }

protected:
    void AnnounceActivation(bool succeeded) override;

private:
    com::IWebBrowser2* m_browser = nullptr;
    IEControlEventSink* m_eventSink = nullptr;
    bool m_showScrollBar = false;
    Vemo::String m_startLocation;
};
