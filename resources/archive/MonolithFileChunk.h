// The chunk (1,4) of one file of a Monolith archive: a data chunk whose data is the file's bytes.
//
// There is one chunk object per file however many handles have the file open (a container lists one chunk per
// position); the handles share it, and the last one to let go destroys it.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibChunk.h"

#include <cstdint>

namespace Vemo {

class MonolithStorageEngine::MonolithFileChunk : public QuibChunk {
public:
    // Held by its first handle.
    explicit MonolithFileChunk(QuibChunk* parent)
        : QuibChunk(parent, QuibChunkIdent(kFamily, kFileType), kDataChunk) {}
    ~MonolithFileChunk() override = default;

    void Hold() { ++m_holders; }
    // True when the last holder has let go; the caller then destroys the chunk.
    bool Release() { return --m_holders == 0; }

private:
    std::uint32_t m_holders = 1;
};

} // namespace Vemo
