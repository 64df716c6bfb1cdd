#include "engines/input/InputDevice.h"

#include "engines/input/InputDeviceFilter.h"
#include "engines/input/InputDeviceHandle.h"
#include "engines/input/InputDeviceSearchCriterion.h"
#include "engines/input/InputDeviceSystem.h"
#include "resources/SystemAccessors.h"

namespace Vemo {

namespace {

constexpr const char* kClassWord = "InputDevice";

} // namespace

InputDevice::InputDevice() = default;

InputDevice::~InputDevice() {
    for (InputDeviceFilter* filter : m_attachedFilters) {
        filter->m_device = nullptr;
    }
    m_attachedFilters.Clear();
}

void InputDevice::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_inputHandle = dynamic_cast<InputDeviceHandle*>(handle);
}

bool InputDevice::Open(const String&) {
    return false;
}

bool InputDevice::Open(std::uint32_t) {
    return false;
}

bool InputDevice::OpenDevice(std::uint32_t kind, const std::uint32_t* index, const String* name,
                             bool alreadyOpen) {
    if (alreadyOpen) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    InputDeviceSearchCriterion criterion(kind, index, name);
    InputDeviceSystem* system = GetInputDeviceSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        Error().Report(ResourceSystemErrOpenFailed);
        return false;
    }
    SetHandle(handle);
    return true;
}

std::uint32_t InputDevice::Kind() {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::Kind);
}

bool InputDevice::GetIdentifier(String& out) {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::GetIdentifier, out);
}

std::uint32_t InputDevice::GetIndex() {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::GetIndex);
}

bool InputDevice::GetName(String& out) {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::GetName, out);
}

bool InputDevice::IsAttached() {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::IsAttached);
}

bool InputDevice::HasForceFeedback() {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::HasForceFeedback);
}

void InputDevice::AddFilter(InputDeviceFilter* filter) {
    Forward(m_inputHandle, kClassWord, &InputDeviceHandle::AddFilter, filter);
}

void InputDevice::RemoveFilter(InputDeviceFilter* filter) {
    Forward(m_inputHandle, kClassWord, &InputDeviceHandle::RemoveFilter, filter);
}

bool InputDevice::HasFilter(InputDeviceFilter* filter) {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::HasFilter, filter);
}

InputDeviceFilter* InputDevice::NextFilter(InputDeviceFilter* filter) {
    return Forward(m_inputHandle, kClassWord, &InputDeviceHandle::NextFilter, filter);
}

void InputDevice::NoteFilter(InputDeviceFilter* filter) {
    m_attachedFilters.Remove(filter);
    m_attachedFilters.PushBack(filter);
}

void InputDevice::LeaveFilter(InputDeviceFilter* filter) {
    m_attachedFilters.Remove(filter);
    if (m_inputHandle != nullptr && m_inputHandle->HoldsFilter(filter)) {
        m_inputHandle->RemoveFilter(filter);
    }
}

} // namespace Vemo
