// The DirectInput key code of each virtual key: what a program that reads the keyboard through window
// messages uses to speak of keys as its DirectInput code does. Codes are set-1 make codes, the extended keys
// (the cursor and editing block, keypad Enter and divide, right Control and Alt, the Windows and application
// keys) with 0x80 added, Num Lock and Pause the other way round, as DirectInput numbers them. A virtual key
// takes the code of the key that usually carries it (the left one of a pair, the main block's Enter); keys
// without a code, the mouse buttons among them, give 0.
#pragma once

#include "platform/win32/Types.h"

#include <array>

namespace win32 {

// Indexed by virtual key.
const std::array<BYTE, 256>& VirtualKeyScanCodes();
// The table's entry; 0 for a value above 255.
BYTE ScanCodeOfVirtualKey(WPARAM virtualKey);

} // namespace win32
