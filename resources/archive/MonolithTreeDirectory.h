// A directory's record in a Monolith tree, and the node of the in-memory tree: it owns its child entries, in
// stored order, and keeps its chunk size equal to 20 + the sum of its children's chunk sizes. Children are
// searched by exact name, directories and files apart; a name used twice (which the engine never makes)
// leaves the later entry unreachable by name.
#pragma once

#include "foundation/BasicList.h"
#include "resources/archive/MonolithTreeEntry.h"

#include <cstdint>

namespace Vemo {

class Descriptor;
struct StorageFlags;

class MonolithStorageEngine::MonolithTreeDirectory : public MonolithTreeEntry {
public:
    using Children = BasicList<MonolithTreeEntry*>;

    MonolithTreeDirectory(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent);

    // The entry fields, the child count and every child record. Fails on a missing or unknown tag, on a child
    // that fails, and on a directory deeper than kMaxTreeDepth; the children read so far stay.
    bool Read(Stream& stream) override;
    // Tag 1, the entry fields, the child count, every child's record; false on an empty child slot.
    bool Write(Stream& stream) override;
    std::uint64_t RecordSize() const override;
    // Destroys every child, recursively.
    ~MonolithTreeDirectory() override;

    // The first subdirectory (or file) of that name and its place among all children.
    bool FindDirectory(const String& name, std::uint32_t& index, MonolithTreeDirectory*& found) const;
    bool FindFile(const String& name, std::uint32_t& index, MonolithTreeFile*& found) const;
    bool ContainsDirectory(const String& name) const;
    bool ContainsFile(const String& name) const;
    // Appends a new empty entry (attributes 7, chunk size 20) and recomputes the sizes up to the root. Does
    // not look for an entry of that name and does not store the tree.
    bool AddDirectory(const String& name);
    bool AddFile(const String& name);
    // Offset of child index's chunk in this directory chunk's payload; all ones past the last child + 1.
    std::uint64_t ChildOffset(std::uint32_t index) const;
    // From this directory up to the root: chunk size = 20 + the children's chunk sizes.
    bool RecomputeSizes();
    // Appends a Descriptor for every child whose name matches the pattern and returns how many. The
    // readable, writeable and deletable flags also need the access record's readable or writeable flag.
    std::uint32_t List(const String& pattern, BasicList<Descriptor*>& out, const StorageFlags& access) const;
    // Takes the entry out of the children and destroys it; false when it is not a child.
    bool RemoveChild(MonolithTreeEntry* entry);
    // Destroys every child.
    void Clear();
    // Directory levels from the root, which is level 1.
    std::uint32_t Depth() const;

    const Children& GetChildren() const { return m_children; }
    std::uint32_t ChildCount() const { return static_cast<std::uint32_t>(m_children.Size()); }

    // "*" matches any remainder (what follows it is never compared), "?" any one character, anything else
    // itself, case included.
    static bool MatchPattern(const String& name, const String& pattern);

private:
    std::uint64_t ChildrenSize() const;

    Children m_children;
};

} // namespace Vemo
