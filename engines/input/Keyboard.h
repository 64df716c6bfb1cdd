// The keyboard front-end: forwards the keyboard handle's queries and hears each key going down or up.
#pragma once

#include "engines/input/InputDevice.h"

namespace Vemo {

class KeyboardHandle;

class Keyboard : public InputDevice {
public:
    Keyboard();

    void SetHandle(ResourceHandle* handle) override;
    // Index 0 is the system keyboard.
    bool Open(const String& name) override;
    bool Open(std::uint32_t index) override;

    virtual std::uint32_t TranslateKey(std::uint32_t key);
    virtual std::uint32_t KeyCount();
    virtual bool IsKeyUp(std::uint32_t key);
    virtual bool IsKeyDown(std::uint32_t key);
    virtual bool SetKeyState(std::uint32_t key, bool down);
    virtual std::uint32_t KeyHeldTime(std::uint32_t key);
    // Notifications; nothing here.
    virtual void KeyDown(std::uint32_t key);
    virtual void KeyUp(std::uint32_t key);

    KeyboardHandle* GetKeyboardHandle() const { return m_keyboard; }

private:
    KeyboardHandle* m_keyboard = nullptr;
};

} // namespace Vemo
