// libjpeg's data destination as an object: the base takes nothing (its buffer cannot be emptied).
#pragma once

#include "engines/image/codecs/JpegLibrary.h"

namespace Vemo {

class JCommon;

class JDestinationManager {
public:
    JDestinationManager();
    JDestinationManager(const JDestinationManager&) = delete;
    JDestinationManager& operator=(const JDestinationManager&) = delete;
    virtual ~JDestinationManager();

    virtual void InitDestination(JCommon& common);
    virtual bool EmptyOutputBuffer(JCommon& common);
    virtual void TermDestination(JCommon& common);

    jpeg_destination_mgr m_record;
};

} // namespace Vemo
