#include "engines/input/InputDeviceFilter.h"

#include "engines/input/InputDevice.h"

namespace Vemo {

InputDeviceFilter::InputDeviceFilter(std::uint32_t priority) : m_priority(priority) {}

InputDeviceFilter::~InputDeviceFilter() {
    InputDeviceFilter::Detach();
}

void InputDeviceFilter::Detach() {
    if (m_device == nullptr) {
        return;
    }
    InputDevice* device = m_device;
    m_device = nullptr;
    device->LeaveFilter(this);
}

void InputDeviceFilter::Attach(InputDevice& device) {
    if (m_device != nullptr) {
        Detach();
    }
    if (!device.HasFilter(this)) {
        device.AddFilter(this);
    }
    m_device = &device;
    device.NoteFilter(this);
}

} // namespace Vemo
