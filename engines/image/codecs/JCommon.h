// What a libjpeg compressor and decompressor share: the error manager and the progress manager (or null)
// that their callbacks reach through the record's client_data, which points at this object.
#pragma once

namespace Vemo {

class JErrorManager;
class JProgressManager;

class JCommon {
public:
    JCommon(JErrorManager& errorManager, JProgressManager* progressManager);
    JCommon(const JCommon&) = delete;
    JCommon& operator=(const JCommon&) = delete;
    virtual ~JCommon();

    JErrorManager& GetErrorManager() const { return m_errorManager; }
    JProgressManager* GetProgressManager() const { return m_progressManager; }

private:
    JErrorManager& m_errorManager;
    JProgressManager* m_progressManager;
};

} // namespace Vemo
