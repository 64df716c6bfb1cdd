// A view of part of a String that shares the String's buffer, so that parsed script values point into the
// text they were cut from instead of copying it.
//
// Invariant: start + length never exceeds the viewed text's length. When the text's buffer cannot be shared
// (its share count has reached 255), a view holds a private copy of only the viewed characters, with start 0.
#pragma once

#include "foundation/String.h"

#include <cstdint>

class SubString {
public:
    SubString();
    SubString(const Vemo::String& text);
    // A start beyond the end of the text gives an empty view; the length is cut to what the text holds.
    SubString(const Vemo::String& text, std::uint32_t start, std::uint32_t length);
    SubString(const SubString& other);
    // A moved-from view is empty.
    SubString(SubString&& other) noexcept;
    virtual ~SubString();

    SubString& operator=(const Vemo::String& text);
    SubString& operator=(const SubString& other);
    SubString& operator=(SubString&& other) noexcept;

    void Clear();

    // The first viewed character; the static empty text when the view is empty. The viewed characters are
    // not followed by a zero unless the view reaches the end of its text.
    const char* Data() const;
    std::uint32_t Length() const { return m_length; }
    std::uint32_t Start() const { return m_start; }
    bool IsEmpty() const { return m_length == 0; }

    const Vemo::String& GetString() const { return m_text; }
    // The viewed characters as a String of their own; shares the buffer when the view covers the whole text.
    void GetString(Vemo::String& out) const;

    // Three-way comparison without regard to case: folded bytes compared as unsigned, a zero byte ends the
    // comparison, then the shorter operand is the smaller.
    int CompareNoCase(const SubString& other) const;
    // The same for the part of this view that begins at position and is at most count characters long.
    int CompareNoCase(std::uint32_t position, std::uint32_t count, const char* text,
                      std::uint32_t textCount) const;

private:
    void View(const Vemo::String& text, std::uint32_t start, std::uint32_t length);

    std::uint32_t m_start = 0;
    std::uint32_t m_length = 0;
    Vemo::String m_text;
};
