// A libjpeg destination into a block of memory of its own, which starts at the size it is given and grows
// when the compressed data needs more; the encoder takes the block when it is done.
#pragma once

#include "engines/image/codecs/JDestinationManager.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Vemo {

class MemDestinationManager : public JDestinationManager {
public:
    // The block is allocated here; IsReady tells whether that worked.
    explicit MemDestinationManager(std::size_t size);
    ~MemDestinationManager() override;

    void InitDestination(JCommon& common) override;
    // Doubles the block, keeping what was written; false when no larger block can be had.
    bool EmptyOutputBuffer(JCommon& common) override;
    void TermDestination(JCommon& common) override;

    bool IsReady() const { return m_buffer != nullptr; }
    // The bytes written so far.
    std::size_t GetWritten() const;
    std::unique_ptr<std::uint8_t[]> TakeBuffer() { return std::move(m_buffer); }

private:
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::size_t m_size;
};

} // namespace Vemo
