#include "controls/CrossfadeControl.h"

#include "engines/graphics/Viewport.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/ControlManager.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <algorithm>

namespace {

enum MessageWord : unsigned { kLevel, kFade, kFadeTo, kBitmapA, kBitmapB, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>({{"Level", kLevel},
                                                                               {"Fade", kFade},
                                                                               {"FadeTo", kFadeTo},
                                                                               {"BitmapA", kBitmapA},
                                                                               {"BitmapB", kBitmapB}},
                                                                              kOther);
    return *words;
}

constexpr int kPointerCursor = 1;
constexpr int kCopyMode = 3;
constexpr unsigned kSystemMemory = 3;
constexpr std::uint32_t kFullLevel = 255;
constexpr float kLevelToFactor = 0.003921569f;

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

const MessengerFactory::Registrar g_registrar(CrossfadeControl::ClassWord(), &CrossfadeControl::Create);

} // namespace

CrossfadeControl::CrossfadeControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

CrossfadeControl::~CrossfadeControl() {
    delete m_bitmapA;
    m_bitmapA = nullptr;
    delete m_bitmapB;
    m_bitmapB = nullptr;
    InvalidateWhenShown();
}

const Vemo::String& CrossfadeControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("CrossfadeControl");
    return *word;
}

Vemo::String CrossfadeControl::GetClassName() const {
    return ClassWord();
}

Messenger* CrossfadeControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<CrossfadeControl>(name, owner, script);
}

bool CrossfadeControl::ReadScript() {
    if (!Control::ReadScript()) {
        return Fail();
    }
    return m_fadeTimer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId) || Fail();
}

void CrossfadeControl::InvalidateWhenShown() {
    if (GetManager() != nullptr && IsShown()) {
        GetManager()->InvalidateControl(this, nullptr);
    }
}

bool CrossfadeControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return Fail();
    }
    if (GetScript() == nullptr) {
        return true;
    }
    for (const bool isA : {true, false}) {
        const Vemo::BasicArray<Fragment>* spec = nullptr;
        if (GetScript()->GetFragments(GetSectionName(), Vemo::String(isA ? "BitmapA" : "BitmapB"), spec) &&
            !SetBitmapSpec(isA, FragmentStream(*spec))) {
            return false;
        }
    }
    return true;
}

bool CrossfadeControl::HandleMessage(const Fragment& message, Messenger* sender) {
    FragmentStream arguments(message.GetChildren());
    unsigned from = m_level;
    unsigned to = m_level;
    unsigned duration = 0;
    switch (MessageWords()[message.GetText()]) {
    case kLevel:
        arguments >> to;
        return SetLevel(to);
    case kFade:
        arguments >> from >> to >> duration;
        return FadeFromTo(from, to, duration);
    case kFadeTo:
        arguments >> to >> duration;
        return FadeTo(to, duration);
    case kBitmapA:
        return SetBitmapSpec(true, arguments);
    case kBitmapB:
        return SetBitmapSpec(false, arguments);
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool CrossfadeControl::Clear() {
    delete m_bitmapA;
    m_bitmapA = nullptr;
    delete m_bitmapB;
    m_bitmapB = nullptr;
    m_failedA = 0;
    m_failedB = 0;
    InvalidateWhenShown();
    return true;
}

bool CrossfadeControl::SetBitmapSpec(bool isA, const FragmentStream& spec) {
    Vemo::BasicArray<Fragment>& kept = isA ? m_specA : m_specB;
    kept.Clear();
    FragmentStream(spec) >> kept;
    return LoadBitmap(isA, spec);
}

bool CrossfadeControl::LoadBitmap(bool isA, const FragmentStream& spec) {
    Bitmap*& side = Side(isA);
    delete side;
    side = nullptr;
    InvalidateWhenShown();
    auto* bitmap = new Bitmap();
    FragmentStream value(spec);
    const Vemo::PixelFormat* format =
        GetManager() != nullptr ? &GetManager()->GetDisplayPixelFormat() : nullptr;
    // No transparent colour is asked for: the blend reads every pixel of both pictures.
    if (!bitmap->Configure(value, format, kSystemMemory, nullptr, nullptr)) {
        // The side stays missing, so that the control paints black rather than a half-made picture.
        delete bitmap;
        Failed(isA) = 1;
        return Fail();
    }
    Failed(isA) = 0;
    side = bitmap;
    return true;
}

bool CrossfadeControl::SetLevel(unsigned level) {
    if (level != m_level) {
        m_level = level;
        InvalidateWhenShown();
    }
    return true;
}

bool CrossfadeControl::FadeFromTo(unsigned from, unsigned to, unsigned duration) {
    if (duration == 0) {
        SetLevel(to);
        m_fadeTimer.Stop();
        ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
        return true;
    }
    m_fadeFrom = std::min<std::uint32_t>(from, kFullLevel);
    SetLevel(m_fadeFrom);
    m_fadeTo = std::min<std::uint32_t>(to, kFullLevel);
    m_fadeDuration = duration;
    m_fadeTimer.Stop();
    m_fadeTimer.Start();
    return true;
}

bool CrossfadeControl::FadeTo(unsigned to, unsigned duration) {
    return FadeFromTo(m_level, to, duration);
}

void CrossfadeControl::Idle() {
    Control::Idle();
    if (!m_fadeTimer.IsRunning()) {
        return;
    }
    const std::uint32_t elapsed = m_fadeTimer.Elapsed();
    if (elapsed < m_fadeDuration) {
        const auto difference = static_cast<std::int32_t>(m_fadeTo - m_fadeFrom);
        const double level = m_fadeFrom + static_cast<double>(difference) * elapsed / m_fadeDuration + 0.5;
        SetLevel(static_cast<unsigned>(level));
        return;
    }
    SetLevel(m_fadeTo);
    m_fadeTimer.Stop();
    ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
}

void CrossfadeControl::Draw(const Vemo::Rect& localPart) {
    Vemo::Viewport* viewport = GetViewport();
    if (viewport == nullptr || m_bitmapA == nullptr || m_bitmapB == nullptr) {
        FillRect(localPart, std::uint32_t{0}, true, kCopyMode);
        return;
    }
    const Vemo::Rect sourceA = m_bitmapA->GetClipRect();
    const Vemo::Rect sourceB = m_bitmapB->GetClipRect();
    const Vemo::Rect part(
        std::max(localPart.left, 0), std::max(localPart.top, 0),
        std::min({localPart.right, sourceA.right - sourceA.left, sourceB.right - sourceB.left}),
        std::min({localPart.bottom, sourceA.bottom - sourceA.top, sourceB.bottom - sourceB.top}));
    if (part.right <= part.left || part.bottom <= part.top) {
        return;
    }
    // Only the part asked for is blended, so that a partial redraw paints what a whole one paints there and
    // nothing beside it.
    const Vemo::Rect& area = GetRectangle();
    const Vemo::Rect destination(area.left + part.left, area.top + part.top, area.left + part.right,
                                 area.top + part.bottom);
    viewport->CrossFade(
        static_cast<float>(m_level) * kLevelToFactor, destination, m_bitmapA->GetGraphicHandle(),
        Vemo::Point(sourceA.left + part.left, sourceA.top + part.top), m_bitmapB->GetGraphicHandle(),
        Vemo::Point(sourceB.left + part.left, sourceB.top + part.top));
}

bool CrossfadeControl::Prepare() {
    if (GetManager() == nullptr) {
        return Clear();
    }
    for (const bool isA : {true, false}) {
        const Vemo::BasicArray<Fragment>& spec = isA ? m_specA : m_specB;
        if ((Side(isA) != nullptr || Failed(isA) != 0) && !LoadBitmap(isA, FragmentStream(spec))) {
            return false;
        }
    }
    return true;
}

void CrossfadeControl::PointerIfInside() {
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, true);
    }
}

void CrossfadeControl::OnEnabled() {
    Control::OnEnabled();
    PointerIfInside();
}

void CrossfadeControl::OnDisabled() {
    Control::OnDisabled();
    PointerIfInside();
}

void CrossfadeControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    QueueCursorState(kPointerCursor, true);
}

void CrossfadeControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    QueueCursorState(kPointerCursor, true);
}
