#include "resources/storage/AccessStyle.h"

namespace Vemo {

AccessStyle::AccessStyle(bool read, bool write, bool shareRead, bool shareWrite)
    : m_read(read), m_write(write), m_shareRead(shareRead), m_shareWrite(shareWrite) {}

AccessStyle::~AccessStyle() = default;

bool AccessStyle::ConflictsWith(const AccessStyle& other) const {
    return (m_read && !other.m_shareRead) || (m_write && !other.m_shareWrite) ||
           (!m_shareRead && other.m_read) || (!m_shareWrite && other.m_write);
}

} // namespace Vemo
