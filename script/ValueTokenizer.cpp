#include "script/ValueTokenizer.h"

#include "resources/error/Error.h"
#include "script/CharacterClasses.h"
#include "script/Script.h"

#include <string>

using CharacterClasses::IsWhitespace;
using CharacterClasses::StartsDoubleByte;

// The text of the item being read: a view of the value's own text while its characters stand together there,
// or a String of its own once an escape or a comment has been taken out of the middle.
class ValueTokenizer::Item {
public:
    explicit Item(const Vemo::String& source) : m_source(source) {}

    // Whitespace outside quotes is not significant: it stays inside the item but is dropped at its end.
    void AddRaw(std::uint32_t position, std::uint32_t count, bool significant) {
        if (m_buffered) {
            m_buffer.Append(m_source.CStr() + position, count);
        } else if (m_length == 0) {
            m_start = position;
            m_length = count;
        } else if (m_start + m_length == position) {
            m_length += count;
        } else {
            StartBuffer();
            m_buffer.Append(m_source.CStr() + position, count);
        }
        if (significant) {
            m_kept = Length();
            m_begun = true;
        }
    }

    void AddCharacter(char c) {
        StartBuffer();
        m_buffer.Append(&c, 1);
        m_kept = Length();
        m_begun = true;
    }

    Fragment MakeFragment() const {
        return Fragment(m_buffered ? SubString(m_buffer, 0, m_kept) : SubString(m_source, m_start, m_kept),
                        m_quoted);
    }

    void Reset() {
        m_buffered = false;
        m_start = 0;
        m_length = 0;
        m_kept = 0;
        m_buffer = Vemo::String();
        m_begun = false;
        m_inQuotes = false;
        m_quoted = false;
        m_appended = false;
    }

    bool m_begun = false;
    bool m_inQuotes = false;
    bool m_quoted = false;
    // Set once the item went into its list, which happens at its "(" so that its children are parsed in
    // place.
    bool m_appended = false;

private:
    std::uint32_t Length() const { return m_buffered ? m_buffer.Length() : m_length; }

    void StartBuffer() {
        if (!m_buffered) {
            m_buffer.Assign(m_source.CStr() + m_start, m_length);
            m_buffered = true;
        }
    }

    const Vemo::String& m_source;
    bool m_buffered = false;
    std::uint32_t m_start = 0;
    std::uint32_t m_length = 0;
    std::uint32_t m_kept = 0;
    Vemo::String m_buffer;
};

ValueTokenizer::ValueTokenizer(const Vemo::String& text)
    : m_text(text), m_data(text.CStr()), m_length(text.Length()) {}

bool ValueTokenizer::Tokenize(std::uint32_t& position, Vemo::BasicArray<Fragment>& out) {
    m_failures.clear();
    if (position > m_length) {
        position = m_length;
    }
    return ParseList(position, out, 0);
}

void ValueTokenizer::ReportFailures() const {
    for (const Failure& failure : m_failures) {
        if (failure.hasPosition) {
            const Vemo::String text(std::to_string(failure.position).c_str());
            RaiseError(failure.code, &text);
        } else {
            RaiseError(failure.code);
        }
    }
}

// One list being read: where its items go, the item being read, and what the previous character left
// pending.
class ValueTokenizer::List {
public:
    List(const Vemo::String& text, Vemo::BasicArray<Fragment>& out, unsigned depth)
        : m_out(out), m_item(text), m_depth(depth) {}

    // The item goes into the list (unless it went in at its "("), and a new one begins.
    void FinishItem() {
        if (!m_item.m_appended) {
            m_out.PushBack(m_item.MakeFragment());
        }
        m_appendedAny = true;
        m_item.Reset();
    }

    Vemo::BasicArray<Fragment>& m_out;
    Item m_item;
    unsigned m_depth;
    Expect m_expect = Expect::Nothing;
    bool m_escaped = false;
    bool m_afterSlash = false;
    std::uint32_t m_slash = 0;
    bool m_appendedAny = false;
};

bool ValueTokenizer::ParseList(std::uint32_t& position, Vemo::BasicArray<Fragment>& out, unsigned depth) {
    List list(m_text, out, depth);
    while (position < m_length) {
        switch (ReadCharacter(position, list)) {
        case Step::Next:
            break;
        case Step::ListEnded:
            return true;
        case Step::Failed:
            return false;
        }
    }
    return EndOfText(list);
}

ValueTokenizer::Step ValueTokenizer::ReadCharacter(std::uint32_t& position, List& list) {
    if (list.m_expect != Expect::Nothing) {
        const char c = m_data[position];
        if (IsWhitespace(c)) {
            ++position;
            return Step::Next;
        }
        if (c != ',' && c != ')' && (list.m_expect != Expect::AfterQuote || c != '(')) {
            return Failed(Script::kErrorSyntax, position);
        }
        list.m_expect = Expect::Nothing;
    }
    if (list.m_escaped) {
        if (!Escape(position, list.m_item)) {
            return Step::Failed;
        }
        list.m_escaped = false;
        ++position;
        return Step::Next;
    }
    if (list.m_afterSlash) {
        list.m_afterSlash = false;
        return ReadAfterSlash(position, list);
    }
    return list.m_item.m_inQuotes ? ReadQuoted(position, list) : ReadUnquoted(position, list);
}

// "//" ends the value, "/*" opens a comment that is taken out, and a "/" before anything else is text.
ValueTokenizer::Step ValueTokenizer::ReadAfterSlash(std::uint32_t& position, List& list) {
    const char c = m_data[position];
    if (c == '/') {
        position = m_length;
        return Step::Next;
    }
    if (c == '*') {
        position = list.m_slash;
        return SkipBlockComment(position) ? Step::Next : Step::Failed;
    }
    list.m_item.AddRaw(list.m_slash, 1, true);
    return list.m_item.m_inQuotes ? ReadQuoted(position, list) : ReadUnquoted(position, list);
}

ValueTokenizer::Step ValueTokenizer::ReadQuoted(std::uint32_t& position, List& list) {
    switch (m_data[position]) {
    case '"':
        list.m_item.m_inQuotes = false;
        list.m_expect = Expect::AfterQuote;
        ++position;
        break;
    case '\\':
        list.m_escaped = true;
        ++position;
        break;
    default:
        TakeCharacter(position, list.m_item);
        break;
    }
    return Step::Next;
}

ValueTokenizer::Step ValueTokenizer::ReadUnquoted(std::uint32_t& position, List& list) {
    Item& item = list.m_item;
    const char c = m_data[position];
    if (IsWhitespace(c)) {
        if (item.m_begun) {
            item.AddRaw(position, 1, false);
        }
        ++position;
        return Step::Next;
    }
    switch (c) {
    case '"':
        if (item.m_begun) {
            return Failed(Script::kErrorSyntax, position);
        }
        item.m_begun = true;
        item.m_quoted = true;
        item.m_inQuotes = true;
        ++position;
        return Step::Next;
    case '\\':
        item.m_begun = true;
        list.m_escaped = true;
        ++position;
        return Step::Next;
    case '/':
        list.m_afterSlash = true;
        list.m_slash = position;
        ++position;
        return Step::Next;
    case '(':
        if (!ParseChildren(position, item, list.m_out, list.m_depth)) {
            return Step::Failed;
        }
        list.m_expect = Expect::AfterList;
        return Step::Next;
    case ')':
        list.FinishItem();
        return Step::ListEnded;
    case ',':
        list.FinishItem();
        ++position;
        return Step::Next;
    default:
        TakeCharacter(position, item);
        return Step::Next;
    }
}

// A double-byte character goes into the item whole, so that its trail byte is never taken for syntax.
void ValueTokenizer::TakeCharacter(std::uint32_t& position, Item& item) const {
    const std::uint32_t count = StartsDoubleByte(m_data, position, m_length) ? 2 : 1;
    item.AddRaw(position, count, true);
    position += count;
}

bool ValueTokenizer::EndOfText(List& list) {
    if (list.m_afterSlash) {
        list.m_item.AddRaw(list.m_slash, 1, true);
    }
    if (list.m_escaped) {
        return Fail(Script::kErrorBackslashAtEnd);
    }
    if (list.m_item.m_inQuotes) {
        return Fail(Script::kErrorUnclosedQuote);
    }
    // An empty value, or one of only blanks and comments, has no fragments; "a," ends with an empty one.
    if (list.m_item.m_begun || list.m_appendedAny) {
        list.FinishItem();
    }
    return true;
}

bool ValueTokenizer::ParseChildren(std::uint32_t& position, Item& item, Vemo::BasicArray<Fragment>& out,
                                   unsigned depth) {
    if (position + 1 == m_length) {
        return Fail(Script::kErrorParenthesisAtEnd);
    }
    if (depth + 1 >= kMaxNesting) {
        return Fail(Script::kErrorSyntax, position);
    }
    out.PushBack(item.MakeFragment());
    item.m_begun = true;
    item.m_appended = true;
    ++position;
    if (!ParseList(position, out[out.Size() - 1].GetChildren(), depth + 1)) {
        return Fail(Script::kErrorNestedList);
    }
    if (position >= m_length) {
        return Fail(Script::kErrorUnclosedList);
    }
    ++position;
    return true;
}

bool ValueTokenizer::SkipBlockComment(std::uint32_t& position) {
    const std::uint32_t opener = position;
    for (std::uint32_t i = opener + 2; i + 1 < m_length; ++i) {
        if (m_data[i] == '*' && m_data[i + 1] == '/') {
            position = i + 2;
            return true;
        }
    }
    return Fail(Script::kErrorUnclosedComment, opener);
}

bool ValueTokenizer::Escape(std::uint32_t position, Item& item) {
    switch (m_data[position]) {
    case '"':
        item.AddCharacter('"');
        return true;
    case '\\':
        item.AddCharacter('\\');
        return true;
    case 'n':
    case 'N':
        item.AddCharacter('\n');
        return true;
    case 't':
    case 'T':
        item.AddCharacter('\t');
        return true;
    default:
        return Fail(Script::kErrorSyntax, position);
    }
}

bool ValueTokenizer::Fail(std::uint64_t code) {
    m_failures.push_back(Failure{code, false, 0});
    return false;
}

bool ValueTokenizer::Fail(std::uint64_t code, std::uint32_t position) {
    m_failures.push_back(Failure{code, true, position});
    return false;
}

ValueTokenizer::Step ValueTokenizer::Failed(std::uint64_t code, std::uint32_t position) {
    Fail(code, position);
    return Step::Failed;
}
