#include "resources/archive/MonolithChunk.h"

#include "resources/archive/MonolithDescriptorChunk.h"
#include "resources/archive/MonolithTreeChunk.h"
#include "resources/archive/QuibFile.h"
#include "resources/error/Error.h"

#include <cstdio>

namespace Vemo {

using MonolithChunk = MonolithStorageEngine::MonolithChunk;

// Written with its two CRCs as constants: the descriptor's over its 6 payload bytes, the tree's over its 20.
const std::uint8_t MonolithChunk::kNewPayload[kNewPayloadSize] = {
    0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00,
    0x01, 0x8C, 0xA2, 0x88, 0x13, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00,
    0x00, 0x01, 0xD6, 0x56, 0x25, 0x8D, 0x00, 0x01, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00,
};

MonolithChunk::MonolithChunk(QuibFile* file)
    : QuibChunk(file, QuibChunkIdent(kFamily, kTopType), 0), m_descriptor(new MonolithDescriptorChunk(this)),
      m_tree(new MonolithTreeChunk(this)) {}

MonolithChunk::~MonolithChunk() {
    delete m_descriptor;
    delete m_tree;
}

bool MonolithChunk::WriteNewArchive() {
    const std::uint64_t payloadStart = CurrentOffset();
    return Resize(payloadStart + kNewPayloadSize) &&
           Write(nullptr, payloadStart, kNewPayloadSize, kNewPayload);
}

bool MonolithChunk::Open(bool create, QuibChunk* after, std::uint64_t start) {
    if (m_descriptor == nullptr || m_tree == nullptr) {
        Error().Report(MonolithErrMissingChunkObject);
        return false;
    }
    if (!QuibChunk::Open(create, after, start)) {
        Error().Report(MonolithErrNoTopChunk);
        return false;
    }
    if (create && Size() == CurrentOffset() && !WriteNewArchive()) {
        Error().Report(MonolithErrNoTopChunk);
        return false;
    }
    if (!m_descriptor->Open(false, nullptr, kNoOffset)) {
        Error().Report(MonolithErrNoDescriptor);
        return false;
    }
    if (m_descriptor->Version() != 1) {
        char version[8];
        std::snprintf(version, sizeof version, "%hu", m_descriptor->Version());
        Error().Report(MonolithErrBadVersion, String(version));
        return false;
    }
    m_tree->SetLittleEndian((m_descriptor->DescriptorFlags() & MonolithDescriptorChunk::kLittleEndianTree) !=
                            0);
    if (!m_tree->Open(false, m_descriptor, kNoOffset)) {
        Error().Report(MonolithErrNoTree);
        return false;
    }
    UpdateHeader();
    return true;
}

} // namespace Vemo
