// How a font front-end forwards an operation: to its handle, or, without one, reporting
// ResourceSystemErrNoHandle with the front-end's name and answering the fallback.
#pragma once

#include "foundation/String.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

template <class Result, class Handle, class Call>
Result ForwardToHandle(Handle* handle, const String& frontEndName, Result fallback, Call call) {
    if (handle == nullptr) {
        RaiseError(ResourceSystemErrNoHandle, &frontEndName);
        return fallback;
    }
    return call(*handle);
}

} // namespace Vemo
