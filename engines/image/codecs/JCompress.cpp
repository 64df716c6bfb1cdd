#include "engines/image/codecs/JCompress.h"

#include "engines/image/codecs/JDestinationManager.h"
#include "engines/image/codecs/JErrorManager.h"
#include "engines/image/codecs/JProgressManager.h"

#include <cstring>

namespace Vemo {

JCompress::JCompress(JDestinationManager& destination, JErrorManager& errorManager,
                     JProgressManager* progressManager)
    : JCommon(errorManager, progressManager), m_destination(destination) {
    std::memset(&m_record, 0, sizeof m_record);
}

JCompress::~JCompress() {
    jpeg_destroy_compress(&m_record);
}

void JCompress::Create() {
    m_record.err = &GetErrorManager().m_record;
    m_record.client_data = static_cast<JCommon*>(this);
    jpeg_CreateCompress(&m_record, JPEG_LIB_VERSION, sizeof m_record);
    m_record.dest = &m_destination.m_record;
    if (JProgressManager* progress = GetProgressManager()) {
        m_record.progress = &progress->m_record;
    }
}

} // namespace Vemo
