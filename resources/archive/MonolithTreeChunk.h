// The tree chunk (1,5) of a Monolith archive: its payload is the root directory's record with every other
// record nested in it, in the byte order the descriptor names. The chunk object owns the in-memory tree,
// which exists (an empty root) from construction, is filled by Load and written back whole by Store.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibChunk.h"

#include <cstdint>

namespace Vemo {

class MonolithStorageEngine::MonolithTreeChunk : public QuibChunk {
public:
    // A data chunk inside the top chunk (which may be null: a tree that only parses payloads).
    explicit MonolithTreeChunk(MonolithChunk* container);
    ~MonolithTreeChunk() override;

    // Reads the payload from dataOffset to the end of the chunk and parses it.
    bool Load(std::uint64_t dataOffset) override;
    // Builds the tree from a payload: a leading 1 (the root's tag, which is also the format version), then
    // the root directory's record. Whatever tree was there before is dropped first.
    bool LoadPayload(std::uint8_t* bytes, std::uint64_t size);
    // Writes the whole tree as the chunk's payload, resizing the chunk to fit, and updates the headers.
    bool Store();

    MonolithTreeDirectory* Root() const { return m_root; }
    bool IsLittleEndian() const { return m_littleEndian; }
    void SetLittleEndian(bool littleEndian) { m_littleEndian = littleEndian; }
    MonolithChunk* Container() const { return m_container; }

private:
    MonolithTreeDirectory* m_root;
    bool m_littleEndian = false;
    MonolithChunk* m_container;
};

} // namespace Vemo
