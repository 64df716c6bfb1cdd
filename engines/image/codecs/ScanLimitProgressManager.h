// The progress monitor of the JPEG decode: it ends the decode of a file with more scans than any picture
// needs. Each scan is a pass over the whole image, and a few bytes of a file can repeat one thousands of
// times; a real file has a few dozen at most.
#pragma once

#include "engines/image/codecs/JProgressManager.h"

namespace Vemo {

class ScanLimitProgressManager : public JProgressManager {
public:
    static constexpr int kMostScans = 1000;

    ScanLimitProgressManager();
    ~ScanLimitProgressManager() override;

    // A libjpeg error once the decompressor has begun more scans than kMostScans.
    void ProgressMonitor(JCommon& common) override;
};

} // namespace Vemo
