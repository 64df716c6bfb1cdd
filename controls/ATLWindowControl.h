// The abstract base of the controls that host an ActiveX control: its child window is a host window of the
// hosting library ("AtlAxWin"), made on activation and destroyed on deactivation; each derived control
// creates its own control in the host and releases it.
//
// An activation that fails undoes everything it made (hosted control, host window, holder, the library's
// start), as a deactivation would, so that nothing stays behind and the next activation tries afresh.
#pragma once

#include "controls/OSWindowControl.h"
#include "platform/com/Unknown.h"

namespace com {
class IAxWinHostWindow;
}

class ATLWindowControl : public OSWindowControl {
public:
    // Holds the host window's handle while the window exists.
    struct HostWindowHolder {
        win32::HWND window = nullptr;
    };

    ATLWindowControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ATLWindowControl() override;

    Vemo::String GetClassName() const override;
    bool OnActivated() override;
    void OnDeactivated() override;

    // The derived control makes its ActiveX control in the host.
    virtual bool CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder* holder,
                                     win32::HWND hostWindow) = 0;
    // Releases what CreateHostedControl made, or the part of it that was made.
    virtual void ReleaseHostedControl() = 0;
    virtual bool CreateHostWindow();
    virtual void DestroyHostWindow();

    static const Vemo::String& ClassWord();

    bool HasHostWindow() const { return m_hostWindow != nullptr; }

protected:
    // Creates the ActiveX control that text names (a ProgID, a CLSID, or an address for the browser) in the
    // host window and takes its interface iid into control; false when either step fails.
    static bool CreateControlInHost(com::IAxWinHostWindow& host, const Vemo::String& text,
                                    win32::HWND hostWindow, const com::IID& iid, void** control);

    // Tells the title whether the activation made a usable hosted control, once it is over: only a whole
    // success counts as one.
    virtual void AnnounceActivation(bool succeeded);

private:
    bool m_hostingStarted = false;
    HostWindowHolder* m_hostWindow = nullptr;
};
