// A keyboard, its keys known by code. The base is a keyboard without keys.
#pragma once

#include "engines/input/InputDeviceHandle.h"

namespace Vemo {

class KeyboardHandle : public InputDeviceHandle {
public:
    explicit KeyboardHandle(ResourceEngine* engine);

    std::uint32_t Kind() override;

    // The key code of a state index.
    virtual std::uint32_t TranslateKey(std::uint32_t key);
    virtual std::uint32_t KeyCount();
    virtual bool IsKeyUp(std::uint32_t key);
    virtual bool IsKeyDown(std::uint32_t key);
    virtual bool SetKeyState(std::uint32_t key, bool down);
    // Time since the key last changed, in the handle's timer's unit.
    virtual std::uint32_t KeyHeldTime(std::uint32_t key);
};

} // namespace Vemo
