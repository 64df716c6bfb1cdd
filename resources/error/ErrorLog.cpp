#include "resources/error/ErrorLog.h"

#include "resources/error/ErrorHandle.h"

#include <iterator>

namespace Vemo {

void ErrorLog::Unlist(ErrorHandle* handle) const {
    for (ErrorLog*& slot : handle->m_logs) {
        if (slot == this) {
            slot = nullptr;
        }
    }
}

void ErrorLog::Append(ErrorHandle* handle) {
    for (ErrorLog*& slot : handle->m_logs) {
        if (slot == nullptr || slot == this) {
            slot = this;
            break;
        }
    }
    m_handles.PushBack(handle);
}

void ErrorLog::Remove(const ErrorHandle* handle) {
    for (auto position = m_handles.Begin(); position != m_handles.End(); ++position) {
        if ((*position)->GetId() == handle->GetId()) {
            ErrorHandle* listed = *position;
            m_handles.Erase(position);
            Unlist(listed);
            return;
        }
    }
}

ErrorHandle* ErrorLog::RemoveOldest() {
    if (m_handles.Empty()) {
        return nullptr;
    }
    ErrorHandle* oldest = m_handles.Front();
    m_handles.PopFront();
    Unlist(oldest);
    return oldest;
}

ErrorHandle* ErrorLog::At(std::uint32_t index) const {
    if (index >= Count()) {
        return nullptr;
    }
    return *std::prev(m_handles.End(), static_cast<std::ptrdiff_t>(index) + 1);
}

void ErrorLog::Clear() {
    for (ErrorHandle* handle : m_handles) {
        Unlist(handle);
    }
    m_handles.Clear();
}

} // namespace Vemo
