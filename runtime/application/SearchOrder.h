// Where the application looks for the files that scripts name: four roots in a fixed order, "HD" (the game
// path), "User", "Shared" and "CD" (the data path or the data disc), each with the search paths below it
// that the configuration adds, and per search path the names already found there, so that a name is looked
// for on disc once.
//
// A name is a script fragment. A plain word is looked for everywhere, in that order: first in what every
// search path remembers, then on disc. A word with one child, as Intro.mov(CD), is looked for only at the
// root of the record the child names; a fragment with an empty word and a child, as (HD), stands for that
// root. Roots are asked of the resolver each time a search needs one that is not resolved yet; a search path
// whose root cannot be resolved (no data disc) is passed over by that search, and one whose directories do
// not exist under its root is dropped for good.
//
// Found names are never forgotten while the application runs: a file that is found keeps its place even
// when a file of that name appears later in an earlier root.
#pragma once

#include "foundation/AutoPointer.h"
#include "foundation/BasicList.h"
#include "foundation/BasicMap.h"
#include "foundation/String.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"
#include "script/Fragment.h"

#include <functional>

// Orders names without regard to case.
struct FoundFileLess {
    bool operator()(const Vemo::String& a, const Vemo::String& b) const;
};

struct SearchPathRecord {
    // The directory, once resolved.
    Vemo::Path path;
    // Relative to the record's root; empty for the root itself.
    Vemo::String text;
    bool resolved = false;
    // A name as it was asked for, and the file it was found as.
    Vemo::BasicMap<Vemo::String, Vemo::Path, FoundFileLess> foundFiles;
};

struct SearchOrderRecord {
    Vemo::String name;
    // Whether names found under this root are remembered.
    bool cacheable = true;
    Vemo::BasicList<SearchPathRecord> searchPaths;
};

class SearchOrder {
public:
    // The root of the record that a fragment's first child names, or null when it has none now; prompt lets
    // it ask the user for the data disc.
    using Resolver = std::function<Vemo::Path*(const Fragment& name, bool prompt)>;
    using DirectoryList = Vemo::BasicList<Vemo::AutoPointer<Vemo::Directory>>;

    // The four records, the roots of "HD" and "CD" already among their search paths.
    explicit SearchOrder(Resolver resolver);

    // The file's path, or false when it is nowhere (an empty word included).
    bool FindFile(const Fragment& name, Vemo::Path& out);
    // Appends every directory of that name along the order (the first one only with stopAtFirst); whether
    // any was found. An empty word with a child is the root of that record.
    bool FindDirectories(DirectoryList& out, const Fragment& name, bool stopAtFirst);
    // A relative path qualified by a record's word, as Data(HD). False without a child, for an unknown record
    // and for a text that record already has (without regard to case).
    bool AddSearchPath(const Fragment& path);
    bool RemoveSearchPath(const Fragment& path);
    void RemoveAllSearchPaths();

    const Vemo::BasicList<SearchOrderRecord>& GetRecords() const { return m_records; }

    // The record words, in search order.
    static const char* const kRecordNames[4];

private:
    SearchOrderRecord* FindRecord(const SubString& word);
    // The record a fragment's first child names, or null.
    SearchOrderRecord* RecordOf(const Fragment& name);
    // Resolves the search path when it is not resolved yet. False when it cannot be now; one whose text does
    // not lead to a directory under its root is also erased from the record (the iterator then moves on).
    bool Resolve(SearchOrderRecord& record, Vemo::BasicList<SearchPathRecord>::Iterator& searchPath,
                 bool& erased);
    bool FindQualified(const Fragment& name, Vemo::Path& out);
    bool FindRemembered(const Vemo::String& word, Vemo::Path& out);
    // Looks for the word in the search path's directory and remembers it there when found.
    static bool LookIn(SearchOrderRecord& record, SearchPathRecord& searchPath, const Vemo::String& word,
                       Vemo::Path& out);
    static bool AddDirectory(DirectoryList& out, const Vemo::Path& base, const Vemo::String& placeholder);

    Resolver m_resolver;
    Vemo::BasicList<SearchOrderRecord> m_records;
};
