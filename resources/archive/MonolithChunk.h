// The top chunk (1,1) of a Monolith archive. It owns the descriptor and tree chunk objects, and its Open also
// opens them: after the chunk itself it writes the image of a new, empty archive when creation is allowed and
// its payload is empty, then opens the descriptor, checks its version, and opens and loads the tree.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibChunk.h"

#include <cstdint>

namespace Vemo {

class MonolithStorageEngine::MonolithChunk : public QuibChunk {
public:
    // The payload of a new archive: the descriptor chunk (version 1, big-endian tree), the empty root
    // directory's chunk and the tree chunk holding the empty root's record.
    static constexpr std::uint64_t kNewPayloadSize = 86;
    static const std::uint8_t kNewPayload[kNewPayloadSize];

    // A top-level chunk of the file, with new descriptor and tree chunk objects.
    explicit MonolithChunk(QuibFile* file);
    // Destroys the descriptor and tree chunk objects, and so the whole tree.
    ~MonolithChunk() override;

    // Monolith codes 8 (a chunk object is missing), 4 (the chunk), 5 (the descriptor), 9 (its version, as
    // text) and 7 (the tree).
    bool Open(bool create, QuibChunk* after, std::uint64_t start) override;

    MonolithDescriptorChunk* Descriptor() const { return m_descriptor; }
    MonolithTreeChunk* Tree() const { return m_tree; }

private:
    bool WriteNewArchive();

    MonolithDescriptorChunk* m_descriptor;
    MonolithTreeChunk* m_tree;
};

} // namespace Vemo
