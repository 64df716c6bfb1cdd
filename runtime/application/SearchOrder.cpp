#include "runtime/application/SearchOrder.h"

#include "runtime/application/DbcsStrings.h"

const char* const SearchOrder::kRecordNames[4] = {"HD", "User", "Shared", "CD"};

namespace {

Vemo::String TextOf(const SubString& text) {
    Vemo::String out;
    text.GetString(out);
    return out;
}

// The fragment that stands for the root of the record: an empty word with the record's word as its child.
Fragment RootFragment(const Vemo::String& recordName) {
    Fragment root;
    root.GetChildren().PushBack(Fragment(SubString(recordName), false));
    return root;
}

} // namespace

bool FoundFileLess::operator()(const Vemo::String& a, const Vemo::String& b) const {
    return Vemo::CompareNoCase(a.CStr(), b.CStr()) < 0;
}

SearchOrder::SearchOrder(Resolver resolver) : m_resolver(std::move(resolver)) {
    for (const char* name : kRecordNames) {
        SearchOrderRecord record;
        record.name = Vemo::String(name);
        m_records.PushBack(record);
    }
    AddSearchPath(RootFragment(Vemo::String("HD")));
    AddSearchPath(RootFragment(Vemo::String("CD")));
}

SearchOrderRecord* SearchOrder::FindRecord(const SubString& word) {
    for (SearchOrderRecord& record : m_records) {
        if (SubString(record.name).CompareNoCase(word) == 0) {
            return &record;
        }
    }
    return nullptr;
}

SearchOrderRecord* SearchOrder::RecordOf(const Fragment& name) {
    return name.HasChildren() ? FindRecord(name.GetChildren()[0].GetText()) : nullptr;
}

bool SearchOrder::AddSearchPath(const Fragment& path) {
    SearchOrderRecord* record = RecordOf(path);
    if (record == nullptr) {
        return false;
    }
    for (const SearchPathRecord& searchPath : record->searchPaths) {
        if (SubString(searchPath.text).CompareNoCase(path.GetText()) == 0) {
            return false;
        }
    }
    SearchPathRecord added;
    added.text = TextOf(path.GetText());
    record->searchPaths.PushBack(added);
    return true;
}

bool SearchOrder::RemoveSearchPath(const Fragment& path) {
    SearchOrderRecord* record = RecordOf(path);
    if (record == nullptr) {
        return false;
    }
    for (auto at = record->searchPaths.Begin(); at != record->searchPaths.End(); ++at) {
        if (SubString(at->text).CompareNoCase(path.GetText()) == 0) {
            record->searchPaths.Erase(at);
            return true;
        }
    }
    return false;
}

void SearchOrder::RemoveAllSearchPaths() {
    for (SearchOrderRecord& record : m_records) {
        record.searchPaths.Clear();
    }
}

bool SearchOrder::Resolve(SearchOrderRecord& record, Vemo::BasicList<SearchPathRecord>::Iterator& searchPath,
                          bool& erased) {
    erased = false;
    if (searchPath->resolved) {
        return true;
    }
    Vemo::Path* root = m_resolver(RootFragment(record.name), true);
    if (root == nullptr) {
        return false;
    }
    Vemo::Path path(*root);
    // Every directory of the text must exist under the root, the last one included: the text ends in "/".
    Vemo::String text = searchPath->text;
    EnsureTrailingSlash(text);
    if (!path.Parse(text)) {
        searchPath = record.searchPaths.Erase(searchPath);
        erased = true;
        return false;
    }
    searchPath->path = path;
    searchPath->resolved = true;
    return true;
}

bool SearchOrder::LookIn(SearchOrderRecord& record, SearchPathRecord& searchPath, const Vemo::String& word,
                         Vemo::Path& out) {
    Vemo::Path path(searchPath.path);
    if (!path.Parse(word) || path.GetDirectory() == nullptr ||
        !path.GetDirectory()->ContainsFile(path.GetName())) {
        return false;
    }
    if (record.cacheable) {
        searchPath.foundFiles.Insert(word, path);
    }
    out = path;
    return true;
}

bool SearchOrder::FindRemembered(const Vemo::String& word, Vemo::Path& out) {
    for (SearchOrderRecord& record : m_records) {
        for (SearchPathRecord& searchPath : record.searchPaths) {
            const auto found = searchPath.foundFiles.Find(word);
            if (found != searchPath.foundFiles.End()) {
                out = found->second;
                return true;
            }
        }
    }
    return false;
}

bool SearchOrder::FindQualified(const Fragment& name, Vemo::Path& out) {
    Vemo::Path* root = m_resolver(name, true);
    SearchOrderRecord* record = RecordOf(name);
    if (root == nullptr || record == nullptr) {
        return false;
    }
    for (SearchPathRecord& searchPath : record->searchPaths) {
        if (!searchPath.text.IsEmpty()) {
            continue;
        }
        const Vemo::String word = TextOf(name.GetText());
        const auto found = searchPath.foundFiles.Find(word);
        if (found != searchPath.foundFiles.End()) {
            out = found->second;
            return true;
        }
        if (!searchPath.resolved) {
            searchPath.path = *root;
            searchPath.resolved = true;
        }
        return LookIn(*record, searchPath, word, out);
    }
    return false;
}

bool SearchOrder::FindFile(const Fragment& name, Vemo::Path& out) {
    if (name.GetText().IsEmpty()) {
        return false;
    }
    if (name.HasChildren()) {
        return FindQualified(name, out);
    }
    const Vemo::String word = TextOf(name.GetText());
    if (FindRemembered(word, out)) {
        return true;
    }
    for (SearchOrderRecord& record : m_records) {
        auto searchPath = record.searchPaths.Begin();
        while (searchPath != record.searchPaths.End()) {
            bool erased = false;
            if (Resolve(record, searchPath, erased) && LookIn(record, *searchPath, word, out)) {
                return true;
            }
            if (!erased) {
                ++searchPath;
            }
        }
    }
    return false;
}

bool SearchOrder::AddDirectory(DirectoryList& out, const Vemo::Path& base, const Vemo::String& placeholder) {
    Vemo::Path path(base);
    if (!path.Parse(placeholder) || path.GetDirectory() == nullptr) {
        return false;
    }
    Vemo::AutoPointer<Vemo::Directory> directory(new Vemo::Directory);
    if (!directory->Open(*path.GetDirectory())) {
        return false;
    }
    out.PushBack(directory);
    return true;
}

bool SearchOrder::FindDirectories(DirectoryList& out, const Fragment& name, bool stopAtFirst) {
    if (name.GetText().IsEmpty()) {
        Vemo::Path* root = name.HasChildren() ? m_resolver(name, true) : nullptr;
        if (root == nullptr) {
            return false;
        }
        Vemo::AutoPointer<Vemo::Directory> directory(new Vemo::Directory);
        if (!directory->Open(*root, false)) {
            return false;
        }
        out.PushBack(directory);
        return true;
    }
    // A placeholder file name makes the parse enter the directory itself.
    Vemo::String placeholder = TextOf(name.GetText());
    EnsureTrailingSlash(placeholder);
    placeholder.Append("1");
    if (name.HasChildren()) {
        Vemo::Path* root = m_resolver(name, true);
        if (root != nullptr) {
            AddDirectory(out, *root, placeholder);
        }
        return !out.Empty();
    }
    for (SearchOrderRecord& record : m_records) {
        auto searchPath = record.searchPaths.Begin();
        while (searchPath != record.searchPaths.End()) {
            bool erased = false;
            if (Resolve(record, searchPath, erased) && AddDirectory(out, searchPath->path, placeholder) &&
                stopAtFirst) {
                return true;
            }
            if (!erased) {
                ++searchPath;
            }
        }
    }
    return !out.Empty();
}
