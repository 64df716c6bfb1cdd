// One open directory of a Monolith archive: its place among its parent's children, its record in the tree
// (which the tree owns) and its chunk (which the handle owns). Names are compared exactly, case included.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibDirectoryHandle.h"

#include <cstdint>

namespace Vemo {

class MonolithDirectoryHandle : public QuibDirectoryHandle {
public:
    // Takes the chunk over.
    MonolithDirectoryHandle(ResourceEngine* engine, MonolithStorageEngine::MonolithDirectoryChunk* chunk);
    ~MonolithDirectoryHandle() override;

    // Removes the subdirectory of that name, or else the file, with its chunk and record; only an entry with
    // the deletable attribute, and only while nothing below it is open.
    bool Delete(const String& name) override;
    bool IsEmpty() override;
    bool ContainsDirectory(const String& name) override;
    bool ContainsFile(const String& name) override;
    std::uint32_t EntryAt(const String& pattern, BasicList<Descriptor*>& list) override;
    // Not supported: ResourceSystemErrNotSupported and false.
    bool SetName(const String& name) override;

    void SetTreeDirectory(std::uint32_t index, MonolithStorageEngine::MonolithTreeDirectory* directory) {
        m_index = index;
        m_treeDirectory = directory;
    }
    std::uint32_t Index() const { return m_index; }
    MonolithStorageEngine::MonolithTreeDirectory* TreeDirectory() const { return m_treeDirectory; }
    MonolithStorageEngine::MonolithDirectoryChunk* Chunk() const { return m_chunk; }

private:
    std::uint32_t m_index = 0;
    MonolithStorageEngine::MonolithTreeDirectory* m_treeDirectory = nullptr;
    MonolithStorageEngine::MonolithDirectoryChunk* m_chunk;
};

} // namespace Vemo
