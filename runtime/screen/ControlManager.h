// The messenger that owns one tree of controls and everything the tree shares: the root control, the dirty
// region, the mouse and keyboard state, the focus, hover, capture and drag (grab) controls and the mouse and
// keyboard spies. The viewport derives from it: it feeds it the window's events (MouseMoved, MouseButton,
// Key, Character, PowerEvent), tells it the display's pixel format (SetPixelFormat) and has it draw the dirty
// area each frame (Draw). Controls reach it for invalidation, focus, capture, drags and drawing.
//
// Drawing: invalidation adds areas of the viewport to the dirty region, less what opaque controls in front
// hide; Draw paints each dirty rectangle back to front, every pixel at most once per opaque control, and
// answers the bounds of what it painted.
//
// Main thread only. Event operations never fail; a failure of the others reports the messenger module's
// generic failure code and answers false.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "foundation/BasicArray.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "foundation/Region.h"
#include "script/Messenger.h"

#include <cstdint>

class Control;
class Cursor;
class KeyboardSpy;
class MouseSpy;

namespace Vemo {
class Viewport;
} // namespace Vemo

class ControlManager : public Messenger {
public:
    // One part of a control to paint, in the control's local coordinates.
    struct FrontToBackDrawRecord {
        Vemo::Rect part;
        Control* control = nullptr;
        // The pass skips a control that an earlier one's drawing destroyed.
        std::uint32_t serialNumber = 0;
    };

    ControlManager(const Vemo::String& name, Messenger* owner, Script* script);
    // Deletes the root control, which leaves every control of the tree detached and parentless.
    ~ControlManager() override;

    Vemo::String GetClassName() const override;
    // Messenger::ReadScript, then the root: a plain, opaque Control named "BackgroundControl", owned by this
    // manager, visible, enabled and active, of rectangle (0, 0, 0, 0) until the viewport sizes it.
    bool ReadScript() override;

    // Null: the root's whole rectangle. Otherwise the area clipped to the root's rectangle.
    virtual void Invalidate(const Vemo::Rect* area);
    // The front-most shown control under the point whose fine hit test accepts it (the root included); null
    // outside the root. Right and bottom edges are outside.
    virtual Control* HitTest(const Vemo::Point& point);
    // Paints the dirty region into the target and empties it; bounds receives the bounding rectangle of what
    // was painted ((0, 0, 0, 0) when nothing was dirty). The target's clip rectangle is restored afterwards.
    // Controls that invalidate while they draw are painted again by the next pass.
    virtual void Draw(Vemo::Rect& bounds, Vemo::Viewport& target);
    virtual Control* GetRootControl();
    // SetFocus(control, false, false).
    virtual bool SetFocusControl(Control* control);
    virtual Control* GetFocusControl();
    virtual Control* GetHoverControl();
    virtual Control* GetCapturedControl();

    // --- What the viewport calls ---------------------------------------------------------------------------
    // The mouse at a point of the viewport: drags the grabbed control, or tracks the hover control (enter,
    // exit, move).
    void MouseMoved(const Vemo::Point& point);
    // A move to the point, then the button (0 left, 1 right, 2 middle) pressed or released: the hover control
    // takes the focus and is pressed; the release goes to the control it was pressed on.
    void MouseButton(const Vemo::Point& point, unsigned button, bool down);
    // A key (DirectInput scan code) to the spies, then to the focus control's ancestors from the root down,
    // then to the focus control.
    void Key(unsigned key, bool down, unsigned extra);
    void Character(unsigned code, unsigned extra);
    // Asks every control, each before its children; true only when all agreed.
    bool PowerEvent(unsigned code);
    // Takes the display's format, prepares every control for it and invalidates everything.
    bool SetPixelFormat(const Vemo::PixelFormat& format);

    // --- What controls call --------------------------------------------------------------------------------
    // The control's area, or the local part of it, less what its ancestors clip and what shown opaque
    // controls in front of it hide.
    void InvalidateControl(Control* control, const Vemo::Rect* part);
    // Recomputes the absolute rectangles of the control and its subtree.
    void Reposition(Control* control);
    // Recompute an effective flag from the own flag and the parent's; on a change the control is notified
    // and its children follow. Becoming hidden drops the control's interaction state first; becoming
    // disabled drops it too, keeping the hover while the mouse is inside.
    void UpdateShown(Control* control, bool invalidate);
    void UpdateEnabled(Control* control);
    // False when an activation hook refused (the control then stays inactive and its children unvisited).
    bool UpdateActive(Control* control);
    // Gives this manager to every control of the subtree, parents first, each told OnAttached.
    void AttachSubtree(Control* control);
    // Takes it from every control of the subtree, children first: interaction dropped, effective flags
    // cleared with their notifications, rectangle emptied, OnDetached.
    void DetachSubtree(Control* control);
    // Prepare and the behaviours' OnPrepare over the subtree, parents first; the first refusal fails.
    bool PrepareSubtree(Control* control);
    // Attaches a detached tree under parent, which is in this manager: attach, link after `after`,
    // reposition, show, enable, prepare (a refusal is reported and the attach goes on) and activate, whose
    // answer this is.
    bool AddControl(Control* control, Control* parent, Control* after);
    // Invalidates the control, detaches its subtree and unlinks it (the root: the manager loses its root).
    void RemoveControl(Control* control);
    // Null clears the focus. A control must be in this manager, shown and enabled; a running drag of another
    // control keeps the focus where it is. The old focus control loses its capture and pressed buttons.
    bool SetFocus(Control* control, bool fromPress, bool keepAppearance);
    // Drags the control: it moves so that the mouse holds it at offset, must then be under the mouse, takes
    // the hover and the focus and is pressed with the button, whose release ends the drag. The mouse point
    // is kept inside limits (the parent's coordinates) while the drag lasts.
    bool BeginGrab(Control* control, const Vemo::Point& offset, unsigned button, const Vemo::Rect& limits);
    // Only for the grabbed control.
    bool ReleaseGrab(Control* control, bool byButton);
    // The focus control takes the mouse: it stays the hover control wherever the mouse goes.
    bool CaptureMouse(Control* control);
    // Only for the control holding the capture; false otherwise, without a report.
    bool ReleaseCapture(Control* control);
    // The cursor's state, at once or queued; nothing while the manager has no cursor.
    void SetCursorState(int state);
    void QueueCursorState(int state, bool flush);

    // Outside the frame pass, while a target is set: one control's part (local), and a control's part with
    // its shown children over it, without occlusion.
    void DrawControlPart(Control* control, const Vemo::Rect& localPart);
    void DrawTree(Control* control, const Vemo::Rect& localPart);

    // The animated cursor, owned; null while there is none. A cursor set replaces (and deletes) the one
    // before.
    Cursor* GetCursor() const { return m_cursor; }
    void SetCursor(Cursor* cursor);

    const Vemo::Region& GetDirtyRegion() const { return m_dirty; }
    Control* GetGrabbedControl() const { return m_grabbed; }
    const Vemo::Point& GetMousePoint() const { return m_mousePoint; }
    std::uint32_t GetButtons() const { return m_buttons; }
    const Vemo::PixelFormat& GetDisplayPixelFormat() const { return m_pixelFormat; }
    // The viewport being drawn; null outside Draw.
    Vemo::Viewport* GetTarget() const { return m_target; }

private:
    friend class KeyboardSpy;
    friend class MouseSpy;

    Control* HitTestTree(Control* control, const Vemo::Point& point);
    // The cursor follows the mouse.
    void MoveCursor(const Vemo::Point& point);
    void CollectDrawRecords(Control* control, const Vemo::Rect& area, Vemo::Region& remaining);
    void DrawRecords();
    // Sets the clip to the part in absolute coordinates and paints it.
    void PaintPart(Control* control, const Vemo::Rect& localPart);
    // The dragged control follows the mouse within the drag limits.
    void DragTo(const Vemo::Point& point);
    // Where the control's position puts its top-left at the mouse point less offset.
    void MoveUnderMouse(Control* control, const Vemo::Point& offset);
    void TrackHover(const Vemo::Point& point);
    void PressButton(unsigned button);
    void ReleaseButton(unsigned button);
    // The focus control's ancestors from the root down, then the focus control, each only while the focus is
    // unchanged.
    template <class Deliver>
    void DeliverAlongFocusPath(Deliver&& deliver);
    void DropInteraction(Control* control, bool keepHover);
    void Forget(Control* control);
    void NotifyMouseExit(Control* control);
    void NotifyMouseEnter(Control* control);
    Vemo::Point LocalPoint(const Control* control) const;

    Vemo::Region m_dirty;
    Control* m_root = nullptr;
    Control* m_focus = nullptr;
    Control* m_hover = nullptr;
    Control* m_captured = nullptr;
    Control* m_grabbed = nullptr;
    Vemo::Point m_grabOffset;
    Vemo::Rect m_grabLimits;
    std::uint32_t m_grabButton = 0;
    Vemo::Point m_mousePoint;
    std::uint32_t m_buttons = 0;
    Vemo::PixelFormat m_pixelFormat;
    Vemo::Viewport* m_target = nullptr;
    Vemo::BasicList<MouseSpy*> m_mouseSpies;
    Cursor* m_cursor = nullptr;
    Vemo::BasicList<KeyboardSpy*> m_keyboardSpies;
    Vemo::BasicArray<FrontToBackDrawRecord> m_drawRecords;
};
