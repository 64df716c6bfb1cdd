// One open file of a Monolith archive: its place among its parent's children, its record in the tree (which
// the tree owns) and its chunk, which it shares with every other handle open on the same file. Reads and
// writes go to the chunk's data at the record's position; a write past the end grows the file and records
// its new length in the tree.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibFileHandle.h"

#include <cstdint>

namespace Vemo {

class MonolithFileHandle : public QuibFileHandle {
public:
    // Holds the chunk (which the caller made or took a share of) until it is destroyed.
    MonolithFileHandle(ResourceEngine* engine, MonolithStorageEngine::MonolithFileChunk* chunk);
    ~MonolithFileHandle() override;

    // Storage Engine code 23 without a chunk; Quib code 13 when nothing could be read.
    AccessStatus* Read(AccessStatus* request) override;
    // Storage Engine code 23 without a chunk, code 1 for a handle not opened for writing; Quib code 13 when
    // the write or the header update failed.
    AccessStatus* Write(AccessStatus* request) override;
    // The chunk's new payload length, recorded in the tree; code 1 for a handle not opened for writing.
    bool SetSize(std::uint64_t size) override;
    // The chunk's payload length.
    std::uint64_t Size() override;
    // Not supported: ResourceSystemErrNotSupported and false.
    bool SetName(const String& name) override;

    void SetTreeFile(std::uint32_t index, MonolithStorageEngine::MonolithTreeFile* file) {
        m_index = index;
        m_treeFile = file;
    }
    std::uint32_t Index() const { return m_index; }
    MonolithStorageEngine::MonolithTreeFile* TreeFile() const { return m_treeFile; }
    MonolithStorageEngine::MonolithFileChunk* Chunk() const { return m_chunk; }

private:
    // Reports Storage Engine code 1 when the handle's access style does not ask for writing.
    bool OpenedForWriting();

    std::uint32_t m_index = 0;
    MonolithStorageEngine::MonolithTreeFile* m_treeFile = nullptr;
    MonolithStorageEngine::MonolithFileChunk* m_chunk;
};

} // namespace Vemo
