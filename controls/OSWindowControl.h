// The base of the controls that own a real child window of the viewport's window instead of drawing into
// the viewport: the window exists while the control is active, lies on the control's rectangle, is shown,
// hidden and enabled with the control, and passes the keyboard focus to and from the control manager. Its
// messages reach HandleWindowMessage. A derived control may create the window itself before OnActivated
// runs (an ActiveX host window); the window is then subclassed so that its messages reach the control too.
//
// Such a control starts opaque; the "Transparent" message may make it transparent, and only its
// configuration makes it opaque.
#pragma once

#include "runtime/screen/Control.h"

#include "platform/win32/windows/Window.h"

class OSWindowSubclassHelper;

class OSWindowControl : public Control {
public:
    OSWindowControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~OSWindowControl() override;

    Vemo::String GetClassName() const override;
    bool Configure(Control* parent, Control* after) override;
    // Making it opaque is refused (false, nothing changed); transparent goes to the Control operation.
    bool SetTransparent(bool transparent) override;
    bool IsWindowed() override;
    void OnMoved() override;
    void OnResized() override;
    void OnRectangleChanged() override;
    void OnShown() override;
    void OnHidden() override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool OnActivated() override;
    void OnDeactivated() override;
    void OnGotFocus(bool byMouse) override;
    void OnLostFocus() override;

    // Every message of the window, before its own procedure: WM_SETFOCUS gives the control the manager's
    // focus, WM_KILLFOCUS takes it away. True consumes the message.
    virtual bool HandleWindowMessage(const win32::MSG& message);

    // The window class this control registers, and its class record's word.
    static const Vemo::String& ClassWord();

    win32::HWND GetWindow() const { return m_window; }
    // The window of the viewport the control is shown in: its manager's, else the application's.
    win32::HWND GetViewportWindow() const;

protected:
    void SetWindow(win32::HWND window) { m_window = window; }

private:
    static win32::LRESULT WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                          win32::LPARAM lParam);
    static bool RegisterWindowClass();
    void FollowRectangle();
    void DestroyOwnWindow();

    win32::HWND m_window = nullptr;
    OSWindowSubclassHelper* m_subclassHelper = nullptr;
};
