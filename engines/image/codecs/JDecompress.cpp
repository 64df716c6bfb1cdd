#include "engines/image/codecs/JDecompress.h"

#include "engines/image/codecs/JErrorManager.h"
#include "engines/image/codecs/JProgressManager.h"
#include "engines/image/codecs/JSourceManager.h"

#include <cstring>

namespace Vemo {

JDecompress::JDecompress(JSourceManager& source, JErrorManager& errorManager,
                         JProgressManager* progressManager)
    : JCommon(errorManager, progressManager), m_source(source) {
    std::memset(&m_record, 0, sizeof m_record);
}

JDecompress::~JDecompress() {
    jpeg_destroy_decompress(&m_record);
}

void JDecompress::Create() {
    m_record.err = &GetErrorManager().m_record;
    m_record.client_data = static_cast<JCommon*>(this);
    jpeg_CreateDecompress(&m_record, JPEG_LIB_VERSION, sizeof m_record);
    // The create clears the record but for the error manager and client_data.
    m_record.src = &m_source.m_record;
    if (JProgressManager* progress = GetProgressManager()) {
        m_record.progress = &progress->m_record;
    }
}

} // namespace Vemo
