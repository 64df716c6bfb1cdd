// One lock of a handle's pixel memory for the length of a routine: taken when built, released when destroyed,
// so that handles locked destination first are released in the reverse order on every path. A lock that
// succeeds on a surface without memory (GetLockedPixels reports that) counts as failed.
#pragma once

#include "engines/graphics/GraphicHandle.h"

#include <cstddef>
#include <cstdint>

namespace Vemo {

class SurfaceLock {
public:
    explicit SurfaceLock(GraphicHandle& handle) : m_handle(handle), m_locked(handle.Lock()) {
        if (m_locked) {
            m_pixels = handle.GetLockedPixels();
            m_pitch = m_pixels != nullptr ? handle.GetLockedPitch() : 0;
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;
    ~SurfaceLock() {
        if (m_locked) {
            m_handle.Unlock();
        }
    }

    // Whether the memory is locked and there.
    bool HasMemory() const { return m_pitch != 0; }
    std::int32_t Pitch() const { return m_pitch; }
    std::uint8_t* Row(std::int64_t y) const { return m_pixels + static_cast<std::ptrdiff_t>(m_pitch * y); }

private:
    GraphicHandle& m_handle;
    bool m_locked;
    std::uint8_t* m_pixels = nullptr;
    std::int32_t m_pitch = 0;
};

} // namespace Vemo
