// The base of the input-device family's engines, named "Input Device Engine". It creates and destroys
// handles by device kind through six operations that each engine gives its devices; the base builds plain
// handles with no device behind them.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/String.h"
#include "resources/ResourceEngine.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class InputDeviceHandle;
class JoystickHandle;
class KeyboardHandle;
class MouseHandle;

inline constexpr ErrorCode InputDeviceEngineErrUnknownKind = MakeErrorCode(kInputDeviceEngineFacility, 1);
inline constexpr ErrorCode InputDeviceEngineErrKeyboardFailed = MakeErrorCode(kInputDeviceEngineFacility, 2);
inline constexpr ErrorCode InputDeviceEngineErrMouseFailed = MakeErrorCode(kInputDeviceEngineFacility, 3);
inline constexpr ErrorCode InputDeviceEngineErrJoystickFailed = MakeErrorCode(kInputDeviceEngineFacility, 4);
inline constexpr ErrorCode InputDeviceEngineErrDestroyFailed = MakeErrorCode(kInputDeviceEngineFacility, 6);

class InputDeviceEngine : public ResourceEngine {
public:
    InputDeviceEngine();
    ~InputDeviceEngine() override;

    // Run Initialize on the given engine, or on a new base engine when none is given; null when that fails.
    static InputDeviceEngine* Create(InputDeviceEngine* engine = nullptr);

    // By the criterion's kind, through the kind's creation operation.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Leaves a handle that is still referenced alone; else through the kind's destruction operation.
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                      ResourceHandle* handle) override;
    // A handle no longer referenced leaves the engine's list and forgets its filters.
    bool DetachHandle(ResourceHandle* handle, Resource* resource) override;

    virtual KeyboardHandle* CreateKeyboardHandle(const std::uint32_t* index, const String* name);
    virtual MouseHandle* CreateMouseHandle(const std::uint32_t* index, const String* name);
    virtual JoystickHandle* CreateJoystickHandle(const std::uint32_t* index, const String* name);
    // Delete the handle (nothing for null); true.
    virtual bool DestroyKeyboardHandle(KeyboardHandle* handle);
    virtual bool DestroyMouseHandle(MouseHandle* handle);
    virtual bool DestroyJoystickHandle(JoystickHandle* handle);

    const BasicList<InputDeviceHandle*>& GetAttachedHandles() const { return m_handles; }
    // A handle going away leaves the list, however it went.
    void ForgetHandle(InputDeviceHandle* handle);

protected:
    InputDeviceEngine(std::uint32_t typeId, const String& name);

private:
    BasicList<InputDeviceHandle*> m_handles;
};

} // namespace Vemo
