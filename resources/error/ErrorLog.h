// The error system's and each error engine's record of reported errors, oldest first. It holds pointers only;
// the reference the logs keep on each error is counted on the handle itself. A handle knows the logs that
// list it and leaves them when it is destroyed.
#pragma once

#include "foundation/BasicList.h"

#include <cstdint>

namespace Vemo {

class ErrorHandle;

class ErrorLog {
public:
    ErrorLog() = default;
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;
    ~ErrorLog() { Clear(); }

    std::uint32_t Count() const { return static_cast<std::uint32_t>(m_handles.Size()); }
    void Append(ErrorHandle* handle);
    // Removes the entry with the handle's id, if there is one.
    void Remove(const ErrorHandle* handle);
    ErrorHandle* RemoveOldest();
    // Index 0 is the newest entry; null when the index is not below Count.
    ErrorHandle* At(std::uint32_t index) const;
    void Clear();

private:
    void Unlist(ErrorHandle* handle) const;

    BasicList<ErrorHandle*> m_handles;
};

} // namespace Vemo
