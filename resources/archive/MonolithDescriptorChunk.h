// The descriptor chunk (1,2) of a Monolith archive: 6 bytes, always big-endian: the format version (must be
// 1) and flags, whose bit 0 marks a little-endian tree payload.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibChunk.h"

#include <cstdint>

namespace Vemo {

class MonolithStorageEngine::MonolithDescriptorChunk : public QuibChunk {
public:
    static constexpr std::uint32_t kLittleEndianTree = 1;
    static constexpr std::uint64_t kPayloadSize = 6;

    explicit MonolithDescriptorChunk(MonolithChunk* container);
    ~MonolithDescriptorChunk() override;

    // Takes version and flags from the payload, as far as it reaches; always succeeds. Before any payload
    // has been read both are 0, which fails the version check.
    bool Load(std::uint64_t dataOffset) override;

    std::uint16_t Version() const { return m_version; }
    std::uint32_t DescriptorFlags() const { return m_descriptorFlags; }
    MonolithChunk* Container() const { return m_container; }

private:
    std::uint16_t m_version = 0;
    std::uint32_t m_descriptorFlags = 0;
    MonolithChunk* m_container;
};

} // namespace Vemo
