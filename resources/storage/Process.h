// A child program started from a Path. The process is not waited for: the owner can wait on it through its
// handle, or forget it. Failures are returned as false and leave the object as it was; nothing is reported.
#pragma once

#include "platform/win32/Types.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace Vemo {

class Process {
public:
    Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Closes the process handle; the child runs on.
    virtual ~Process();

    // Starts the program the Path names, with the caller's environment, current folder and start-up settings.
    // A second Start gives up the first process's handle once the new process has started.
    virtual bool Start(const Path& program);
    // 0 until a Start succeeds.
    virtual std::uint32_t ProcessId();
    // The program that was started; empty until a Start succeeds.
    virtual bool GetPath(Path& out);

    // Null until a Start succeeds.
    win32::HANDLE GetProcessHandle() const { return m_process; }

private:
    win32::HANDLE m_process = nullptr;
    std::uint32_t m_processId = 0;
    Path m_path;
};

} // namespace Vemo
