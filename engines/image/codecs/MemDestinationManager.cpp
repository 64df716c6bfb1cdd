#include "engines/image/codecs/MemDestinationManager.h"

#include <cstring>
#include <new>

namespace Vemo {

MemDestinationManager::MemDestinationManager(std::size_t size)
    : m_buffer(new (std::nothrow) std::uint8_t[size]), m_size(size) {}

MemDestinationManager::~MemDestinationManager() = default;

void MemDestinationManager::InitDestination(JCommon&) {
    m_record.next_output_byte = m_buffer.get();
    m_record.free_in_buffer = m_buffer != nullptr ? m_size : 0;
}

bool MemDestinationManager::EmptyOutputBuffer(JCommon&) {
    const std::size_t written = GetWritten();
    const std::size_t grown = m_size * 2 + 4096;
    std::unique_ptr<std::uint8_t[]> larger(new (std::nothrow) std::uint8_t[grown]);
    if (larger == nullptr || m_buffer == nullptr) {
        return false;
    }
    std::memcpy(larger.get(), m_buffer.get(), written);
    m_buffer = std::move(larger);
    m_size = grown;
    m_record.next_output_byte = m_buffer.get() + written;
    m_record.free_in_buffer = m_size - written;
    return true;
}

void MemDestinationManager::TermDestination(JCommon&) {}

std::size_t MemDestinationManager::GetWritten() const {
    return m_buffer != nullptr ? static_cast<std::size_t>(m_record.next_output_byte - m_buffer.get()) : 0;
}

} // namespace Vemo
