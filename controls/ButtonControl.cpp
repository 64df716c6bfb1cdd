#include "controls/ButtonControl.h"

#include "controls/ButtonControlScriptStatesEnumerator.h"
#include "engines/timing/Timer.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/fonts/Font.h"
#include "runtime/pictures/SelectionMask.h"
#include "runtime/screen/AlignmentWords.h"
#include "runtime/screen/ControlManager.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/TextLocale.h"

#include <algorithm>

namespace {

const MessengerFactory::Registrar g_buttonRegistrar(ButtonControl::ClassWord(), &ButtonControl::Create);

constexpr std::uint32_t kBlitCopy = 3;
constexpr std::uint32_t kSystemMemory = 3;
constexpr std::uint32_t kWholeText = 0xFFFFFFFF;

enum CursorEvent : int { kRolloverEvent, kPressedEvent, kClickedEvent, kDisabledEvent, kExitEvent };

enum MessageWord : int {
    kMessageText,
    kMessageVertical,
    kMessageHorizontal,
    kMessageSelectionMask,
    kMessageUpBitmap,
    kMessageDownBitmap,
    kMessageRolloverBitmap,
    kMessageDisabledBitmap,
    kMessageFlash,
    kMessageStopFlash,
};

const KeywordIds<int>& CursorEvents() {
    static const KeywordIds<int>* const words = new KeywordIds<int>({{"Rollover", kRolloverEvent},
                                                                     {"Pressed", kPressedEvent},
                                                                     {"Clicked", kClickedEvent},
                                                                     {"Disabled", kDisabledEvent},
                                                                     {"Exit", kExitEvent}},
                                                                    -1);
    return *words;
}

const KeywordIds<int>& MessageWords() {
    static const KeywordIds<int>* const words =
        new KeywordIds<int>({{"Text", kMessageText},
                             {"Vertical", kMessageVertical},
                             {"Horizontal", kMessageHorizontal},
                             {"SelectionMask", kMessageSelectionMask},
                             {"UpBitmap", kMessageUpBitmap},
                             {"DownBitmap", kMessageDownBitmap},
                             {"RolloverBitmap", kMessageRolloverBitmap},
                             {"DisabledBitmap", kMessageDisabledBitmap},
                             {"Flash", kMessageFlash},
                             {"StopFlash", kMessageStopFlash}},
                            -1);
    return *words;
}

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// The value of a key of the section, null when it is missing.
const Vemo::BasicArray<Fragment>* KeyValue(Script& script, const Vemo::String& section, const char* key) {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    script.GetFragments(section, Vemo::String(key), value);
    return value;
}

Vemo::String TextOf(const Fragment& fragment) {
    Vemo::String text;
    fragment.GetText().GetString(text);
    return text;
}

// The picture's rectangle at its offset, in the button's coordinates.
Vemo::Rect PlacedRect(const ButtonBitmap& bitmap) {
    const Vemo::Rect source = bitmap.GetClipRect();
    return Vemo::Rect(bitmap.GetOffsetX(), bitmap.GetOffsetY(),
                      bitmap.GetOffsetX() + (source.right - source.left),
                      bitmap.GetOffsetY() + (source.bottom - source.top));
}

} // namespace

ButtonControl::ButtonControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

ButtonControl::~ButtonControl() {
    ClearLooks();
}

const Vemo::String& ButtonControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ButtonControl");
    return *word;
}

Vemo::String ButtonControl::GetClassName() const {
    return ClassWord();
}

Messenger* ButtonControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ButtonControl>(name, owner, script);
}

bool ButtonControl::ReadScript() {
    return Control::ReadScript() || Fail();
}

ButtonLook& ButtonControl::LookRecord(Look look) {
    switch (look) {
    case kLookDown:
        return m_down;
    case kLookRollover:
        return m_rollover;
    case kLookDisabled:
        return m_disabled;
    default:
        return m_up;
    }
}

const ButtonLook& ButtonControl::GetLookRecord(Look look) const {
    return const_cast<ButtonControl*>(this)->LookRecord(look);
}

const Control::CursorInfo& ButtonControl::GetCursorWish(unsigned event) const {
    const CursorInfo* wishes[] = {&m_rolloverCursor, &m_pressedCursor, &m_clickedCursor, &m_disabledCursor,
                                  &m_exitCursor};
    return *wishes[std::min(event, 4u)];
}

void ButtonControl::Redraw() {
    if (IsShown() && GetManager() != nullptr) {
        GetManager()->InvalidateControl(this, nullptr);
    }
}

// --- Configuration ---------------------------------------------------------------------------------------

bool ButtonControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return false;
    }
    if (GetScript() == nullptr) {
        return true;
    }
    if (!ReadKeys()) {
        return false;
    }
    SetTransparent(true);
    return true;
}

bool ButtonControl::ReadKeys() {
    Script& script = *GetScript();
    const Vemo::String& section = GetSectionName();
    ButtonControlScriptStatesEnumerator pictures;
    if (!script.EnumerateSection(section, pictures)) {
        return Fail();
    }
    for (const ButtonControlScriptStatesEnumerator::Record& record : pictures.GetRecords()) {
        const bool loaded = record.id == 0 ? m_selectionMask != nullptr
                                           : LookRecord(static_cast<Look>(record.id)).bitmap != nullptr;
        if (loaded) {
            return Fail();
        }
        bool set = false;
        switch (record.id) {
        case 0:
            if (GetSize().width == 0 && GetSize().height == 0) {
                SetSize(Vemo::Size(-1, -1));
            }
            set = SetSelectionMask(record.value);
            break;
        case 1:
            set = SetUpBitmap(record.value);
            break;
        case 2:
            set = SetDownBitmap(record.value);
            break;
        case 3:
            set = SetRolloverBitmap(record.value);
            break;
        default:
            set = SetDisabledBitmap(record.value);
            break;
        }
        if (!set) {
            return false;
        }
    }

    if (GetManager() != nullptr && GetManager()->GetCursor() != nullptr) {
        if (const auto* cursor = KeyValue(script, section, "Cursor")) {
            for (const Fragment& item : *cursor) {
                if (!ReadCursorKey(item)) {
                    return false;
                }
            }
        }
    }

    const struct {
        const char* key;
        bool (ButtonControl::*set)(const Vemo::String&);
    } fonts[] = {{"UpFont", &ButtonControl::SetUpFont},
                 {"RolloverFont", &ButtonControl::SetRolloverFont},
                 {"DownFont", &ButtonControl::SetDownFont},
                 {"DisabledFont", &ButtonControl::SetDisabledFont}};
    for (const auto& font : fonts) {
        if (const auto* value = KeyValue(script, section, font.key)) {
            Vemo::String name;
            FragmentStream(*value) >> name;
            (this->*font.set)(name);
        }
    }
    if (const auto* value = KeyValue(script, section, "Font")) {
        Vemo::String name;
        FragmentStream(*value) >> name;
        const std::pair<Look, bool (ButtonControl::*)(const Vemo::String&)> looks[] = {
            {kLookUp, &ButtonControl::SetUpFont},
            {kLookDown, &ButtonControl::SetDownFont},
            {kLookRollover, &ButtonControl::SetRolloverFont},
            {kLookDisabled, &ButtonControl::SetDisabledFont}};
        for (const auto& [look, set] : looks) {
            if (LookRecord(look).fontName.IsEmpty()) {
                (this->*set)(name);
            }
        }
    }

    if (const auto* value = KeyValue(script, section, "Text")) {
        if (value->Empty()) {
            return Fail();
        }
        if (value->Size() == 1) {
            SetText(TextOf((*value)[0]));
        } else {
            FragmentStream stream(*value);
            const Fragment* table = nullptr;
            Vemo::String key;
            stream >> table >> key;
            SetTextFromLocaleName(*table, key);
        }
    }
    if (const auto* value = KeyValue(script, section, "Horizontal"); value != nullptr && !value->Empty()) {
        m_horizontal = ParseHorizontalAlignment((*value)[0].GetText());
    }
    if (const auto* value = KeyValue(script, section, "Vertical"); value != nullptr && !value->Empty()) {
        m_vertical = ParseVerticalAlignment((*value)[0].GetText());
    }
    return true;
}

bool ButtonControl::ReadCursorKey(const Fragment& item) {
    const int event = CursorEvents()[item.GetText()];
    if (event < 0) {
        return Fail();
    }
    if (!item.HasChildren()) {
        return true;
    }
    CursorInfo* wishes[] = {&m_rolloverCursor, &m_pressedCursor, &m_clickedCursor, &m_disabledCursor,
                            &m_exitCursor};
    return ReadCursorInfo(item.GetChildren()[0], *wishes[event]);
}

// --- Messages --------------------------------------------------------------------------------------------

bool ButtonControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const int word = MessageWords()[message.GetText()];
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    FragmentStream stream(arguments);
    switch (word) {
    case kMessageText:
        if (arguments.Empty()) {
            return false;
        }
        if (arguments.Size() == 1) {
            SetText(TextOf(arguments[0]));
            return true;
        } else {
            const Fragment* table = nullptr;
            Vemo::String key;
            stream >> table >> key;
            return SetTextFromLocaleName(*table, key);
        }
    case kMessageVertical:
        return !arguments.Empty() && SetVerticalAlignmentByName(TextOf(arguments[0]));
    case kMessageHorizontal:
        return !arguments.Empty() && SetHorizontalAlignmentByName(TextOf(arguments[0]));
    case kMessageSelectionMask:
        return SetSelectionMask(stream);
    case kMessageUpBitmap:
        return SetUpBitmap(stream);
    case kMessageDownBitmap:
        return SetDownBitmap(stream);
    case kMessageRolloverBitmap:
        return SetRolloverBitmap(stream);
    case kMessageDisabledBitmap:
        return SetDisabledBitmap(stream);
    case kMessageFlash: {
        unsigned period = kDefaultFlashPeriod;
        unsigned count = kDefaultFlashCount;
        bool useRollover = true;
        stream >> period >> count >> useRollover;
        return period == 0 || count == 0 || Flash(period, count, useRollover);
    }
    case kMessageStopFlash:
        StopFlash();
        return true;
    default:
        return Control::HandleMessage(message, sender);
    }
}

// --- Pictures --------------------------------------------------------------------------------------------

bool ButtonControl::LoadLook(ButtonLook& look) {
    auto* bitmap = new ButtonBitmap;
    FragmentStream spec(look.bitmapSpec);
    if (!bitmap->Configure(spec, &GetManager()->GetDisplayPixelFormat(), 0, nullptr, nullptr)) {
        delete bitmap;
        return Fail();
    }
    look.bitmap = bitmap;
    return true;
}

bool ButtonControl::SetLookBitmap(Look number, const FragmentStream& spec) {
    ButtonLook& look = LookRecord(number);
    look.bitmapSpec.Clear();
    FragmentStream(spec) >> look.bitmapSpec;
    if (!IsEffectivelyActive()) {
        return true;
    }
    delete look.bitmap;
    look.bitmap = nullptr;
    if (GetManager() != nullptr && !LoadLook(look)) {
        return false;
    }
    if (m_look == number) {
        Redraw();
    }
    return true;
}

bool ButtonControl::SetUpBitmap(const FragmentStream& spec) {
    return SetLookBitmap(kLookUp, spec);
}

bool ButtonControl::SetDownBitmap(const FragmentStream& spec) {
    return SetLookBitmap(kLookDown, spec);
}

bool ButtonControl::SetRolloverBitmap(const FragmentStream& spec) {
    return SetLookBitmap(kLookRollover, spec);
}

bool ButtonControl::SetDisabledBitmap(const FragmentStream& spec) {
    return SetLookBitmap(kLookDisabled, spec);
}

bool ButtonControl::SetSelectionMask(const FragmentStream& spec) {
    m_selectionMaskSpec.Clear();
    FragmentStream(spec) >> m_selectionMaskSpec;
    if (!IsEffectivelyActive()) {
        return true;
    }
    delete m_selectionMask;
    m_selectionMask = nullptr;
    if (GetManager() != nullptr) {
        if (!LoadSelectionMask()) {
            return false;
        }
        Redraw();
    }
    return true;
}

bool ButtonControl::LoadSelectionMask() {
    auto* mask = new SelectionMask;
    FragmentStream spec(m_selectionMaskSpec);
    if (!mask->Configure(spec, nullptr, kSystemMemory, nullptr, nullptr)) {
        delete mask;
        return Fail();
    }
    const Vemo::Rect source = mask->GetClipRect();
    const std::int32_t width = source.right - source.left;
    const std::int32_t height = source.bottom - source.top;
    if (mask->HasHotSpot()) {
        const std::int64_t x = static_cast<std::int64_t>(mask->GetHotSpotX()) - mask->GetOffsetX();
        const std::int64_t y = static_cast<std::int64_t>(mask->GetHotSpotY()) - mask->GetOffsetY();
        if (x < 0 || x >= width || y < 0 || y >= height) {
            delete mask;
            return Fail();
        }
        mask->SetSelectingValue(mask->GetPixel(Vemo::Point(source.left + static_cast<std::int32_t>(x),
                                                           source.top + static_cast<std::int32_t>(y))));
    }
    m_selectionMask = mask;
    if (GetSize().width == -1 && GetSize().height == -1) {
        SetSize(Vemo::Size(width, height));
    }
    return true;
}

bool ButtonControl::LoadLooks() {
    if (m_selectionMask == nullptr && !m_selectionMaskSpec.Empty() && !LoadSelectionMask()) {
        return false;
    }
    if (GetManager() == nullptr) {
        return true;
    }
    for (ButtonLook* look : {&m_up, &m_rollover, &m_down, &m_disabled}) {
        if (look->bitmap == nullptr && !look->bitmapSpec.Empty() && !LoadLook(*look)) {
            return false;
        }
    }
    return true;
}

bool ButtonControl::ReleaseLooks() {
    delete m_selectionMask;
    m_selectionMask = nullptr;
    for (ButtonLook* look : {&m_up, &m_rollover, &m_down, &m_disabled}) {
        delete look->bitmap;
        look->bitmap = nullptr;
    }
    return true;
}

void ButtonControl::ClearLooks() {
    delete m_selectionMask;
    m_selectionMask = nullptr;
    m_selectionMaskSpec.Clear();
    for (ButtonLook* look : {&m_up, &m_rollover, &m_down, &m_disabled}) {
        delete look->bitmap;
        look->bitmap = nullptr;
        look->bitmapSpec.Clear();
        delete look->font;
        look->font = nullptr;
        look->fontName = Vemo::String();
    }
    delete m_flashTimer;
    m_flashTimer = nullptr;
    Redraw();
}

// --- Text ------------------------------------------------------------------------------------------------

bool ButtonControl::SetLookFont(Look number, const Vemo::String& name) {
    ButtonLook& look = LookRecord(number);
    if (look.font != nullptr && Vemo::CompareNoCase(look.font->GetName().CStr(), name.CStr()) == 0) {
        return true;
    }
    delete look.font;
    look.font = nullptr;
    look.fontName = name;
    if (!name.IsEmpty() && GetManager() != nullptr) {
        auto* font = new Font;
        if (!font->Load(name, &GetManager()->GetDisplayPixelFormat(), nullptr)) {
            delete font;
            return Fail();
        }
        look.font = font;
    }
    if (m_look == number) {
        Redraw();
    }
    return true;
}

bool ButtonControl::SetUpFont(const Vemo::String& name) {
    return SetLookFont(kLookUp, name);
}

bool ButtonControl::SetRolloverFont(const Vemo::String& name) {
    return SetLookFont(kLookRollover, name);
}

bool ButtonControl::SetDownFont(const Vemo::String& name) {
    return SetLookFont(kLookDown, name);
}

bool ButtonControl::SetDisabledFont(const Vemo::String& name) {
    return SetLookFont(kLookDisabled, name);
}

void ButtonControl::SetText(const Vemo::String& text) {
    const bool same = text.Length() == m_text.Length() &&
                      std::equal(text.CStr(), text.CStr() + text.Length(), m_text.CStr());
    if ((text.Length() < kComparedTextLength && same) || (text.IsEmpty() && m_text.IsEmpty())) {
        return;
    }
    m_text = text;
    Redraw();
}

bool ButtonControl::SetTextFromLocale(TextLocale& locale, const Vemo::String& key) {
    Vemo::String text;
    if (!locale.Lookup(key, text)) {
        return Fail();
    }
    SetText(text);
    return true;
}

bool ButtonControl::SetTextFromLocaleName(const Fragment& localeName, const Vemo::String& key) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    TextLocale* locale = application != nullptr ? application->GetTextLocale(localeName) : nullptr;
    if (locale == nullptr) {
        return Fail();
    }
    return SetTextFromLocale(*locale, key);
}

bool ButtonControl::SetHorizontalAlignmentByName(const Vemo::String& word) {
    const auto alignment = FindHorizontalAlignment(word);
    return alignment.has_value() && SetHorizontalAlignment(*alignment);
}

bool ButtonControl::SetHorizontalAlignment(Vemo::GraphicSystem::HorizontalAlignment alignment) {
    if (alignment != m_horizontal) {
        m_horizontal = alignment;
        Redraw();
    }
    return true;
}

bool ButtonControl::SetVerticalAlignmentByName(const Vemo::String& word) {
    const auto alignment = FindVerticalAlignment(word);
    return alignment.has_value() && SetVerticalAlignment(*alignment);
}

bool ButtonControl::SetVerticalAlignment(Vemo::GraphicSystem::VerticalAlignment alignment) {
    if (alignment != m_vertical) {
        m_vertical = alignment;
        Redraw();
    }
    return true;
}

// --- Flashing --------------------------------------------------------------------------------------------

bool ButtonControl::Flash(unsigned period, unsigned count, bool useRollover) {
    StopFlash();
    m_flashTimer = new Vemo::Timer;
    if (!m_flashTimer->Open(Vemo::TimerSystem::Standard, period, Vemo::TimerSystem::MilliSecond,
                            Vemo::kTimerTypeId)) {
        return Fail();
    }
    m_flashCount = count;
    m_flashUsesRollover = useRollover ? 1 : 0;
    m_flashTimer->Start();
    return true;
}

void ButtonControl::StopFlash() {
    delete m_flashTimer;
    m_flashTimer = nullptr;
    Redraw();
}

void ButtonControl::Idle() {
    Control::Idle();
    if (m_flashTimer == nullptr) {
        return;
    }
    const std::int32_t ticks = m_flashTimer->TakeTicks();
    if (ticks <= 0) {
        return;
    }
    Redraw();
    for (std::int32_t i = 0; i < ticks; ++i) {
        m_flashPhase ^= 1;
        if (--m_flashCount == 0) {
            StopFlash();
            return;
        }
    }
}

// --- Drawing and hit test --------------------------------------------------------------------------------

bool ButtonControl::ContainsPoint(const Vemo::Point& local) {
    if (m_selectionMask == nullptr) {
        return true;
    }
    const Vemo::Rect source = m_selectionMask->GetClipRect();
    const std::int64_t maskWidth = source.right - source.left;
    const std::int64_t maskHeight = source.bottom - source.top;
    const std::int64_t width = GetSize().width;
    const std::int64_t height = GetSize().height;
    std::int64_t x = width != 0 ? local.x * maskWidth / width : 0;
    std::int64_t y = height != 0 ? local.y * maskHeight / height : 0;
    x -= m_selectionMask->GetOffsetX();
    y -= m_selectionMask->GetOffsetY();
    if (x < 0 || x >= maskWidth || y < 0 || y >= maskHeight) {
        return false;
    }
    const Vemo::Point at(source.left + static_cast<std::int32_t>(x),
                         source.top + static_cast<std::int32_t>(y));
    return m_selectionMask->GetPixel(at) == m_selectionMask->GetSelectingValue();
}

void ButtonControl::Draw(const Vemo::Rect& localPart) {
    std::uint32_t shown = m_look;
    if (m_flashTimer != nullptr) {
        shown = m_flashPhase == 0 ? kLookUp : m_flashUsesRollover != 0 ? kLookRollover : kLookDown;
    }
    if (shown == kLookNone) {
        return;
    }
    ButtonLook& look = LookRecord(static_cast<Look>(shown));
    if (look.bitmap != nullptr) {
        Vemo::Rect part;
        PlacedRect(*look.bitmap).Intersect(part, localPart);
        if (!part.IsEmpty()) {
            const Vemo::Rect source(
                part.left - look.bitmap->GetOffsetX(), part.top - look.bitmap->GetOffsetY(),
                part.right - look.bitmap->GetOffsetX(), part.bottom - look.bitmap->GetOffsetY());
            DrawGraphicInRect(part, *look.bitmap, source, kBlitCopy);
        }
    }
    if (!m_text.IsEmpty() && look.font != nullptr) {
        if (Vemo::Viewport* target = GetViewport()) {
            look.font->Draw(*target, GetRectangle(), m_text, m_vertical, m_horizontal, 0, kWholeText);
        }
    }
}

void ButtonControl::UpdateAppearance() {
    std::uint32_t look = kLookNone;
    if (IsShown()) {
        if (!IsEffectivelyEnabled()) {
            look = kLookDisabled;
        } else if (IsMouseInside()) {
            look = (GetPressedButtons() & 1) != 0 ? kLookDown : kLookRollover;
        } else {
            look = kLookUp;
        }
    }
    if (look != m_look) {
        m_look = look;
        Redraw();
    }
}

// --- Mouse and state -------------------------------------------------------------------------------------

bool ButtonControl::ApplyCursorWish(const CursorInfo& wish, bool flush) {
    if (wish.immediate != 0) {
        if (GetManager() == nullptr) {
            return Fail();
        }
        GetManager()->SetCursorState(static_cast<int>(wish.state));
        return true;
    }
    return QueueCursorState(static_cast<int>(wish.state), flush);
}

void ButtonControl::OnPressed(const Vemo::Point& local, unsigned button) {
    if (button == 0) {
        StopFlash();
        SetCursor(m_pressedCursor);
        UpdateAppearance();
    }
    Control::OnPressed(local, button);
}

void ButtonControl::OnReleased(const Vemo::Point& local, unsigned button) {
    if (button == 0 && IsMouseInside()) {
        const CursorInfo* wishes[] = {&m_clickedCursor, &m_rolloverCursor};
        for (std::size_t i = 0; i < std::size(wishes); ++i) {
            if (!ApplyCursorWish(*wishes[i], i == 0)) {
                break;
            }
        }
        OnClicked(local, 0);
        UpdateAppearance();
    } else if (button == 0) {
        UpdateAppearance();
    }
    Control::OnReleased(local, button);
}

void ButtonControl::OnClicked(const Vemo::Point&, unsigned button) {
    if (button == 0) {
        ReceiveTextFrom(Vemo::String("Clicked"), SubString());
    }
}

void ButtonControl::OnMouseEnter(const Vemo::Point& local) {
    if ((GetPressedButtons() & 1) != 0) {
        StopFlash();
        SetCursor(m_pressedCursor);
    } else {
        SetCursor(IsEffectivelyEnabled() ? m_rolloverCursor : m_disabledCursor);
    }
    UpdateAppearance();
    Control::OnMouseEnter(local);
}

void ButtonControl::OnMouseExit(const Vemo::Point& local) {
    SetCursor(m_exitCursor);
    UpdateAppearance();
    Control::OnMouseExit(local);
}

void ButtonControl::OnEnabled() {
    if (IsMouseInside()) {
        SetCursor(m_rolloverCursor);
    }
}

void ButtonControl::OnDisabled() {
    if (IsMouseInside()) {
        SetCursor(m_disabledCursor);
    }
}

bool ButtonControl::OnActivated() {
    return LoadLooks();
}

void ButtonControl::OnDeactivated() {
    ReleaseLooks();
}

bool ButtonControl::Prepare() {
    if (GetManager() == nullptr) {
        return ReleaseLooks();
    }
    if (!IsEffectivelyActive()) {
        return true;
    }
    ReleaseLooks();
    return LoadLooks();
}
