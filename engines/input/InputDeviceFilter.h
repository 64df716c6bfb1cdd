// Watches, and may swallow or rewrite, every event of one input device before the device applies it. A
// handle runs its filters in ascending priority (unsigned), at most one filter per priority. Filters are the
// callers' extension point: the handle and the device only refer to them, never own them.
#pragma once

#include <cstdint>

namespace Vemo {

class InputDevice;
struct InputDeviceEvent;

class InputDeviceFilter {
public:
    explicit InputDeviceFilter(std::uint32_t priority);
    InputDeviceFilter(const InputDeviceFilter&) = delete;
    InputDeviceFilter& operator=(const InputDeviceFilter&) = delete;
    // Leaves its device first.
    virtual ~InputDeviceFilter();

    // Leaves the device it is attached to: out of the device's handle, when the handle holds this very
    // filter (not another one of the same priority).
    virtual void Detach();
    // Sees one event; setting its kind to None swallows it (the later filters still see it). The result is
    // not read.
    virtual bool Filter(InputDeviceEvent* event) = 0;

    // Leaves the device it was attached to, then joins this one's handle unless the handle already has a
    // filter of this priority; the filter counts as attached to the device either way.
    void Attach(InputDevice& device);

    std::uint32_t GetPriority() const { return m_priority; }
    InputDevice* GetDevice() const { return m_device; }

private:
    friend class InputDevice;

    std::uint32_t m_priority;
    InputDevice* m_device = nullptr;
};

struct InputDeviceFilterSort {
    bool operator()(const InputDeviceFilter* a, const InputDeviceFilter* b) const {
        return a->GetPriority() < b->GetPriority();
    }
};

} // namespace Vemo
