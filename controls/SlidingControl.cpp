#include "controls/SlidingControl.h"

#include "controls/TextNumber.h"

#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"

namespace {

enum MessageWord : unsigned { kSlideTo, kSlideToVar, kStop, kPause, kContinue, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>({{"SlideTo", kSlideTo},
                                                                               {"SlideToVar", kSlideToVar},
                                                                               {"Stop", kStop},
                                                                               {"Pause", kPause},
                                                                               {"Continue", kContinue}},
                                                                              kOther);
    return *words;
}

constexpr unsigned kDefaultDuration = 1000;
constexpr int kPointerCursor = 1;

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// The distance covered after elapsed of duration milliseconds, rounded half up and then cut toward zero.
std::int32_t Offset(std::int32_t from, std::int32_t to, std::uint32_t elapsed, std::uint32_t duration) {
    const double covered = (static_cast<double>(to) - from) * elapsed / duration + 0.5;
    return static_cast<std::int32_t>(covered);
}

const MessengerFactory::Registrar g_registrar(SlidingControl::ClassWord(), &SlidingControl::Create);

} // namespace

SlidingControl::SlidingControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

SlidingControl::~SlidingControl() = default;

const Vemo::String& SlidingControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("SlidingControl");
    return *word;
}

Vemo::String SlidingControl::GetClassName() const {
    return ClassWord();
}

Messenger* SlidingControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<SlidingControl>(name, owner, script);
}

bool SlidingControl::ReadScript() {
    if (!Control::ReadScript()) {
        return false;
    }
    if (!m_timer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId)) {
        return Fail();
    }
    SetTransparent(true);
    return true;
}

bool SlidingControl::Configure(Control* parent, Control* after) {
    return Control::Configure(parent, after) || Fail();
}

bool SlidingControl::HandleMessage(const Fragment& message, Messenger* sender) {
    FragmentStream arguments(message.GetChildren());
    Vemo::Point target;
    switch (MessageWords()[message.GetText()]) {
    case kSlideTo: {
        unsigned duration = kDefaultDuration;
        arguments.ReadPosition(target) >> duration;
        return SlideTo(target, duration);
    }
    case kSlideToVar: {
        const Fragment* variable = nullptr;
        arguments.ReadPosition(target) >> variable;
        return SlideToVariable(target, variable);
    }
    case kStop:
        Stop();
        return true;
    case kPause:
        Pause();
        return true;
    case kContinue:
        Continue();
        return true;
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool SlidingControl::SlideToVariable(const Vemo::Point& target, const Fragment* variable) {
    if (variable == nullptr || variable->GetText().IsEmpty()) {
        return false;
    }
    Vemo::String section;
    FragmentStream(variable->GetChildren()) >> section;
    Vemo::String key;
    variable->GetText().GetString(key);
    Vemo::String value;
    GetVar(section, key, value);
    return SlideTo(target, static_cast<unsigned>(TextToInteger(value)));
}

bool SlidingControl::SlideTo(const Vemo::Point& target, unsigned duration) {
    if (duration == 0) {
        SetPosition(target);
        m_timer.Stop();
        m_elapsedBefore = 0;
        ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
        return true;
    }
    m_start = GetPosition();
    m_end = target;
    m_duration = duration;
    m_elapsedBefore = 0;
    m_timer.Stop();
    m_timer.Start();
    return true;
}

void SlidingControl::Stop() {
    m_start = Vemo::Point();
    m_end = Vemo::Point();
    m_duration = 0;
    m_elapsedBefore = 0;
    m_timer.Stop();
}

void SlidingControl::Pause() {
    if (m_timer.IsRunning()) {
        m_elapsedBefore += m_timer.Elapsed();
        m_timer.Stop();
    }
}

void SlidingControl::Continue() {
    if (!m_timer.IsRunning() && m_duration != 0) {
        m_timer.Start();
    }
}

void SlidingControl::Idle() {
    Control::Idle();
    if (!m_timer.IsRunning()) {
        return;
    }
    const std::uint32_t elapsed = m_timer.Elapsed() + m_elapsedBefore;
    if (elapsed < m_duration) {
        SetPosition(Vemo::Point(m_start.x + Offset(m_start.x, m_end.x, elapsed, m_duration),
                                m_start.y + Offset(m_start.y, m_end.y, elapsed, m_duration)));
        return;
    }
    SetPosition(m_end);
    m_duration = 0;
    m_elapsedBefore = 0;
    m_timer.Stop();
    ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
}

void SlidingControl::PointerIfInside() {
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, true);
    }
}

void SlidingControl::OnEnabled() {
    Control::OnEnabled();
    PointerIfInside();
}

void SlidingControl::OnDisabled() {
    Control::OnDisabled();
    PointerIfInside();
}

void SlidingControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    PointerIfInside();
}

void SlidingControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    PointerIfInside();
}
