#include "foundation/String.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace Vemo {

namespace {

const char kEmptyText[1] = {'\0'};
const char16_t kEmptyWideText[1] = {u'\0'};

constexpr std::uint8_t kMaxShareCount = 255;
// The conversion buffer's block starts with its usable size.
constexpr std::size_t kConversionHeader = sizeof(std::uint32_t);
constexpr std::uint64_t kMaxConversionSize = 0xFFFFFFFF;

std::uint8_t* CountOf(char* text) {
    return reinterpret_cast<std::uint8_t*>(text - 1);
}

// A holder other than the first gives up its share; the last one frees the block.
void ReleaseBuffer(char* text) {
    if (text == nullptr) {
        return;
    }
    std::uint8_t* count = CountOf(text);
    if (*count == 0) {
        ::operator delete(count);
    } else {
        --*count;
    }
}

void FreeConversionBlock(char* usable) {
    if (usable != nullptr) {
        ::operator delete(usable - kConversionHeader);
    }
}

// Only 'A'-'Z' fold: bytes from 0x80 on keep their value whatever the locale.
unsigned LowerByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

// Three-way order of two counted texts: the empty text before any other, then the bytes as unsigned, then the
// shorter text first.
int CompareCounted(const char* a, std::uint32_t aLength, const char* b, std::uint32_t bLength) {
    if (aLength == 0) {
        return bLength == 0 ? 0 : -1;
    }
    const int bytes = std::memcmp(a, b, std::min(aLength, bLength));
    if (bytes != 0) {
        return bytes;
    }
    if (aLength < bLength) {
        return -1;
    }
    return aLength > bLength ? 1 : 0;
}

std::uint32_t CheckedLength(const char* text) {
    const std::size_t length = text == nullptr ? 0 : std::strlen(text);
    if (length > String::kMaxLength) {
        throw RangeException();
    }
    return static_cast<std::uint32_t>(length);
}

} // namespace

class String::PreviousBuffer {
public:
    PreviousBuffer() = default;
    PreviousBuffer(const PreviousBuffer&) = delete;
    PreviousBuffer& operator=(const PreviousBuffer&) = delete;
    ~PreviousBuffer() { ReleaseBuffer(m_text); }

    // A growth lets go of at most one buffer: a trimmed one detaches it and then reallocates from nothing.
    void Keep(char* text) {
        if (text != nullptr) {
            m_text = text;
        }
    }

private:
    char* m_text = nullptr;
};

String::String() = default;

String::String(const String& other) {
    if (other.CanShare()) {
        Share(other);
    } else if (other.m_length != 0) {
        Grow(other.m_length, true);
        std::memcpy(m_text, other.m_text, other.m_length);
        SetLength(other.m_length);
    }
}

String::String(String&& other) noexcept
    : m_text(other.m_text), m_length(other.m_length), m_capacity(other.m_capacity) {
    other.Tidy(false);
}

String::String(const char* text) {
    const std::uint32_t length = CheckedLength(text);
    if (length != 0) {
        Grow(length, true);
        std::memcpy(m_text, text, length);
        SetLength(length);
    }
}

String::String(const char16_t* text) {
    const std::uint32_t length = BoundedWideLength(text, text == nullptr ? 0 : kMaxLength + 1);
    if (length > kMaxLength) {
        throw RangeException();
    }
    if (length == 0) {
        return;
    }
    try {
        const char* narrowed = NarrowFromWide(text, length);
        Assign(narrowed, length);
    } catch (...) {
        Tidy(true);
        FreeConversionBuffer();
        throw;
    }
}

String::~String() {
    Tidy(true);
    FreeConversionBuffer();
}

String& String::operator=(const String& other) {
    if (&other == this) {
        return *this;
    }
    if (other.CanShare()) {
        Tidy(true);
        Share(other);
    } else if (Grow(other.m_length, true)) {
        std::memcpy(m_text, other.m_text, other.m_length);
        SetLength(other.m_length);
    }
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (&other != this) {
        Tidy(true);
        m_text = other.m_text;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.Tidy(false);
    }
    return *this;
}

String& String::Assign(const String& source, std::uint32_t pos, std::uint32_t count) {
    if (pos > source.m_length) {
        Tidy(true);
        FreeConversionBuffer();
        return *this;
    }
    count = std::min(count, source.m_length - pos);
    if (&source == this) {
        Erase(pos + count, kAll);
        return Erase(0, pos);
    }
    if (count > 0 && count == source.m_length && source.CanShare()) {
        Tidy(true);
        Share(source);
    } else if (Grow(count, true)) {
        std::memcpy(m_text, source.m_text + pos, count);
        SetLength(count);
    }
    return *this;
}

String& String::Assign(const char* text, std::uint32_t count) {
    if (count > kMaxLength) {
        throw RangeException();
    }
    PreviousBuffer previous;
    if (Grow(count, true, previous)) {
        // The text may lie inside this String's own buffer, which Grow kept in place or in previous.
        std::memmove(m_text, text, count);
        SetLength(count);
    }
    return *this;
}

String& String::Assign(std::size_t count, char c) {
    if (count == kAll) {
        throw RangeException();
    }
    if (c == '\0') {
        return *this;
    }
    if (count > kMaxLength) {
        throw RangeException();
    }
    const auto length = static_cast<std::uint32_t>(count);
    if (Grow(length, true)) {
        std::memset(m_text, c, length);
        SetLength(length);
    }
    return *this;
}

String& String::AssignBounded(const char* text, std::uint32_t maximum) {
    std::uint32_t count = 0;
    while (count < maximum && text[count] != '\0') {
        ++count;
    }
    return Assign(text, count);
}

String& String::Append(const String& source, std::uint32_t pos, std::uint32_t count) {
    if (pos > source.m_length) {
        return *this;
    }
    count = std::min(count, source.m_length - pos);
    if (&source != this) {
        return Append(source.CStr() + pos, count);
    }
    // Appending to itself reads the characters from the buffer that now holds them.
    PreviousBuffer previous;
    if (MakeRoomToAppend(count, previous)) {
        std::memcpy(m_text + m_length, m_text + pos, count);
        SetLength(m_length + count);
    }
    return *this;
}

String& String::Append(const String& source) {
    return Append(source, 0, kAll);
}

String& String::Append(const char* text) {
    return Append(text, CheckedLength(text));
}

String& String::Append(const char* text, std::uint32_t count) {
    PreviousBuffer previous;
    if (MakeRoomToAppend(count, previous)) {
        std::memcpy(m_text + m_length, text, count);
        SetLength(m_length + count);
    }
    return *this;
}

String& String::Append(std::uint32_t count, char c) {
    if (c == '\0') {
        CheckAddedCount(count);
        return *this;
    }
    PreviousBuffer previous;
    if (MakeRoomToAppend(count, previous)) {
        std::memset(m_text + m_length, c, count);
        SetLength(m_length + count);
    }
    return *this;
}

String& String::Append(bool value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value ? 1 : 0);
    return Append(digits);
}

String& String::Insert(std::uint32_t pos, std::uint32_t count, char c) {
    if (pos > m_length) {
        throw RangeException();
    }
    CheckAddedCount(count);
    if (c == '\0' || count == 0) {
        return *this;
    }
    const std::uint32_t length = m_length + count;
    if (length > kMaxLength) {
        throw RangeException();
    }
    Grow(length, false);
    std::memmove(m_text + pos + count, m_text + pos, m_length - pos);
    std::memset(m_text + pos, c, count);
    SetLength(length);
    return *this;
}

String& String::Erase(std::uint32_t pos, std::uint32_t count) {
    if (pos > m_length) {
        return *this;
    }
    count = std::min(count, m_length - pos);
    if (count == 0) {
        return *this;
    }
    Unshare();
    std::memmove(m_text + pos, m_text + pos + count, m_length - pos - count);
    SetLength(m_length - count);
    return *this;
}

void String::SetAt(std::uint32_t index, char c) {
    if (index >= m_length) {
        throw RangeException();
    }
    if (c == '\0') {
        if (*CountOf(m_text) != 0) {
            Reallocate(index);
        } else {
            SetLength(index);
        }
        return;
    }
    Unshare();
    m_text[index] = c;
}

const char* String::At(std::uint32_t index) const {
    if (index >= m_length) {
        throw RangeException();
    }
    return m_text + index;
}

String String::Substring(std::uint32_t pos, std::uint32_t count) const {
    String part;
    part.Assign(*this, pos, count);
    return part;
}

std::uint32_t String::Find(const char* pattern, std::uint32_t pos, std::uint32_t count) const {
    if (count == 0) {
        return pos <= m_length ? pos : kNotFound;
    }
    if (pos >= m_length || count > m_length - pos) {
        return kNotFound;
    }
    const char* candidate = m_text + pos;
    std::uint32_t candidates = m_length - pos - count + 1;
    while (candidates > 0) {
        const void* hit = std::memchr(candidate, pattern[0], candidates);
        if (hit == nullptr) {
            break;
        }
        const char* start = static_cast<const char*>(hit);
        if (std::memcmp(start, pattern, count) == 0) {
            return static_cast<std::uint32_t>(start - m_text);
        }
        candidates -= static_cast<std::uint32_t>(start - candidate) + 1;
        candidate = start + 1;
    }
    return kNotFound;
}

std::uint32_t String::Find(const char* pattern, std::uint32_t pos) const {
    return Find(pattern, pos, CheckedLength(pattern));
}

std::uint32_t String::FindFirstOf(const char* set, std::uint32_t pos, std::uint32_t count) const {
    if (count == 0 || pos >= m_length) {
        return kNotFound;
    }
    for (std::uint32_t i = pos; i < m_length; ++i) {
        if (std::memchr(set, m_text[i], count) != nullptr) {
            return i;
        }
    }
    return kNotFound;
}

std::uint32_t String::FindLastOf(const char* set, std::uint32_t pos, std::uint32_t count) const {
    if (count == 0 || m_length == 0) {
        return kNotFound;
    }
    for (std::uint32_t i = std::min(pos, m_length - 1) + 1; i-- > 0;) {
        if (std::memchr(set, m_text[i], count) != nullptr) {
            return i;
        }
    }
    return kNotFound;
}

int String::Compare(const String& other) const {
    return CompareCounted(CStr(), m_length, other.CStr(), other.m_length);
}

int String::Compare(const char* text) const {
    const std::uint32_t length = CheckedLength(text);
    return CompareCounted(CStr(), m_length, length == 0 ? kEmptyText : text, length);
}

int String::Compare(std::uint32_t pos, std::uint32_t count, const char* text, std::uint32_t textCount) const {
    if (pos >= m_length) {
        return CompareCounted(kEmptyText, 0, text, textCount);
    }
    return CompareCounted(m_text + pos, std::min(count, m_length - pos), text, textCount);
}

int String::CompareRange(std::uint32_t pos, std::uint32_t count, const char* text,
                         std::uint32_t textCount) const {
    return Compare(pos, count, text, textCount);
}

const char* String::NarrowFromWide(const char16_t* text, std::uint32_t count) {
    if (text == nullptr || count == 0) {
        return kEmptyText;
    }
    char* previous = nullptr;
    char* narrow = ConversionBuffer(std::uint64_t{count} + 1, previous);
    // First to last, so that the String's own widened text can be narrowed in place.
    for (std::uint32_t i = 0; i < count; ++i) {
        narrow[i] = static_cast<char>(text[i] & 0xFF);
    }
    narrow[count] = '\0';
    FreeConversionBlock(previous);
    return narrow;
}

const char16_t* String::WideFromNarrow(const char* text, std::uint32_t count) {
    if (text == nullptr || count == 0) {
        return kEmptyWideText;
    }
    char* previous = nullptr;
    auto* wide = reinterpret_cast<char16_t*>(ConversionBuffer(2 * std::uint64_t{count} + 2, previous));
    wide[count] = u'\0';
    // Last to first, so that the String's own narrowed text can be widened in place.
    for (std::uint32_t i = count; i-- > 0;) {
        wide[i] = static_cast<unsigned char>(text[i]);
    }
    FreeConversionBlock(previous);
    return wide;
}

const char* String::CStr() const {
    return m_text == nullptr ? kEmptyText : m_text;
}

bool String::CanShare() const {
    return m_length != 0 && *CountOf(m_text) < kMaxShareCount;
}

const std::uint8_t* String::CountByte() const {
    return m_text == nullptr ? nullptr : CountOf(m_text);
}

void String::Reallocate(std::uint32_t n) {
    PreviousBuffer previous;
    Reallocate(n, previous);
}

bool String::Grow(std::uint32_t n, bool trim) {
    PreviousBuffer previous;
    return Grow(n, trim, previous);
}

void String::Tidy(bool release) {
    if (release) {
        ReleaseBuffer(m_text);
    }
    m_text = nullptr;
    m_length = 0;
    m_capacity = 0;
}

void String::Unshare() {
    if (m_text != nullptr && *CountOf(m_text) != 0) {
        Reallocate(m_length);
    }
}

void String::Reallocate(std::uint32_t n, PreviousBuffer& previous) {
    std::uint64_t capacity = n;
    if (m_capacity < n && 2 * std::uint64_t{m_capacity} > n) {
        capacity = 2 * std::uint64_t{m_capacity};
    }
    capacity |= 30;
    if (capacity > kMaxLength) {
        capacity = n;
    }
    void* block = nullptr;
    try {
        block = ::operator new(capacity + 2);
    } catch (...) {
        capacity = n;
        block = ::operator new(capacity + 2);
    }
    char* text = static_cast<char*>(block) + 1;
    const std::uint32_t kept = std::min(m_length, n);
    if (kept > 0) {
        std::memcpy(text, m_text, kept);
    }
    previous.Keep(m_text);
    *CountOf(text) = 0;
    m_text = text;
    m_capacity = static_cast<std::uint32_t>(capacity);
    SetLength(kept);
}

bool String::Grow(std::uint32_t n, bool trim, PreviousBuffer& previous) {
    if (n > kMaxLength) {
        throw RangeException();
    }
    const bool shared = m_text != nullptr && *CountOf(m_text) != 0;
    if (n == 0) {
        if (shared || trim) {
            Detach(previous);
        } else if (m_text != nullptr) {
            SetLength(0);
        }
        return false;
    }
    if (!shared && m_capacity >= n) {
        return true;
    }
    if (trim) {
        // A whole-text replacement starts from nothing, so it gets no doubled capacity.
        Detach(previous);
    }
    Reallocate(n, previous);
    return true;
}

void String::Detach(PreviousBuffer& previous) {
    previous.Keep(m_text);
    Tidy(false);
}

void String::CheckAddedCount(std::uint32_t count) const {
    if (count >= kAll - m_length) {
        throw RangeException();
    }
}

bool String::MakeRoomToAppend(std::uint32_t count, PreviousBuffer& previous) {
    CheckAddedCount(count);
    if (count == 0) {
        return false;
    }
    const std::uint32_t length = m_length + count;
    if (length > kMaxLength) {
        throw RangeException();
    }
    Grow(length, false, previous);
    return true;
}

void String::SetLength(std::uint32_t length) {
    m_length = length;
    m_text[length] = '\0';
}

void String::Share(const String& source) {
    m_text = source.m_text;
    m_length = source.m_length;
    m_capacity = source.m_capacity;
    ++*CountOf(m_text);
}

char* String::ConversionBuffer(std::uint64_t need, char*& previous) {
    if (need > kMaxConversionSize) {
        throw RangeException();
    }
    std::uint64_t size = need;
    if (m_conversion != nullptr) {
        std::uint32_t current = 0;
        std::memcpy(&current, m_conversion - kConversionHeader, sizeof current);
        if (current >= need) {
            return m_conversion;
        }
        if (2 * std::uint64_t{current} >= need && 2 * std::uint64_t{current} <= kMaxConversionSize) {
            size = 2 * std::uint64_t{current};
        }
    }
    auto* block = static_cast<char*>(::operator new(size + kConversionHeader));
    const auto stored = static_cast<std::uint32_t>(size);
    std::memcpy(block, &stored, sizeof stored);
    // The old block goes only after the conversion, which may read from it.
    previous = m_conversion;
    m_conversion = block + kConversionHeader;
    return m_conversion;
}

void String::FreeConversionBuffer() {
    FreeConversionBlock(m_conversion);
    m_conversion = nullptr;
}

int CompareNoCase(const char* a, const char* b) {
    unsigned lowerA = 0;
    unsigned lowerB = 0;
    do {
        lowerA = LowerByte(*a++);
        lowerB = LowerByte(*b++);
    } while (lowerA != 0 && lowerA == lowerB);
    return static_cast<int>(lowerA & 0xFF) - static_cast<int>(lowerB & 0xFF);
}

int CompareNoCase(const char* a, const char* b, std::uint32_t count) {
    if (count == 0) {
        return 0;
    }
    unsigned lowerA = 0;
    unsigned lowerB = 0;
    do {
        lowerA = LowerByte(*a++);
        lowerB = LowerByte(*b++);
    } while (--count != 0 && lowerA != 0 && lowerA == lowerB);
    return static_cast<int>(lowerA & 0xFF) - static_cast<int>(lowerB & 0xFF);
}

bool CompareNoCase(const String& a, const String& b) {
    return CompareNoCase(a.CStr(), b.CStr()) < 0;
}

std::uint32_t BoundedWideLength(const char16_t* text, std::uint32_t maximum) {
    std::uint32_t length = 0;
    while (length < maximum && text[length] != u'\0') {
        ++length;
    }
    return length;
}

} // namespace Vemo
