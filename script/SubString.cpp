#include "script/SubString.h"

#include "script/CharacterClasses.h"

#include <algorithm>
#include <utility>

namespace {

const char kEmptyText[1] = {'\0'};

int CompareFolded(const char* left, std::uint32_t leftLength, const char* right, std::uint32_t rightLength) {
    if (leftLength == 0) {
        return rightLength == 0 || right[0] == '\0' ? 0 : -1;
    }
    const std::uint32_t common = std::min(leftLength, rightLength);
    for (std::uint32_t i = 0; i < common; ++i) {
        const unsigned char a = CharacterClasses::FoldCase(left[i]);
        const unsigned char b = CharacterClasses::FoldCase(right[i]);
        if (a != b) {
            return static_cast<int>(a) - static_cast<int>(b);
        }
        if (a == 0) {
            break;
        }
    }
    if (leftLength < rightLength) {
        return -1;
    }
    return leftLength > rightLength ? 1 : 0;
}

} // namespace

SubString::SubString() = default;

SubString::SubString(const Vemo::String& text) {
    View(text, 0, text.Length());
}

SubString::SubString(const Vemo::String& text, std::uint32_t start, std::uint32_t length) {
    View(text, start, length);
}

SubString::SubString(const SubString& other) {
    View(other.m_text, other.m_start, other.m_length);
}

SubString::SubString(SubString&& other) noexcept
    : m_start(other.m_start), m_length(other.m_length), m_text(std::move(other.m_text)) {
    other.m_start = 0;
    other.m_length = 0;
}

SubString::~SubString() = default;

SubString& SubString::operator=(const Vemo::String& text) {
    View(text, 0, text.Length());
    return *this;
}

SubString& SubString::operator=(const SubString& other) {
    if (this != &other) {
        View(other.m_text, other.m_start, other.m_length);
    }
    return *this;
}

SubString& SubString::operator=(SubString&& other) noexcept {
    if (this != &other) {
        m_text = std::move(other.m_text);
        m_start = other.m_start;
        m_length = other.m_length;
        other.m_start = 0;
        other.m_length = 0;
    }
    return *this;
}

void SubString::Clear() {
    m_text = Vemo::String();
    m_start = 0;
    m_length = 0;
}

const char* SubString::Data() const {
    return m_length == 0 ? kEmptyText : m_text.CStr() + m_start;
}

void SubString::GetString(Vemo::String& out) const {
    out.Assign(m_text, m_start, m_length);
}

int SubString::CompareNoCase(const SubString& other) const {
    return CompareFolded(Data(), m_length, other.Data(), other.m_length);
}

int SubString::CompareNoCase(std::uint32_t position, std::uint32_t count, const char* text,
                             std::uint32_t textCount) const {
    if (position >= m_length) {
        return CompareFolded(kEmptyText, 0, textCount == 0 ? kEmptyText : text, textCount);
    }
    return CompareFolded(Data() + position, std::min(count, m_length - position), text, textCount);
}

void SubString::View(const Vemo::String& text, std::uint32_t start, std::uint32_t length) {
    if (start > text.Length()) {
        start = text.Length();
    }
    length = std::min(length, text.Length() - start);
    if (text.CanShare()) {
        m_text = text;
        m_start = start;
    } else {
        // The source may be this view's own text, so the characters go to a new String first.
        Vemo::String copy;
        copy.Assign(text.CStr() + start, length);
        m_text = copy;
        m_start = 0;
    }
    m_length = length;
}
