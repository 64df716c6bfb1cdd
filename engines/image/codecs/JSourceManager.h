// libjpeg's data source as an object: the base supplies no data (a fill reports that none is left) and
// resynchronises at restart markers the way libjpeg does by default.
#pragma once

#include "engines/image/codecs/JpegLibrary.h"

namespace Vemo {

class JCommon;

class JSourceManager {
public:
    JSourceManager();
    JSourceManager(const JSourceManager&) = delete;
    JSourceManager& operator=(const JSourceManager&) = delete;
    virtual ~JSourceManager();

    virtual void InitSource(JCommon& common);
    virtual bool FillInputBuffer(JCommon& common);
    // Called only for a count above 0.
    virtual void SkipInputData(JCommon& common, long count);
    virtual bool ResyncToRestart(JCommon& common, int wanted);
    virtual void TermSource(JCommon& common);

    jpeg_source_mgr m_record;
};

} // namespace Vemo
