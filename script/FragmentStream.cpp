#include "script/FragmentStream.h"

#include "script/CharacterClasses.h"
#include "script/TextLocale.h"
#include "script/TextLocaleProvider.h"

#include <cerrno>
#include <cfloat>
#include <cstdlib>
#include <string>

namespace {

// The numbers of the value syntax are converted as the C library's strtol and strtoul did where scripts were
// first written: in 32 bits, from the first character up to the first one that does not belong to the number.
struct Magnitude {
    std::uint64_t value = 0;
    bool negative = false;
};

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const unsigned char folded = CharacterClasses::FoldCase(c);
    return folded >= 'a' && folded <= 'z' ? folded - 'a' + 10 : 99;
}

// Leading whitespace, a sign, the base prefix and the digits; the magnitude stops growing past 2^32, which
// every 32-bit conversion already takes for an overflow.
Magnitude ScanInteger(const SubString& text) {
    const char* p = text.Data();
    const std::uint32_t length = text.Length();
    std::uint32_t i = 0;
    Magnitude result;
    while (i < length && CharacterClasses::IsWhitespace(p[i])) {
        ++i;
    }
    if (i < length && (p[i] == '+' || p[i] == '-')) {
        result.negative = p[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < length && p[i] == '0') {
        base = 8;
        if (i + 2 < length && (p[i + 1] == 'x' || p[i + 1] == 'X') && DigitValue(p[i + 2]) < 16) {
            base = 16;
            i += 2;
        }
    }
    constexpr std::uint64_t kCap = std::uint64_t{1} << 33;
    for (; i < length && DigitValue(p[i]) < base; ++i) {
        result.value =
            result.value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(DigitValue(p[i]));
        if (result.value > kCap) {
            result.value = kCap;
        }
    }
    return result;
}

long ConvertSigned(const SubString& text) {
    const Magnitude magnitude = ScanInteger(text);
    if (magnitude.negative) {
        if (magnitude.value > 0x80000000u) {
            errno = ERANGE;
            return -0x7FFFFFFFL - 1;
        }
        return -static_cast<long>(magnitude.value);
    }
    if (magnitude.value > 0x7FFFFFFFu) {
        errno = ERANGE;
        return 0x7FFFFFFFL;
    }
    return static_cast<long>(magnitude.value);
}

unsigned long ConvertUnsigned(const SubString& text) {
    const Magnitude magnitude = ScanInteger(text);
    if (magnitude.value > 0xFFFFFFFFu) {
        errno = ERANGE;
        return 0xFFFFFFFFul;
    }
    const auto value = static_cast<std::uint32_t>(magnitude.value);
    return magnitude.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

// Decimal notation only: whitespace, sign, digits with an optional point, and an exponent that has digits.
double ConvertDouble(const SubString& text) {
    const char* p = text.Data();
    const std::uint32_t length = text.Length();
    std::uint32_t i = 0;
    while (i < length && CharacterClasses::IsWhitespace(p[i])) {
        ++i;
    }
    const std::uint32_t begin = i;
    auto digits = [&]() {
        const std::uint32_t first = i;
        while (i < length && p[i] >= '0' && p[i] <= '9') {
            ++i;
        }
        return i - first;
    };
    if (i < length && (p[i] == '+' || p[i] == '-')) {
        ++i;
    }
    std::uint32_t count = digits();
    if (i < length && p[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) {
        return 0.0;
    }
    if (i < length && (p[i] == 'e' || p[i] == 'E')) {
        const std::uint32_t mark = i;
        ++i;
        if (i < length && (p[i] == '+' || p[i] == '-')) {
            ++i;
        }
        if (digits() == 0) {
            i = mark;
        }
    }
    const std::string number(p + begin, i - begin);
    const double value = std::strtod(number.c_str(), nullptr);
    if (value > DBL_MAX || value < -DBL_MAX) {
        errno = ERANGE;
        return value > 0 ? DBL_MAX : -DBL_MAX;
    }
    return value;
}

bool IsWord(const SubString& text, const char* word, std::uint32_t length) {
    return text.Length() == length &&
           CharacterClasses::CompareCountedNoCase(text.Data(), text.Length(), word, length) == 0;
}

bool ConvertBool(const SubString& text) {
    const char first = text.Data()[0];
    if (first >= '0' && first <= '9') {
        return ConvertSigned(text) != 0;
    }
    return IsWord(text, "true", 4);
}

// The text of a locale reference: the fragment's own text is the key, its first child names the table.
bool LookupLocaleText(const Fragment& fragment, Vemo::String& target) {
    TextLocaleProvider* provider = TextLocaleProvider::GetCurrent();
    TextLocale* locale = provider == nullptr ? nullptr : provider->GetTextLocale(fragment.GetChildren()[0]);
    if (locale == nullptr) {
        return false;
    }
    Vemo::String key;
    fragment.GetText().GetString(key);
    locale->Lookup(key, target);
    return true;
}

} // namespace

FragmentStream::FragmentStream() : m_current(nullptr), m_end(nullptr) {}

FragmentStream::FragmentStream(const Vemo::BasicArray<Fragment>& fragments)
    : m_current(fragments.Empty() ? nullptr : &fragments[0]), m_end(m_current + fragments.Size()) {}

FragmentStream::FragmentStream(const FragmentStream& other) = default;

FragmentStream& FragmentStream::operator=(const FragmentStream& other) = default;

FragmentStream::~FragmentStream() = default;

FragmentStream& FragmentStream::operator>>(Vemo::String& target) {
    if (AtEnd()) {
        return *this;
    }
    const Fragment& fragment = *m_current++;
    if (fragment.HasChildren()) {
        LookupLocaleText(fragment, target);
    } else {
        fragment.GetText().GetString(target);
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(SubString& target) {
    if (AtEnd()) {
        return *this;
    }
    const Fragment& fragment = *m_current++;
    if (fragment.HasChildren()) {
        Vemo::String text;
        if (LookupLocaleText(fragment, text)) {
            target = text;
        }
    } else {
        target = fragment.GetText();
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(bool& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = ConvertBool(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::ReadBoolOrToggle(bool& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = IsWord(fragment->GetText(), "toggle", 6) ? !target : ConvertBool(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(int& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = static_cast<int>(ConvertSigned(fragment->GetText()));
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(long& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = ConvertSigned(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(long long& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = ConvertSigned(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(unsigned int& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = static_cast<unsigned int>(ConvertUnsigned(fragment->GetText()));
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(unsigned long& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = ConvertUnsigned(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(signed char& target) {
    return ReadSignedClamped(target, -128, 127);
}

FragmentStream& FragmentStream::operator>>(unsigned char& target) {
    return ReadUnsignedClamped(target, 255);
}

FragmentStream& FragmentStream::operator>>(short& target) {
    return ReadSignedClamped(target, -32768, 32767);
}

FragmentStream& FragmentStream::operator>>(unsigned short& target) {
    return ReadUnsignedClamped(target, 65535);
}

FragmentStream& FragmentStream::operator>>(float& target) {
    if (const Fragment* fragment = NextNumber()) {
        const double value = ConvertDouble(fragment->GetText());
        if (value > FLT_MAX || value < -FLT_MAX) {
            errno = ERANGE;
            target = value > 0 ? FLT_MAX : -FLT_MAX;
        } else {
            target = static_cast<float>(value);
        }
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(double& target) {
    if (const Fragment* fragment = NextNumber()) {
        target = ConvertDouble(fragment->GetText());
    }
    return *this;
}

FragmentStream& FragmentStream::ReadPosition(Vemo::Point& target) {
    return *this >> target.x >> target.y;
}

FragmentStream& FragmentStream::ReadSize(Vemo::Size& target) {
    return *this >> target.width >> target.height;
}

FragmentStream& FragmentStream::operator>>(Vemo::Rect& target) {
    return *this >> target.left >> target.top >> target.right >> target.bottom;
}

FragmentStream& FragmentStream::ReadPackedBytes(std::uint32_t& packed, std::uint32_t& flag) {
    if (AtEnd()) {
        return *this;
    }
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned char component = 0;
        *this >> component;
        result |= static_cast<std::uint32_t>(component) << shift;
    }
    packed = result;
    flag = 1;
    return *this;
}

FragmentStream& FragmentStream::operator>>(Fragment& target) {
    if (!AtEnd()) {
        target = *m_current++;
    }
    return *this;
}

FragmentStream& FragmentStream::operator>>(const Fragment*& target) {
    target = AtEnd() ? nullptr : m_current++;
    return *this;
}

FragmentStream& FragmentStream::operator>>(Vemo::BasicArray<Fragment>& target) {
    target.Insert(target.End(), m_current, m_end);
    m_current = m_end;
    return *this;
}

const Fragment* FragmentStream::NextNumber() {
    if (AtEnd()) {
        return nullptr;
    }
    const Fragment* fragment = m_current++;
    if (fragment->GetText().IsEmpty()) {
        return nullptr;
    }
    errno = 0;
    return fragment;
}

template <class T>
FragmentStream& FragmentStream::ReadSignedClamped(T& target, long minimum, long maximum) {
    if (const Fragment* fragment = NextNumber()) {
        long value = ConvertSigned(fragment->GetText());
        if (value < minimum || value > maximum) {
            errno = ERANGE;
            value = value < minimum ? minimum : maximum;
        }
        target = static_cast<T>(value);
    }
    return *this;
}

template <class T>
FragmentStream& FragmentStream::ReadUnsignedClamped(T& target, unsigned long maximum) {
    if (const Fragment* fragment = NextNumber()) {
        unsigned long value = ConvertUnsigned(fragment->GetText());
        if (value > maximum) {
            errno = ERANGE;
            value = maximum;
        }
        target = static_cast<T>(value);
    }
    return *this;
}

template class Vemo::BasicArray<FragmentStream>;
