#include "engines/image/codecs/JSourceManager.h"

#include "engines/image/codecs/JDecompress.h"

#include <cstring>

namespace Vemo {

namespace {

JDecompress& DecompressOf(j_decompress_ptr record) {
    return *static_cast<JDecompress*>(static_cast<JCommon*>(record->client_data));
}

void InitSourceTrampoline(j_decompress_ptr record) {
    DecompressOf(record).GetSource().InitSource(DecompressOf(record));
}

boolean FillInputBufferTrampoline(j_decompress_ptr record) {
    return DecompressOf(record).GetSource().FillInputBuffer(DecompressOf(record)) ? kJpegTrue : kJpegFalse;
}

void SkipInputDataTrampoline(j_decompress_ptr record, long count) {
    if (count > 0) {
        DecompressOf(record).GetSource().SkipInputData(DecompressOf(record), count);
    }
}

boolean ResyncToRestartTrampoline(j_decompress_ptr record, int wanted) {
    return DecompressOf(record).GetSource().ResyncToRestart(DecompressOf(record), wanted) ? kJpegTrue
                                                                                          : kJpegFalse;
}

void TermSourceTrampoline(j_decompress_ptr record) {
    DecompressOf(record).GetSource().TermSource(DecompressOf(record));
}

} // namespace

JSourceManager::JSourceManager() {
    std::memset(&m_record, 0, sizeof m_record);
    m_record.init_source = InitSourceTrampoline;
    m_record.fill_input_buffer = FillInputBufferTrampoline;
    m_record.skip_input_data = SkipInputDataTrampoline;
    m_record.resync_to_restart = ResyncToRestartTrampoline;
    m_record.term_source = TermSourceTrampoline;
}

JSourceManager::~JSourceManager() = default;

void JSourceManager::InitSource(JCommon&) {}

bool JSourceManager::FillInputBuffer(JCommon&) {
    return false;
}

void JSourceManager::SkipInputData(JCommon&, long) {}

bool JSourceManager::ResyncToRestart(JCommon& common, int wanted) {
    return jpeg_resync_to_restart(&static_cast<JDecompress&>(common).m_record, wanted) != kJpegFalse;
}

void JSourceManager::TermSource(JCommon&) {}

} // namespace Vemo
