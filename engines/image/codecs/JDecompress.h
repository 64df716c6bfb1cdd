// A libjpeg decompressor with its source manager. Create makes the libjpeg object (under a Guard: it can
// fail); the destructor destroys it, whatever state an error left it in.
#pragma once

#include "engines/image/codecs/JCommon.h"
#include "engines/image/codecs/JpegLibrary.h"

namespace Vemo {

class JSourceManager;

class JDecompress : public JCommon {
public:
    JDecompress(JSourceManager& source, JErrorManager& errorManager, JProgressManager* progressManager);
    ~JDecompress() override;

    // jpeg_CreateDecompress on the record, then its source and progress managers set.
    void Create();

    JSourceManager& GetSource() const { return m_source; }

    jpeg_decompress_struct m_record;

private:
    JSourceManager& m_source;
};

} // namespace Vemo
