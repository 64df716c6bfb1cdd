// One item of a parsed script value: its text, whether it was written in double quotes, and the fragments of
// its parenthesised list, as in a call Name(a, b). A value is an array of fragments.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/SubString.h"

#include <cstdint>

class Fragment {
public:
    Fragment();
    Fragment(const SubString& text, bool quoted);
    // Tokenizes the text as a value; this fragment becomes the result only when it is exactly one fragment.
    explicit Fragment(const Vemo::String& text);
    Fragment(const Fragment& other);
    Fragment& operator=(const Fragment& other);
    Fragment(Fragment&& other) noexcept;
    Fragment& operator=(Fragment&& other) noexcept;
    ~Fragment();

    const SubString& GetText() const { return m_text; }
    void SetText(const SubString& text) { m_text = text; }
    bool IsQuoted() const { return m_quoted != 0; }
    void SetQuoted(bool quoted) { m_quoted = quoted ? 1 : 0; }
    Vemo::BasicArray<Fragment>& GetChildren() { return m_children; }
    const Vemo::BasicArray<Fragment>& GetChildren() const { return m_children; }
    bool HasChildren() const { return !m_children.Empty(); }

    // Texts equal without regard to case and children pairwise equal; the quoted flag takes no part.
    bool operator==(const Fragment& other) const;

private:
    SubString m_text;
    std::uint8_t m_quoted = 0;
    Vemo::BasicArray<Fragment> m_children;
};

bool FragmentsEqualNoCase(const Fragment& a, const Fragment& b);
bool FragmentsEqualNoCase(const Vemo::BasicArray<Fragment>& a, const Vemo::BasicArray<Fragment>& b);

// Writes fragments back as value text, replacing the content of out. Texts that the value syntax would
// change are written in double quotes with their escapes; a carriage return is written as a line feed.
void FragmentsToText(const Vemo::BasicArray<Fragment>& fragments, Vemo::String& out);

// The text as one item of a value: as it is, or in double quotes with its escapes when the value syntax
// would read it differently, so that reading it back gives exactly one item holding the text.
Vemo::String AsValueItem(const Vemo::String& text);
