#include "engines/image/codecs/JProgressManager.h"

#include "engines/image/codecs/JCommon.h"

#include <cstring>

namespace Vemo {

namespace {

void ProgressMonitorTrampoline(j_common_ptr record) {
    JCommon& common = *static_cast<JCommon*>(record->client_data);
    if (JProgressManager* progress = common.GetProgressManager()) {
        progress->ProgressMonitor(common);
    }
}

} // namespace

JProgressManager::JProgressManager() {
    std::memset(&m_record, 0, sizeof m_record);
    m_record.progress_monitor = ProgressMonitorTrampoline;
}

JProgressManager::~JProgressManager() = default;

void JProgressManager::ProgressMonitor(JCommon&) {}

} // namespace Vemo
