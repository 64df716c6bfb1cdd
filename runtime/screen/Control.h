// The base of every on-screen element of a title: a messenger (class word "Control") with a position and size
// inside its parent, an absolute rectangle on the viewport, visibility, enabled, active, transparency and
// focus state, a place in a tree of controls and a list of behaviours that observe it and may veto what
// happens to it. A control lives in one ControlManager, which owns the tree's root, hit-tests, routes the
// mouse and the keyboard, tracks the dirty area and draws the tree back to front.
//
// The tree: a parent's children form a list whose LAST child is the front-most (drawn last, hit-tested
// first). Absolute rectangles are kept by the manager: left/top = the parent's left/top + position (the root:
// its position), right/bottom = left/top + size. The effective flags follow the own flags down the tree:
// shown = visible and the parent shown (and attached); likewise enabled and active.
//
// Controls are compared by messenger serial number, never by address. Points handed to the notifications
// are local: relative to the control's absolute top-left corner.
//
// A notification delivered by the framework is a pair: the control's operation, then the hook of the same
// name of each attached behaviour in list order (see Notify). Every failure reports the messenger module's
// generic failure code without text and answers false or null.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "foundation/BasicArray.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "runtime/screen/ControlBehavior.h"
#include "script/Messenger.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class ControlManager;
class FragmentStream;

namespace Vemo {
class Graphic;
class Viewport;
} // namespace Vemo

class Control : public Messenger {
public:
    // The cursor a control wants: a cursor state number and whether to show it at once.
    struct CursorInfo {
        std::uint32_t state = 0;
        std::uint8_t immediate = 0;
    };

    // The messenger module's generic failure, which the control framework reports for all its failures.
    static constexpr Vemo::ErrorCode kErrorFailure = Messenger::kErrorSettings;

    Control(const Vemo::String& name, Messenger* owner, Script* script);
    // Leaves its manager and its parent, leaves its children alive and parentless, and detaches its
    // behaviours (none is deleted).
    ~Control() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    // The attribute messages "Position", "Size", "Rectangle", "Transparent", "Visible", "Enable", "Active"
    // and "Focus"; every other message goes to the Messenger handler and then to the behaviours.
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    // Attaches under parent (not null) after `after` (see SetParent) and reads the script keys "Position",
    // "Size", "Enable", "Visible" and "Active". Refused for a control already attached or parented.
    virtual bool Configure(Control* parent, Control* after);
    // The four flag setters: true without change when the flag already has the value; a behaviour's veto
    // answers false and changes nothing.
    virtual bool SetTransparent(bool transparent);
    // Refused for the manager's root.
    virtual bool SetVisible(bool visible);
    virtual bool SetEnabled(bool enabled);
    // False when an activation hook refused.
    virtual bool SetActive(bool active);
    // Whether the control has a window of its own.
    virtual bool IsWindowed();
    // The per-frame step; tells every behaviour.
    virtual void Idle();
    // The fine hit test inside the rectangle.
    virtual bool ContainsPoint(const Vemo::Point& local);
    // Paints the part of the control, through the drawing helpers below.
    virtual void Draw(const Vemo::Rect& localPart);
    virtual void OnParentChanged();
    // The control joined, or left, a manager.
    virtual void OnAttached();
    virtual void OnDetached();
    virtual void OnZOrderChanged();
    virtual void OnMoved();
    virtual void OnResized();
    // Position and size changed together.
    virtual void OnRectangleChanged();
    virtual void OnShown();
    virtual void OnHidden();
    virtual void OnEnabled();
    virtual void OnDisabled();
    // Acquires what the control needs while active; false refuses the activation.
    virtual bool OnActivated();
    virtual void OnDeactivated();
    // (Re)builds what the control shows, for example after the display format changed.
    virtual bool Prepare();
    // Recomputes the visual state.
    virtual void UpdateAppearance();
    // The four mouse notifications announce themselves: "Pressed(n)", "Released(n)", "Enter", "Exit".
    virtual void OnPressed(const Vemo::Point& local, unsigned button);
    virtual void OnReleased(const Vemo::Point& local, unsigned button);
    virtual void OnMouseEnter(const Vemo::Point& local);
    virtual void OnMouseExit(const Vemo::Point& local);
    virtual void OnMouseMove(const Vemo::Point& local);
    virtual void OnKeyDown(unsigned key, unsigned extra);
    virtual void OnKeyUp(unsigned key);
    virtual void OnKeyCharacter(unsigned code, unsigned extra);
    virtual void OnGotFocus(bool byMouse);
    virtual void OnLostFocus();
    virtual void OnMouseCaptured();
    virtual void OnMouseCaptureLost();
    // A drag began, or ended.
    virtual void OnGrabbed();
    virtual void OnReleasedGrab(bool byButton);
    // A power event polled over the whole tree; false refuses it.
    virtual bool OnPowerEvent(unsigned code);

    // Moves the control into parent's child list: after `after`, first when `after` is the parent, last
    // (front-most) when it is null. `after` must be null, the parent or one of its children. Joining a tree
    // of another manager detaches the control's subtree from its old manager and attaches it to the new one.
    // Refused for the root and into the control's own subtree.
    bool SetParent(Control* parent, Control* after);
    // Within the parent's list, with `after` as in SetParent.
    bool PlaceAfter(Control* after);
    bool PlaceBefore(Control* other);
    bool SetPosition(const Vemo::Point& position);
    // Takes any size; the script key and the message check it.
    bool SetSize(const Vemo::Size& size);
    // In the parent's coordinates.
    bool SetRectangle(const Vemo::Rect& rectangle);
    // Refused without a manager, while hidden or disabled, or when the manager refuses.
    bool SetFocus();
    bool AddBehavior(ControlBehavior* behavior);
    // False when the behaviour is not attached to this control.
    bool RemoveBehavior(ControlBehavior* behavior);
    // Drags the control with the mouse (see ControlManager::BeginGrab); needs a manager and a parent.
    bool StartGrab(const Vemo::Point& offset, unsigned button, const Vemo::Rect& limits);
    bool ReleaseGrab();
    // ContainsPoint, then every behaviour's hit-test hook.
    bool HitTestLocal(const Vemo::Point& local);
    // The viewport the manager is drawing, null (reported) outside the manager's draw pass.
    Vemo::Viewport* GetViewport();
    // The drawing helpers: local coordinates onto the viewport being drawn; refused outside a draw pass.
    bool DrawGraphicAt(const Vemo::Point& at, Vemo::Graphic& source, const Vemo::Rect& sourcePart, int mode);
    bool DrawGraphicInRect(const Vemo::Rect& destination, Vemo::Graphic& source, const Vemo::Rect& sourcePart,
                           int mode);
    bool FillRect(const Vemo::Rect& area, std::uint32_t pixel, bool filled, int mode);
    bool FillRect(const Vemo::Rect& area, const Vemo::Color& color, bool filled, int mode);
    // The cursor wish named by the fragment. Without a cursor in the manager, true and out unchanged.
    bool ReadCursorInfo(const Fragment& fragment, CursorInfo& out);
    bool SetCursor(const CursorInfo& info);
    bool QueueCursorState(int state, bool flush);
    // The cursor's state at once.
    bool SetCursorState(int state);

    // The creation function of "Control": a plain scripted control is a transparent container.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
    // Null when the messenger is not a control.
    static Control* FromMessenger(Messenger* messenger);
    // The control of that serial number while it lives, else null.
    static Control* FindLive(std::uint32_t serialNumber);

    // One value of a "Control" key, `Section` or `Section, Sibling`: the factory makes the control of the
    // section with the owner, which is configured under parent (directly behind the sibling when parent has
    // a child of that name, else in front of all), gets the behaviours of its "Behavior" key when behaviors
    // is given, is appended to controls and creates the controls of its own "Control" key as its children.
    // A control that fails before it is listed is deleted and reported (code 1000) with the path of the
    // script its section came from and the section's name. With ownerSubscribes the owner subscribes to each
    // control before it is configured, so that what a control says while it first activates reaches it.
    static bool CreateFromScript(FragmentStream& value, Messenger* owner, Script* script,
                                 Vemo::BasicArray<Control*>* controls, Control* parent,
                                 Vemo::BasicArray<ControlBehavior*>* behaviors, bool ownerSubscribes = false);
    // Every value of the key, in file order, until one fails.
    static bool CreateFromScriptKey(Script* script, const Vemo::String& section, const Vemo::String& key,
                                    Messenger* owner, Vemo::BasicArray<Control*>* controls, Control* parent,
                                    Vemo::BasicArray<ControlBehavior*>* behaviors,
                                    bool ownerSubscribes = false);

    // Delivers a notification: the control's operation, then the hook of every behaviour attached when it
    // began that is still attached, unless the control is gone by then.
    template <class... Params, class... Args>
    void Notify(void (Control::*operation)(Params...), void (ControlBehavior::*hook)(Params...),
                Args&&... args);
    // The draw pass's pair: Draw, then every behaviour's OnDraw.
    void NotifyDraw(const Vemo::Rect& localPart) {
        Notify(&Control::Draw, &ControlBehavior::OnDraw, localPart);
    }
    // UpdateAppearance and its hooks.
    void NotifyUpdateAppearance() {
        Notify(&Control::UpdateAppearance, &ControlBehavior::OnUpdateAppearance);
    }
    // Prepare, then every behaviour's OnPrepare; the first refusal answers false.
    bool NotifyPrepare();
    // OnActivated, then every behaviour's OnActivated; the first refusal answers false.
    bool NotifyActivated();

    bool IsSameControl(const Control* other) const {
        return other != nullptr && other->GetSerialNumber() == GetSerialNumber();
    }

    const Vemo::Point& GetPosition() const { return m_position; }
    const Vemo::Size& GetSize() const { return m_size; }
    // Absolute, on the viewport.
    const Vemo::Rect& GetRectangle() const { return m_rectangle; }
    bool IsTransparent() const { return m_transparent != 0; }
    bool IsShown() const { return m_shown != 0; }
    bool IsVisible() const { return m_visible != 0; }
    bool IsEffectivelyEnabled() const { return m_enabledEffective != 0; }
    bool IsEnabled() const { return m_enabled != 0; }
    bool IsEffectivelyActive() const { return m_activeEffective != 0; }
    bool IsActive() const { return m_active != 0; }
    std::uint32_t GetPressedButtons() const { return m_pressedButtons; }
    bool IsMouseInside() const { return m_mouseInside != 0; }
    bool HasFocus() const { return m_hasFocus != 0; }
    bool HasCapture() const { return m_captured != 0; }
    bool IsGrabbed() const { return m_grabbed != 0; }
    ControlManager* GetManager() const { return m_manager; }
    Control* GetParentControl() const { return m_parentControl; }
    Control* GetPreviousSibling() const { return m_previousSibling; }
    Control* GetNextSibling() const { return m_nextSibling; }
    Control* GetFirstChild() const { return m_firstChild; }
    Control* GetLastChild() const { return m_lastChild; }
    const Vemo::BasicList<ControlBehavior*>& GetBehaviors() const { return m_behaviors; }

private:
    friend class ControlManager;
    friend class ControlBehavior;

    // Calls the visitor with every behaviour attached now that is still attached when its turn comes; stops
    // when the control is gone.
    template <class Visitor>
    void ForEachBehavior(Visitor&& visit);
    // Whether every behaviour asked agrees; the first refusal ends the asking.
    template <class Question>
    bool AllBehaviorsAgree(Question&& ask);
    // The control's operation, then the same hook of every behaviour, while all agree.
    bool Ask(bool (Control::*operation)(), bool (ControlBehavior::*hook)());

    bool IsRoot() const;
    // Whether this control is other or one of its ancestors.
    bool IsAncestorOf(const Control* other) const;
    // Whether after is null, the parent or one of its children.
    static bool IsPlaceInParent(const Control* parent, const Control* after);
    bool CanChangeFlag(bool (ControlBehavior::*allow)(bool), bool value);
    // Adds the area to the manager's dirty region when attached and shown.
    void InvalidateIfShown();
    void Unlink();
    void LinkAfter(Control* parent, Control* after);
    void NotifyAppearanceIfShown();
    bool ReadConfigurationKeys();
    bool HandleAttribute(unsigned id, const Fragment& message);
    bool HandleFocusMessage(bool focus);
    // Sends itself the text with no sender name: it reaches every subscriber.
    void Announce(const char* word, const unsigned* button);

    Vemo::Point m_position;
    Vemo::Size m_size;
    Vemo::Rect m_rectangle;
    std::uint8_t m_transparent = 0;
    std::uint8_t m_shown = 0;
    std::uint8_t m_visible = 0;
    std::uint8_t m_enabledEffective = 0;
    std::uint8_t m_enabled = 0;
    std::uint8_t m_activeEffective = 0;
    std::uint8_t m_active = 0;
    std::uint32_t m_pressedButtons = 0;
    std::uint8_t m_mouseInside = 0;
    std::uint8_t m_hasFocus = 0;
    std::uint8_t m_captured = 0;
    std::uint8_t m_grabbed = 0;
    ControlManager* m_manager = nullptr;
    Control* m_parentControl = nullptr;
    Control* m_previousSibling = nullptr;
    Control* m_nextSibling = nullptr;
    Control* m_firstChild = nullptr;
    Control* m_lastChild = nullptr;
    Vemo::BasicList<ControlBehavior*> m_behaviors;
};

template <class Visitor>
void Control::ForEachBehavior(Visitor&& visit) {
    if (m_behaviors.Empty()) {
        return;
    }
    const std::uint32_t serialNumber = GetSerialNumber();
    const std::vector<ControlBehavior*> attached(m_behaviors.begin(), m_behaviors.end());
    for (ControlBehavior* behavior : attached) {
        if (FindLive(serialNumber) != this) {
            return;
        }
        // A behaviour deleted meanwhile has left the list: only its address is compared.
        if (std::find(m_behaviors.begin(), m_behaviors.end(), behavior) != m_behaviors.end()) {
            visit(*behavior);
        }
    }
}

template <class Question>
bool Control::AllBehaviorsAgree(Question&& ask) {
    bool agreed = true;
    ForEachBehavior([&](ControlBehavior& behavior) { agreed = agreed && ask(behavior); });
    return agreed;
}

template <class... Params, class... Args>
void Control::Notify(void (Control::*operation)(Params...), void (ControlBehavior::*hook)(Params...),
                     Args&&... args) {
    const std::uint32_t serialNumber = GetSerialNumber();
    (this->*operation)(args...);
    if (FindLive(serialNumber) == this) {
        ForEachBehavior([&](ControlBehavior& behavior) { (behavior.*hook)(args...); });
    }
}
