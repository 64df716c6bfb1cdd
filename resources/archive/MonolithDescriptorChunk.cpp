#include "resources/archive/MonolithDescriptorChunk.h"

#include "resources/archive/MonolithChunk.h"
#include "resources/archive/Stream.h"
#include "resources/storage/AccessStatus.h"

namespace Vemo {

using MonolithDescriptorChunk = MonolithStorageEngine::MonolithDescriptorChunk;

MonolithDescriptorChunk::MonolithDescriptorChunk(MonolithChunk* container)
    : QuibChunk(static_cast<QuibChunk*>(container), QuibChunkIdent(kFamily, kDescriptorType), kDataChunk),
      m_container(container) {}

MonolithDescriptorChunk::~MonolithDescriptorChunk() = default;

bool MonolithDescriptorChunk::Load(std::uint64_t dataOffset) {
    SetCurrentOffset(dataOffset);
    std::uint8_t payload[kPayloadSize] = {};
    AccessStatus* record = Read(nullptr, dataOffset, kPayloadSize, payload);
    if (record == nullptr) {
        return true;
    }
    const std::uint32_t delivered = record->m_count;
    record->Release();
    if (delivered == 0) {
        return true;
    }
    Stream stream(payload, delivered, true);
    stream.ReadU16(m_version);
    stream.ReadU32(m_descriptorFlags);
    return true;
}

} // namespace Vemo
