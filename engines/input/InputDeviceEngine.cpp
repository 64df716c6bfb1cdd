#include "engines/input/InputDeviceEngine.h"

#include "engines/input/InputDeviceSearchCriterion.h"
#include "engines/input/JoystickHandle.h"
#include "engines/input/KeyboardHandle.h"
#include "engines/input/MouseHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

namespace Vemo {

InputDeviceEngine::InputDeviceEngine() : ResourceEngine(kInputDeviceTypeId, "Input Device Engine") {}

InputDeviceEngine::InputDeviceEngine(std::uint32_t typeId, const String& name)
    : ResourceEngine(typeId, name) {}

InputDeviceEngine::~InputDeviceEngine() {
    m_handles.Clear();
}

InputDeviceEngine* InputDeviceEngine::Create(InputDeviceEngine* engine) {
    return CreateThrough(
        engine, [] { return new InputDeviceEngine; },
        [](InputDeviceEngine* made) { return ResourceEngine::Create(made); });
}

ResourceHandle* InputDeviceEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* inputCriterion = dynamic_cast<InputDeviceSearchCriterion*>(criterion);
    const std::uint32_t kind =
        inputCriterion != nullptr ? inputCriterion->GetKind() : InputDeviceHandle::kNoKind;
    InputDeviceHandle* handle = nullptr;
    switch (kind) {
    case InputDeviceHandle::kKeyboard:
        handle = CreateKeyboardHandle(inputCriterion->GetIndex(), inputCriterion->GetName());
        if (handle == nullptr) {
            Error().Report(InputDeviceEngineErrKeyboardFailed);
        }
        return handle;
    case InputDeviceHandle::kMouse:
        handle = CreateMouseHandle(inputCriterion->GetIndex(), inputCriterion->GetName());
        if (handle == nullptr) {
            Error().Report(InputDeviceEngineErrMouseFailed);
        }
        return handle;
    case InputDeviceHandle::kJoystick:
        handle = CreateJoystickHandle(inputCriterion->GetIndex(), inputCriterion->GetName());
        if (handle == nullptr) {
            Error().Report(InputDeviceEngineErrJoystickFailed);
        }
        return handle;
    default:
        Error().Report(InputDeviceEngineErrUnknownKind);
        return nullptr;
    }
}

bool InputDeviceEngine::DestroyHandle(ResourceHandle* handle, Resource*) {
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    bool destroyed = true;
    auto* inputHandle = dynamic_cast<InputDeviceHandle*>(handle);
    const std::uint32_t kind = inputHandle != nullptr ? inputHandle->Kind() : InputDeviceHandle::kNoKind;
    if (auto* keyboard = dynamic_cast<KeyboardHandle*>(handle);
        kind == InputDeviceHandle::kKeyboard && keyboard) {
        destroyed = DestroyKeyboardHandle(keyboard);
    } else if (auto* mouse = dynamic_cast<MouseHandle*>(handle); kind == InputDeviceHandle::kMouse && mouse) {
        destroyed = DestroyMouseHandle(mouse);
    } else if (auto* joystick = dynamic_cast<JoystickHandle*>(handle);
               kind == InputDeviceHandle::kJoystick && joystick) {
        destroyed = DestroyJoystickHandle(joystick);
    } else {
        delete handle;
    }
    if (!destroyed) {
        Error().Report(InputDeviceEngineErrDestroyFailed);
    }
    return destroyed;
}

bool InputDeviceEngine::AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                                     ResourceHandle* handle) {
    if (auto* inputHandle = dynamic_cast<InputDeviceHandle*>(handle)) {
        m_handles.PushBack(inputHandle);
    }
    return ResourceEngine::AttachHandle(criterion, resource, handle);
}

bool InputDeviceEngine::DetachHandle(ResourceHandle* handle, Resource* resource) {
    if (!ResourceEngine::DetachHandle(handle, resource)) {
        return false;
    }
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    if (auto* inputHandle = dynamic_cast<InputDeviceHandle*>(handle)) {
        ForgetHandle(inputHandle);
        while (InputDeviceFilter* filter = inputHandle->NextFilter(nullptr)) {
            inputHandle->RemoveFilter(filter);
        }
    }
    return true;
}

KeyboardHandle* InputDeviceEngine::CreateKeyboardHandle(const std::uint32_t*, const String*) {
    return new KeyboardHandle(this);
}

MouseHandle* InputDeviceEngine::CreateMouseHandle(const std::uint32_t*, const String*) {
    return new MouseHandle(this);
}

JoystickHandle* InputDeviceEngine::CreateJoystickHandle(const std::uint32_t*, const String*) {
    return new JoystickHandle(this);
}

bool InputDeviceEngine::DestroyKeyboardHandle(KeyboardHandle* handle) {
    delete handle;
    return true;
}

bool InputDeviceEngine::DestroyMouseHandle(MouseHandle* handle) {
    delete handle;
    return true;
}

bool InputDeviceEngine::DestroyJoystickHandle(JoystickHandle* handle) {
    delete handle;
    return true;
}

void InputDeviceEngine::ForgetHandle(InputDeviceHandle* handle) {
    m_handles.Remove(handle);
}

} // namespace Vemo
