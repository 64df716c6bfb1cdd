#include "engines/input/InputDeviceSystem.h"

#include "engines/input/InputDeviceHandle.h"
#include "engines/input/InputDeviceSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

namespace {

bool Matches(InputDeviceHandle* handle, const InputDeviceSearchCriterion& criterion) {
    if (handle->Kind() != criterion.GetKind()) {
        return false;
    }
    if (criterion.GetIndex() != nullptr) {
        return handle->GetIndex() == *criterion.GetIndex();
    }
    String name;
    return handle->GetName(name) && name.Compare(*criterion.GetName()) == 0;
}

} // namespace

InputDeviceSystem::InputDeviceSystem() : ResourceSystem(kInputDeviceTypeId, "Input Device System") {}

InputDeviceSystem::~InputDeviceSystem() {
    m_handles.Clear();
}

InputDeviceSystem* InputDeviceSystem::Create(InputDeviceSystem* system) {
    return CreateThrough(
        system, [] { return new InputDeviceSystem; },
        [](InputDeviceSystem* made) { return ResourceSystem::Create(made); });
}

ResourceHandle* InputDeviceSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* inputCriterion = dynamic_cast<InputDeviceSearchCriterion*>(criterion);
    if (inputCriterion == nullptr ||
        (inputCriterion->GetIndex() == nullptr && inputCriterion->GetName() == nullptr)) {
        Error().Report(InputDeviceSystemErrNoDevice);
        return nullptr;
    }
    for (InputDeviceHandle* handle : m_handles) {
        if (!Matches(handle, *inputCriterion)) {
            continue;
        }
        ResourceHandle* shared = Share(handle, resource);
        if (shared == nullptr) {
            Error().Report(ResourceSystemErrShareFailed, GetName());
        }
        return shared;
    }
    return ResourceSystem::Open(criterion, resource);
}

bool InputDeviceSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine,
                                     Resource* resource, ResourceHandle* handle) {
    if (auto* inputHandle = dynamic_cast<InputDeviceHandle*>(handle)) {
        m_handles.PushBack(inputHandle);
    }
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

bool InputDeviceSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    if (handle->GetReferenceCount() == 0) {
        if (auto* inputHandle = dynamic_cast<InputDeviceHandle*>(handle)) {
            ForgetHandle(inputHandle);
        }
    }
    return true;
}

void InputDeviceSystem::ForgetHandle(InputDeviceHandle* handle) {
    m_handles.Remove(handle);
}

} // namespace Vemo
