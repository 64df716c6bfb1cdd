// libjpeg's error manager as an object. Warnings and traces are dropped (a cut scan is remembered); an error
// ends the libjpeg work under way: ErrorExit keeps a copy of the record (with its message code) and returns
// to the Guard that runs that work, which then answers false.
//
// No C++ exception may unwind through libjpeg's C frames, so ErrorExit jumps back instead: the work a Guard
// runs keeps no object with a destructor on its own stack, and the objects it uses (the compressor or
// decompressor, the managers, the row access) live outside it and are cleaned up there.
#pragma once

#include "engines/image/codecs/JpegLibrary.h"

#include <csetjmp>

namespace Vemo {

class JCommon;

class JErrorManager {
public:
    JErrorManager();
    JErrorManager(const JErrorManager&) = delete;
    JErrorManager& operator=(const JErrorManager&) = delete;
    virtual ~JErrorManager();

    // Does not return: back to the running Guard.
    virtual void ErrorExit(JCommon& common);
    // A level below 0 is a warning; a warning that the compressed data ended early is remembered.
    virtual void EmitMessage(JCommon& common, int level);
    virtual void OutputMessage(JCommon& common);
    virtual void FormatMessage(JCommon& common, char* buffer);
    virtual void ResetErrorManager(JCommon& common);

    // Runs work (which keeps no object with a destructor on its own stack); false when a libjpeg error ended
    // it.
    template <class Work>
    bool Guard(Work&& work) {
        if (setjmp(m_return) != 0) {
            m_guarding = false;
            return false;
        }
        m_guarding = true;
        work();
        m_guarding = false;
        return true;
    }

    // Whether libjpeg warned that the compressed data ended inside a scan (its later rows are made up).
    bool HitEndOfData() const { return m_hitEndOfData; }
    // The record as the last error left it.
    const jpeg_error_mgr& GetExitRecord() const { return m_exitRecord; }

    jpeg_error_mgr m_record;

private:
    std::jmp_buf m_return;
    bool m_guarding = false;
    bool m_hitEndOfData = false;
    jpeg_error_mgr m_exitRecord;
};

} // namespace Vemo
