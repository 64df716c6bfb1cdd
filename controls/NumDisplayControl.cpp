#include "controls/NumDisplayControl.h"

#include "resources/error/Error.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

enum Word : unsigned {
    kWordInc = 0,
    kWordDec = 1,
    kWordSet = 2,
    kWordMin = 3,
    kWordMax = 4,
    kWordStep = 5,
    kWordBindVar = 6,
    kWordBindUser = 7,
    kWordBindShared = 8,
};

enum AttributeWord : unsigned {
    kAttributeValue = 0,
    kAttributeMin = 1,
    kAttributeMax = 2,
    kAttributeStep = 3,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;

const KeywordIds<unsigned>& Words() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Inc", kWordInc},
            {"Dec", kWordDec},
            {"Set", kWordSet},
            {"Min", kWordMin},
            {"Max", kWordMax},
            {"Step", kWordStep},
            {"BindVar", kWordBindVar},
            {"BindUser", kWordBindUser},
            {"BindShared", kWordBindShared},
        },
        kMissingWord);
    return *words;
}

const KeywordIds<unsigned>& AttributeWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"GetValue", kAttributeValue},
            {"GetMin", kAttributeMin},
            {"GetMax", kAttributeMax},
            {"GetStep", kAttributeStep},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_numDisplayRegistrar(NumDisplayControl::ClassWord(),
                                                        &NumDisplayControl::Create);

Vemo::String Decimal(std::int32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    return Vemo::String(text);
}

} // namespace

NumDisplayControl::NumDisplayControl(const Vemo::String& name, Messenger* owner, Script* script)
    : TextControl(name, owner, script) {}

NumDisplayControl::~NumDisplayControl() = default;

const Vemo::String& NumDisplayControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("NumDisplayControl");
    return *word;
}

Vemo::String NumDisplayControl::GetClassName() const {
    return ClassWord();
}

Messenger* NumDisplayControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<NumDisplayControl>(name, owner, script);
}

bool NumDisplayControl::Configure(Control* parent, Control* after) {
    if (!TextControl::Configure(parent, after)) {
        RaiseError(kErrorFailure);
        return false;
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::String& section = GetSectionName();
    const Vemo::BasicArray<Fragment>* value = nullptr;
    for (auto [key, field] :
         {std::pair{"Min", &m_minimum}, std::pair{"Max", &m_maximum}, std::pair{"Step", &m_step}}) {
        if (script->GetFragments(section, Vemo::String(key), value)) {
            int number = *field;
            FragmentStream(*value) >> number;
            *field = number;
        }
    }
    if (m_minimum > m_maximum) {
        m_maximum = m_minimum;
    }
    // The value keeps within the bounds; without "Set" the text stays as the text keys left it.
    m_value = std::clamp(m_value, m_minimum, m_maximum);
    if (script->GetFragments(section, Vemo::String("Set"), value)) {
        int number = 0;
        FragmentStream(*value) >> number;
        SetValue(number);
    }
    return true;
}

int NumDisplayControl::GetValue() const {
    return m_value;
}

void NumDisplayControl::SetValue(int value) {
    SetClampedValue(value);
}

void NumDisplayControl::SetClampedValue(std::int64_t value) {
    const std::int32_t old = m_value;
    m_value = static_cast<std::int32_t>(value < m_minimum   ? m_minimum
                                        : value > m_maximum ? m_maximum
                                                            : value);
    const Vemo::String text = Decimal(m_value);
    SetText(text, false);
    if (m_value == old) {
        return;
    }
    switch (m_binding) {
    case kBindVariable:
        SetVar(m_bindSection, m_bindKey, text);
        break;
    case kBindUserSetting:
        SetUserSetting(m_bindSection, m_bindKey, text);
        break;
    case kBindSharedSetting:
        SetSharedSetting(m_bindSection, m_bindKey, text);
        break;
    default:
        break;
    }
    ReceiveTextFrom(Vemo::String("Changed"), SubString());
}

void NumDisplayControl::RefreshFromBinding() {
    if (m_binding == kBindNone) {
        return;
    }
    Vemo::String text;
    bool found = false;
    switch (m_binding) {
    case kBindVariable:
        found = GetVar(m_bindSection, m_bindKey, text);
        if (!found) {
            SetVar(m_bindSection, m_bindKey, Vemo::String());
        }
        break;
    case kBindUserSetting:
        found = GetUserSetting(m_bindSection, m_bindKey, text);
        if (!found) {
            SetUserSetting(m_bindSection, m_bindKey, Vemo::String());
        }
        break;
    default:
        found = GetSharedSetting(m_bindSection, m_bindKey, text);
        if (!found) {
            SetSharedSetting(m_bindSection, m_bindKey, Vemo::String());
        }
        break;
    }
    // Read as a 32-bit long: a number beyond the range stands at its end.
    const long number = std::strtol(found ? text.CStr() : "", nullptr, 0);
    SetValue(static_cast<int>(std::clamp<long>(number, INT_MIN, INT_MAX)));
}

void NumDisplayControl::Idle() {
    Control::Idle();
    if (IsEffectivelyActive()) {
        RefreshFromBinding();
    }
}

bool NumDisplayControl::HandleBound(bool minimum, const Fragment& message) {
    std::uint32_t number = static_cast<std::uint32_t>(minimum ? m_minimum : m_maximum);
    FragmentStream(message.GetChildren()) >> number;
    const auto bound = static_cast<std::int32_t>(number);
    // The unsigned test keeps "Min" of -1 refused; the signed one keeps the bounds from crossing.
    const bool refused = minimum ? (number > static_cast<std::uint32_t>(m_maximum) || bound > m_maximum)
                                 : (number < static_cast<std::uint32_t>(m_minimum) || bound < m_minimum);
    if (refused) {
        return false;
    }
    (minimum ? m_minimum : m_maximum) = bound;
    SetValue(m_value);
    return true;
}

bool NumDisplayControl::Bind(Binding binding, const Fragment& message) {
    if (message.GetChildren().Empty()) {
        return true;
    }
    const Fragment& argument = message.GetChildren()[0];
    argument.GetText().GetString(m_bindKey);
    m_bindSection = Vemo::String();
    if (argument.HasChildren()) {
        argument.GetChildren()[0].GetText().GetString(m_bindSection);
    }
    m_binding = binding;
    RefreshFromBinding();
    return true;
}

bool NumDisplayControl::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (Words()[message.GetText()]) {
    case kWordInc:
        SetClampedValue(static_cast<std::int64_t>(m_value) + m_step);
        return true;
    case kWordDec:
        SetClampedValue(static_cast<std::int64_t>(m_value) - m_step);
        return true;
    case kWordSet: {
        int number = m_value;
        FragmentStream(message.GetChildren()) >> number;
        SetValue(number);
        return true;
    }
    case kWordMin:
        return HandleBound(true, message);
    case kWordMax:
        return HandleBound(false, message);
    case kWordStep: {
        int number = m_step;
        FragmentStream(message.GetChildren()) >> number;
        m_step = number;
        return true;
    }
    case kWordBindVar:
        return Bind(kBindVariable, message);
    case kWordBindUser:
        return Bind(kBindUserSetting, message);
    case kWordBindShared:
        return Bind(kBindSharedSetting, message);
    default:
        return TextControl::HandleMessage(message, sender);
    }
}

bool NumDisplayControl::ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) {
    switch (AttributeWords()[fragment.GetText()]) {
    case kAttributeValue:
        out.PushBack(Fragment(Decimal(m_value)));
        return true;
    case kAttributeMin:
        out.PushBack(Fragment(Decimal(m_minimum)));
        return true;
    case kAttributeMax:
        out.PushBack(Fragment(Decimal(m_maximum)));
        return true;
    case kAttributeStep:
        out.PushBack(Fragment(Decimal(m_step)));
        return true;
    default:
        return TextControl::ExpandAttribute(fragment, out);
    }
}
