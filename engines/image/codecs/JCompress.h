// A libjpeg compressor with its destination manager. Create makes the libjpeg object (under a Guard: it can
// fail); the destructor destroys it, whatever state an error left it in.
#pragma once

#include "engines/image/codecs/JCommon.h"
#include "engines/image/codecs/JpegLibrary.h"

namespace Vemo {

class JDestinationManager;

class JCompress : public JCommon {
public:
    JCompress(JDestinationManager& destination, JErrorManager& errorManager,
              JProgressManager* progressManager);
    ~JCompress() override;

    // jpeg_CreateCompress on the record, then its destination and progress managers set.
    void Create();

    JDestinationManager& GetDestination() const { return m_destination; }

    jpeg_compress_struct m_record;

private:
    JDestinationManager& m_destination;
};

} // namespace Vemo
