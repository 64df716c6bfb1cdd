// One loaded script file: sections in file order, each holding its keys in file order. A key may occur more
// than once in a section; every occurrence is kept and lookups take the first. Values are kept as raw text
// and parsed into fragments the first time they are asked for, unless the script was loaded with immediate
// parsing.
//
// Section and key names compare without regard to case. The keys that stand before the first section line
// belong to the section with the empty name.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/BasicList.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/Path.h"
#include "script/CharacterClasses.h"
#include "script/Fragment.h"
#include "script/SectionTable.h"

#include <cstddef>
#include <cstdint>

class Script {
public:
    class Key {
    public:
        explicit Key(const Vemo::String& name) : m_name(name) {}

        const Vemo::String& GetName() const { return m_name; }
        const Vemo::String& GetValueText() const { return m_text; }
        // Empty until the value has been parsed.
        const Vemo::BasicArray<Fragment>& GetFragments() const { return m_fragments; }

    private:
        friend class Script;

        Vemo::String m_name;
        Vemo::String m_text;
        Vemo::BasicArray<Fragment> m_fragments;
    };

private:
    using Table = SectionTable<Key, CharacterClasses::CompareNoCase, Vemo::BasicMultiset>;

public:
    using KeyLess = Table::KeyLess;
    using Section = Table::Section;
    using SectionLess = Table::SectionLess;

    // Receives each occurrence of a key with its raw text and parsed value; false stops the walk.
    class KeyEnumerator {
    public:
        virtual ~KeyEnumerator();
        virtual bool EnumerateKey(Key& key, const Vemo::String& text,
                                  const Vemo::BasicArray<Fragment>& fragments);
    };

    // Receives each section in file order; false stops the walk.
    class SectionEnumerator {
    public:
        virtual ~SectionEnumerator();
        virtual bool EnumerateSection(Section& section) = 0;
    };

    // The errors of the value syntax, of a key that fails to parse during an enumeration, and the one report
    // that follows every failed parse of a key (at load, lookup or enumeration) with the quoted path of the
    // script's file, the section and the key as its text, so that an author can find the line.
    static constexpr Vemo::ErrorCode kErrorSyntax = Vemo::MakeErrorCode(Vemo::kScriptFacility, 1);
    static constexpr Vemo::ErrorCode kErrorParenthesisAtEnd = Vemo::MakeErrorCode(Vemo::kScriptFacility, 2);
    static constexpr Vemo::ErrorCode kErrorUnclosedList = Vemo::MakeErrorCode(Vemo::kScriptFacility, 3);
    static constexpr Vemo::ErrorCode kErrorBackslashAtEnd = Vemo::MakeErrorCode(Vemo::kScriptFacility, 4);
    static constexpr Vemo::ErrorCode kErrorUnclosedQuote = Vemo::MakeErrorCode(Vemo::kScriptFacility, 5);
    static constexpr Vemo::ErrorCode kErrorUnclosedComment = Vemo::MakeErrorCode(Vemo::kScriptFacility, 6);
    static constexpr Vemo::ErrorCode kErrorNestedList = Vemo::MakeErrorCode(Vemo::kScriptFacility, 7);
    static constexpr Vemo::ErrorCode kErrorKeyParse = Vemo::MakeErrorCode(Vemo::kScriptFacility, 8);
    static constexpr Vemo::ErrorCode kErrorKeyNotParsed = Vemo::MakeErrorCode(Vemo::kScriptFacility, 9);

    Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    virtual ~Script();

    // Replaces the content by the sections and keys of the file, read whole. False for a path without a
    // directory, a file that cannot be opened or read whole, and as LoadBuffer; the script then holds what
    // was read before the failure. Records the path on success.
    virtual bool Load(const Vemo::Path& path, bool parseNow);
    // Writes the file text of every section and key over the file, creating it when missing, and cuts it at
    // the written length. False when the file cannot be created, opened or written, and when SaveBuffer left
    // something out (the rest is written).
    virtual bool Save(const Vemo::Path& path) const;
    // The path of the file last loaded.
    const Vemo::Path& GetPath() const { return m_path; }

    // Replaces the content by the sections and keys of a whole file's bytes. With parseNow every value is
    // parsed at once and the first that fails ends the load with false, keeping what was read before it.
    bool LoadBuffer(const char* data, std::size_t size, bool parseNow);
    // The file text of every section and key. False when a name or value could not be written so that it
    // loads back (it holds a line break, or a "]" in a section name, or an "=" in a key name): such a key, or
    // such a section with its keys, is left out and the rest is written.
    bool SaveBuffer(Vemo::String& out) const;

    void AddRef() { ++m_refCount; }
    // The owner deletes the script; the count only tells whether messengers still use it.
    void Release() {
        if (m_refCount > 0) {
            --m_refCount;
        }
    }
    std::uint32_t GetRefCount() const { return m_refCount; }

    bool GetValueText(const Vemo::String& section, const Vemo::String& key, Vemo::String& out) const;
    // The parsed value of the key's first occurrence, parsed now when it has not been; false with a null
    // result when the section or key is missing or the value does not parse.
    bool GetFragments(const Vemo::String& section, const Vemo::String& key,
                      const Vemo::BasicArray<Fragment>*& out);
    bool SetValueText(const Vemo::String& section, const Vemo::String& key, const Vemo::String& text);
    bool SetFragments(const Vemo::String& section, const Vemo::String& key,
                      const Vemo::BasicArray<Fragment>& fragments);
    bool RemoveKey(const Vemo::String& section, const Vemo::String& key);
    bool RemoveSection(const Vemo::String& section);
    void Clear();
    unsigned GetKeyCount(const Vemo::String& section) const;

    const Vemo::BasicList<Section*>& GetSections() const { return m_table.GetSections(); }
    bool EnumerateSections(SectionEnumerator& enumerator);
    bool EnumerateSection(const Vemo::String& section, KeyEnumerator& enumerator);
    bool EnumerateKey(const Vemo::String& section, const Vemo::String& key, KeyEnumerator& enumerator);

    // Parses a value from position; without append the output is cleared first. Returns at the end of the
    // text or at an unbalanced ")" (the position left on it). A failure is reported and returns false.
    static bool TokenizeValue(const Vemo::String& text, std::uint32_t& position,
                              Vemo::BasicArray<Fragment>& out, bool append);
    static bool TokenizeText(Vemo::BasicArray<Fragment>& out, const char* text, std::uint32_t length);

private:
    class Loader;

    static void SetText(Key& key, const Vemo::String& text);
    // source: the file the script is read from, named when a key fails to parse.
    bool LoadText(const char* data, std::size_t size, bool parseNow, const Vemo::Path& source);
    static bool Parse(const Vemo::Path& source, const Section& section, Key& key);
    bool Enumerate(Section& section, const Vemo::String* key, KeyEnumerator& enumerator);

    std::uint32_t m_refCount = 0;
    Table m_table;
    Vemo::Path m_path;
};
