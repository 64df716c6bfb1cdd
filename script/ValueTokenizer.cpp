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

bool ValueTokenizer::ParseList(std::uint32_t& position, Vemo::BasicArray<Fragment>& out, unsigned depth) {
    bool appendedAny = false;
    Item item(m_text);
    Expect expect = Expect::Nothing;
    bool escaped = false;
    bool afterSlash = false;
    std::uint32_t slash = 0;
    std::uint32_t& p = position;

    auto finishItem = [&]() {
        if (!item.m_appended) {
            out.PushBack(item.MakeFragment());
        }
        appendedAny = true;
        item.Reset();
    };

    while (p < m_length) {
        const char c = m_data[p];
        if (expect != Expect::Nothing) {
            if (IsWhitespace(c)) {
                ++p;
                continue;
            }
            if (c != ',' && c != ')' && (expect != Expect::AfterQuote || c != '(')) {
                return Fail(Script::kErrorSyntax, p);
            }
            expect = Expect::Nothing;
        }
        if (escaped) {
            if (!Escape(p, item)) {
                return false;
            }
            escaped = false;
            ++p;
            continue;
        }
        if (afterSlash) {
            afterSlash = false;
            if (c == '/') {
                p = m_length;
                break;
            }
            if (c == '*') {
                p = slash;
                if (!SkipBlockComment(p)) {
                    return false;
                }
                continue;
            }
            item.AddRaw(slash, 1, true);
        }
        if (item.m_inQuotes) {
            if (c == '"') {
                item.m_inQuotes = false;
                expect = Expect::AfterQuote;
                ++p;
            } else if (c == '\\') {
                escaped = true;
                ++p;
            } else {
                const std::uint32_t count = StartsDoubleByte(m_data, p, m_length) ? 2 : 1;
                item.AddRaw(p, count, true);
                p += count;
            }
            continue;
        }
        if (IsWhitespace(c)) {
            if (item.m_begun) {
                item.AddRaw(p, 1, false);
            }
            ++p;
            continue;
        }
        switch (c) {
        case '"':
            if (item.m_begun) {
                return Fail(Script::kErrorSyntax, p);
            }
            item.m_begun = true;
            item.m_quoted = true;
            item.m_inQuotes = true;
            ++p;
            break;
        case '\\':
            item.m_begun = true;
            escaped = true;
            ++p;
            break;
        case '/':
            afterSlash = true;
            slash = p;
            ++p;
            break;
        case '(':
            if (!ParseChildren(p, item, out, depth)) {
                return false;
            }
            expect = Expect::AfterList;
            break;
        case ')':
            finishItem();
            return true;
        case ',':
            finishItem();
            ++p;
            break;
        default: {
            const std::uint32_t count = StartsDoubleByte(m_data, p, m_length) ? 2 : 1;
            item.AddRaw(p, count, true);
            p += count;
            break;
        }
        }
    }

    if (afterSlash) {
        item.AddRaw(slash, 1, true);
    }
    if (escaped) {
        return Fail(Script::kErrorBackslashAtEnd);
    }
    if (item.m_inQuotes) {
        return Fail(Script::kErrorUnclosedQuote);
    }
    // An empty value, or one of only blanks and comments, has no fragments; "a," ends with an empty one.
    if (item.m_begun || appendedAny) {
        finishItem();
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
