#include "platform/directx/DirectInput.h"

#include "platform/directx/DirectInputCounted.h"
#include "platform/directx/DirectInputDevice.h"
#include "platform/directx/DirectInputObjects.h"

#include <atomic>
#include <new>

namespace dinput {

const com::IID IID_IDirectInputA = {
    0x89521360, 0xAA8A, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const com::IID IID_IDirectInput2A = {
    0x5944E662, 0xAA8A, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

constexpr DWORD kOldestVersion = 0x0300;

std::atomic<int> g_liveObjects{0};
std::atomic<HRESULT> g_nextFailure{DI_OK};

class DirectInput final : public detail::DirectInputCounted<IDirectInput2A> {
public:
    DirectInput() { g_liveObjects.fetch_add(1); }

    HRESULT QueryInterface(com::REFIID iid, void** object) override {
        return Answer(iid, object, {&IID_IDirectInputA, &IID_IDirectInput2A});
    }

    HRESULT CreateDevice(com::REFGUID device, IDirectInputDeviceA** created, com::IUnknown* outer) override {
        if (created == nullptr) {
            return win32::E_POINTER;
        }
        *created = nullptr;
        if (HRESULT failure = detail::TakeInjectedFailure(detail::DeviceCall::CreateDevice);
            failure != DI_OK) {
            return failure;
        }
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return detail::CreateSystemDevice(device, created);
    }

private:
    ~DirectInput() override { g_liveObjects.fetch_sub(1); }
};

} // namespace

HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, IDirectInputA** directInput,
                           com::IUnknown* outer) {
    if (directInput == nullptr) {
        return win32::E_POINTER;
    }
    *directInput = nullptr;
    HRESULT failure = g_nextFailure.exchange(DI_OK);
    if (failure < 0) {
        return failure;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (instance == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    if (version < kOldestVersion) {
        return DIERR_OLDDIRECTINPUTVERSION;
    }
    if (version > DIRECTINPUT_VERSION) {
        return DIERR_BETADIRECTINPUTVERSION;
    }
    auto* created = new (std::nothrow) DirectInput;
    if (created == nullptr) {
        return DIERR_OUTOFMEMORY;
    }
    *directInput = created;
    return DI_OK;
}

namespace detail {

int LiveObjectCount() {
    return g_liveObjects.load();
}

void FailNextCreate(win32::HRESULT result) {
    g_nextFailure.store(result);
}

} // namespace detail

} // namespace dinput
