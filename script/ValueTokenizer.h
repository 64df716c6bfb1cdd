// The parser of the script value syntax: comma-separated items, each a possibly quoted text with escapes that
// may carry a parenthesised list of child items; "//" ends the value and "/* */" is removed.
//
// The failures are kept in the order in which they were raised (an inner failure first, then one "nested list
// failed" for each enclosing list) so that the caller reports them and tests can read them.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/Fragment.h"

#include <cstdint>
#include <vector>

class ValueTokenizer {
public:
    struct Failure {
        std::uint64_t code;
        bool hasPosition;
        std::uint32_t position;
    };

    // Lists nested deeper than this fail as a syntax error at their "(", so that no input can exhaust the
    // stack of the recursive parse or of the fragment tree's copies and destruction.
    static constexpr unsigned kMaxNesting = 256;

    // The fragments made share the text's buffer.
    explicit ValueTokenizer(const Vemo::String& text);
    ValueTokenizer(const ValueTokenizer&) = delete;
    ValueTokenizer& operator=(const ValueTokenizer&) = delete;

    // Appends the items of the list that begins at position to out. Ends at the end of the text, or at an
    // unbalanced ")" with the position left on it. On failure out holds the items parsed before it.
    bool Tokenize(std::uint32_t& position, Vemo::BasicArray<Fragment>& out);

    const std::vector<Failure>& GetFailures() const { return m_failures; }
    // Reports every failure, in the order raised, as a Script module error.
    void ReportFailures() const;

private:
    class Item;
    class List;
    // What must come next: after a closing quote a separator or "(", after a closing ")" a separator.
    enum class Expect { Nothing, AfterQuote, AfterList };
    enum class Step { Next, ListEnded, Failed };

    bool ParseList(std::uint32_t& position, Vemo::BasicArray<Fragment>& out, unsigned depth);
    // Each reads the character at position, moving past what it took.
    Step ReadCharacter(std::uint32_t& position, List& list);
    Step ReadAfterSlash(std::uint32_t& position, List& list);
    Step ReadQuoted(std::uint32_t& position, List& list);
    Step ReadUnquoted(std::uint32_t& position, List& list);
    void TakeCharacter(std::uint32_t& position, Item& item) const;
    bool EndOfText(List& list);
    bool ParseChildren(std::uint32_t& position, Item& item, Vemo::BasicArray<Fragment>& out, unsigned depth);
    bool SkipBlockComment(std::uint32_t& position);
    bool Escape(std::uint32_t position, Item& item);
    bool Fail(std::uint64_t code);
    bool Fail(std::uint64_t code, std::uint32_t position);
    Step Failed(std::uint64_t code, std::uint32_t position);

    const Vemo::String m_text;
    const char* m_data;
    std::uint32_t m_length;
    std::vector<Failure> m_failures;
};
