#include "engines/image/codecs/JCommon.h"

namespace Vemo {

JCommon::JCommon(JErrorManager& errorManager, JProgressManager* progressManager)
    : m_errorManager(errorManager), m_progressManager(progressManager) {}

JCommon::~JCommon() = default;

} // namespace Vemo
