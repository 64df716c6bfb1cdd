// The system keyboard through DirectInput. Key codes are the indexes of DirectInput's keyboard state (0 to
// 255); each poll compares the whole state with the previous poll's and reads every difference as a key
// event, in ascending key order. The keys' state changes only when an event reaches Dispatch, so a filter
// that swallows an event also keeps the key as it was.
#pragma once

#include "engines/input/KeyboardHandle.h"
#include "engines/input/directx/DirectXInputHandle.h"

#include <array>
#include <cstdint>

namespace Vemo {

class DirectXKeyboardHandle : public DirectXInputHandle<KeyboardHandle> {
public:
    static constexpr std::uint32_t kKeyCount = 256;

    explicit DirectXKeyboardHandle(ResourceEngine* engine);
    ~DirectXKeyboardHandle() override;

    // The creation steps after the handle is made; false after reporting the failing step's code.
    bool Connect(dinput::IDirectInput2A* directInput);

    void ReadEvents(EventQueue& events) override;
    void Dispatch(InputDeviceEvent* event) override;

    std::uint32_t TranslateKey(std::uint32_t key) override;
    std::uint32_t KeyCount() override;
    // False for a key out of range.
    bool IsKeyUp(std::uint32_t key) override;
    bool IsKeyDown(std::uint32_t key) override;
    // Not supported: ResourceSystemErrNotSupported, false.
    bool SetKeyState(std::uint32_t key, bool down) override;
    // 0 for a key out of range.
    std::uint32_t KeyHeldTime(std::uint32_t key) override;

private:
    std::array<std::uint8_t, kKeyCount> m_keyDown{};
    std::array<std::uint32_t, kKeyCount> m_keyChangeTime{};
    std::array<std::uint8_t, kKeyCount> m_previousState{};
};

} // namespace Vemo
