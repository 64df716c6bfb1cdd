#include "resources/storage/AccessStatus.h"

#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/FileHandle.h"

namespace Vemo {

AccessStatus::AccessStatus(void* buffer, std::uint64_t position, std::uint32_t count, bool ownsBuffer,
                           FileHandle* owner)
    : m_buffer(buffer), m_position(position), m_count(count), m_ownsBuffer(ownsBuffer), m_owner(owner) {}

AccessStatus::~AccessStatus() {
    if (m_ownsBuffer) {
        delete[] static_cast<std::uint8_t*>(m_buffer);
    }
}

bool AccessStatus::Release() {
    if (m_owner == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
        return false;
    }
    return m_owner->ReleaseAccess(this);
}

} // namespace Vemo
