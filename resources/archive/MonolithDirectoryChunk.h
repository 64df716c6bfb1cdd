// The chunk (1,3) of one directory of a Monolith archive: a container whose children are the chunks of the
// directory's entries, in the directory's order.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibChunk.h"

namespace Vemo {

class MonolithStorageEngine::MonolithDirectoryChunk : public QuibChunk {
public:
    explicit MonolithDirectoryChunk(QuibChunk* parent)
        : QuibChunk(parent, QuibChunkIdent(kFamily, kDirectoryType), 0) {}
    ~MonolithDirectoryChunk() override = default;
};

} // namespace Vemo
