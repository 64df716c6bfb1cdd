#include "script/Fragment.h"

#include "script/CharacterClasses.h"
#include "script/Script.h"

using CharacterClasses::IsWhitespace;
using CharacterClasses::StartsDoubleByte;

namespace {

bool IsSpecialInValue(char c) {
    switch (c) {
    case ',':
    case '(':
    case ')':
    case '"':
    case '\r':
    case '\n':
    case '\t':
    case '\\':
        return true;
    default:
        return false;
    }
}

// Whether the text would read back differently if written as it is: edge whitespace would be dropped,
// separators and quotes would split it, and a "//" or "/*" inside it would be taken for a comment.
bool NeedsQuotes(const char* text, std::uint32_t length) {
    if (length == 0) {
        return false;
    }
    if (IsWhitespace(text[0]) || IsWhitespace(text[length - 1])) {
        return true;
    }
    for (std::uint32_t i = 0; i < length; ++i) {
        if (StartsDoubleByte(text, i, length)) {
            ++i;
            continue;
        }
        if (IsSpecialInValue(text[i])) {
            return true;
        }
        if (text[i] == '/' && i + 1 < length && (text[i + 1] == '/' || text[i + 1] == '*')) {
            return true;
        }
    }
    return false;
}

void AppendQuoted(const char* text, std::uint32_t length, Vemo::String& out) {
    out.Append("\"", 1);
    for (std::uint32_t i = 0; i < length; ++i) {
        if (StartsDoubleByte(text, i, length)) {
            out.Append(text + i, 2);
            ++i;
            continue;
        }
        switch (text[i]) {
        case '\t':
            out.Append("\\t", 2);
            break;
        case '\r':
            if (i + 1 < length && text[i + 1] == '\n') {
                ++i;
            }
            out.Append("\\n", 2);
            break;
        case '\n':
            out.Append("\\n", 2);
            break;
        case '"':
            out.Append("\\\"", 2);
            break;
        case '\\':
            out.Append("\\\\", 2);
            break;
        default:
            out.Append(text + i, 1);
            break;
        }
    }
    out.Append("\"", 1);
}

void AppendFragments(const Vemo::BasicArray<Fragment>& fragments, Vemo::String& out) {
    bool first = true;
    for (const Fragment& fragment : fragments) {
        if (!first) {
            out.Append(",", 1);
        }
        first = false;
        const SubString& text = fragment.GetText();
        if (NeedsQuotes(text.Data(), text.Length())) {
            AppendQuoted(text.Data(), text.Length(), out);
        } else {
            out.Append(text.Data(), text.Length());
        }
        if (fragment.HasChildren()) {
            out.Append("(", 1);
            AppendFragments(fragment.GetChildren(), out);
            out.Append(")", 1);
        }
    }
}

} // namespace

Fragment::Fragment() = default;

Fragment::Fragment(const SubString& text, bool quoted) : m_text(text), m_quoted(quoted ? 1 : 0) {}

Fragment::Fragment(const Vemo::String& text) {
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    if (Script::TokenizeValue(text, position, fragments, false) && fragments.Size() == 1) {
        *this = fragments[0];
    }
}

Fragment::Fragment(const Fragment& other) = default;

Fragment& Fragment::operator=(const Fragment& other) = default;

Fragment::Fragment(Fragment&& other) noexcept = default;

Fragment& Fragment::operator=(Fragment&& other) noexcept = default;

Fragment::~Fragment() = default;

bool Fragment::operator==(const Fragment& other) const {
    return FragmentsEqualNoCase(*this, other);
}

bool FragmentsEqualNoCase(const Fragment& a, const Fragment& b) {
    const SubString& left = a.GetText();
    const SubString& right = b.GetText();
    return CharacterClasses::CompareCountedNoCase(left.Data(), left.Length(), right.Data(), right.Length()) ==
               0 &&
           FragmentsEqualNoCase(a.GetChildren(), b.GetChildren());
}

bool FragmentsEqualNoCase(const Vemo::BasicArray<Fragment>& a, const Vemo::BasicArray<Fragment>& b) {
    if (a.Size() != b.Size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (!FragmentsEqualNoCase(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

void FragmentsToText(const Vemo::BasicArray<Fragment>& fragments, Vemo::String& out) {
    Vemo::String text;
    AppendFragments(fragments, text);
    out = text;
}

Vemo::String AsValueItem(const Vemo::String& text) {
    Vemo::BasicArray<Fragment> item;
    item.PushBack(Fragment(SubString(text), false));
    Vemo::String written;
    FragmentsToText(item, written);
    return written;
}

template class Vemo::BasicArray<Fragment>;
template class Vemo::BasicArray<Vemo::BasicArray<Fragment>>;
