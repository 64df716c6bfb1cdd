#include "engines/image/codecs/JDestinationManager.h"

#include "engines/image/codecs/JCompress.h"

#include <cstring>

namespace Vemo {

namespace {

JCompress& CompressOf(j_compress_ptr record) {
    return *static_cast<JCompress*>(static_cast<JCommon*>(record->client_data));
}

void InitDestinationTrampoline(j_compress_ptr record) {
    CompressOf(record).GetDestination().InitDestination(CompressOf(record));
}

boolean EmptyOutputBufferTrampoline(j_compress_ptr record) {
    return CompressOf(record).GetDestination().EmptyOutputBuffer(CompressOf(record)) ? kJpegTrue : kJpegFalse;
}

void TermDestinationTrampoline(j_compress_ptr record) {
    CompressOf(record).GetDestination().TermDestination(CompressOf(record));
}

} // namespace

JDestinationManager::JDestinationManager() {
    std::memset(&m_record, 0, sizeof m_record);
    m_record.init_destination = InitDestinationTrampoline;
    m_record.empty_output_buffer = EmptyOutputBufferTrampoline;
    m_record.term_destination = TermDestinationTrampoline;
}

JDestinationManager::~JDestinationManager() = default;

void JDestinationManager::InitDestination(JCommon&) {}

bool JDestinationManager::EmptyOutputBuffer(JCommon&) {
    return false;
}

void JDestinationManager::TermDestination(JCommon&) {}

} // namespace Vemo
