// libjpeg's progress monitor as an object; the base does nothing with the progress it is told.
#pragma once

#include "engines/image/codecs/JpegLibrary.h"

namespace Vemo {

class JCommon;

class JProgressManager {
public:
    JProgressManager();
    JProgressManager(const JProgressManager&) = delete;
    JProgressManager& operator=(const JProgressManager&) = delete;
    virtual ~JProgressManager();

    virtual void ProgressMonitor(JCommon& common);

    jpeg_progress_mgr m_record;
};

} // namespace Vemo
