#include "controls/TimerControl.h"

#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum MessageWord : unsigned { kStart, kStop, kReset, kInterval, kTimeScale, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>({{"Start", kStart},
                                                                               {"Stop", kStop},
                                                                               {"Reset", kReset},
                                                                               {"Interval", kInterval},
                                                                               {"TimeScale", kTimeScale}},
                                                                              kOther);
    return *words;
}

const KeywordIds<std::uint32_t>& PrecisionWords() {
    static const KeywordIds<std::uint32_t>* const words =
        new KeywordIds<std::uint32_t>({{"High", Vemo::TimerSystem::High},
                                       {"Standard", Vemo::TimerSystem::Standard},
                                       {"Low", Vemo::TimerSystem::Low}},
                                      Vemo::TimerSystem::Standard);
    return *words;
}

const KeywordIds<std::uint32_t>& TimeScaleWords() {
    static const KeywordIds<std::uint32_t>* const words =
        new KeywordIds<std::uint32_t>({{"Native", Vemo::TimerSystem::Native},
                                       {"MicroSecond", Vemo::TimerSystem::MicroSecond},
                                       {"MilliSecond", Vemo::TimerSystem::MilliSecond},
                                       {"Second", Vemo::TimerSystem::Second}},
                                      Vemo::TimerSystem::MilliSecond);
    return *words;
}

// The table's value of the first word of the list; the miss value for an empty list.
std::uint32_t WordValue(const KeywordIds<std::uint32_t>& words, const Vemo::BasicArray<Fragment>& value) {
    SubString word;
    FragmentStream(value) >> word;
    return words[word];
}

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

const MessengerFactory::Registrar g_registrar(TimerControl::ClassWord(), &TimerControl::Create);

} // namespace

TimerControl::TimerControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

TimerControl::~TimerControl() = default;

const Vemo::String& TimerControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("TimerControl");
    return *word;
}

Vemo::String TimerControl::GetClassName() const {
    return ClassWord();
}

Messenger* TimerControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<TimerControl>(name, owner, script);
}

bool TimerControl::ReadScript() {
    if (!Control::ReadScript()) {
        return false;
    }
    if (GetScript() == nullptr) {
        return Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId) || Fail();
    }
    const Vemo::BasicArray<Fragment>* precisionKey = nullptr;
    const Vemo::BasicArray<Fragment>* intervalKey = nullptr;
    const Vemo::BasicArray<Fragment>* timeScaleKey = nullptr;
    if (!FindSectionKeys(
            *GetScript(), GetSectionName(),
            {{"Precision", &precisionKey}, {"Interval", &intervalKey}, {"TimeScale", &timeScaleKey}})) {
        return Fail();
    }
    std::uint32_t precision = Vemo::TimerSystem::Standard;
    std::uint32_t timeScale = Vemo::TimerSystem::MilliSecond;
    std::uint32_t interval = 0;
    if (precisionKey != nullptr) {
        precision = WordValue(PrecisionWords(), *precisionKey);
    }
    if (timeScaleKey != nullptr) {
        timeScale = WordValue(TimeScaleWords(), *timeScaleKey);
    }
    if (intervalKey != nullptr) {
        FragmentStream(*intervalKey) >> interval;
    }
    return Open(precision, interval, timeScale, Vemo::kTimerTypeId) || Fail();
}

bool TimerControl::HandleMessage(const Fragment& message, Messenger* sender) {
    FragmentStream arguments(message.GetChildren());
    switch (MessageWords()[message.GetText()]) {
    case kStart:
        return Start();
    case kStop:
        return Stop();
    case kReset:
        return Restart();
    case kInterval: {
        std::uint32_t period = Period();
        arguments >> period;
        return SetPeriod(period);
    }
    case kTimeScale:
        return SetTimeScale(WordValue(TimeScaleWords(), message.GetChildren())) || Fail();
    default:
        return Control::HandleMessage(message, sender);
    }
}

// Being enabled or disabled changes nothing: the clock runs while the script wants it.
void TimerControl::OnEnabled() {}

void TimerControl::OnDisabled() {}

std::int32_t TimerControl::AddTicks(std::int32_t n) {
    Vemo::Timer::AddTicks(n);
    if (GetScript() == nullptr) {
        return n;
    }
    const std::uint32_t serialNumber = GetSerialNumber();
    const Vemo::String tick("Tick");
    for (std::int32_t i = 0; i < n && FindLive(serialNumber) == this; ++i) {
        ReceiveTextFrom(tick, SubString());
    }
    return n;
}
