#include "runtime/screen/ControlManager.h"

#include "engines/graphics/Viewport.h"
#include "resources/error/Error.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/Cursor.h"
#include "runtime/screen/KeyboardSpy.h"
#include "runtime/screen/MouseSpy.h"

#include <algorithm>
#include <vector>

namespace {

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// A control and its serial number: whether it still exists after a notification that may have destroyed it.
struct Watched {
    explicit Watched(Control* watched)
        : control(watched), serialNumber(watched != nullptr ? watched->GetSerialNumber() : 0) {}

    bool Alive() const { return control != nullptr && Control::FindLive(serialNumber) == control; }

    Control* control;
    std::uint32_t serialNumber;
};

// The controls of a subtree, each before its children, or each after them.
void CollectSubtree(Control* control, bool childrenFirst, std::vector<Watched>& out) {
    if (!childrenFirst) {
        out.emplace_back(control);
    }
    for (Control* child = control->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        CollectSubtree(child, childrenFirst, out);
    }
    if (childrenFirst) {
        out.emplace_back(control);
    }
}

std::vector<Watched> Subtree(Control* control, bool childrenFirst) {
    std::vector<Watched> controls;
    if (control != nullptr) {
        CollectSubtree(control, childrenFirst, controls);
    }
    return controls;
}

std::vector<Watched> Children(Control* control) {
    std::vector<Watched> children;
    for (Control* child = control->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        children.emplace_back(child);
    }
    return children;
}

// Every spy listed when the event began that is still listed when its turn comes.
template <class Spy, class Call>
void CallSpies(const Vemo::BasicList<Spy*>& list, Call&& call) {
    if (list.Empty()) {
        return;
    }
    const std::vector<Spy*> spies(list.begin(), list.end());
    for (Spy* spy : spies) {
        if (std::find(list.begin(), list.end(), spy) != list.end()) {
            call(*spy);
        }
    }
}

bool Contains(const Vemo::Rect& rect, const Vemo::Point& point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

bool Overlaps(const Vemo::Rect& a, const Vemo::Rect& b) {
    Vemo::Rect common;
    a.Intersect(common, b);
    return !common.IsEmpty();
}

Vemo::Rect LocalBounds(const Control* control) {
    return Vemo::Rect(Vemo::Point(0, 0), control->GetSize());
}

} // namespace

ControlManager::ControlManager(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {}

ControlManager::~ControlManager() {
    delete m_cursor;
    m_cursor = nullptr;
    delete m_root;
    while (!m_mouseSpies.Empty()) {
        m_mouseSpies.Front()->Detach();
    }
    while (!m_keyboardSpies.Empty()) {
        m_keyboardSpies.Front()->Detach();
    }
}

Vemo::String ControlManager::GetClassName() const {
    return Vemo::String("ControlManager");
}

bool ControlManager::ReadScript() {
    if (!Messenger::ReadScript()) {
        return Fail();
    }
    if (m_root != nullptr) {
        return true;
    }
    auto* root = new Control(Vemo::String("BackgroundControl"), this, nullptr);
    if (!root->ReadScript()) {
        delete root;
        return Fail();
    }
    m_root = root;
    root->m_manager = this;
    root->m_visible = 1;
    root->m_shown = 1;
    root->m_enabled = 1;
    root->m_enabledEffective = 1;
    root->SetActive(true);
    return true;
}

// --- Dirty areas -----------------------------------------------------------------------------------------

void ControlManager::Invalidate(const Vemo::Rect* area) {
    if (m_root == nullptr) {
        return;
    }
    Vemo::Rect added = m_root->m_rectangle;
    if (area != nullptr) {
        area->Intersect(added, m_root->m_rectangle);
    }
    if (!added.IsEmpty()) {
        m_dirty.AddRect(added);
        m_dirty.Coalesce();
    }
}

void ControlManager::InvalidateControl(Control* control, const Vemo::Rect* part) {
    Vemo::Rect area = control->m_rectangle;
    if (part != nullptr) {
        Vemo::Rect local;
        part->Intersect(local, LocalBounds(control));
        area = local.Moved(control->m_rectangle.left, control->m_rectangle.top);
    }
    if (area.IsEmpty()) {
        return;
    }
    for (const Control* ancestor = control->m_parentControl; ancestor != nullptr;
         ancestor = ancestor->m_parentControl) {
        area.Intersect(area, ancestor->m_rectangle);
        if (area.IsEmpty()) {
            return;
        }
    }
    Vemo::Region visible;
    visible.AddRect(area);
    for (const Control* at = control; at->m_parentControl != nullptr; at = at->m_parentControl) {
        for (const Control* front = at->m_nextSibling; front != nullptr; front = front->m_nextSibling) {
            if (front->m_shown != 0 && front->m_transparent == 0 && Overlaps(front->m_rectangle, area)) {
                visible.SubtractRect(front->m_rectangle);
                visible.Coalesce();
            }
        }
        if (visible.Empty()) {
            return;
        }
    }
    m_dirty.Add(visible);
}

// --- Hit test --------------------------------------------------------------------------------------------

Control* ControlManager::HitTest(const Vemo::Point& point) {
    return m_root != nullptr ? HitTestTree(m_root, point) : nullptr;
}

Control* ControlManager::HitTestTree(Control* control, const Vemo::Point& point) {
    const Vemo::Rect& rect = control->m_rectangle;
    if (!Contains(rect, point)) {
        return nullptr;
    }
    for (Control* child = control->m_lastChild; child != nullptr; child = child->m_previousSibling) {
        if (child->m_shown != 0) {
            if (Control* hit = HitTestTree(child, point)) {
                return hit;
            }
        }
    }
    return control->HitTestLocal(Vemo::Point(point.x - rect.left, point.y - rect.top)) ? control : nullptr;
}

// --- Drawing ---------------------------------------------------------------------------------------------

void ControlManager::Draw(Vemo::Rect& bounds, Vemo::Viewport& target) {
    bounds = m_dirty.Bounds();
    // What controls invalidate while they draw stays for the next pass.
    Vemo::Region pending = m_dirty;
    m_dirty = Vemo::Region();
    if (m_root == nullptr || pending.Empty()) {
        return;
    }
    m_target = &target;
    const Vemo::Rect savedClip = *target.GetClipRect();
    while (const Vemo::Rect* first = pending.At(0)) {
        const Vemo::Rect area = *first;
        pending.EraseAt(0);
        Vemo::Region remaining;
        remaining.AddRect(area);
        CollectDrawRecords(m_root, area, remaining);
        DrawRecords();
    }
    target.SetClipRect(savedClip);
    m_target = nullptr;
}

// Front to back: the children from the front-most, then the control itself, each taking from `remaining`
// what it covers when it is opaque, so that nothing behind an opaque control is recorded.
void ControlManager::CollectDrawRecords(Control* control, const Vemo::Rect& area, Vemo::Region& remaining) {
    if (remaining.Empty()) {
        return;
    }
    for (Control* child = control->m_lastChild; child != nullptr; child = child->m_previousSibling) {
        if (child->m_shown == 0) {
            continue;
        }
        Vemo::Rect part;
        area.Intersect(part, child->m_rectangle);
        if (!part.IsEmpty()) {
            CollectDrawRecords(child, part, remaining);
        }
    }
    const Vemo::Region covered = remaining.Intersect(area);
    if (covered.Empty()) {
        return;
    }
    if (control->m_transparent == 0) {
        remaining.Subtract(covered);
    }
    const Vemo::Rect& rect = control->m_rectangle;
    for (const Vemo::Rect& part : covered) {
        m_drawRecords.PushBack(
            {part.Moved(Vemo::WrappingSubtract(0, rect.left), Vemo::WrappingSubtract(0, rect.top)), control,
             control->GetSerialNumber()});
    }
}

void ControlManager::DrawRecords() {
    for (std::size_t index = m_drawRecords.Size(); index > 0; --index) {
        const FrontToBackDrawRecord record = m_drawRecords[index - 1];
        if (Control::FindLive(record.serialNumber) == record.control) {
            PaintPart(record.control, record.part);
        }
    }
    m_drawRecords.Clear();
}

void ControlManager::PaintPart(Control* control, const Vemo::Rect& localPart) {
    m_target->SetClipRect(localPart.Moved(control->m_rectangle.left, control->m_rectangle.top));
    control->NotifyDraw(localPart);
}

void ControlManager::DrawControlPart(Control* control, const Vemo::Rect& localPart) {
    if (m_target != nullptr && control != nullptr) {
        PaintPart(control, localPart);
    }
}

void ControlManager::DrawTree(Control* control, const Vemo::Rect& localPart) {
    if (m_target == nullptr || control == nullptr) {
        return;
    }
    PaintPart(control, localPart);
    for (Control* child = control->m_firstChild; child != nullptr; child = child->m_nextSibling) {
        if (child->m_shown == 0) {
            continue;
        }
        const Vemo::Rect moved =
            localPart.Moved(Vemo::WrappingSubtract(control->m_rectangle.left, child->m_rectangle.left),
                            Vemo::WrappingSubtract(control->m_rectangle.top, child->m_rectangle.top));
        Vemo::Rect part;
        moved.Intersect(part, LocalBounds(child));
        if (!part.IsEmpty()) {
            DrawTree(child, part);
        }
    }
}

// --- Accessors of the virtual table ----------------------------------------------------------------------

Control* ControlManager::GetRootControl() {
    return m_root;
}

bool ControlManager::SetFocusControl(Control* control) {
    return SetFocus(control, false, false);
}

Control* ControlManager::GetFocusControl() {
    return m_focus;
}

Control* ControlManager::GetHoverControl() {
    return m_hover;
}

Control* ControlManager::GetCapturedControl() {
    return m_captured;
}

// --- Mouse -----------------------------------------------------------------------------------------------

Vemo::Point ControlManager::LocalPoint(const Control* control) const {
    return Vemo::Point(m_mousePoint.x - control->m_rectangle.left, m_mousePoint.y - control->m_rectangle.top);
}

void ControlManager::NotifyMouseEnter(Control* control) {
    control->Notify(&Control::OnMouseEnter, &ControlBehavior::OnMouseEnter, LocalPoint(control));
}

void ControlManager::NotifyMouseExit(Control* control) {
    control->Notify(&Control::OnMouseExit, &ControlBehavior::OnMouseExit, LocalPoint(control));
}

void ControlManager::MouseMoved(const Vemo::Point& point) {
    if (m_grabbed != nullptr) {
        DragTo(point);
        return;
    }
    if (!(point == m_mousePoint)) {
        m_mousePoint = point;
        CallSpies(m_mouseSpies, [&](MouseSpy& spy) { spy.Moved(point); });
        MoveCursor(point);
        if (m_hover != nullptr) {
            m_hover->Notify(&Control::OnMouseMove, &ControlBehavior::OnMouseMove, LocalPoint(m_hover));
        }
    }
    TrackHover(point);
}

void ControlManager::DragTo(const Vemo::Point& point) {
    if (point == m_mousePoint) {
        return;
    }
    m_mousePoint = point;
    CallSpies(m_mouseSpies, [&](MouseSpy& spy) { spy.Moved(point); });
    MoveCursor(point);
    Control* grabbed = m_grabbed;
    if (grabbed == nullptr) {
        return;
    }
    const Control* parent = grabbed->m_parentControl;
    const Vemo::Point origin =
        parent != nullptr ? Vemo::Point(parent->m_rectangle.left, parent->m_rectangle.top) : Vemo::Point();
    // The far limits are exclusive; with empty limits the near ones win.
    const std::int32_t x = std::max(m_grabLimits.left, std::min(point.x - origin.x, m_grabLimits.right - 1));
    const std::int32_t y = std::max(m_grabLimits.top, std::min(point.y - origin.y, m_grabLimits.bottom - 1));
    grabbed->SetPosition(Vemo::Point(x - m_grabOffset.x, y - m_grabOffset.y));
}

void ControlManager::MoveUnderMouse(Control* control, const Vemo::Point& offset) {
    const Control* parent = control->m_parentControl;
    control->SetPosition(Vemo::Point(m_mousePoint.x - offset.x - parent->m_rectangle.left,
                                     m_mousePoint.y - offset.y - parent->m_rectangle.top));
}

void ControlManager::TrackHover(const Vemo::Point& point) {
    const Watched hit(HitTest(point));
    if (hit.control != nullptr && hit.control->IsSameControl(m_hover)) {
        if (hit.control->m_mouseInside == 0) {
            hit.control->m_mouseInside = 1;
            NotifyMouseEnter(hit.control);
        }
        return;
    }
    if (Control* hover = m_hover) {
        if (hover->m_mouseInside != 0) {
            hover->m_mouseInside = 0;
            NotifyMouseExit(hover);
        }
        // A control holding the capture, or with a button pressed on it, stays the hover control while the
        // mouse is away, so that it sees the mouse come back.
        if (m_hover != nullptr && m_captured == nullptr && m_hover->m_pressedButtons == 0) {
            m_hover = nullptr;
        }
    }
    if (m_hover == nullptr && hit.Alive() && hit.control->m_manager == this && hit.control->m_shown != 0) {
        m_hover = hit.control;
        hit.control->m_mouseInside = 1;
        NotifyMouseEnter(hit.control);
    }
}

void ControlManager::MouseButton(const Vemo::Point& point, unsigned button, bool down) {
    MouseMoved(point);
    if (button >= 32) {
        return;
    }
    if (down) {
        PressButton(button);
    } else if ((m_buttons & (1u << button)) != 0) {
        ReleaseButton(button);
    }
}

void ControlManager::PressButton(unsigned button) {
    const std::uint32_t bit = 1u << button;
    m_buttons |= bit;
    CallSpies(m_mouseSpies, [&](MouseSpy& spy) { spy.ButtonDown(m_mousePoint, button); });
    if (m_hover == nullptr || m_hover->m_enabledEffective == 0) {
        return;
    }
    SetFocus(m_hover, true, false);
    if (Control* focus = m_focus) {
        focus->m_pressedButtons |= bit;
        focus->Notify(&Control::OnPressed, &ControlBehavior::OnPressed, LocalPoint(focus), button);
    }
}

void ControlManager::ReleaseButton(unsigned button) {
    const std::uint32_t bit = 1u << button;
    m_buttons &= ~bit;
    CallSpies(m_mouseSpies, [&](MouseSpy& spy) { spy.ButtonUp(m_mousePoint, button); });
    const Watched pressed(m_focus);
    if (pressed.control == nullptr || (pressed.control->m_pressedButtons & bit) == 0) {
        return;
    }
    pressed.control->m_pressedButtons &= ~bit;
    if (m_grabbed != nullptr && (m_grabbed->m_pressedButtons & (1u << m_grabButton)) == 0) {
        ReleaseGrab(m_grabbed, true);
    }
    if (pressed.Alive()) {
        pressed.control->Notify(&Control::OnReleased, &ControlBehavior::OnReleased,
                                LocalPoint(pressed.control), button);
    }
}

// --- Keyboard --------------------------------------------------------------------------------------------

template <class Deliver>
void ControlManager::DeliverAlongFocusPath(Deliver&& deliver) {
    Control* focus = m_focus;
    if (focus == nullptr) {
        return;
    }
    std::vector<Watched> path;
    for (Control* ancestor = focus->m_parentControl; ancestor != nullptr;
         ancestor = ancestor->m_parentControl) {
        path.emplace_back(ancestor);
    }
    std::reverse(path.begin(), path.end());
    path.emplace_back(focus);
    for (const Watched& control : path) {
        if (m_focus != focus || !control.Alive()) {
            return;
        }
        deliver(*control.control);
    }
}

void ControlManager::Key(unsigned key, bool down, unsigned extra) {
    if (down) {
        CallSpies(m_keyboardSpies, [&](KeyboardSpy& spy) { spy.KeyDown(key, extra); });
        DeliverAlongFocusPath([&](Control& control) {
            control.Notify(&Control::OnKeyDown, &ControlBehavior::OnKeyDown, key, extra);
        });
    } else {
        CallSpies(m_keyboardSpies, [&](KeyboardSpy& spy) { spy.KeyUp(key); });
        DeliverAlongFocusPath(
            [&](Control& control) { control.Notify(&Control::OnKeyUp, &ControlBehavior::OnKeyUp, key); });
    }
}

void ControlManager::Character(unsigned code, unsigned extra) {
    CallSpies(m_keyboardSpies, [&](KeyboardSpy& spy) { spy.Character(code, extra); });
    DeliverAlongFocusPath([&](Control& control) {
        control.Notify(&Control::OnKeyCharacter, &ControlBehavior::OnKeyCharacter, code, extra);
    });
}

// --- Power and display format ----------------------------------------------------------------------------

bool ControlManager::PowerEvent(unsigned code) {
    bool agreed = true;
    for (const Watched& control : Subtree(m_root, false)) {
        if (control.Alive() && control.control->m_manager == this && !control.control->OnPowerEvent(code)) {
            agreed = false;
        }
    }
    return agreed;
}

bool ControlManager::SetPixelFormat(const Vemo::PixelFormat& format) {
    m_pixelFormat = format;
    if (m_root == nullptr) {
        return Fail();
    }
    if (!PrepareSubtree(m_root)) {
        return false;
    }
    Invalidate(nullptr);
    return true;
}

bool ControlManager::PrepareSubtree(Control* control) {
    for (const Watched& prepared : Subtree(control, false)) {
        if (prepared.Alive() && !prepared.control->NotifyPrepare()) {
            return Fail();
        }
    }
    return true;
}

// --- The tree and its flags ------------------------------------------------------------------------------

void ControlManager::Reposition(Control* control) {
    const Control* parent = control->m_parentControl;
    Vemo::Point origin = control->m_position;
    if (parent != nullptr) {
        origin = Vemo::Point(Vemo::WrappingAdd(parent->m_rectangle.left, origin.x),
                             Vemo::WrappingAdd(parent->m_rectangle.top, origin.y));
    }
    control->m_rectangle = Vemo::Rect(origin, control->m_size);
    for (Control* child = control->m_firstChild; child != nullptr; child = child->m_nextSibling) {
        Reposition(child);
    }
}

void ControlManager::UpdateShown(Control* control, bool invalidate) {
    const Control* parent = control->m_parentControl;
    const bool shown = control->m_visible != 0 && (parent == nullptr || parent->m_shown != 0);
    if (shown == (control->m_shown != 0)) {
        return;
    }
    const Watched watched(control);
    if (!shown) {
        DropInteraction(control, false);
        if (!watched.Alive()) {
            return;
        }
        if (invalidate) {
            InvalidateControl(control, nullptr);
        }
        control->m_shown = 0;
        control->Notify(&Control::OnHidden, &ControlBehavior::OnHidden);
    } else {
        control->m_shown = 1;
        if (invalidate) {
            InvalidateControl(control, nullptr);
        }
        control->Notify(&Control::OnShown, &ControlBehavior::OnShown);
    }
    if (!watched.Alive()) {
        return;
    }
    control->NotifyUpdateAppearance();
    for (const Watched& child : Children(control)) {
        if (child.Alive() && child.control->m_parentControl == control && child.control->m_manager == this) {
            UpdateShown(child.control, false);
        }
    }
}

void ControlManager::UpdateEnabled(Control* control) {
    const Control* parent = control->m_parentControl;
    const bool enabled = control->m_enabled != 0 && (parent == nullptr || parent->m_enabledEffective != 0);
    if (enabled == (control->m_enabledEffective != 0)) {
        return;
    }
    const Watched watched(control);
    control->m_enabledEffective = enabled ? 1 : 0;
    if (!enabled && control->m_shown != 0) {
        DropInteraction(control, true);
    }
    if (!watched.Alive()) {
        return;
    }
    if (enabled) {
        control->Notify(&Control::OnEnabled, &ControlBehavior::OnEnabled);
    } else {
        control->Notify(&Control::OnDisabled, &ControlBehavior::OnDisabled);
    }
    if (!watched.Alive()) {
        return;
    }
    if (control->m_shown != 0) {
        control->NotifyUpdateAppearance();
    }
    for (const Watched& child : Children(control)) {
        if (child.Alive() && child.control->m_parentControl == control && child.control->m_manager == this) {
            UpdateEnabled(child.control);
        }
    }
}

bool ControlManager::UpdateActive(Control* control) {
    const Control* parent = control->m_parentControl;
    const bool active = control->m_active != 0 && (parent == nullptr || parent->m_activeEffective != 0);
    if (active == (control->m_activeEffective != 0)) {
        return true;
    }
    const Watched watched(control);
    control->m_activeEffective = active ? 1 : 0;
    if (!active) {
        control->Notify(&Control::OnDeactivated, &ControlBehavior::OnDeactivated);
    } else if (!control->NotifyActivated()) {
        if (watched.Alive()) {
            control->m_activeEffective = 0;
        }
        return false;
    }
    if (!watched.Alive()) {
        return true;
    }
    for (const Watched& child : Children(control)) {
        if (child.Alive() && child.control->m_parentControl == control && child.control->m_manager == this) {
            UpdateActive(child.control);
        }
    }
    return true;
}

void ControlManager::DropInteraction(Control* control, bool keepHover) {
    const Watched watched(control);
    if (control->IsSameControl(m_grabbed)) {
        ReleaseGrab(control, false);
    }
    if (watched.Alive() && control->IsSameControl(m_hover)) {
        control->m_pressedButtons = 0;
        if (control->m_mouseInside == 0) {
            m_hover = nullptr;
        } else if (!keepHover) {
            control->m_mouseInside = 0;
            m_hover = nullptr;
            NotifyMouseExit(control);
        }
    }
    if (watched.Alive() && control->IsSameControl(m_captured)) {
        ReleaseCapture(control);
    }
    if (watched.Alive() && control->IsSameControl(m_focus)) {
        SetFocus(nullptr, false, false);
    }
}

void ControlManager::Forget(Control* control) {
    for (Control** held : {&m_focus, &m_hover, &m_captured, &m_grabbed}) {
        if (control->IsSameControl(*held)) {
            *held = nullptr;
        }
    }
    control->m_pressedButtons = 0;
    control->m_mouseInside = 0;
    control->m_hasFocus = 0;
    control->m_captured = 0;
    control->m_grabbed = 0;
}

void ControlManager::AttachSubtree(Control* control) {
    for (const Watched& attached : Subtree(control, false)) {
        if (attached.Alive()) {
            attached.control->m_manager = this;
            attached.control->Notify(&Control::OnAttached, &ControlBehavior::OnControlAttached);
        }
    }
}

void ControlManager::DetachSubtree(Control* control) {
    for (const Watched& detached : Subtree(control, true)) {
        Control* each = detached.control;
        if (detached.Alive() && each->m_shown != 0) {
            DropInteraction(each, false);
            if (detached.Alive()) {
                each->m_shown = 0;
                each->Notify(&Control::OnHidden, &ControlBehavior::OnHidden);
            }
        }
        if (detached.Alive() && each->m_enabledEffective != 0) {
            each->m_enabledEffective = 0;
            each->Notify(&Control::OnDisabled, &ControlBehavior::OnDisabled);
        }
        if (detached.Alive() && each->m_activeEffective != 0) {
            each->m_activeEffective = 0;
            each->Notify(&Control::OnDeactivated, &ControlBehavior::OnDeactivated);
        }
        if (detached.Alive()) {
            each->m_rectangle = Vemo::Rect();
            Forget(each);
            each->m_manager = nullptr;
            each->Notify(&Control::OnDetached, &ControlBehavior::OnControlDetached);
        }
    }
}

bool ControlManager::AddControl(Control* control, Control* parent, Control* after) {
    const Watched watched(control);
    AttachSubtree(control);
    if (!watched.Alive()) {
        return false;
    }
    control->LinkAfter(parent, after);
    Reposition(control);
    UpdateShown(control, true);
    if (watched.Alive()) {
        UpdateEnabled(control);
    }
    // A control that cannot prepare still joins; it shows what it can.
    if (watched.Alive()) {
        PrepareSubtree(control);
    }
    return watched.Alive() && UpdateActive(control);
}

void ControlManager::RemoveControl(Control* control) {
    const Watched watched(control);
    if (control->m_shown != 0) {
        InvalidateControl(control, nullptr);
    }
    DetachSubtree(control);
    if (!watched.Alive()) {
        return;
    }
    if (control->m_parentControl != nullptr) {
        control->Unlink();
    } else if (control->IsSameControl(m_root)) {
        m_root = nullptr;
    }
}

// --- Focus, drags and capture ----------------------------------------------------------------------------

bool ControlManager::SetFocus(Control* control, bool fromPress, bool keepAppearance) {
    if (control != nullptr &&
        (control->m_manager != this || control->m_shown == 0 || control->m_enabledEffective == 0)) {
        return Fail();
    }
    if (control != nullptr ? control->IsSameControl(m_focus) : m_focus == nullptr) {
        return true;
    }
    const Watched wanted(control);
    if (Control* old = m_focus) {
        if (m_grabbed != nullptr && !m_grabbed->IsSameControl(control)) {
            return Fail();
        }
        if (Control* holder = m_captured) {
            holder->m_captured = 0;
            m_captured = nullptr;
            holder->Notify(&Control::OnMouseCaptureLost, &ControlBehavior::OnMouseCaptureLost);
        }
        const Watched lost(old);
        if (lost.Alive()) {
            m_focus = nullptr;
            old->m_pressedButtons = 0;
            old->m_hasFocus = 0;
            old->Notify(&Control::OnLostFocus, &ControlBehavior::OnLostFocus);
        }
        if (!keepAppearance && lost.Alive()) {
            old->NotifyUpdateAppearance();
        }
    }
    if (control == nullptr) {
        m_focus = nullptr;
        return true;
    }
    if (!wanted.Alive() || control->m_manager != this) {
        return Fail();
    }
    m_focus = control;
    control->m_hasFocus = 1;
    control->Notify(&Control::OnGotFocus, &ControlBehavior::OnGotFocus, fromPress);
    if (wanted.Alive()) {
        control->NotifyUpdateAppearance();
    }
    return true;
}

bool ControlManager::BeginGrab(Control* control, const Vemo::Point& offset, unsigned button,
                               const Vemo::Rect& limits) {
    if (control == nullptr || control->m_manager != this ||
        (m_grabbed != nullptr && !m_grabbed->IsSameControl(control)) || control->m_parentControl == nullptr ||
        control->m_shown == 0 || button >= 32 || (m_buttons & (1u << button)) == 0) {
        return Fail();
    }
    const Watched grabbed(control);
    const Vemo::Point original = control->m_position;
    MoveUnderMouse(control, offset);
    if (!grabbed.Alive()) {
        return Fail();
    }
    if (!control->IsSameControl(HitTest(m_mousePoint))) {
        control->SetPosition(original);
        return Fail();
    }
    // The dragged control takes the hover: another one that kept it would stay the hover control, without
    // the mouse, for the whole drag.
    if (Control* hover = m_hover; hover != nullptr && !hover->IsSameControl(control)) {
        m_hover = nullptr;
        if (hover->m_mouseInside != 0) {
            hover->m_mouseInside = 0;
            NotifyMouseExit(hover);
        }
    }
    if (m_captured != nullptr && !m_captured->IsSameControl(control)) {
        ReleaseCapture(m_captured);
    }
    if (m_focus != nullptr && !m_focus->IsSameControl(control)) {
        SetFocus(nullptr, false, false);
    }
    if (!grabbed.Alive()) {
        return Fail();
    }
    if (m_hover == nullptr) {
        m_hover = control;
    }
    if (control->IsSameControl(m_hover) && control->m_mouseInside == 0) {
        control->m_mouseInside = 1;
        NotifyMouseEnter(control);
    }
    if (m_hover == nullptr) {
        return Fail();
    }
    if (m_focus == nullptr && grabbed.Alive()) {
        SetFocus(control, true, false);
    }
    Control* focus = m_focus;
    if (focus == nullptr) {
        return Fail();
    }
    const std::uint32_t bit = 1u << button;
    if ((focus->m_pressedButtons & bit) == 0) {
        focus->m_pressedButtons |= bit;
        focus->Notify(&Control::OnPressed, &ControlBehavior::OnPressed, LocalPoint(focus), button);
    }
    if (!grabbed.Alive()) {
        return Fail();
    }
    m_grabOffset = offset;
    m_grabLimits = limits;
    m_grabButton = button;
    m_grabbed = control;
    control->m_grabbed = 1;
    control->Notify(&Control::OnGrabbed, &ControlBehavior::OnGrabbed);
    return true;
}

bool ControlManager::ReleaseGrab(Control* control, bool byButton) {
    if (control == nullptr || !control->IsSameControl(m_grabbed)) {
        return Fail();
    }
    control->m_grabbed = 0;
    m_grabbed = nullptr;
    control->Notify(&Control::OnReleasedGrab, &ControlBehavior::OnReleasedGrab, byButton);
    return true;
}

bool ControlManager::CaptureMouse(Control* control) {
    if (control == nullptr || !control->IsSameControl(m_focus) ||
        (m_grabbed != nullptr && !m_grabbed->IsSameControl(control))) {
        return Fail();
    }
    if (control->IsSameControl(m_captured)) {
        return true;
    }
    const Watched capturing(control);
    if (m_captured != nullptr) {
        ReleaseCapture(m_captured);
    }
    if (Control* hover = m_hover;
        hover != nullptr && !hover->IsSameControl(control) && hover->m_mouseInside != 0) {
        hover->m_mouseInside = 0;
        NotifyMouseExit(hover);
    }
    if (!capturing.Alive() || !control->IsSameControl(m_focus)) {
        return Fail();
    }
    m_hover = control;
    m_captured = control;
    control->m_captured = 1;
    control->Notify(&Control::OnMouseCaptured, &ControlBehavior::OnMouseCaptured);
    return m_captured != nullptr || Fail();
}

bool ControlManager::ReleaseCapture(Control* control) {
    if (control == nullptr || !control->IsSameControl(m_captured)) {
        return false;
    }
    control->m_captured = 0;
    m_captured = nullptr;
    control->Notify(&Control::OnMouseCaptureLost, &ControlBehavior::OnMouseCaptureLost);
    return true;
}

void ControlManager::MoveCursor(const Vemo::Point& point) {
    if (m_cursor != nullptr) {
        m_cursor->SetPosition(point);
    }
}

void ControlManager::SetCursor(Cursor* cursor) {
    if (cursor != m_cursor) {
        delete m_cursor;
        m_cursor = cursor;
    }
}

void ControlManager::SetCursorState(int state) {
    if (m_cursor != nullptr && state >= 0) {
        m_cursor->SetState(static_cast<unsigned>(state));
    }
}

void ControlManager::QueueCursorState(int state, bool flush) {
    if (m_cursor != nullptr && state >= 0) {
        m_cursor->QueueState(static_cast<unsigned>(state), flush);
    }
}
