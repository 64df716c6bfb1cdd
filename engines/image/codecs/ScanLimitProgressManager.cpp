#include "engines/image/codecs/ScanLimitProgressManager.h"

#include "engines/image/codecs/JDecompress.h"
#include "engines/image/codecs/JErrorManager.h"

namespace Vemo {

ScanLimitProgressManager::ScanLimitProgressManager() = default;

ScanLimitProgressManager::~ScanLimitProgressManager() = default;

void ScanLimitProgressManager::ProgressMonitor(JCommon& common) {
    auto* decompress = dynamic_cast<JDecompress*>(&common);
    if (decompress != nullptr && decompress->m_record.input_scan_number > kMostScans) {
        JErrorManager& errors = common.GetErrorManager();
        errors.m_record.msg_code = JERR_BAD_SCAN_SCRIPT;
        errors.m_record.msg_parm.i[0] = decompress->m_record.input_scan_number;
        errors.ErrorExit(common);
    }
}

} // namespace Vemo
