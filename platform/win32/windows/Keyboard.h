// The keyboard as the window messages describe it: virtual keys, set-1 scan codes and the characters keys
// type (a US layout). Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <array>

namespace win32 {

struct KeyDescription {
    BYTE virtualKey = 0;
    BYTE scanCode = 0;
    bool extended = false;
};

// The key with this USB HID usage; virtualKey 0 for a key the table does not know.
KeyDescription DescribeUsage(int usage);
// The key that usually carries this virtual key (the left one of a pair, the main block's before the
// keypad's).
KeyDescription DescribeVirtualKey(BYTE virtualKey);

// The character a key types under the given key state (shift, control, caps lock), or 0 for none.
char CharacterFor(BYTE virtualKey, const std::array<BYTE, 256>& keyState);

// Folds the left and right variants of the modifier keys into the key state together with the shared key.
void NoteKeyInState(std::array<BYTE, 256>& keyState, BYTE virtualKey, BYTE scanCode, bool extended,
                    bool down);

} // namespace win32
