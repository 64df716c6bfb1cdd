// A table from script words, compared without regard to case, to the ids of an enumeration. Message handlers
// and script readers turn words into ids through one; a word the table lacks yields the table's miss value.
//
// Tables are built on first use by the class that owns them (a function-local static), never by a static
// initialiser, so that no table depends on the order in which files are initialised.
#pragma once

#include "foundation/BasicSet.h"
#include "script/CharacterClasses.h"
#include "script/SubString.h"

#include <initializer_list>

template <class T>
class KeywordIds {
public:
    struct KeywordId {
        SubString keyword;
        T id;
    };

    struct Less {
        bool operator()(const KeywordId& a, const KeywordId& b) const {
            return a.keyword.CompareNoCase(b.keyword) < 0;
        }
    };

    struct Entry {
        const char* keyword;
        T id;
    };

    using Set = Vemo::BasicSet<KeywordId, Less>;
    using ConstIterator = typename Set::ConstIterator;

    explicit KeywordIds(T missValue) : missValue(missValue) {}
    KeywordIds(std::initializer_list<Entry> entries, T missValue) : missValue(missValue) {
        for (const Entry& entry : entries) {
            Add(SubString(Vemo::String(entry.keyword)), entry.id);
        }
    }
    virtual ~KeywordIds() = default;

    // A keyword already in the table (in any case) keeps its first id.
    void Add(const SubString& keyword, T id) { m_keywords.Insert(KeywordId{keyword, id}); }

    // The record whose keyword equals the word without regard to case, or End().
    ConstIterator Lookup(const SubString& word) const {
        const ConstIterator found = m_keywords.LowerBound(KeywordId{word, missValue});
        if (found == m_keywords.End() || !SameWord(found->keyword, word)) {
            return m_keywords.End();
        }
        return found;
    }

    const T& operator[](const SubString& word) const {
        const ConstIterator found = Lookup(word);
        return found == m_keywords.End() ? missValue : found->id;
    }

    ConstIterator Begin() const { return m_keywords.Begin(); }
    ConstIterator End() const { return m_keywords.End(); }
    std::size_t Size() const { return m_keywords.Size(); }

    T missValue;

private:
    static bool SameWord(const SubString& a, const SubString& b) {
        return CharacterClasses::CompareCountedNoCase(a.Data(), a.Length(), b.Data(), b.Length()) == 0;
    }

    Set m_keywords;
};
