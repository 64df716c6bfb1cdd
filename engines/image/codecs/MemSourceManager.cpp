#include "engines/image/codecs/MemSourceManager.h"

#include <algorithm>

namespace Vemo {

namespace {

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

} // namespace

MemSourceManager::MemSourceManager(const std::uint8_t* buffer, std::size_t size)
    : m_buffer(buffer), m_size(size) {}

MemSourceManager::~MemSourceManager() = default;

void MemSourceManager::InitSource(JCommon&) {
    m_record.next_input_byte = m_buffer;
    m_record.bytes_in_buffer = m_size;
}

bool MemSourceManager::FillInputBuffer(JCommon&) {
    m_record.next_input_byte = kEndOfImage;
    m_record.bytes_in_buffer = sizeof kEndOfImage;
    return true;
}

void MemSourceManager::SkipInputData(JCommon&, long count) {
    const std::size_t skipped = std::min(static_cast<std::size_t>(count), m_record.bytes_in_buffer);
    m_record.next_input_byte += skipped;
    m_record.bytes_in_buffer -= skipped;
}

} // namespace Vemo
