// How a file is opened, and what other openers of the same file are still allowed while it stays open. Two
// handles on one file may be open together only when each allows what the other does
// (StorageEngine::PreOpen).
#pragma once

#include <cstdint>

namespace Vemo {

class AccessStyle {
public:
    // Reading, while others may read too.
    AccessStyle() = default;
    AccessStyle(bool read, bool write, bool shareRead, bool shareWrite);
    AccessStyle(const AccessStyle&) = default;
    AccessStyle& operator=(const AccessStyle&) = default;
    virtual ~AccessStyle();

    // Whether a handle opened with this style may be open on the same file as one opened with the other.
    bool ConflictsWith(const AccessStyle& other) const;

    std::uint8_t m_read = 1;
    std::uint8_t m_write = 0;
    std::uint8_t m_shareRead = 1;
    std::uint8_t m_shareWrite = 0;
};

} // namespace Vemo
