// The front-end of an input device of any kind. The keyboard, mouse and joystick front-ends open their kind
// of device by index or by name through the Input Device System (two front-ends of one device share its
// handle), forward their queries to it and hear of its changes through notifications, which arrive during
// the handle's update. Without a handle every query reports ResourceSystemErrNoHandle, with the front-end's
// class word as text, and answers 0, false or null.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/String.h"
#include "resources/Resource.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

#include <cstdint>
#include <type_traits>
#include <utility>

namespace Vemo {

class InputDeviceFilter;
class InputDeviceHandle;

class InputDevice : public Resource {
public:
    InputDevice();
    // Filters attached to it stay where they are, attached to no device.
    ~InputDevice() override;

    // Also keeps the handle as an InputDeviceHandle, or null when it is of another family.
    void SetHandle(ResourceHandle* handle) override;
    // A plain InputDevice opens nothing: false, without a report.
    virtual bool Open(const String& name);
    virtual bool Open(std::uint32_t index);
    virtual std::uint32_t Kind();
    virtual bool GetIdentifier(String& out);
    virtual std::uint32_t GetIndex();
    virtual bool GetName(String& out);
    virtual bool IsAttached();
    virtual bool HasForceFeedback();
    // The filters of the handle, which every front-end of the device shares.
    virtual void AddFilter(InputDeviceFilter* filter);
    virtual void RemoveFilter(InputDeviceFilter* filter);
    virtual bool HasFilter(InputDeviceFilter* filter);
    virtual InputDeviceFilter* NextFilter(InputDeviceFilter* filter);

    InputDeviceHandle* GetInputDeviceHandle() const { return m_inputHandle; }

protected:
    // Opens a device of the kind by index or by name. alreadyOpen: the front-end has its typed handle.
    bool OpenDevice(std::uint32_t kind, const std::uint32_t* index, const String* name, bool alreadyOpen);

    // Calls the handle's operation, or reports that there is no handle and answers the result's default.
    template <class Handle, class Result, class... Parameters, class... Arguments>
    static Result Forward(Handle* handle, const char* classWord, Result (Handle::*operation)(Parameters...),
                          Arguments&&... arguments) {
        if (handle == nullptr) {
            Error().Report(ResourceSystemErrNoHandle, String(classWord));
            if constexpr (!std::is_void_v<Result>) {
                return Result{};
            } else {
                return;
            }
        }
        return (handle->*operation)(std::forward<Arguments>(arguments)...);
    }

private:
    friend class InputDeviceFilter;

    // A filter's Attach and Detach: the device keeps the filters attached to it, so that it can let them go
    // when it is destroyed.
    void NoteFilter(InputDeviceFilter* filter);
    void LeaveFilter(InputDeviceFilter* filter);

    InputDeviceHandle* m_inputHandle = nullptr;
    BasicList<InputDeviceFilter*> m_attachedFilters;
};

} // namespace Vemo
