#include "platform/directx/DirectInputDevice.h"

#include "platform/directx/DirectInputCounted.h"
#include "platform/directx/DirectInputHost.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <set>

namespace dinput {

const com::IID IID_IDirectInputDeviceA = {
    0x5944E680, 0xC92E, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const com::IID IID_IDirectInputDevice2A = {
    0x5944E682, 0xC92E, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const com::GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const com::GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 16, 0, 256, 256, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), 16, DIDF_RELAXIS, sizeof(DIMOUSESTATE), 7, nullptr};

namespace detail {

namespace {

constexpr std::size_t kKeyCount = 256;
constexpr std::size_t kButtonCount = 4;
constexpr BYTE kDown = 0x80;
// Num Lock and Pause share make code 0x45 in key messages (Pause without, Num Lock with the extended flag);
// their key codes are the other way round.
constexpr BYTE kSharedScanCode = 0x45;
constexpr BYTE kExtendedBit = 0x80;

struct Capabilities {
    DWORD flags;
    DWORD buttons;
    DWORD axes;
};

// A keyboard of the usual 104 keys and a mouse with three buttons and a wheel.
constexpr Capabilities kDefaultKeyboard{DIDC_ATTACHED, 104, 0};
constexpr Capabilities kDefaultMouse{DIDC_ATTACHED, 3, 3};

class Device;

// What every device reads, fed by the host's events; one lock guards it all.
struct InputState {
    std::mutex lock;
    std::array<BYTE, kKeyCount> keys{};
    std::array<BYTE, kButtonCount> buttons{};
    std::set<Device*> devices;
    Capabilities keyboard = kDefaultKeyboard;
    Capabilities mouse = kDefaultMouse;
    std::map<DeviceCall, std::pair<HRESULT, int>> failures;
};

InputState& State() {
    static InputState* state = new InputState; // usable by every static destructor
    return *state;
}

std::atomic<int> g_liveDevices{0};

bool SameFormat(const DIDATAFORMAT& a, const DIDATAFORMAT& b) {
    return a.dwSize == b.dwSize && a.dwFlags == b.dwFlags && a.dwDataSize == b.dwDataSize;
}

bool IsLiveTopLevelWindow(HWND window) {
    win32::WindowSystem& system = win32::WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    win32::WindowObject* object = system.Find(window, false);
    return object != nullptr && !object->IsChild() && !object->destroying;
}

bool IsValidCooperativeLevel(DWORD flags) {
    const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    const DWORD known = DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND;
    return (flags & ~known) == 0 && (sharing == DISCL_EXCLUSIVE || sharing == DISCL_NONEXCLUSIVE) &&
           (focus == DISCL_FOREGROUND || focus == DISCL_BACKGROUND);
}

void CopyName(CHAR (&target)[260], const char* name) {
    std::strncpy(target, name, sizeof(target) - 1);
    target[sizeof(target) - 1] = '\0';
}

class Device final : public DirectInputCounted<IDirectInputDevice2A> {
public:
    explicit Device(DeviceKind kind) : m_kind(kind) {
        g_liveDevices.fetch_add(1);
        InputState& state = State();
        std::lock_guard guard(state.lock);
        state.devices.insert(this);
    }

    HRESULT QueryInterface(com::REFIID iid, void** object) override {
        return Answer(iid, object, {&IID_IDirectInputDeviceA, &IID_IDirectInputDevice2A});
    }

    HRESULT GetCapabilities(DIDEVCAPS* capabilities) override {
        if (capabilities == nullptr || capabilities->dwSize != sizeof(DIDEVCAPS)) {
            return DIERR_INVALIDPARAM;
        }
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::GetCapabilities); failure != DI_OK) {
            return failure;
        }
        InputState& state = State();
        std::lock_guard guard(state.lock);
        const Capabilities& reported = IsMouse() ? state.mouse : state.keyboard;
        *capabilities = DIDEVCAPS{};
        capabilities->dwSize = sizeof(DIDEVCAPS);
        capabilities->dwFlags = reported.flags;
        capabilities->dwDevType = IsMouse() ? DIDEVTYPE_MOUSE : DIDEVTYPE_KEYBOARD;
        capabilities->dwAxes = reported.axes;
        capabilities->dwButtons = reported.buttons;
        return DI_OK;
    }

    HRESULT Acquire() override {
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::Acquire); failure != DI_OK) {
            return failure;
        }
        InputState& state = State();
        std::lock_guard guard(state.lock);
        if (m_format == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        if (m_acquired) {
            return DI_NOEFFECT;
        }
        m_acquired = true;
        m_lostUnreported = false;
        m_motion = {};
        return DI_OK;
    }

    HRESULT Unacquire() override {
        InputState& state = State();
        std::lock_guard guard(state.lock);
        m_lostUnreported = false;
        if (!m_acquired) {
            return DI_NOEFFECT;
        }
        m_acquired = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, void* data) override {
        if (data == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::GetDeviceState); failure != DI_OK) {
            return failure;
        }
        InputState& state = State();
        std::lock_guard guard(state.lock);
        if (m_lostUnreported) {
            m_lostUnreported = false;
            return DIERR_INPUTLOST;
        }
        if (!m_acquired) {
            return DIERR_NOTACQUIRED;
        }
        if (size != m_format->dwDataSize) {
            return DIERR_INVALIDPARAM;
        }
        if (!IsMouse()) {
            std::memcpy(data, state.keys.data(), kKeyCount);
            return DI_OK;
        }
        DIMOUSESTATE mouse{};
        mouse.lX = m_motion[0];
        mouse.lY = m_motion[1];
        mouse.lZ = m_motion[2];
        std::memcpy(mouse.rgbButtons, state.buttons.data(), kButtonCount);
        std::memcpy(data, &mouse, sizeof(mouse));
        m_motion = {};
        return DI_OK;
    }

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::SetDataFormat); failure != DI_OK) {
            return failure;
        }
        const DIDATAFORMAT& wanted = IsMouse() ? c_dfDIMouse : c_dfDIKeyboard;
        if (format == nullptr || !SameFormat(*format, wanted)) {
            return DIERR_INVALIDPARAM;
        }
        InputState& state = State();
        std::lock_guard guard(state.lock);
        if (m_acquired) {
            return DIERR_ACQUIRED;
        }
        m_format = &wanted;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::SetCooperativeLevel); failure != DI_OK) {
            return failure;
        }
        if (!IsValidCooperativeLevel(flags)) {
            return DIERR_INVALIDPARAM;
        }
        // Windows keeps the keyboard of every other program working: no exclusive background keyboard.
        if (!IsMouse() && flags == (DISCL_EXCLUSIVE | DISCL_BACKGROUND)) {
            return DIERR_UNSUPPORTED;
        }
        if (!IsLiveTopLevelWindow(window)) {
            return DIERR_HANDLE;
        }
        InputState& state = State();
        std::lock_guard guard(state.lock);
        return m_acquired ? DIERR_ACQUIRED : DI_OK;
    }

    HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* instance) override {
        if (instance == nullptr || instance->dwSize != sizeof(DIDEVICEINSTANCEA)) {
            return DIERR_INVALIDPARAM;
        }
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::GetDeviceInfo); failure != DI_OK) {
            return failure;
        }
        *instance = DIDEVICEINSTANCEA{};
        instance->dwSize = sizeof(DIDEVICEINSTANCEA);
        instance->guidInstance = IsMouse() ? GUID_SysMouse : GUID_SysKeyboard;
        instance->guidProduct = instance->guidInstance;
        instance->dwDevType = IsMouse() ? DIDEVTYPE_MOUSE : DIDEVTYPE_KEYBOARD;
        const char* name = IsMouse() ? "Mouse" : "Keyboard";
        CopyName(instance->tszInstanceName, name);
        CopyName(instance->tszProductName, name);
        return DI_OK;
    }

    // With the state's lock held.
    bool IsMouse() const { return m_kind == DeviceKind::Mouse; }
    void AddMotion(int axis, LONG delta) {
        if (m_acquired) {
            // Motion nobody reads for a long time must not overflow: it stops at the range's end.
            const std::int64_t sum = static_cast<std::int64_t>(m_motion[axis]) + delta;
            m_motion[axis] = static_cast<LONG>(sum > INT32_MAX   ? INT32_MAX
                                               : sum < INT32_MIN ? INT32_MIN
                                                                 : sum);
        }
    }
    void ForgetMotion() { m_motion = {}; }
    void LoseInput() {
        if (m_acquired) {
            m_acquired = false;
            m_lostUnreported = true;
        }
    }

private:
    ~Device() override {
        {
            InputState& state = State();
            std::lock_guard guard(state.lock);
            state.devices.erase(this);
        }
        g_liveDevices.fetch_sub(1);
    }

    const DeviceKind m_kind;
    const DIDATAFORMAT* m_format = nullptr;
    bool m_acquired = false;
    bool m_lostUnreported = false;
    std::array<LONG, 3> m_motion{};
};

template <class Action>
void ForEachMouse(InputState& state, Action action) {
    for (Device* device : state.devices) {
        if (device->IsMouse()) {
            action(*device);
        }
    }
}

} // namespace

HRESULT CreateSystemDevice(com::REFGUID device, IDirectInputDeviceA** created) {
    DeviceKind kind;
    if (device == GUID_SysKeyboard) {
        kind = DeviceKind::Keyboard;
    } else if (device == GUID_SysMouse) {
        kind = DeviceKind::Mouse;
    } else {
        return DIERR_DEVICENOTREG;
    }
    auto* made = new (std::nothrow) Device(kind);
    if (made == nullptr) {
        return DIERR_OUTOFMEMORY;
    }
    *created = made;
    return DI_OK;
}

HRESULT TakeInjectedFailure(DeviceCall call) {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    auto found = state.failures.find(call);
    if (found == state.failures.end()) {
        return DI_OK;
    }
    const HRESULT result = found->second.first;
    if (--found->second.second <= 0) {
        state.failures.erase(found);
    }
    return result;
}

int LiveDeviceCount() {
    return g_liveDevices.load();
}

void FailDeviceCall(DeviceCall call, win32::HRESULT result, int times) {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    if (times <= 0 || result >= 0) {
        state.failures.erase(call);
        return;
    }
    state.failures[call] = {result, times};
}

void SetCapabilities(DeviceKind kind, DWORD flags, DWORD buttons, DWORD axes) {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    (kind == DeviceKind::Mouse ? state.mouse : state.keyboard) = Capabilities{flags, buttons, axes};
}

void LoseInput() {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    for (Device* device : state.devices) {
        device->LoseInput();
    }
}

void ResetDevices() {
    host::ReleaseAll();
    InputState& state = State();
    std::lock_guard guard(state.lock);
    state.keyboard = kDefaultKeyboard;
    state.mouse = kDefaultMouse;
    state.failures.clear();
}

} // namespace detail

namespace host {

using detail::Device;
using detail::InputState;
using detail::State;

BYTE KeyCodeFor(BYTE scanCode, bool extended) {
    BYTE code = static_cast<BYTE>(scanCode | (extended ? detail::kExtendedBit : 0));
    if (scanCode == detail::kSharedScanCode) {
        code ^= detail::kExtendedBit;
    }
    return code;
}

void KeyChanged(BYTE scanCode, bool extended, bool down) {
    if (scanCode == 0) {
        return;
    }
    InputState& state = State();
    std::lock_guard guard(state.lock);
    state.keys[KeyCodeFor(scanCode, extended)] = down ? detail::kDown : 0;
}

void MouseMoved(LONG dx, LONG dy) {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    detail::ForEachMouse(state, [&](Device& device) {
        device.AddMotion(0, dx);
        device.AddMotion(1, dy);
    });
}

void MouseButtonChanged(int button, bool down) {
    if (button < 0 || button >= static_cast<int>(detail::kButtonCount)) {
        return;
    }
    InputState& state = State();
    std::lock_guard guard(state.lock);
    state.buttons[static_cast<std::size_t>(button)] = down ? detail::kDown : 0;
}

void MouseWheelTurned(LONG delta) {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    detail::ForEachMouse(state, [&](Device& device) { device.AddMotion(2, delta); });
}

void ReleaseAll() {
    InputState& state = State();
    std::lock_guard guard(state.lock);
    state.keys.fill(0);
    state.buttons.fill(0);
    detail::ForEachMouse(state, [](Device& device) { device.ForgetMotion(); });
}

} // namespace host

} // namespace dinput
