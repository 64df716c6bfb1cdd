#include "runtime/screen/Control.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/Viewport.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/ControlManager.h"
#include "runtime/screen/Cursor.h"
#include "script/ErrorString.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"

#include <cstdio>
#include <unordered_map>

namespace {

enum AttributeWord : unsigned {
    kWordPosition = 0,
    kWordSize = 1,
    kWordRectangle = 2,
    kWordTransparent = 3,
    kWordVisible = 4,
    kWordEnable = 5,
    kWordActive = 6,
    kWordFocus = 7,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;

// Built on first use and never destroyed, like the messenger's own words.
const KeywordIds<unsigned>& AttributeWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Position", kWordPosition},
            {"Size", kWordSize},
            {"Rectangle", kWordRectangle},
            {"Transparent", kWordTransparent},
            {"Visible", kWordVisible},
            {"Enable", kWordEnable},
            {"Active", kWordActive},
            {"Focus", kWordFocus},
        },
        kMissingWord);
    return *words;
}

// The controls alive now, by serial number: the framework checks through it that a control its notification
// reached still exists before it goes on with it. Never destroyed, so that controls living until exit can
// still leave it.
std::unordered_map<std::uint32_t, Control*>& LiveControls() {
    static auto* const live = new std::unordered_map<std::uint32_t, Control*>;
    return *live;
}

const MessengerFactory::Registrar g_controlRegistrar(Control::ClassWord(), &Control::Create);

// The distance from one edge to the other, wrapping at 32 bits as screen arithmetic does.
std::int32_t Extent(std::int32_t from, std::int32_t to) {
    return Vemo::WrappingSubtract(to, from);
}

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// A control of a script's list that could not be made is reported with the path of the script its section
// came from and the section's name, so that an author can find it. The messenger, when there is one, is
// deleted once the path is taken: its script may go with it.
bool FailCreation(const Script* script, const Vemo::String& section, Messenger* made) {
    const Vemo::String path = ScriptPathText(made != nullptr ? made->GetScript() : script);
    delete made;
    RaiseQuotedItems(Control::kErrorFailure, {path, section});
    return false;
}

} // namespace

Control::Control(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {
    LiveControls()[GetSerialNumber()] = this;
}

Control::~Control() {
    if (m_manager != nullptr) {
        m_manager->RemoveControl(this);
    } else if (m_parentControl != nullptr) {
        Unlink();
        Notify(&Control::OnParentChanged, &ControlBehavior::OnParentChanged);
    }
    while (m_lastChild != nullptr) {
        Control* child = m_lastChild;
        child->Unlink();
        child->Notify(&Control::OnParentChanged, &ControlBehavior::OnParentChanged);
    }
    while (!m_behaviors.Empty()) {
        m_behaviors.Front()->Detach();
    }
    LiveControls().erase(GetSerialNumber());
}

const Vemo::String& Control::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("Control");
    return *word;
}

Vemo::String Control::GetClassName() const {
    return ClassWord();
}

Control* Control::FromMessenger(Messenger* messenger) {
    return dynamic_cast<Control*>(messenger);
}

Control* Control::FindLive(std::uint32_t serialNumber) {
    const auto found = LiveControls().find(serialNumber);
    return found != LiveControls().end() ? found->second : nullptr;
}

Messenger* Control::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* control = new Control(name, owner, script);
    if (!control->ReadScript()) {
        delete control;
        Fail();
        return nullptr;
    }
    control->SetTransparent(true);
    return control;
}

bool Control::ReadScript() {
    return Messenger::ReadScript();
}

// --- Configuration ---------------------------------------------------------------------------------------

bool Control::Configure(Control* parent, Control* after) {
    if (m_manager != nullptr || m_parentControl != nullptr) {
        return Fail();
    }
    if (!SetParent(parent, after)) {
        return false;
    }
    if (GetScript() == nullptr) {
        SetEnabled(true);
        SetVisible(true);
        SetActive(true);
        return true;
    }
    return ReadConfigurationKeys();
}

namespace {

// A flag key's value, true when the key is missing.
bool ReadFlagKey(const Vemo::BasicArray<Fragment>* value) {
    bool flag = true;
    if (value != nullptr) {
        FragmentStream(*value) >> flag;
    }
    return flag;
}

} // namespace

bool Control::ReadConfigurationKeys() {
    Script& script = *GetScript();
    const Vemo::String& section = GetSectionName();
    const Vemo::BasicArray<Fragment>* position = nullptr;
    const Vemo::BasicArray<Fragment>* size = nullptr;
    const Vemo::BasicArray<Fragment>* enable = nullptr;
    const Vemo::BasicArray<Fragment>* visible = nullptr;
    const Vemo::BasicArray<Fragment>* active = nullptr;
    if (!FindSectionKeys(script, section,
                         {{"Position", &position},
                          {"Size", &size},
                          {"Enable", &enable},
                          {"Visible", &visible},
                          {"Active", &active}})) {
        return Fail();
    }
    Vemo::Point point = m_position;
    if (position != nullptr) {
        FragmentStream(*position).ReadPosition(point);
    }
    Vemo::Size extent = m_size;
    if (size != nullptr) {
        FragmentStream(*size).ReadSize(extent);
        if (extent.width <= 0 || extent.height <= 0) {
            return Fail();
        }
    }
    if (!CheckPlacementKeys(&script, section, point, extent, size != nullptr)) {
        return Fail();
    }
    if (position != nullptr) {
        SetPosition(point);
    }
    if (size != nullptr) {
        SetSize(extent);
    }
    SetEnabled(ReadFlagKey(enable));
    SetVisible(ReadFlagKey(visible));
    SetActive(ReadFlagKey(active));
    return true;
}

// --- The tree --------------------------------------------------------------------------------------------

bool Control::IsRoot() const {
    return m_manager != nullptr && IsSameControl(m_manager->GetRootControl());
}

bool Control::IsAncestorOf(const Control* other) const {
    for (const Control* at = other; at != nullptr; at = at->m_parentControl) {
        if (IsSameControl(at)) {
            return true;
        }
    }
    return false;
}

bool Control::IsPlaceInParent(const Control* parent, const Control* after) {
    return after == nullptr || parent->IsSameControl(after) || parent->IsSameControl(after->m_parentControl);
}

void Control::Unlink() {
    Control* parent = m_parentControl;
    if (parent == nullptr) {
        return;
    }
    (m_previousSibling != nullptr ? m_previousSibling->m_nextSibling : parent->m_firstChild) = m_nextSibling;
    (m_nextSibling != nullptr ? m_nextSibling->m_previousSibling : parent->m_lastChild) = m_previousSibling;
    m_parentControl = nullptr;
    m_previousSibling = nullptr;
    m_nextSibling = nullptr;
}

void Control::LinkAfter(Control* parent, Control* after) {
    m_parentControl = parent;
    if (after == nullptr) {
        m_previousSibling = parent->m_lastChild;
        m_nextSibling = nullptr;
    } else if (parent->IsSameControl(after)) {
        m_previousSibling = nullptr;
        m_nextSibling = parent->m_firstChild;
    } else {
        m_previousSibling = after;
        m_nextSibling = after->m_nextSibling;
    }
    (m_previousSibling != nullptr ? m_previousSibling->m_nextSibling : parent->m_firstChild) = this;
    (m_nextSibling != nullptr ? m_nextSibling->m_previousSibling : parent->m_lastChild) = this;
}

void Control::InvalidateIfShown() {
    if (m_manager != nullptr && m_shown != 0) {
        m_manager->InvalidateControl(this, nullptr);
    }
}

void Control::NotifyAppearanceIfShown() {
    if (m_manager != nullptr && m_shown != 0) {
        NotifyUpdateAppearance();
    }
}

bool Control::SetParent(Control* parent, Control* after) {
    if (parent == nullptr || IsRoot()) {
        return Fail();
    }
    if (parent->IsSameControl(m_parentControl)) {
        return PlaceAfter(after);
    }
    if (IsAncestorOf(parent) || !IsPlaceInParent(parent, after)) {
        return Fail();
    }
    InvalidateIfShown();
    ControlManager* manager = parent->m_manager;
    if (m_manager == nullptr || m_manager == manager) {
        Unlink();
    } else {
        m_manager->RemoveControl(this);
    }
    if (m_manager == nullptr && manager != nullptr) {
        if (!manager->AddControl(this, parent, after)) {
            return Fail();
        }
    } else {
        LinkAfter(parent, after);
        if (m_manager != nullptr) {
            // The new parent may be hidden, disabled or inactive where the old one was not, or the reverse.
            m_manager->Reposition(this);
            m_manager->UpdateShown(this, false);
            m_manager->UpdateEnabled(this);
            if (!m_manager->UpdateActive(this)) {
                return Fail();
            }
        }
    }
    InvalidateIfShown();
    Notify(&Control::OnParentChanged, &ControlBehavior::OnParentChanged);
    NotifyAppearanceIfShown();
    return true;
}

bool Control::PlaceAfter(Control* after) {
    Control* parent = m_parentControl;
    if (parent == nullptr || IsRoot() || !IsPlaceInParent(parent, after)) {
        return Fail();
    }
    if (IsSameControl(after) || (after != nullptr && after->IsSameControl(m_previousSibling)) ||
        (parent->IsSameControl(after) && m_previousSibling == nullptr) ||
        (after == nullptr && m_nextSibling == nullptr)) {
        return true;
    }
    InvalidateIfShown();
    Unlink();
    LinkAfter(parent, after);
    InvalidateIfShown();
    Notify(&Control::OnZOrderChanged, &ControlBehavior::OnZOrderChanged);
    NotifyAppearanceIfShown();
    return true;
}

bool Control::PlaceBefore(Control* other) {
    if (other == nullptr || m_parentControl == nullptr ||
        !m_parentControl->IsSameControl(other->m_parentControl)) {
        return Fail();
    }
    return PlaceAfter(other->m_previousSibling != nullptr ? other->m_previousSibling : m_parentControl);
}

// --- Position and size -----------------------------------------------------------------------------------

bool Control::SetPosition(const Vemo::Point& position) {
    if (position == m_position) {
        return true;
    }
    InvalidateIfShown();
    m_position = position;
    if (m_manager != nullptr) {
        m_manager->Reposition(this);
    }
    InvalidateIfShown();
    Notify(&Control::OnMoved, &ControlBehavior::OnMoved);
    NotifyAppearanceIfShown();
    return true;
}

bool Control::SetSize(const Vemo::Size& size) {
    if (size.width == m_size.width && size.height == m_size.height) {
        return true;
    }
    InvalidateIfShown();
    m_size = size;
    if (m_manager != nullptr) {
        m_rectangle = Vemo::Rect(Vemo::Point(m_rectangle.left, m_rectangle.top), m_size);
    }
    InvalidateIfShown();
    Notify(&Control::OnResized, &ControlBehavior::OnResized);
    NotifyAppearanceIfShown();
    return true;
}

bool Control::SetRectangle(const Vemo::Rect& rectangle) {
    if (rectangle == Vemo::Rect(m_position, m_size)) {
        return true;
    }
    const Vemo::Point position(rectangle.left, rectangle.top);
    const Vemo::Size size(Extent(rectangle.left, rectangle.right), Extent(rectangle.top, rectangle.bottom));
    const bool moved = !(position == m_position);
    const bool resized = size.width != m_size.width || size.height != m_size.height;
    InvalidateIfShown();
    m_position = position;
    m_size = size;
    if (m_manager != nullptr) {
        if (moved) {
            m_manager->Reposition(this);
        } else {
            m_rectangle = Vemo::Rect(Vemo::Point(m_rectangle.left, m_rectangle.top), m_size);
        }
    }
    InvalidateIfShown();
    if (moved && resized) {
        Notify(&Control::OnRectangleChanged, &ControlBehavior::OnRectangleChanged);
    } else if (moved) {
        Notify(&Control::OnMoved, &ControlBehavior::OnMoved);
    } else {
        Notify(&Control::OnResized, &ControlBehavior::OnResized);
    }
    NotifyAppearanceIfShown();
    return true;
}

// --- Flags -----------------------------------------------------------------------------------------------

bool Control::CanChangeFlag(bool (ControlBehavior::*allow)(bool), bool value) {
    return AllBehaviorsAgree([&](ControlBehavior& behavior) { return (behavior.*allow)(value); });
}

bool Control::SetTransparent(bool transparent) {
    if ((m_transparent != 0) == transparent) {
        return true;
    }
    if (!CanChangeFlag(&ControlBehavior::AllowTransparent, transparent)) {
        return false;
    }
    // An opaque control hid what lies behind it from the dirty area; that part must now be redrawn too.
    m_transparent = transparent ? 1 : 0;
    InvalidateIfShown();
    return true;
}

bool Control::SetVisible(bool visible) {
    if ((m_visible != 0) == visible) {
        return true;
    }
    if (IsRoot()) {
        return Fail();
    }
    if (!CanChangeFlag(&ControlBehavior::AllowVisible, visible)) {
        return false;
    }
    m_visible = visible ? 1 : 0;
    if (m_manager != nullptr) {
        m_manager->UpdateShown(this, true);
    }
    return true;
}

bool Control::SetEnabled(bool enabled) {
    if ((m_enabled != 0) == enabled) {
        return true;
    }
    if (!CanChangeFlag(&ControlBehavior::AllowEnabled, enabled)) {
        return false;
    }
    m_enabled = enabled ? 1 : 0;
    if (m_manager != nullptr) {
        m_manager->UpdateEnabled(this);
    }
    return true;
}

bool Control::SetActive(bool active) {
    if ((m_active != 0) == active) {
        return true;
    }
    if (!CanChangeFlag(&ControlBehavior::AllowActive, active)) {
        return false;
    }
    m_active = active ? 1 : 0;
    if (m_manager != nullptr && !m_manager->UpdateActive(this)) {
        return Fail();
    }
    return true;
}

bool Control::SetFocus() {
    if (m_manager == nullptr || m_shown == 0 || m_enabledEffective == 0) {
        return Fail();
    }
    return m_manager->SetFocusControl(this);
}

// --- Behaviours ------------------------------------------------------------------------------------------

bool Control::AddBehavior(ControlBehavior* behavior) {
    if (behavior == nullptr) {
        return Fail();
    }
    return behavior->SetControl(this);
}

bool Control::RemoveBehavior(ControlBehavior* behavior) {
    if (behavior == nullptr || !IsSameControl(behavior->m_control)) {
        return Fail();
    }
    behavior->Detach();
    return true;
}

bool Control::NotifyPrepare() {
    return Ask(&Control::Prepare, &ControlBehavior::OnPrepare);
}

bool Control::NotifyActivated() {
    return Ask(&Control::OnActivated, &ControlBehavior::OnActivated);
}

bool Control::Ask(bool (Control::*operation)(), bool (ControlBehavior::*hook)()) {
    const std::uint32_t serialNumber = GetSerialNumber();
    return (this->*operation)() &&
           (FindLive(serialNumber) != this ||
            AllBehaviorsAgree([&](ControlBehavior& behavior) { return (behavior.*hook)(); }));
}

// --- Mouse, drags and hit tests --------------------------------------------------------------------------

bool Control::StartGrab(const Vemo::Point& offset, unsigned button, const Vemo::Rect& limits) {
    if (m_manager == nullptr || m_parentControl == nullptr) {
        return Fail();
    }
    return m_manager->BeginGrab(this, offset, button, limits);
}

bool Control::ReleaseGrab() {
    if (m_manager == nullptr || m_grabbed == 0) {
        return Fail();
    }
    return m_manager->ReleaseGrab(this, false);
}

bool Control::HitTestLocal(const Vemo::Point& local) {
    bool hit = ContainsPoint(local);
    ForEachBehavior([&](ControlBehavior& behavior) { behavior.OnHitTest(local, hit); });
    return hit;
}

// --- Drawing ---------------------------------------------------------------------------------------------

Vemo::Viewport* Control::GetViewport() {
    Vemo::Viewport* target = m_manager != nullptr ? m_manager->GetTarget() : nullptr;
    if (target == nullptr) {
        Fail();
    }
    return target;
}

namespace {

Vemo::Rect Offset(const Vemo::Rect& local, const Vemo::Rect& rectangle) {
    return local.Moved(rectangle.left, rectangle.top);
}

// A bitmap's part is given inside the part of its image that the bitmap shows.
Vemo::Rect BitmapPart(const Bitmap& bitmap, const Vemo::Rect& part) {
    const Vemo::Rect shown = bitmap.GetClipRect();
    Vemo::Rect clipped;
    part.Intersect(clipped, Vemo::Rect(0, 0, shown.right - shown.left, shown.bottom - shown.top));
    return Offset(clipped, shown);
}

} // namespace

bool Control::DrawGraphicAt(const Vemo::Point& at, Vemo::Graphic& source, const Vemo::Rect& sourcePart,
                            int mode) {
    Vemo::Viewport* target = GetViewport();
    if (target == nullptr) {
        return false;
    }
    const Vemo::Point destination(Vemo::WrappingAdd(at.x, m_rectangle.left),
                                  Vemo::WrappingAdd(at.y, m_rectangle.top));
    if (auto* bitmap = dynamic_cast<Bitmap*>(&source)) {
        const Bitmap::ColorKeyScope keyed(*bitmap);
        return target->Blit(destination, source, BitmapPart(*bitmap, sourcePart),
                            static_cast<std::uint32_t>(mode));
    }
    return target->Blit(destination, source, sourcePart, static_cast<std::uint32_t>(mode));
}

bool Control::DrawGraphicInRect(const Vemo::Rect& destination, Vemo::Graphic& source,
                                const Vemo::Rect& sourcePart, int mode) {
    Vemo::Viewport* target = GetViewport();
    if (target == nullptr) {
        return false;
    }
    if (auto* bitmap = dynamic_cast<Bitmap*>(&source)) {
        const Bitmap::ColorKeyScope keyed(*bitmap);
        return target->BlitScaled(Offset(destination, m_rectangle), source, BitmapPart(*bitmap, sourcePart),
                                  static_cast<std::uint32_t>(mode));
    }
    return target->BlitScaled(Offset(destination, m_rectangle), source, sourcePart,
                              static_cast<std::uint32_t>(mode));
}

bool Control::FillRect(const Vemo::Rect& area, std::uint32_t pixel, bool filled, int mode) {
    Vemo::Viewport* target = GetViewport();
    return target != nullptr &&
           target->FillRect(Offset(area, m_rectangle), pixel, filled, static_cast<std::uint32_t>(mode));
}

bool Control::FillRect(const Vemo::Rect& area, const Vemo::Color& color, bool filled, int mode) {
    Vemo::Viewport* target = GetViewport();
    return target != nullptr &&
           target->FillRect(Offset(area, m_rectangle), color, filled, static_cast<std::uint32_t>(mode));
}

// --- Cursor ----------------------------------------------------------------------------------------------

bool Control::ReadCursorInfo(const Fragment& fragment, CursorInfo& out) {
    if (m_manager == nullptr) {
        return Fail();
    }
    const Cursor* cursor = m_manager->GetCursor();
    if (cursor == nullptr) {
        return true;
    }
    Vemo::String name;
    fragment.GetText().GetString(name);
    const std::int32_t state = cursor->FindState(name);
    if (state < 0) {
        return Fail();
    }
    out.state = static_cast<std::uint32_t>(state);
    if (fragment.HasChildren()) {
        bool immediate = out.immediate != 0;
        FragmentStream(fragment.GetChildren()) >> immediate;
        out.immediate = immediate ? 1 : 0;
    }
    return true;
}

bool Control::SetCursor(const CursorInfo& info) {
    if (m_manager == nullptr) {
        return Fail();
    }
    if (info.immediate != 0) {
        m_manager->SetCursorState(static_cast<int>(info.state));
    } else {
        m_manager->QueueCursorState(static_cast<int>(info.state), true);
    }
    return true;
}

bool Control::SetCursorState(int state) {
    if (m_manager == nullptr) {
        return Fail();
    }
    m_manager->SetCursorState(state);
    return true;
}

bool Control::QueueCursorState(int state, bool flush) {
    if (m_manager == nullptr) {
        return Fail();
    }
    m_manager->QueueCursorState(state, flush);
    return true;
}

// --- Messages --------------------------------------------------------------------------------------------

bool Control::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = AttributeWords()[message.GetText()];
    if (id != kMissingWord) {
        return HandleAttribute(id, message);
    }
    const std::uint32_t serialNumber = GetSerialNumber();
    if (!Messenger::HandleMessage(message, sender)) {
        return false;
    }
    return FindLive(serialNumber) != this ||
           AllBehaviorsAgree([&](ControlBehavior& behavior) { return behavior.OnMessage(message, sender); });
}

namespace {

// A flag argument of an attribute message: true, false or "toggle" of the current value; the current value
// when there is none.
bool ReadFlag(FragmentStream& arguments, bool current) {
    arguments.ReadBoolOrToggle(current);
    return current;
}

} // namespace

bool Control::HandleAttribute(unsigned id, const Fragment& message) {
    FragmentStream arguments(message.GetChildren());
    switch (id) {
    case kWordPosition: {
        Vemo::Point position = m_position;
        arguments.ReadPosition(position);
        return SetPosition(position);
    }
    case kWordSize: {
        Vemo::Size size = m_size;
        arguments.ReadSize(size);
        return size.width >= 0 && size.height >= 0 ? SetSize(size) : Fail();
    }
    case kWordRectangle: {
        Vemo::Rect rectangle(m_position, m_size);
        arguments >> rectangle;
        return rectangle.right >= rectangle.left && rectangle.bottom >= rectangle.top
                   ? SetRectangle(rectangle)
                   : Fail();
    }
    case kWordTransparent:
        SetTransparent(ReadFlag(arguments, IsTransparent()));
        return true;
    case kWordVisible:
        return SetVisible(ReadFlag(arguments, IsShown()));
    case kWordEnable:
        return SetEnabled(ReadFlag(arguments, IsEffectivelyEnabled()));
    case kWordActive:
        return SetActive(ReadFlag(arguments, IsEffectivelyActive()));
    default:
        return HandleFocusMessage(ReadFlag(arguments, HasFocus()));
    }
}

bool Control::HandleFocusMessage(bool focus) {
    if (focus) {
        return SetFocus();
    }
    if (m_hasFocus != 0 && m_manager != nullptr) {
        return m_manager->SetFocusControl(nullptr);
    }
    return true;
}

void Control::Announce(const char* word, const unsigned* button) {
    Vemo::String text(word);
    if (button != nullptr) {
        char number[16];
        std::snprintf(number, sizeof(number), "(%u)", *button);
        text.Append(number);
    }
    ReceiveTextFrom(text, SubString());
}

// --- Script lists of controls ----------------------------------------------------------------------------

bool Control::CreateFromScript(FragmentStream& value, Messenger* owner, Script* script,
                               Vemo::BasicArray<Control*>* controls, Control* parent,
                               Vemo::BasicArray<ControlBehavior*>* behaviors, bool ownerSubscribes) {
    Vemo::String section;
    value >> section;
    Messenger* made = MessengerFactory::CreateFromScript(section, owner, script);
    if (made == nullptr) {
        return FailCreation(script, section, nullptr);
    }
    Control* control = FromMessenger(made);
    if (control == nullptr) {
        return FailCreation(script, section, made);
    }
    Control* after = nullptr;
    if (!value.AtEnd() && parent != nullptr) {
        Vemo::String sibling;
        value >> sibling;
        for (Control* child = parent->m_lastChild; child != nullptr; child = child->m_previousSibling) {
            if (child->GetName().Compare(sibling) == 0) {
                after = child->m_previousSibling != nullptr ? child->m_previousSibling : parent;
                break;
            }
        }
    }
    if (ownerSubscribes && owner != nullptr) {
        owner->Subscribe(*control);
    }
    if (!control->Configure(parent, after)) {
        return FailCreation(script, section, control);
    }
    // The control is described by the script its section's "Defined" keys led the factory to.
    Script* own = control->GetScript();
    if (behaviors != nullptr &&
        !ControlBehavior::CreateFromScriptKey(own, control->GetSectionName(), Vemo::String("Behavior"), owner,
                                              behaviors, control)) {
        return FailCreation(script, section, control);
    }
    if (controls != nullptr) {
        controls->PushBack(control);
    }
    if (!CreateFromScriptKey(own, control->GetSectionName(), ClassWord(), owner, controls, control, behaviors,
                             ownerSubscribes)) {
        return Fail();
    }
    return true;
}

bool Control::CreateFromScriptKey(Script* script, const Vemo::String& section, const Vemo::String& key,
                                  Messenger* owner, Vemo::BasicArray<Control*>* controls, Control* parent,
                                  Vemo::BasicArray<ControlBehavior*>* behaviors, bool ownerSubscribes) {
    ScriptKeyFragmentStreamEnumerator values;
    if (script == nullptr || !script->EnumerateKey(section, key, values)) {
        return Fail();
    }
    for (FragmentStream& value : values.GetStreams()) {
        if (!CreateFromScript(value, owner, script, controls, parent, behaviors, ownerSubscribes)) {
            return false;
        }
    }
    return true;
}

// --- The default operations ------------------------------------------------------------------------------

bool Control::IsWindowed() {
    return false;
}

void Control::Idle() {
    ForEachBehavior([](ControlBehavior& behavior) { behavior.OnIdle(); });
}

bool Control::ContainsPoint(const Vemo::Point&) {
    return true;
}

void Control::Draw(const Vemo::Rect&) {}

void Control::OnParentChanged() {}

void Control::OnAttached() {}

void Control::OnDetached() {}

void Control::OnZOrderChanged() {}

void Control::OnMoved() {}

void Control::OnResized() {}

void Control::OnRectangleChanged() {}

void Control::OnShown() {}

void Control::OnHidden() {}

void Control::OnEnabled() {}

void Control::OnDisabled() {}

bool Control::OnActivated() {
    return true;
}

void Control::OnDeactivated() {}

bool Control::Prepare() {
    return true;
}

void Control::UpdateAppearance() {}

void Control::OnPressed(const Vemo::Point&, unsigned button) {
    Announce("Pressed", &button);
}

void Control::OnReleased(const Vemo::Point&, unsigned button) {
    Announce("Released", &button);
}

void Control::OnMouseEnter(const Vemo::Point&) {
    Announce("Enter", nullptr);
}

void Control::OnMouseExit(const Vemo::Point&) {
    Announce("Exit", nullptr);
}

void Control::OnMouseMove(const Vemo::Point&) {}

void Control::OnKeyDown(unsigned, unsigned) {}

void Control::OnKeyUp(unsigned) {}

void Control::OnKeyCharacter(unsigned, unsigned) {}

void Control::OnGotFocus(bool) {}

void Control::OnLostFocus() {}

void Control::OnMouseCaptured() {}

void Control::OnMouseCaptureLost() {}

void Control::OnGrabbed() {}

void Control::OnReleasedGrab(bool) {}

bool Control::OnPowerEvent(unsigned) {
    return true;
}
