// A scripted observer of one control: once attached it is told everything that happens to the control, right
// after the control itself, may veto its flag changes, may change its hit test, may draw over it and may
// answer the messages the control does not know. Behaviours and controls do not own each other; whoever
// created them deletes them, and either side's destruction ends the attachment.
//
// Virtual operations are declared in their slot order; from OnIdle to OnPowerEvent each goes with the control
// operation of the same place (Control::Idle to Control::OnPowerEvent, Control::IsWindowed having none).
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/Rect.h"
#include "script/Messenger.h"

class Control;

class ControlBehavior : public Messenger {
public:
    ControlBehavior(const Vemo::String& name, Messenger* owner, Script* script);
    // Detaches from its control.
    ~ControlBehavior() override;

    Vemo::String GetClassName() const override;
    // Messenger::ReadScript, then the "Control" key: the name of a control, found from this behaviour, to
    // attach to. A name that finds no control is ignored.
    bool ReadScript() override;

    // The vetoes of the control's four flag setters.
    virtual bool AllowTransparent(bool transparent);
    virtual bool AllowVisible(bool visible);
    virtual bool AllowEnabled(bool enabled);
    virtual bool AllowActive(bool active);

    virtual void OnIdle();
    // May change the control's answer.
    virtual void OnHitTest(const Vemo::Point& local, bool& hit);
    // Draws over what the control drew.
    virtual void OnDraw(const Vemo::Rect& localPart);
    virtual void OnParentChanged();
    virtual void OnControlAttached();
    virtual void OnControlDetached();
    virtual void OnZOrderChanged();
    virtual void OnMoved();
    virtual void OnResized();
    virtual void OnRectangleChanged();
    virtual void OnShown();
    virtual void OnHidden();
    virtual void OnEnabled();
    virtual void OnDisabled();
    // False refuses the activation.
    virtual bool OnActivated();
    virtual void OnDeactivated();
    // False refuses the preparation.
    virtual bool OnPrepare();
    virtual void OnUpdateAppearance();
    virtual void OnPressed(const Vemo::Point& local, unsigned button);
    virtual void OnReleased(const Vemo::Point& local, unsigned button);
    virtual void OnMouseEnter(const Vemo::Point& local);
    virtual void OnMouseExit(const Vemo::Point& local);
    virtual void OnMouseMove(const Vemo::Point& local);
    virtual void OnKeyDown(unsigned key, unsigned extra);
    virtual void OnKeyUp(unsigned key);
    virtual void OnKeyCharacter(unsigned code, unsigned extra);
    virtual void OnGotFocus(bool fromPress);
    virtual void OnLostFocus();
    virtual void OnMouseCaptured();
    virtual void OnMouseCaptureLost();
    virtual void OnGrabbed();
    virtual void OnReleasedGrab(bool byButton);
    // The manager's power poll asks controls only; this hook is never called by it.
    virtual bool OnPowerEvent(unsigned code);
    // Every message the control passed to the Messenger handler, after that handler succeeded; false makes
    // the message fail.
    virtual bool OnMessage(const Fragment& message, Messenger* sender);
    // The behaviour was attached to a control, or detached from it.
    virtual void OnAttached();
    virtual void OnDetached();

    // Null detaches. Attaching to another control detaches from the current one first.
    bool SetControl(Control* control);
    Control* GetControl() const { return m_control; }

    // Every value of the key in the section names a behaviour's section: each is created by the factory
    // with the owner, attached to the control and appended to behaviors. The first that cannot be made, or
    // is not a behaviour, fails the call (reported); those made before stay with the caller.
    static bool CreateFromScriptKey(Script* script, const Vemo::String& section, const Vemo::String& key,
                                    Messenger* owner, Vemo::BasicArray<ControlBehavior*>* behaviors,
                                    Control* control);

    static const Vemo::String& ClassWord();
    // Null when the messenger is not a behaviour.
    static ControlBehavior* FromMessenger(Messenger* messenger);

private:
    friend class Control;

    // Leaves the control's list, clears the link and says so; nothing when detached.
    void Detach();

    Control* m_control = nullptr;
};
