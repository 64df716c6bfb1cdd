// Kernel handles. Every kernel object the process opens (file, find search, mutex, thread, process, device)
// is entered in one table and named by a HANDLE value of its own: never 0 and never INVALID_HANDLE_VALUE for
// an open object, and never a host descriptor number. This table is the platform's own: code outside
// platform/ closes handles through Handle.h.
#pragma once

#include "platform/win32/Handle.h"
#include "platform/win32/Types.h"

#include <memory>

namespace win32 {

class KernelObject {
public:
    virtual ~KernelObject();

    // Objects that a wait can be satisfied on (mutexes, threads, processes) override these; the default
    // object cannot be waited on.
    virtual bool IsWaitable() const { return false; }
};

// Enters the object and returns its new handle; the table keeps one reference until CloseHandle.
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The object named by the handle, or null (with ERROR_INVALID_HANDLE as last error) for an unknown handle.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

} // namespace win32
